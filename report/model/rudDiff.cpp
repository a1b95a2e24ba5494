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

QString rudFrameDiff(const TfrxFrame &Frame, const TfrxFrame &Source)
{
    QString result;
    const bool color = Frame.Color() != Source.Color();
    const bool style = Frame.Style() != Source.Style();
    const bool width = rudFloatDiff(Frame.Width(), Source.Width());
    if (color)
        result += rudDiffInt(QStringLiteral("Frame.Color"), Frame.Color());
    if (Frame.DropShadow() != Source.DropShadow())
        result += rudDiffBool(QStringLiteral("Frame.DropShadow"), Frame.DropShadow());
    if (Frame.ShadowColor() != Source.ShadowColor())
        result += rudDiffInt(QStringLiteral("Frame.ShadowColor"), Frame.ShadowColor());
    if (rudFloatDiff(Frame.ShadowWidth(), Source.ShadowWidth()))
        result += rudDiffFloat(QStringLiteral("Frame.ShadowWidth"), Frame.ShadowWidth());
    if (style)
        result += rudDiffInt(QStringLiteral("Frame.Style"), Frame.Style());
    if (Frame.Typ() != Source.Typ())
        result += rudDiffInt(QStringLiteral("Frame.Typ"), Frame.Typ().toInt());
    if (width)
        result += rudDiffFloat(QStringLiteral("Frame.Width"), Frame.Width());

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
    if (auto *brush = dynamic_cast<const TfrxBrushFill *>(&Fill)) {
        auto *src = dynamic_cast<const TfrxBrushFill *>(&Source);
        if (otherKind || brush->BackColor() != src->BackColor())
            result += rudDiffInt(QStringLiteral("Fill.BackColor"), brush->BackColor());
        if (otherKind || brush->ForeColor() != src->ForeColor())
            result += rudDiffInt(QStringLiteral("Fill.ForeColor"), brush->ForeColor());
        if (otherKind || brush->Style() != src->Style())
            result += rudDiffInt(QStringLiteral("Fill.Style"), brush->Style());
    } else if (auto *gradient = dynamic_cast<const TfrxGradientFill *>(&Fill)) {
        auto *src = dynamic_cast<const TfrxGradientFill *>(&Source);
        if (otherKind || gradient->StartColor() != src->StartColor())
            result += rudDiffInt(QStringLiteral("Fill.StartColor"), gradient->StartColor());
        if (otherKind || gradient->EndColor() != src->EndColor())
            result += rudDiffInt(QStringLiteral("Fill.EndColor"), gradient->EndColor());
        if (otherKind || gradient->GradientStyle() != src->GradientStyle())
            result += rudDiffInt(QStringLiteral("Fill.GradientStyle"), gradient->GradientStyle());
    } else if (auto *glass = dynamic_cast<const TfrxGlassFill *>(&Fill)) {
        auto *src = dynamic_cast<const TfrxGlassFill *>(&Source);
        if (otherKind || glass->Color() != src->Color())
            result += rudDiffInt(QStringLiteral("Fill.Color"), glass->Color());
        if (otherKind || glass->Blend() != src->Blend())
            result += rudDiffFloat(QStringLiteral("Fill.Blend"), glass->Blend());
        if (otherKind || glass->Hatch() != src->Hatch())
            result += rudDiffBool(QStringLiteral("Fill.Hatch"), glass->Hatch());
        if (otherKind || glass->Orientation() != src->Orientation())
            result += rudDiffInt(QStringLiteral("Fill.Orientation"), glass->Orientation());
    }
    return result;
}

QString rudHyperlinkDiff(const TfrxHyperlink &Link, const TfrxHyperlink &Source)
{
    QString result;
    if (Link.Kind() != Source.Kind())
        result += rudDiffInt(QStringLiteral("Hyperlink.Kind"), Link.Kind());
    const struct {
        const char *Name;
        const QString &Value, &SourceValue;
    } texts[] = {{"Hyperlink.DetailReport", Link.DetailReport(), Source.DetailReport()},
                 {"Hyperlink.DetailPage", Link.DetailPage(), Source.DetailPage()},
                 {"Hyperlink.ReportVariable", Link.ReportVariable(), Source.ReportVariable()},
                 {"Hyperlink.TabCaption", Link.TabCaption(), Source.TabCaption()},
                 {"Hyperlink.Value", Link.Value(), Source.Value()},
                 {"Hyperlink.ValuesSeparator", Link.ValuesSeparator(), Source.ValuesSeparator()}};
    for (const auto &t : texts)
        if (t.Value != t.SourceValue)
            result += rudDiffStr(QLatin1String(t.Name), t.Value);
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
    if (!FParentFont) {
        const TFont &font = *FFont, &source = *AComponent->FFont;
        if (font.Name() != source.Name())
            result += rudDiffStr(QStringLiteral("Font.Name"), font.Name());
        if (font.Size() != source.Size())
            result += rudDiffInt(QStringLiteral("Font.Size"), font.Size());
        if (font.Color() != source.Color())
            result += rudDiffInt(QStringLiteral("Font.Color"), font.Color());
        if (font.Style() != source.Style())
            result += rudDiffInt(QStringLiteral("Font.Style"), font.Style().toInt());
        if (font.Charset() != source.Charset())
            result += rudDiffInt(QStringLiteral("Font.Charset"), font.Charset());
    }
    if (FParentFont != AComponent->FParentFont)
        result += rudDiffBool(QStringLiteral("ParentFont"), FParentFont);
    if (FTag != AComponent->FTag)
        result += rudDiffInt(QStringLiteral("Tag"), FTag);
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
    if (FAlign != source->FAlign)
        result += rudDiffInt(QStringLiteral("Align"), FAlign);
    result += rudFrameDiff(*FFrame, *source->FFrame);
    if (FCursor != source->FCursor)
        result += rudDiffInt(QStringLiteral("Cursor"), FCursor);
    if (FVisibility != source->FVisibility)
        result += rudDiffInt(QStringLiteral("Visibility"), FVisibility.toInt());
    if (FTagStr != source->FTagStr)
        result += rudDiffStr(QStringLiteral("TagStr"), FTagStr);
    if (FillType() != source->FillType())
        result += rudDiffInt(QStringLiteral("FillType"), FillType());
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
    if (FAutoWidth != source->FAutoWidth)
        result += rudDiffBool(QStringLiteral("AutoWidth"), FAutoWidth);
    if (rudFloatDiff(FCharSpacing, source->FCharSpacing))
        result += rudDiffFloat(QStringLiteral("CharSpacing"), FCharSpacing);
    if (FGapX != source->FGapX)
        result += rudDiffFloat(QStringLiteral("GapX"), FGapX);
    if (FGapY != source->FGapY)
        result += rudDiffFloat(QStringLiteral("GapY"), FGapY);
    if (FHAlign != source->FHAlign)
        result += rudDiffInt(QStringLiteral("HAlign"), FHAlign);
    if (FLineSpacing != source->FLineSpacing)
        result += rudDiffFloat(QStringLiteral("LineSpacing"), FLineSpacing);
    if (FUseDefaultCharset != source->FUseDefaultCharset)
        result += rudDiffBool(QStringLiteral("UseDefaultCharset"), FUseDefaultCharset);
    // The lines joined by escaped line breaks; a break inside a line keeps
    // its own escape, so the rebuilt memo gets the same lines.
    result += rudDiffAttr(QStringLiteral("u"), rudLinesToXML(FMemo));
    if (FParagraphGap != source->FParagraphGap)
        result += rudDiffFloat(QStringLiteral("ParagraphGap"), FParagraphGap);
    if (FRotation != source->FRotation)
        result += rudDiffInt(QStringLiteral("Rotation"), FRotation);
    if (FRTLReading != source->FRTLReading)
        result += rudDiffBool(QStringLiteral("RTLReading"), FRTLReading);
    if (FUnderlines != source->FUnderlines)
        result += rudDiffBool(QStringLiteral("Underlines"), FUnderlines);
    if (FVAlign != source->FVAlign)
        result += rudDiffInt(QStringLiteral("VAlign"), FVAlign);
    if (FWordWrap != source->FWordWrap)
        result += rudDiffBool(QStringLiteral("WordWrap"), FWordWrap);
    if (FFormats.Count() == 1) {
        const TfrxFormat defaults;
        const TfrxFormat &format = *FFormats.Items(0);
        const TfrxFormat &sourceFormat = source->FFormats.Count() > 0 ? *source->FFormats.Items(0) : defaults;
        if (format.Kind() != sourceFormat.Kind())
            result += rudDiffInt(QStringLiteral("DisplayFormat.Kind"), format.Kind());
        if (format.DecimalSeparator() != sourceFormat.DecimalSeparator())
            result += rudDiffStr(QStringLiteral("DisplayFormat.DecimalSeparator"), format.DecimalSeparator());
        if (format.ThousandSeparator() != sourceFormat.ThousandSeparator())
            result += rudDiffStr(QStringLiteral("DisplayFormat.ThousandSeparator"), format.ThousandSeparator());
        if (format.FormatStr() != sourceFormat.FormatStr())
            result += rudDiffStr(QStringLiteral("DisplayFormat.FormatStr"), format.FormatStr());
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
