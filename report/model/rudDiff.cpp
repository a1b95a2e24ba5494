// Object differences of the component, the view, the memo, the picture and
// the null band, and the record differences they share.

#include "report/model/rudDiff.h"

#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include "base/NumberFormat.h"

#include <cmath>

bool rudFloatDiff(double A, double B)
{
    return std::fabs(A - B) > 0.0001;
}

QString rudDiffAttr(const QString &Name, const QString &EscapedValue)
{
    return QLatin1Char(' ') + Name + QStringLiteral("=\"") + EscapedValue + QLatin1Char('"');
}

QString rudDiffInt(const QString &Name, qint64 Value)
{
    return rudDiffAttr(Name, QString::number(Value));
}

QString rudDiffFloat(const QString &Name, double Value)
{
    return rudDiffAttr(Name, FloatToStr(Value));
}

QString rudDiffBool(const QString &Name, bool Value)
{
    return rudDiffAttr(Name, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString rudDiffStr(const QString &Name, const QString &Value)
{
    return rudDiffAttr(Name, rudStrToXML(Value));
}

namespace {

// The value text of one property in the forms of object differences.
QString diffValue(const TfrxPropInfo &Prop, const QObject *Obj)
{
    if (Prop.Kind == TfrxPropKind::Boolean)
        return Prop.OrdValue(Obj) ? QStringLiteral("1") : QStringLiteral("0");
    if (isOrdinalPropKind(Prop.Kind))
        return QString::number(Prop.OrdValue(Obj));
    if (Prop.Kind == TfrxPropKind::Float || Prop.Kind == TfrxPropKind::DateTime)
        return FloatToStr(Prop.FloatValue(Obj));
    return rudStrToXML(Prop.StrValue(Obj));
}

bool differs(const TfrxPropInfo &Prop, TfrxDiffRule Rule, const QObject *Obj, const QObject *Source)
{
    if (isOrdinalPropKind(Prop.Kind))
        return Prop.OrdValue(Obj) != Prop.OrdValue(Source);
    if (Prop.Kind == TfrxPropKind::Float || Prop.Kind == TfrxPropKind::DateTime) {
        const double a = Prop.FloatValue(Obj), b = Prop.FloatValue(Source);
        return Rule == TfrxDiffRule::Float ? rudFloatDiff(a, b) : a != b;
    }
    return Prop.StrValue(Obj) != Prop.StrValue(Source);
}

} // namespace

namespace {

// The differences tables, in the order the attributes are written.
constexpr TfrxDiffRule ByFloat = TfrxDiffRule::Float;
constexpr TfrxDiffField fontFields[] = {{"Name"}, {"Size"}, {"Color"}, {"Style"}, {"Charset"}};
constexpr TfrxDiffField componentFields[] = {{"Tag"}};
constexpr TfrxDiffField viewAlignFields[] = {{"Align"}};
constexpr TfrxDiffField viewFields[] = {{"Cursor"}, {"Visibility"}, {"TagStr"}, {"FillType"}};
constexpr TfrxDiffField frameFields[] = {{"Color"}, {"DropShadow"}, {"ShadowColor"}, {"ShadowWidth", ByFloat},
                                         {"Style"}, {"Typ"},        {"Width", ByFloat}};
constexpr TfrxDiffField hyperlinkFields[] = {{"Kind"},       {"DetailReport"}, {"DetailPage"},     {"ReportVariable"},
                                             {"TabCaption"}, {"Value"},        {"ValuesSeparator"}};
constexpr TfrxDiffField memoFields[] = {{"AutoWidth"}, {"CharSpacing", ByFloat}, {"GapX"},           {"GapY"},
                                        {"HAlign"},    {"LineSpacing"},        {"UseDefaultCharset"}};
constexpr TfrxDiffField memoAfterTextFields[] = {{"ParagraphGap"}, {"Rotation"}, {"RTLReading"},
                                                 {"Underlines"},   {"VAlign"},   {"WordWrap"}};
constexpr TfrxDiffField formatFields[] = {{"Kind"}, {"DecimalSeparator"}, {"ThousandSeparator"}, {"FormatStr"}};

} // namespace

std::vector<std::pair<const QMetaObject *, std::span<const TfrxDiffField>>> rudDiffTables()
{
    return {{&TFont::staticMetaObject, fontFields},          {&TfrxComponent::staticMetaObject, componentFields},
            {&TfrxView::staticMetaObject, viewAlignFields},  {&TfrxMemoView::staticMetaObject, viewFields},
            {&TfrxFrame::staticMetaObject, frameFields},     {&TfrxHyperlink::staticMetaObject, hyperlinkFields},
            {&TfrxMemoView::staticMetaObject, memoFields},   {&TfrxMemoView::staticMetaObject, memoAfterTextFields},
            {&TfrxFormat::staticMetaObject, formatFields}};
}

void rudDiffFields(QString &Out, const QObject *Obj, const QObject *Source, std::span<const TfrxDiffField> Fields,
                   QLatin1String Prefix, bool Always)
{
    for (const TfrxDiffField &field : Fields) {
        const TfrxPropInfo *prop = rudFindProp(Obj, QLatin1String(field.Name));
        if (!prop || !(Always || differs(*prop, field.Rule, Obj, Source)))
            continue;
        Out += rudDiffAttr(Prefix + QLatin1String(field.Name), diffValue(*prop, Obj));
    }
}

QString rudFrameDiff(const TfrxFrame &Frame, const TfrxFrame &Source)
{
    QString result;
    const bool color = Frame.Color() != Source.Color();
    const bool style = Frame.Style() != Source.Style();
    const bool width = rudFloatDiff(Frame.Width(), Source.Width());
    rudDiffFields(result, &Frame, &Source, frameFields, QLatin1String("Frame."));

    const struct {
        const char *Name;
        TfrxFrameLine *Line, *SourceLine;
    } lines[] = {{"Frame.LeftLine.", Frame.LeftLine(), Source.LeftLine()},
                 {"Frame.TopLine.", Frame.TopLine(), Source.TopLine()},
                 {"Frame.RightLine.", Frame.RightLine(), Source.RightLine()},
                 {"Frame.BottomLine.", Frame.BottomLine(), Source.BottomLine()}};
    for (const auto &l : lines) {
        const QString prefix = QLatin1String(l.Name);
        if (color ? l.Line->Color() != Frame.Color() : l.Line->Color() != l.SourceLine->Color())
            result += rudDiffInt(prefix + QStringLiteral("Color"), l.Line->Color());
        if (style ? l.Line->Style() != Frame.Style() : l.Line->Style() != l.SourceLine->Style())
            result += rudDiffInt(prefix + QStringLiteral("Style"), l.Line->Style());
        if (width ? rudFloatDiff(l.Line->Width(), Frame.Width())
                  : rudFloatDiff(l.Line->Width(), l.SourceLine->Width()))
            result += rudDiffFloat(prefix + QStringLiteral("Width"), l.Line->Width());
    }
    return result;
}

QString rudFillDiff(const TfrxCustomFill &Fill, const TfrxCustomFill &Source)
{
    QString result;
    const bool otherKind = Fill.FillType() != Source.FillType();
    for (const TfrxPropInfo &prop : rudGetPropList(&Fill))
        if (prop.Meta.isStored() && (otherKind || differs(prop, TfrxDiffRule::Exact, &Fill, &Source)))
            result += rudDiffAttr(QLatin1String("Fill.") + prop.Name, diffValue(prop, &Fill));
    return result;
}

QString rudHyperlinkDiff(const TfrxHyperlink &Link, const TfrxHyperlink &Source)
{
    QString result;
    rudDiffFields(result, &Link, &Source, hyperlinkFields, QLatin1String("Hyperlink."));
    return result;
}

// ---- components --------------------------------------------------------------

QString TfrxComponent::DiffBase(TfrxComponent *AComponent)
{
    if (!AComponent)
        return QString();
    QString result;
    if (rudFloatDiff(FLeft, AComponent->FLeft))
        result += rudDiffFloat(QStringLiteral("l"), FLeft);
    if (rudIsBand(this) || rudFloatDiff(FTop, AComponent->FTop))
        result += rudDiffFloat(QStringLiteral("t"), FTop);
    auto *memo = dynamic_cast<TfrxCustomMemoView *>(this);
    if (!(memo && memo->AutoWidth()) && rudFloatDiff(FWidth, AComponent->FWidth))
        result += rudDiffFloat(QStringLiteral("w"), FWidth);
    if (rudFloatDiff(FHeight, AComponent->FHeight))
        result += rudDiffFloat(QStringLiteral("h"), FHeight);
    if (FVisible != AComponent->FVisible)
        result += rudDiffBool(QStringLiteral("Visible"), FVisible);
    if (!FParentFont)
        rudDiffFields(result, FFont.get(), AComponent->FFont.get(), fontFields, QLatin1String("Font."));
    if (FParentFont != AComponent->FParentFont)
        result += rudDiffBool(QStringLiteral("ParentFont"), FParentFont);
    rudDiffFields(result, this, AComponent, componentFields, QLatin1String());
    return result;
}

QString TfrxComponent::Diff(TfrxComponent *AComponent)
{
    return DiffBase(AComponent);
}

QString TfrxComponent::AllDiff(TfrxComponent *AComponent)
{
    TfrxXMLSerializer serializer(nullptr);
    QString result = serializer.ObjToXML(this);
    if (AComponent)
        result += QLatin1Char(' ') + DiffBase(AComponent);
    return result;
}

QString TfrxView::Diff(TfrxComponent *AComponent)
{
    QString result = TfrxComponent::Diff(AComponent);
    auto *source = dynamic_cast<TfrxView *>(AComponent);
    if (!source)
        return result;
    rudDiffFields(result, this, source, viewAlignFields, QLatin1String());
    result += rudFrameDiff(*FFrame, *source->FFrame);
    rudDiffFields(result, this, source, viewFields, QLatin1String());
    result += rudFillDiff(*FFill, *source->FFill);
    result += rudHyperlinkDiff(*FHyperlink, *source->FHyperlink);
    return result;
}

QString TfrxCustomMemoView::Diff(TfrxComponent *AComponent)
{
    QString result = TfrxView::Diff(AComponent);
    auto *source = dynamic_cast<TfrxCustomMemoView *>(AComponent);
    if (!source)
        return result;
    rudDiffFields(result, this, source, memoFields, QLatin1String());
    // The lines joined by escaped line breaks; a break inside a line keeps
    // its own escape, so the rebuilt memo gets the same lines.
    result += rudDiffAttr(QStringLiteral("u"), rudLinesToXML(FMemo));
    rudDiffFields(result, this, source, memoAfterTextFields, QLatin1String());
    if (FFormats.Count() == 1) {
        const TfrxFormat defaults;
        const TfrxFormat &sourceFormat = source->FFormats.Count() > 0 ? *source->FFormats.Items(0) : defaults;
        rudDiffFields(result, FFormats.Items(0), &sourceFormat, formatFields, QLatin1String("DisplayFormat."));
    }
    if (FFirstParaBreak)
        result += rudDiffBool(QStringLiteral("FirstParaBreak"), true);
    if (FLastParaBreak)
        result += rudDiffBool(QStringLiteral("LastParaBreak"), true);
    FFirstParaBreak = FLastParaBreak;
    FLastParaBreak = false;
    return result;
}

QString TfrxPictureView::Diff(TfrxComponent *AComponent)
{
    return TfrxView::Diff(AComponent) + DiffPicturePart(AComponent);
}

// ---- bands --------------------------------------------------------------------------

// With a source copy the base part already carries the position.
QString TfrxNullBand::AllDiff(TfrxComponent *AComponent)
{
    QString result = TfrxComponent::AllDiff(AComponent);
    if (!AComponent)
        result += rudDiffFloat(QStringLiteral("l"), Left()) + rudDiffFloat(QStringLiteral("t"), Top());
    return result;
}

bool rudIsBand(const QObject *Obj)
{
    return dynamic_cast<const TfrxBand *>(Obj) != nullptr;
}
