// The report tree: ownership, fonts taken from parents, lookup by name,
// renaming, restrictions, views' fill and hyperlink rules.

#include "report/model/rudClass.h"

#include "base/Errors.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

struct TTree {
    TfrxReport Report;
    TfrxReportPage *Page = new TfrxReportPage(&Report);
    TTree() { Page->SetName(QStringLiteral("Page1")); }
    TfrxMemoView *Memo(const QString &name, TfrxComponent *parent = nullptr)
    {
        auto *m = new TfrxMemoView(parent ? parent : Page);
        m->SetName(name);
        return m;
    }
};

} // namespace

TEST(ComponentTree, ConstructionAppendsToOwnerAndDestructionRemovesSubtree)
{
    TTree t;
    TfrxMemoView *a = t.Memo(QStringLiteral("Memo1"));
    TfrxMemoView *b = t.Memo(QStringLiteral("Memo2"));
    EXPECT_EQ(a->Parent(), t.Page);
    EXPECT_EQ(a->Owner(), &t.Report);
    EXPECT_EQ(t.Page->Objects(), (QList<TfrxComponent *>{a, b}));
    EXPECT_EQ(a->Page(), t.Page);
    EXPECT_EQ(a->Report(), &t.Report);
    EXPECT_EQ(a->BaseName(), QStringLiteral("Memo"));
    EXPECT_EQ(t.Page->BaseName(), QStringLiteral("Page"));
    EXPECT_EQ(a->ComponentStyle(), TfrxComponentStyles(csPreviewVisible | csHandlesNestedProperties));

    delete a;
    EXPECT_EQ(t.Page->Objects(), (QList<TfrxComponent *>{b}));
    QPointer<TfrxMemoView> watch(b);
    delete t.Page;
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(t.Report.Objects().isEmpty());
}

TEST(ComponentTree, ParentFontFollowsTheParent)
{
    TTree t;
    t.Page->Font()->SetName(QStringLiteral("Times New Roman"));
    t.Page->Font()->SetHeight(-11);
    EXPECT_FALSE(t.Page->ParentFont()); // a font change clears the flag
    TfrxMemoView *inherits = t.Memo(QStringLiteral("Memo1"));
    TfrxMemoView *own = t.Memo(QStringLiteral("Memo2"));
    EXPECT_TRUE(inherits->ParentFont());
    EXPECT_EQ(inherits->Font()->Name(), QStringLiteral("Times New Roman"));
    own->Font()->SetName(QStringLiteral("Courier New"));
    EXPECT_FALSE(own->ParentFont());

    // A page font change passes on to the children that take it.
    t.Page->Font()->SetHeight(-13);
    EXPECT_EQ(inherits->Font()->Height(), -13);
    EXPECT_EQ(own->Font()->Name(), QStringLiteral("Courier New"));

    // Moving to a new parent copies that parent's font only when inheriting.
    auto *page2 = new TfrxReportPage(&t.Report);
    page2->Font()->SetName(QStringLiteral("Arial"));
    inherits->SetParent(page2);
    own->SetParent(page2);
    EXPECT_EQ(inherits->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(own->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(page2->Objects().size(), 2);
    EXPECT_TRUE(t.Page->Objects().isEmpty());
}

TEST(ComponentTree, FindObjectAllObjectsAndUniqueNames)
{
    TTree t;
    TfrxMemoView *m1 = t.Memo(QStringLiteral("Memo1"));
    auto *nested = new TfrxReportPage(m1); // any container several levels down
    nested->SetName(QStringLiteral("Inner"));
    TfrxMemoView *deep = t.Memo(QStringLiteral("Deep"), nested);
    TfrxMemoView *m3 = t.Memo(QStringLiteral("Memo3"));
    t.Report.SetName(QStringLiteral("Root"));

    EXPECT_EQ(t.Report.AllObjects(), (QList<TfrxComponent *>{t.Page, m1, nested, deep, m3}));
    EXPECT_EQ(t.Report.FindObject(QStringLiteral("memo1")), m1);
    EXPECT_EQ(t.Report.FindObject(QStringLiteral("DEEP")), deep);
    EXPECT_EQ(t.Report.FindObject(QStringLiteral("Root")), nullptr);
    EXPECT_EQ(t.Report.FindObject(QStringLiteral("Memo2")), nullptr);

    auto *fresh = new TfrxMemoView(t.Page);
    fresh->CreateUniqueName();
    EXPECT_EQ(fresh->Name(), QStringLiteral("Memo2"));
    auto *another = new TfrxMemoView(t.Page);
    another->CreateUniqueName();
    EXPECT_EQ(another->Name(), QStringLiteral("Memo4"));

    // Two objects of one name outside a report: the first in pre-order wins.
    TfrxReportPage loose(nullptr);
    auto *x1 = new TfrxMemoView(&loose);
    auto *x2 = new TfrxMemoView(&loose);
    x1->SetName(QStringLiteral("Same"));
    x2->SetName(QStringLiteral("Same"));
    EXPECT_EQ(loose.FindObject(QStringLiteral("same")), x1);
}

TEST(ComponentTree, SetNameRefusesDuplicatesAncestorsAndBadIdentifiers)
{
    TTree t;
    TfrxMemoView *m1 = t.Memo(QStringLiteral("Memo1"));
    TfrxMemoView *m2 = t.Memo(QStringLiteral("Memo2"));
    try {
        m2->SetName(QStringLiteral("MEMO1"));
        FAIL();
    } catch (const EGeneralError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Duplicate name"));
    }
    EXPECT_EQ(m2->Name(), QStringLiteral("Memo2"));
    m1->SetName(QStringLiteral("memo1")); // same name ignoring case: nothing happens
    EXPECT_EQ(m1->Name(), QStringLiteral("Memo1"));

    m2->SetAncestor(true);
    try {
        m2->SetName(QStringLiteral("Other"));
        FAIL();
    } catch (const EGeneralError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not rename Memo2, it was introduced in the ancestor report"));
    }
    EXPECT_THROW(m1->SetName(QStringLiteral("1abc")), EGeneralError);
    EXPECT_THROW(m1->SetName(QStringLiteral("a b")), EGeneralError);
    m1->SetName(QString());
    EXPECT_TRUE(m1->Name().isEmpty());
}

TEST(ComponentTree, RestrictionsBlockOnlyInTheDesigner)
{
    TTree t;
    auto *designed = TfrxComponent::DesignCreate<TfrxMemoView>(t.Page);
    EXPECT_TRUE(designed->IsDesigning());
    designed->SetRestrictions(TfrxRestrictions(rfDontMove | rfDontSize));
    designed->SetBounds(10, 20, 30, 40);
    EXPECT_EQ(designed->Left(), 0);
    EXPECT_EQ(designed->Width(), 0);

    TfrxMemoView *plain = t.Memo(QStringLiteral("Memo9"));
    EXPECT_FALSE(plain->IsDesigning());
    plain->SetRestrictions(TfrxRestrictions(rfDontMove | rfDontSize));
    plain->SetBounds(10, 20, 30, 40);
    EXPECT_EQ(plain->Left(), 10);
    EXPECT_EQ(plain->Height(), 40);
    EXPECT_EQ(plain->AbsLeft(), 10); // the page sits at 0
}

TEST(ComponentTree, ClearKeepsAncestorObjects)
{
    TTree t;
    TfrxMemoView *kept = t.Memo(QStringLiteral("Kept"));
    t.Memo(QStringLiteral("Gone"));
    kept->SetAncestor(true);
    t.Page->Clear();
    EXPECT_EQ(t.Page->Objects(), (QList<TfrxComponent *>{kept}));
}

TEST(ComponentTree, FillTypeColorBrushStyleAndUrl)
{
    TTree t;
    TfrxMemoView *m = t.Memo(QStringLiteral("Memo1"));
    EXPECT_EQ(m->Color(), clTransparent);
    m->SetColor(clRed);
    EXPECT_EQ(m->Color(), clRed);
    m->SetFillType(ftGradient);
    auto *gradient = dynamic_cast<TfrxGradientFill *>(m->Fill());
    ASSERT_NE(gradient, nullptr);
    gradient->SetStartColor(0x0000FF);
    gradient->SetEndColor(0x000001);
    EXPECT_EQ(m->Color(), 0x80);
    m->SetColor(clWhite);
    m->SetBrushStyle(bsCross);
    EXPECT_EQ(m->Color(), 0x80);
    EXPECT_EQ(m->BrushStyle(), bsClear);
    m->SetFillType(ftGradient);
    EXPECT_EQ(m->Fill(), gradient); // same kind: the fill stays

    TfrxGlassFill glass;
    glass.SetBlend(0.25);
    m->SetFill(&glass);
    EXPECT_EQ(m->FillType(), ftGlass);
    EXPECT_EQ(static_cast<TfrxGlassFill *>(m->Fill())->Blend(), 0.25);

    m->SetURL(QStringLiteral("#top"));
    EXPECT_EQ(m->Hyperlink()->Kind(), hkAnchor);
    EXPECT_EQ(m->Hyperlink()->Value(), QStringLiteral("top"));
    m->SetURL(QStringLiteral("@12"));
    EXPECT_EQ(m->Hyperlink()->Kind(), hkPageNumber);
    EXPECT_EQ(m->Hyperlink()->Value(), QStringLiteral("12"));
    m->SetURL(QString());
    EXPECT_EQ(m->Hyperlink()->Kind(), hkPageNumber); // empty: nothing changes
    m->SetURL(QStringLiteral("#") + QString(300, QLatin1Char('a')));
    EXPECT_EQ(m->Hyperlink()->Value().size(), 254);
    m->SetURL(QStringLiteral("http://x/#y"));
    EXPECT_EQ(m->Hyperlink()->Kind(), hkURL);
    EXPECT_EQ(m->Hyperlink()->Value(), QStringLiteral("http://x/#y"));
    EXPECT_TRUE(m->URL().isEmpty());
}

TEST(ComponentTree, FrameValuesReachAllLines)
{
    TfrxFrame frame;
    frame.SetColor(clRed);
    frame.SetWidth(2.5);
    frame.SetStyle(fsDot);
    for (TfrxFrameLine *l : {frame.LeftLine(), frame.TopLine(), frame.RightLine(), frame.BottomLine()}) {
        EXPECT_EQ(l->Color(), clRed);
        EXPECT_EQ(l->Width(), 2.5);
        EXPECT_EQ(l->Style(), fsDot);
    }
    TfrxFrameLine *left = frame.LeftLine();
    TfrxFrame other;
    other.LeftLine()->SetColor(0x00FF00);
    frame.SetLeftLine(other.LeftLine());
    EXPECT_EQ(frame.LeftLine(), left); // copied into the frame's own line
    EXPECT_EQ(left->Color(), 0x00FF00);

    // Lines are made when first asked for: one made before a frame value
    // and one made after both end with it, and both are drawn with it.
    TfrxFrame lazy;
    TfrxFrameLine *early = lazy.TopLine();
    lazy.SetWidth(3);
    EXPECT_EQ(early->Width(), 3);
    EXPECT_EQ(lazy.BottomLine()->Width(), 3);
    EXPECT_EQ(lazy.SideValues(ftTop).Width, 3);
    EXPECT_EQ(lazy.SideValues(ftRight).Width, 3);
    // A copy from a frame that never made a line gives a made line the
    // source frame's values and keeps the object.
    TfrxFrame plain;
    plain.SetColor(clGray);
    lazy.Assign(plain);
    EXPECT_EQ(lazy.TopLine(), early);
    EXPECT_EQ(early->Color(), clGray);
    EXPECT_EQ(early->Width(), 1);
    EXPECT_TRUE(lazy == plain);
}

// A view's fill is made when first asked for; until then the view has the
// default brush, which reads, compares and stores like a made one.
TEST(ComponentTree, AViewWithoutAFillHasTheDefaultBrush)
{
    TfrxMemoView plain(nullptr), made(nullptr);
    EXPECT_EQ(plain.ExistingFill(), nullptr);
    made.Fill();
    for (const TfrxMemoView *v : {&plain, &made}) {
        EXPECT_EQ(v->FillType(), ftBrush);
        EXPECT_EQ(v->Color(), clTransparent);
        EXPECT_EQ(v->BrushStyle(), bsSolid);
    }
    EXPECT_EQ(plain.Diff(&made), made.Diff(&plain));
    EXPECT_FALSE(plain.Diff(&made).contains(QStringLiteral("Fill")));

    TfrxMemoView red(nullptr), other(nullptr);
    red.SetColor(clRed);
    EXPECT_NE(red.ExistingFill(), nullptr);
    EXPECT_TRUE(red.Diff(&other).contains(QStringLiteral("Fill.BackColor=")));
    TfrxMemoView fresh(nullptr);
    fresh.SetFillType(ftBrush);
    EXPECT_EQ(fresh.ExistingFill(), nullptr) << "the kind it already has";
    fresh.SetFillType(ftGradient);
    EXPECT_EQ(fresh.Fill()->FillType(), ftGradient);
}

// A view's frame and its event handlers' names are made when first set or
// asked for; until then the view reads, compares and stores like one that
// made them with their defaults.
TEST(ComponentTree, AViewWithoutAFrameOrEventsHasTheDefaults)
{
    TfrxMemoView plain(nullptr), made(nullptr);
    plain.SetOnBeforePrint(QString());
    EXPECT_EQ(plain.ExistingFrame(), nullptr);
    EXPECT_TRUE(plain.OnBeforePrint().isEmpty());
    made.SetOnBeforePrint(QStringLiteral("MemoOnBeforePrint"));
    made.SetOnBeforePrint(QString());
    EXPECT_EQ(made.Frame()->Typ(), TfrxFrameTypes());
    EXPECT_EQ(plain.Diff(&made), made.Diff(&plain));
    EXPECT_FALSE(plain.Diff(&made).contains(QStringLiteral("Frame")));
    EXPECT_EQ(plain.ExistingFrame(), nullptr) << "comparing made no frame";

    TfrxMemoView framed(nullptr);
    framed.Frame()->SetTyp(ftLeft | ftTop);
    framed.SetOnPreviewClick(QStringLiteral("Click"));
    EXPECT_TRUE(framed.Diff(&plain).contains(QStringLiteral("Frame.Typ=")));
    EXPECT_EQ(framed.OnPreviewClick(), QStringLiteral("Click"));
    EXPECT_TRUE(framed.OnBeforePrint().isEmpty());
    EXPECT_TRUE(plain.OnPreviewClick().isEmpty());
    plain.SetFrame(framed.Frame());
    EXPECT_EQ(plain.Frame()->Typ(), framed.Frame()->Typ());
}

TEST(ComponentTree, AlignChildrenPlacesViewsInTheContainer)
{
    TfrxReportPage band(nullptr);
    band.SetWidth(100);
    band.SetHeight(50);
    auto make = [&](TfrxAlign align, double left, double width) {
        auto *v = new TfrxMemoView(&band);
        v->SetBounds(left, 0, width, 10);
        v->SetAlign(align);
        return v;
    };
    TfrxMemoView *a = make(baLeft, 40, 10);
    TfrxMemoView *b = make(baLeft, 70, 10);
    TfrxMemoView *r = make(baRight, 5, 20);
    TfrxMemoView *c = make(baCenter, 0, 30);
    TfrxMemoView *client = make(baClient, 3, 3);
    client->SetTop(20);
    band.AlignChildren();
    EXPECT_EQ(c->Left(), 35);
    EXPECT_EQ(client->Width(), 100);
    EXPECT_EQ(client->Height(), 50);
    EXPECT_EQ(client->Left(), 0);
    // Left-aligned views close up behind their overlapping left neighbour;
    // the right-aligned one ends where its right neighbour begins.
    EXPECT_EQ(a->Left(), 25);
    EXPECT_EQ(b->Left(), 35);
    EXPECT_EQ(r->Left(), 5);
}
