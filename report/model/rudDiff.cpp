// Object differences of the component, the view, the memo, the picture and
// the null band, and the record differences they share.

#include "report/model/rudDiff.h"

#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include "base/NumberFormat.h"

#include <cmath>
#include <type_traits>

bool rudFloatDiff(double A, double B)
{
    return std::fabs(A - B) > 0.0001;
}

// Made in one allocation: every printed object writes several of these.
QString rudDiffAttr(const QString &Name, const QString &EscapedValue)
{
    QString attribute;
    attribute.reserve(Name.size() + EscapedValue.size() + 4);
    attribute += QLatin1Char(' ');
    attribute += Name;
    attribute += QLatin1String("=\"");
    attribute += EscapedValue;
    attribute += QLatin1Char('"');
    return attribute;
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

// The typed reader of a differences field: compares and writes the value
// that the class's getter of the property returns, in the forms of object
// differences (the self-check compares it with the property list's value).
bool valuesDiffer(bool A, bool B, TfrxDiffRule) { return A != B; }
bool valuesDiffer(qint64 A, qint64 B, TfrxDiffRule) { return A != B; }
bool valuesDiffer(double A, double B, TfrxDiffRule Rule)
{
    return Rule == TfrxDiffRule::Float ? rudFloatDiff(A, B) : A != B;
}
bool valuesDiffer(const QString &A, const QString &B, TfrxDiffRule) { return A != B; }

QString valueText(bool Value) { return Value ? QStringLiteral("1") : QStringLiteral("0"); }
QString valueText(qint64 Value) { return QString::number(Value); }
QString valueText(double Value) { return FloatToStr(Value); }
QString valueText(const QString &Value) { return rudStrToXML(Value); }

// Integers, enumerations and sets are compared and written as their
// ordinal number, as the property list reads them; strings are compared
// where the getter keeps them, without a copy.
template <class T>
decltype(auto) asDiffValue(const T &Value)
{
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, double> || std::is_same_v<T, QString>)
        return (Value);
    else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>)
        return qint64(Value);
    else
        return qint64(Value.toInt()); // QFlags
}

template <auto Getter>
struct TFieldReader;

template <class C, class R, R (C::*Getter)() const>
struct TFieldReader<Getter> {
    static const C &Of(const QObject *Obj) { return *static_cast<const C *>(Obj); }
    static bool Differs(const QObject *A, const QObject *B, TfrxDiffRule Rule)
    {
        return valuesDiffer(asDiffValue((Of(A).*Getter)()), asDiffValue((Of(B).*Getter)()), Rule);
    }
    static QString Text(const QObject *Obj) { return valueText(asDiffValue((Of(Obj).*Getter)())); }
};

// A row of a differences table: the property Name, read by Getter.
template <auto Getter>
constexpr TfrxDiffField field(const char *Name, TfrxDiffRule Rule = TfrxDiffRule::Exact)
{
    return {Name, Rule, &TFieldReader<Getter>::Differs, &TFieldReader<Getter>::Text};
}

// The differences tables, in the order the attributes are written.
constexpr TfrxDiffRule ByFloat = TfrxDiffRule::Float;
using TMemo = TfrxCustomMemoView;
using THyperlink = TfrxHyperlink;
constexpr TfrxDiffField fontFields[] = {field<&TFont::Name>("Name"), field<&TFont::Size>("Size"),
                                        field<&TFont::Color>("Color"), field<&TFont::Style>("Style"),
                                        field<&TFont::Charset>("Charset")};
constexpr TfrxDiffField componentFields[] = {field<&TfrxComponent::Tag>("Tag")};
constexpr TfrxDiffField viewAlignFields[] = {field<&TfrxView::Align>("Align")};
constexpr TfrxDiffField viewFields[] = {field<&TfrxView::Cursor>("Cursor"), field<&TfrxView::Visibility>("Visibility"),
                                        field<&TfrxView::TagStr>("TagStr"), field<&TfrxView::FillType>("FillType")};
constexpr TfrxDiffField frameFields[] = {
    field<&TfrxFrame::Color>("Color"),       field<&TfrxFrame::DropShadow>("DropShadow"),
    field<&TfrxFrame::ShadowColor>("ShadowColor"), field<&TfrxFrame::ShadowWidth>("ShadowWidth", ByFloat),
    field<&TfrxFrame::Style>("Style"),       field<&TfrxFrame::Typ>("Typ"),
    field<&TfrxFrame::Width>("Width", ByFloat)};
constexpr TfrxDiffField hyperlinkFields[] = {
    field<&THyperlink::Kind>("Kind"),           field<&THyperlink::DetailReport>("DetailReport"),
    field<&THyperlink::DetailPage>("DetailPage"), field<&THyperlink::ReportVariable>("ReportVariable"),
    field<&THyperlink::TabCaption>("TabCaption"), field<&THyperlink::Value>("Value"),
    field<&THyperlink::ValuesSeparator>("ValuesSeparator")};
constexpr TfrxDiffField memoFields[] = {
    field<&TMemo::AutoWidth>("AutoWidth"), field<&TMemo::CharSpacing>("CharSpacing", ByFloat),
    field<&TMemo::GapX>("GapX"),           field<&TMemo::GapY>("GapY"),
    field<&TMemo::HAlign>("HAlign"),       field<&TMemo::LineSpacing>("LineSpacing"),
    field<&TMemo::UseDefaultCharset>("UseDefaultCharset")};
constexpr TfrxDiffField memoAfterTextFields[] = {
    field<&TMemo::ParagraphGap>("ParagraphGap"), field<&TMemo::Rotation>("Rotation"),
    field<&TMemo::RTLReading>("RTLReading"),     field<&TMemo::Underlines>("Underlines"),
    field<&TMemo::VAlign>("VAlign"),             field<&TMemo::WordWrap>("WordWrap")};
constexpr TfrxDiffField brushFields[] = {field<&TfrxBrushFill::BackColor>("BackColor"),
                                         field<&TfrxBrushFill::ForeColor>("ForeColor"),
                                         field<&TfrxBrushFill::Style>("Style")};
constexpr TfrxDiffField gradientFields[] = {field<&TfrxGradientFill::StartColor>("StartColor"),
                                            field<&TfrxGradientFill::EndColor>("EndColor"),
                                            field<&TfrxGradientFill::GradientStyle>("GradientStyle")};
constexpr TfrxDiffField glassFields[] = {field<&TfrxGlassFill::Color>("Color"), field<&TfrxGlassFill::Blend>("Blend"),
                                         field<&TfrxGlassFill::Hatch>("Hatch"),
                                         field<&TfrxGlassFill::Orientation>("Orientation")};
constexpr TfrxDiffField formatFields[] = {
    field<&TfrxFormat::Kind>("Kind"), field<&TfrxFormat::DecimalSeparator>("DecimalSeparator"),
    field<&TfrxFormat::ThousandSeparator>("ThousandSeparator"), field<&TfrxFormat::FormatStr>("FormatStr")};

} // namespace

std::vector<std::pair<const QMetaObject *, std::span<const TfrxDiffField>>> rudDiffTables()
{
    return {{&TFont::staticMetaObject, fontFields},          {&TfrxComponent::staticMetaObject, componentFields},
            {&TfrxView::staticMetaObject, viewAlignFields},  {&TfrxMemoView::staticMetaObject, viewFields},
            {&TfrxFrame::staticMetaObject, frameFields},     {&TfrxHyperlink::staticMetaObject, hyperlinkFields},
            {&TfrxMemoView::staticMetaObject, memoFields},   {&TfrxMemoView::staticMetaObject, memoAfterTextFields},
            {&TfrxBrushFill::staticMetaObject, brushFields}, {&TfrxGradientFill::staticMetaObject, gradientFields},
            {&TfrxGlassFill::staticMetaObject, glassFields},  {&TfrxFormat::staticMetaObject, formatFields}};
}

void rudDiffFields(QString &Out, const QObject *Obj, const QObject *Source, std::span<const TfrxDiffField> Fields,
                   QLatin1String Prefix, bool Always)
{
    for (const TfrxDiffField &field : Fields)
        if (Always || field.Differs(Obj, Source, field.Rule))
            Out += rudDiffAttr(Prefix + QLatin1String(field.Name), field.Text(Obj));
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
        TfrxFrameType Side;
    } sides[] = {{"Frame.LeftLine.", ftLeft}, {"Frame.TopLine.", ftTop}, {"Frame.RightLine.", ftRight},
                 {"Frame.BottomLine.", ftBottom}};
    for (const auto &side : sides) {
        const QString prefix = QLatin1String(side.Name);
        const TfrxLineValues line = Frame.SideValues(side.Side), source = Source.SideValues(side.Side);
        if (color ? line.Color != Frame.Color() : line.Color != source.Color)
            result += rudDiffInt(prefix + QStringLiteral("Color"), line.Color);
        if (style ? line.Style != Frame.Style() : line.Style != source.Style)
            result += rudDiffInt(prefix + QStringLiteral("Style"), line.Style);
        if (width ? rudFloatDiff(line.Width, Frame.Width()) : rudFloatDiff(line.Width, source.Width))
            result += rudDiffFloat(prefix + QStringLiteral("Width"), line.Width);
    }
    return result;
}

QString rudFillDiff(const TfrxCustomFill &Fill, const TfrxCustomFill &Source)
{
    std::span<const TfrxDiffField> fields = brushFields;
    if (Fill.FillType() == ftGradient)
        fields = gradientFields;
    else if (Fill.FillType() == ftGlass)
        fields = glassFields;
    QString result;
    rudDiffFields(result, &Fill, &Source, fields, QLatin1String("Fill."), Fill.FillType() != Source.FillType());
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
    auto *memo = qobject_cast<TfrxCustomMemoView *>(this);
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
    auto *source = qobject_cast<TfrxView *>(AComponent);
    if (!source)
        return result;
    rudDiffFields(result, this, source, viewAlignFields, QLatin1String());
    if (FFrame || source->FFrame) {
        // A view without a frame has the default one; comparing makes none.
        static const TfrxFrame none;
        result += rudFrameDiff(FFrame ? *FFrame : none, source->FFrame ? *source->FFrame : none);
    }
    rudDiffFields(result, this, source, viewFields, QLatin1String());
    if (FFill || source->FFill)
        result += rudFillDiff(*Fill(), *source->Fill());
    if (FHyperlink || source->FHyperlink)
        result += rudHyperlinkDiff(*Hyperlink(), *source->Hyperlink());
    return result;
}

QString TfrxCustomMemoView::Diff(TfrxComponent *AComponent)
{
    QString result = TfrxView::Diff(AComponent);
    auto *source = qobject_cast<TfrxCustomMemoView *>(AComponent);
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
    return qobject_cast<const TfrxBand *>(Obj) != nullptr;
}
