// Object differences: what a prepared page stores of an object, and that the
// template reader turns copy + differences back into the object.

#include "report/model/rudClass.h"
#include "report/model/rudDiff.h"
#include "report/model/rudBand.h"
#include "report/model/rudHighlight.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudPropInfo.h"

#include "base/FormatSettings.h"
#include "base/NumberFormat.h"
#include "base/Xml.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A page with a design memo and its source copy, equal to begin with.
struct TMemoPair {
    TfrxReportPage Page{nullptr};
    TfrxMemoView *Memo = new TfrxMemoView(&Page);
    TfrxMemoView *Source = new TfrxMemoView(&Page);
};

// The object the reader makes from Source's full text followed by Diff.
std::unique_ptr<TfrxComponent> rebuild(TfrxComponent *Obj, TfrxComponent *Source, TfrxComponent *Parent)
{
    TfrxXMLSerializer serializer(nullptr);
    const QString text = serializer.WriteComponentStr(Source) + QLatin1Char(' ') + Obj->Diff(Source);
    return std::unique_ptr<TfrxComponent>(serializer.ReadComponentStr(Parent, text, true));
}

} // namespace

TEST(ObjectDiff, MemoDifferingOnlyInItsTextYieldsExactlyU)
{
    TMemoPair p;
    p.Memo->SetText(QStringLiteral("Hello <\"world\"> & co"));
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"Hello &#60;&#34;world&#34;&#62; &#38; co\""));
    // Without lines, u is still written, empty.
    p.Memo->SetText(QString());
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"\""));
    // Two lines: joined by an escaped CR LF, no trailing break.
    p.Memo->SetText(QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"one&#13;&#10;two\""));
}

TEST(ObjectDiff, PositionsDifferBeyondATenThousandthInTheLocalesForm)
{
    for (const TFormatSettings &settings : {englishFormatSettings(), russianFormatSettings()}) {
        TFormatSettingsScope scope(settings);
        TMemoPair p;
        p.Memo->SetLeft(0.00005);
        EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"\""));
        p.Memo->SetLeft(0.001);
        p.Memo->SetTop(12.5);
        const QString sep = settings.DecimalSeparator;
        EXPECT_EQ(p.Memo->Diff(p.Source),
                  QStringLiteral(" l=\"0") + sep + QStringLiteral("001\" t=\"12") + sep + QStringLiteral("5\" u=\"\""));
        // The reader takes either separator back.
        auto rebuilt = rebuild(p.Memo, p.Source, &p.Page);
        EXPECT_DOUBLE_EQ(rebuilt->Left(), 0.001);
        EXPECT_DOUBLE_EQ(rebuilt->Top(), 12.5);
    }
}

TEST(ObjectDiff, AutoWidthMemoWritesNoWidth)
{
    TMemoPair p;
    p.Memo->SetAutoWidth(true);
    p.Source->SetAutoWidth(true);
    p.Memo->SetWidth(300);
    p.Memo->SetHeight(40);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" h=\"40\" u=\"\""));
    p.Memo->SetAutoWidth(false);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" w=\"300\" h=\"40\" AutoWidth=\"0\" u=\"\""));
}

TEST(ObjectDiff, FontSizeChangeYieldsOnlyTheSize)
{
    TMemoPair p;
    p.Memo->Font()->SetSize(10);
    p.Source->Font()->SetSize(10);
    p.Memo->Font()->SetSize(12);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" Font.Size=\"12\" u=\"\""));
    auto rebuilt = rebuild(p.Memo, p.Source, &p.Page);
    EXPECT_EQ(rebuilt->Font()->Size(), 12);
    EXPECT_EQ(rebuilt->Font()->Name(), p.Memo->Font()->Name());
    // A memo taking its parent's font writes no font at all, only the flag.
    p.Memo->SetParentFont(true);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" ParentFont=\"1\" u=\"\""));
}

TEST(ObjectDiff, FrameLinesAreWrittenAgainstTheFrameWhenItsValueWasWritten)
{
    TMemoPair p;
    p.Memo->Frame()->SetColor(clRed);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" Frame.Color=\"255\" u=\"\""));
    p.Memo->Frame()->LeftLine()->SetColor(clBlack);
    EXPECT_EQ(p.Memo->Diff(p.Source),
              QStringLiteral(" Frame.Color=\"255\" Frame.LeftLine.Color=\"0\" u=\"\""));
    auto rebuilt = rebuild(p.Memo, p.Source, &p.Page);
    auto *memo = dynamic_cast<TfrxMemoView *>(rebuilt.get());
    EXPECT_EQ(memo->Frame()->Color(), clRed);
    EXPECT_EQ(memo->Frame()->LeftLine()->Color(), clBlack);
    EXPECT_EQ(memo->Frame()->TopLine()->Color(), clRed);
    // Without a frame value written, a line is compared with the source's line.
    TMemoPair q;
    q.Memo->Frame()->BottomLine()->SetWidth(2.5);
    q.Memo->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftBottom));
    EXPECT_EQ(q.Memo->Diff(q.Source), QStringLiteral(" Frame.Typ=\"9\" Frame.BottomLine.Width=\"2.5\" u=\"\""));
}

TEST(ObjectDiff, ViewValuesUseOrdinalsMasksAndEscapes)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TMemoPair p;
    p.Memo->SetHAlign(haCenter);
    p.Memo->SetVisibility(vsPreview);
    p.Memo->SetTagStr(QStringLiteral("a\"b"));
    p.Memo->SetFillType(ftGlass);
    p.Memo->Hyperlink()->SetValue(QStringLiteral("x"));
    p.Memo->SetWordWrap(false);
    EXPECT_EQ(p.Memo->Diff(p.Source),
              QStringLiteral(" Visibility=\"1\" TagStr=\"a&#34;b\" FillType=\"2\" Fill.Color=\"8421504\""
                             " Fill.Blend=\"0.5\" Fill.Hatch=\"0\" Fill.Orientation=\"1\" Hyperlink.Value=\"x\""
                             " HAlign=\"2\" u=\"\" WordWrap=\"0\""));
    auto rebuilt = rebuild(p.Memo, p.Source, &p.Page);
    auto *memo = dynamic_cast<TfrxMemoView *>(rebuilt.get());
    EXPECT_EQ(memo->HAlign(), haCenter);
    EXPECT_EQ(memo->Visibility(), TfrxVisibilityTypes(vsPreview));
    EXPECT_EQ(memo->TagStr(), QStringLiteral("a\"b"));
    EXPECT_EQ(memo->FillType(), ftGlass);
    EXPECT_EQ(memo->Hyperlink()->Value(), QStringLiteral("x"));
    EXPECT_FALSE(memo->WordWrap());
}

TEST(ObjectDiff, LastParaBreakIsHandedOverToTheContinuation)
{
    TMemoPair p;
    p.Memo->SetLastParaBreak(true);
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"\" LastParaBreak=\"1\""));
    EXPECT_TRUE(p.Memo->FirstParaBreak());
    EXPECT_FALSE(p.Memo->LastParaBreak());
    EXPECT_EQ(p.Memo->Diff(p.Source), QStringLiteral(" u=\"\" FirstParaBreak=\"1\""));
    EXPECT_FALSE(p.Memo->FirstParaBreak());
}

TEST(ObjectDiff, AllDiffIsTheFullTextAndTheNullBandAddsItsPosition)
{
    TfrxReportPage page(nullptr);
    auto *band = new TfrxNullBand(&page);
    band->SetLeft(0);
    band->SetTop(7);
    EXPECT_TRUE(rudIsBand(band));
    EXPECT_FALSE(rudIsBand(&page));
    const QString bandText = band->AllDiff(nullptr);
    EXPECT_TRUE(bandText.contains(QStringLiteral(" Top=\"7\""))) << bandText.toStdString();
    EXPECT_TRUE(bandText.endsWith(QStringLiteral(" l=\"0\" t=\"7\""))) << bandText.toStdString();
    TMemoPair p;
    p.Memo->SetText(QStringLiteral("x"));
    p.Memo->SetLeft(5);
    const QString all = p.Memo->AllDiff(p.Source);
    EXPECT_TRUE(all.contains(QStringLiteral(" Left=\"5\""))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral(" Text=\"x\""))) << all.toStdString();
    EXPECT_TRUE(all.endsWith(QStringLiteral("  l=\"5\""))) << all.toStdString();
}

TEST(ObjectDiff, PicturePartFollowsTheViewPart)
{
    TfrxReportPage page(nullptr);
    auto *picture = new TfrxPictureView(&page);
    auto *source = new TfrxPictureView(&page);
    picture->SetImageIndex(3);
    picture->SetTransparent(true);
    picture->SetHeight(20);
    EXPECT_EQ(picture->Diff(source), QStringLiteral(" h=\"20\" ImageIndex=\"3\" Transparent=\"1\""));
}

// Each row of a differences table names a published property of its class
// and reads that property: the same text as the property list gives, and a
// change made through the property list is seen as a difference.
TEST(ObjectDiff, EveryTableRowReadsThePublishedPropertyItNames)
{
    TfrxReportPage page(nullptr);
    auto *a = new TfrxMemoView(&page);
    auto *b = new TfrxMemoView(&page);
    TfrxFormat formatA, formatB;
    TfrxBrushFill brushA, brushB;
    TfrxGradientFill gradientA, gradientB;
    TfrxGlassFill glassA, glassB;
    const std::pair<QObject *, QObject *> pairs[] = {
        {a, b},           {a->Font(), b->Font()},   {a->Frame(), b->Frame()}, {a->Hyperlink(), b->Hyperlink()},
        {&brushA, &brushB}, {&gradientA, &gradientB}, {&glassA, &glassB},       {&formatA, &formatB}};
    // The value text of the property read through the property list.
    auto propText = [](const TfrxPropInfo &prop, const QObject *obj) {
        if (prop.Kind == TfrxPropKind::Boolean)
            return prop.OrdValue(obj) ? QStringLiteral("1") : QStringLiteral("0");
        if (isOrdinalPropKind(prop.Kind))
            return QString::number(prop.OrdValue(obj));
        if (prop.Kind == TfrxPropKind::Float)
            return FloatToStr(prop.FloatValue(obj));
        return rudStrToXML(prop.StrValue(obj));
    };
    // Another value of the property, written through the property list.
    auto change = [](const TfrxPropInfo &prop, QObject *obj) {
        if (prop.Kind == TfrxPropKind::Float)
            return prop.SetFloatValue(obj, prop.FloatValue(obj) + 1.5);
        if (prop.Kind == TfrxPropKind::String)
            return prop.SetStrValue(obj, prop.StrValue(obj) + QStringLiteral("x"));
        const qint64 value = prop.OrdValue(obj);
        if (prop.Kind == TfrxPropKind::Boolean)
            return prop.SetOrdValue(obj, !value);
        if (prop.Kind == TfrxPropKind::Set)
            return prop.SetOrdValue(obj, value ^ (prop.SetMask() & -prop.SetMask()));
        if (prop.Kind == TfrxPropKind::Enumeration)
            for (int k = 0; k < prop.Enumerator().keyCount(); ++k)
                if (prop.Enumerator().value(k) != value)
                    return prop.SetOrdValue(obj, prop.Enumerator().value(k));
        return prop.SetOrdValue(obj, value + 1);
    };
    for (const auto &table : rudDiffTables()) {
        // A plain variable: clang 14 does not let a lambda capture a structured binding.
        const QMetaObject *const cls = table.first;
        const auto &fields = table.second;
        const auto pair = std::find_if(std::begin(pairs), std::end(pairs),
                                       [&](const auto &p) { return p.first->metaObject()->inherits(cls); });
        ASSERT_NE(pair, std::end(pairs)) << cls->className();
        for (const TfrxDiffField &field : fields) {
            const std::string where = std::string(cls->className()) + '.' + field.Name;
            const TfrxPropInfo *prop = rudFindProp(cls, QLatin1String(field.Name));
            ASSERT_TRUE(prop) << where;
            EXPECT_EQ(field.Text(pair->first), propText(*prop, pair->first)) << where;
            EXPECT_FALSE(field.Differs(pair->first, pair->second, field.Rule)) << where;
            ASSERT_TRUE(change(*prop, pair->second)) << where;
            EXPECT_TRUE(field.Differs(pair->first, pair->second, field.Rule)) << where;
            EXPECT_EQ(field.Text(pair->second), propText(*prop, pair->second)) << where;
        }
    }
}
