// The published-property lists: order (inherited first), kinds, defaults,
// stored rules and typed access, as every consumer walks them.

#include "report/model/rudClass.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const QMetaObject *cls)
{
    QStringList result;
    for (const TfrxPropInfo &p : rudGetPropList(cls))
        result.append(p.Name);
    return result;
}

} // namespace

TEST(PropInfo, OrderIsInheritedFirstAsTemplatesWriteIt)
{
    const QStringList view = names(&TfrxView::staticMetaObject);
    const QStringList expectedView = {
        "Name", "Tag", "Description", "Align", "Printable", "ShiftMode", "Left", "Top", "Width", "Height",
        "GroupIndex", "Restrictions", "Visible", "OnAfterData", "OnAfterPrint", "OnBeforePrint", "OnMouseEnter",
        "OnMouseLeave", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnPreviewClick", "OnPreviewDblClick",
        "Hyperlink", "Hint", "ShowHint", "Visibility"};
    EXPECT_EQ(view, expectedView);

    const QStringList memo = names(&TfrxMemoView::staticMetaObject);
    ASSERT_GT(memo.size(), view.size() + 1);
    EXPECT_EQ(memo.mid(0, view.size()), view);
    EXPECT_EQ(memo[view.size()], QStringLiteral("StretchMode"));
    EXPECT_EQ(memo[view.size() + 1], QStringLiteral("FirstParaBreak"));
    EXPECT_EQ(memo.last(), QStringLiteral("VAlign"));
    EXPECT_LT(memo.indexOf("Font"), memo.indexOf("Frame"));
    EXPECT_LT(memo.indexOf("FillType"), memo.indexOf("Fill"));

    EXPECT_EQ(names(&TfrxDataPage::staticMetaObject),
              (QStringList{"Name", "Tag", "Font", "Visible", "Height", "Left", "Top", "Width"}));
    EXPECT_EQ(names(&TFont::staticMetaObject).mid(0, 4), (QStringList{"Charset", "Color", "Height", "Name"}));
}

TEST(PropInfo, KindsDefaultsAndStoredRules)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    auto *memo = new TfrxMemoView(page);
    auto kind = [](const QMetaObject *cls, const char *name) { return rudFindProp(cls, name)->Kind; };
    const QMetaObject *m = &TfrxMemoView::staticMetaObject;
    EXPECT_EQ(kind(m, "HAlign"), TfrxPropKind::Enumeration);
    EXPECT_EQ(kind(m, "Restrictions"), TfrxPropKind::Set);
    EXPECT_EQ(kind(m, "WordWrap"), TfrxPropKind::Boolean);
    EXPECT_EQ(kind(m, "GapX"), TfrxPropKind::Float);
    EXPECT_EQ(kind(m, "Rotation"), TfrxPropKind::Integer);
    EXPECT_EQ(kind(m, "Style"), TfrxPropKind::String);
    EXPECT_EQ(kind(m, "FlowTo"), TfrxPropKind::Component);
    EXPECT_EQ(kind(m, "Font"), TfrxPropKind::Object);
    EXPECT_EQ(kind(m, "Memo"), TfrxPropKind::WideStringList);
    EXPECT_EQ(kind(&TfrxReport::staticMetaObject, "ScriptText"), TfrxPropKind::StringList);
    EXPECT_EQ(kind(&TfrxReportOptions::staticMetaObject, "CreateDate"), TfrxPropKind::DateTime);
    EXPECT_EQ(rudFindProp(m, "halign"), rudFindProp(m, "HAlign")); // names ignore case
    EXPECT_EQ(rudFindProp(m, "NoSuchThing"), nullptr);

    const TfrxPropInfo *gapX = rudFindProp(m, "GapX");
    EXPECT_TRUE(gapX->IsDefault(memo));
    memo->SetGapX(2.5);
    EXPECT_FALSE(gapX->IsDefault(memo));
    const TfrxPropInfo *font = rudFindProp(m, "Font");
    EXPECT_FALSE(font->IsStored(memo)); // ParentFont
    memo->SetParentFont(false);
    EXPECT_TRUE(font->IsStored(memo));
    EXPECT_FALSE(rudFindProp(m, "Color")->IsStored(memo));
    EXPECT_FALSE(rudFindProp(m, "URL")->IsStored(memo));
    EXPECT_FALSE(rudFindProp(&TfrxView::staticMetaObject, "Left")->HasDefault()); // always written
}

TEST(PropInfo, TypedAccessGoesThroughTheSetters)
{
    TfrxMemoView memo(nullptr);
    const TfrxPropInfo *hAlign = rudFindProp(&memo, "HAlign");
    EXPECT_TRUE(hAlign->SetOrdValue(&memo, haCenter));
    EXPECT_EQ(memo.HAlign(), haCenter);
    EXPECT_EQ(hAlign->IdentOf(hAlign->OrdValue(&memo)), QStringLiteral("haCenter"));
    EXPECT_EQ(hAlign->ValueOfIdent(QStringLiteral("HABLOCK")), std::optional<qint64>(haBlock));
    EXPECT_FALSE(hAlign->ValueOfIdent(QStringLiteral("haMiddle")).has_value());
    EXPECT_FALSE(hAlign->IsValidOrd(4));

    const TfrxPropInfo *restrictions = rudFindProp(&memo, "Restrictions");
    EXPECT_TRUE(restrictions->SetOrdValue(&memo, rfDontMove | rfDontEdit));
    EXPECT_EQ(memo.Restrictions(), TfrxRestrictions(rfDontMove | rfDontEdit));
    EXPECT_EQ(restrictions->SetMask(), 31);

    rudFindProp(&memo, "Rotation")->SetOrdValue(&memo, 450);
    EXPECT_EQ(memo.Rotation(), 90);
    auto *fontObj = qobject_cast<TFont *>(rudFindProp(&memo, "Font")->ObjectValue(&memo));
    ASSERT_EQ(fontObj, memo.Font());
    rudFindProp(fontObj, "Name")->SetStrValue(fontObj, QStringLiteral("Tahoma"));
    EXPECT_EQ(memo.Font()->Name(), QStringLiteral("Tahoma"));

    TfrxMemoView other(nullptr);
    const TfrxPropInfo *flowTo = rudFindProp(&memo, "FlowTo");
    EXPECT_TRUE(flowTo->SetObjectValue(&memo, &other));
    EXPECT_EQ(memo.FlowTo(), &other);
    TfrxReportPage notAMemo(nullptr);
    EXPECT_FALSE(flowTo->SetObjectValue(&memo, &notAMemo));
    EXPECT_EQ(memo.FlowTo(), &other);
}

TEST(PropInfo, RegistryKnowsTheClassesByName)
{
    for (const char *name : {"TfrxReport", "TfrxReportPage", "TfrxDataPage", "TfrxMemoView", "TfrxCustomMemoView",
                             "TfrxFrame", "TfrxHighlight"})
        EXPECT_NE(rudFindClass(QString::fromLatin1(name)).Class, nullptr) << name;
    EXPECT_NE(rudFindClass(QStringLiteral("tfrxmemoview")).Create, nullptr);
    EXPECT_EQ(rudFindClass(QStringLiteral("TfrxFrame")).Create, nullptr); // no component
    EXPECT_EQ(rudFindClass(QStringLiteral("TfrxNoSuchView")).Class, nullptr);
    std::unique_ptr<TfrxComponent> made(rudFindClass(QStringLiteral("TfrxMemoView")).Create(nullptr));
    EXPECT_NE(dynamic_cast<TfrxMemoView *>(made.get()), nullptr);
}
