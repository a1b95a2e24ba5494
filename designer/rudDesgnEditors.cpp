// The property editors the designer registers for report properties.

#include "designer/rudDesgnEditors.h"

#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "designer/rudComponentEditors.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudDesgnEditorDialogs.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudFill.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"
#include "report/model/rudRes.h"
#include "report/model/rudSubreport.h"
#include "report/model/rudXMLSerializer.h"
#include "report/render/rudPrinter.h"

#include <QPainter>
#include <QRegularExpression>
#include <cmath>

// ---- Lengths in the designer's unit

QString rudUnitsToText(double Value)
{
    if (Value == 0)
        return FloatToStr(0);
    if (std::isfinite(Value) && Value == std::trunc(Value))
        return FloatToStr(Value);
    return Format(QStringLiteral("%f"), {Value});
}

QString rudPaperUnitsToText(double Value)
{
    if (std::isfinite(Value) && std::fabs(Value) < 1e12 && Value != std::trunc(Value)) {
        const double cents = double(RoundHalfEven(Value * 100)) / 100;
        if (cents == Value)
            return FloatToStr(Value);
    }
    return rudUnitsToText(Value);
}

namespace {

TfrxDesignerUnits unitsOf(const TfrxCustomDesigner *Designer)
{
    return Designer ? Designer->Units() : duCM;
}

} // namespace

TfrxPositionProperty::TfrxPositionProperty(TfrxCustomDesigner *Designer, bool Horizontal)
    : TfrxFloatProperty(Designer), FHorizontal(Horizontal)
{
}

double TfrxPositionProperty::ToUnits(double Value) const
{
    switch (unitsOf(FDesigner)) {
    case duCM:
        return Value / fr1in * 2.54;
    case duInches:
        return Value / fr1in;
    case duPixels:
        return Value;
    case duChars:
        return Value / (FHorizontal ? fr1CharX : fr1CharY);
    }
    return Value;
}

double TfrxPositionProperty::FromUnits(double Value) const
{
    switch (unitsOf(FDesigner)) {
    case duCM:
        return Value * fr1in / 2.54;
    case duInches:
        return Value * fr1in;
    case duPixels:
        return Value;
    case duChars:
        return Value * (FHorizontal ? fr1CharX : fr1CharY);
    }
    return Value;
}

QString TfrxPositionProperty::GetValue()
{
    return rudUnitsToText(ToUnits(GetFloatValue()));
}

void TfrxPositionProperty::SetValue(const QString &Value)
{
    SetFloatValue(FromUnits(rudStrToFloat(Value)));
}

TfrxPaperProperty::TfrxPaperProperty(TfrxCustomDesigner *Designer, bool Horizontal)
    : TfrxFloatProperty(Designer), FHorizontal(Horizontal)
{
}

double TfrxPaperProperty::ToUnits(double Value) const
{
    switch (unitsOf(FDesigner)) {
    case duCM:
        return Value / 10;
    case duInches:
        return Value / 25.4;
    case duPixels:
        return Value * fr1in / 25.4;
    case duChars:
        return Value * fr1in / 25.4 / (FHorizontal ? fr1CharX : fr1CharY);
    }
    return Value;
}

double TfrxPaperProperty::FromUnits(double Value) const
{
    switch (unitsOf(FDesigner)) {
    case duCM:
        return Value * 10;
    case duInches:
        return Value * 25.4;
    case duPixels:
        return Value * 25.4 / fr1in;
    case duChars:
        return Value * (FHorizontal ? fr1CharX : fr1CharY) * 25.4 / fr1in;
    }
    return Value;
}

QString TfrxPaperProperty::GetValue()
{
    return rudPaperUnitsToText(ToUnits(GetFloatValue()));
}

void TfrxPaperProperty::SetValue(const QString &Value)
{
    SetFloatValue(FromUnits(rudStrToFloat(Value)));
}

// ---- Paper names, events, Booleans

TfrxPropertyAttributes TfrxPaperNameProperty::GetAttributes()
{
    return paValueList;
}

QString TfrxPaperNameProperty::GetValue()
{
    const TfrxCustomPrinter *printer = rudPrinters().Printer();
    const QList<TfrxPrinterListEntry> &papers = printer->Papers();
    if (papers.isEmpty())
        return IntToStr(GetOrdValue());
    // An unknown number shows as the first entry, the custom size.
    return papers.at(printer->PaperIndex(int(GetOrdValue()))).Name;
}

void TfrxPaperNameProperty::GetValues()
{
    FValues = rudPrinters().Printer()->PaperNames();
}

void TfrxPaperNameProperty::SetValue(const QString &Value)
{
    const QString name = Value.trimmed();
    for (const TfrxPrinterListEntry &paper : rudPrinters().Printer()->Papers())
        if (paper.Name.compare(name, Qt::CaseInsensitive) == 0) {
            SetOrdValue(paper.Number);
            return;
        }
    rudInvalidPropertyValue();
}

TfrxPropertyAttributes TfrxEventProperty::GetAttributes()
{
    return paValueList | paMultiSelect;
}

void TfrxEventProperty::GetValues()
{
    const TfrxReport *report = Report();
    if (!report)
        return;
    // Every event of the report objects passes the object itself: the
    // procedures that take one parameter "Sender: TfrxComponent" fit.
    static const QRegularExpression procedure(
        QStringLiteral("\\bprocedure\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*\\(\\s*Sender\\s*:\\s*TfrxComponent\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString script = report->ScriptText().join(QLatin1Char('\n'));
    for (auto it = procedure.globalMatch(script); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!FValues.contains(name, Qt::CaseInsensitive))
            FValues << name;
    }
}

void TfrxEventProperty::SetValue(const QString &Value)
{
    const QString name = Value.trimmed();
    if (!name.isEmpty() && !rudIsValidIdent(name))
        rudInvalidPropertyValue();
    SetStrValue(name);
}

namespace {

// A check box of the row's height at the left of Rect; returns its width.
int drawCheckBox(QPainter &Canvas, const QRect &Rect, bool Checked)
{
    const int size = qMin(11, Rect.height() - 2);
    const QRect box(Rect.left() + 2, Rect.top() + (Rect.height() - size) / 2, size, size);
    Canvas.save();
    Canvas.setPen(Qt::darkGray);
    Canvas.setBrush(Qt::white);
    Canvas.drawRect(box.adjusted(0, 0, -1, -1));
    if (Checked) {
        Canvas.setPen(QPen(Qt::black, 1.5));
        Canvas.drawLine(QPointF(box.left() + 2.5, box.center().y()), QPointF(box.left() + size / 2.5, box.bottom() - 2.5));
        Canvas.drawLine(QPointF(box.left() + size / 2.5, box.bottom() - 2.5), QPointF(box.right() - 2, box.top() + 2.5));
    }
    Canvas.restore();
    return size + 4;
}

} // namespace

TfrxPropertyAttributes TfrxBooleanProperty::GetAttributes()
{
    return paValueList | paMultiSelect | paOwnerDraw;
}

bool TfrxBooleanProperty::Edit()
{
    SetOrdValue(GetOrdValue() ? 0 : 1);
    return true;
}

void TfrxBooleanProperty::OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect)
{
    if (Index < 0 || Index >= FValues.size())
        return;
    const bool on = FValues.at(Index).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    const int box = drawCheckBox(Canvas, ARect, on);
    Canvas.drawText(ARect.adjusted(box + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, FValues.at(Index));
}

void TfrxBooleanProperty::OnDrawItem(QPainter &Canvas, const QRect &ARect)
{
    const int box = drawCheckBox(Canvas, ARect, GetOrdValue() != 0);
    Canvas.drawText(ARect.adjusted(box + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, GetValue());
}

int TfrxBooleanProperty::GetExtraLBSize()
{
    return 16;
}

// ---- Records in a form of their own

TfrxPropertyAttributes TfrxRecordDialogProperty::GetAttributes()
{
    return paDialog | paMultiSelect | paReadOnly | paSubProperties;
}

bool TfrxRecordDialogProperty::Edit()
{
    auto *record = dynamic_cast<TfrxPersistent *>(GetObjValue());
    if (!record)
        return false;
    std::unique_ptr<TfrxPersistent> copy = rudClonePersistent(*record);
    if (!copy)
        return false;
    TfrxPersistentDialog dialog(Caption(), std::move(copy), FDesigner);
    if (ChoosesKind()) {
        const QMetaEnum kinds = QMetaEnum::fromType<rudEnums::TfrxFillType>();
        QStringList names;
        int current = 0;
        const auto *fill = dynamic_cast<const TfrxCustomFill *>(record);
        for (int i = 0; i < kinds.keyCount(); ++i) {
            names << QString::fromLatin1(kinds.key(i));
            if (fill && fill->FillType() == kinds.value(i))
                current = i;
        }
        dialog.SetKinds(names, current, [kinds](int Index) -> std::unique_ptr<TfrxPersistent> {
            return TfrxCustomFill::Create(TfrxFillType(kinds.value(Index)));
        });
    }
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    dialog.Apply();
    SetObjValue(dialog.Copy());
    return true;
}

QString TfrxFrameProperty::Caption() const
{
    return QStringLiteral("Frame");
}

QString TfrxFillProperty::Caption() const
{
    return QStringLiteral("Fill");
}

QString TfrxDisplayFormatProperty::Caption() const
{
    return QStringLiteral("Display Format");
}

TfrxPropertyAttributes TfrxPictureProperty::GetAttributes()
{
    return paDialog | paMultiSelect | paReadOnly;
}

QString TfrxPictureProperty::GetValue()
{
    auto *picture = dynamic_cast<TfrxPicture *>(GetObjValue());
    return picture && picture->HasImage() ? QStringLiteral("(Picture)") : QStringLiteral("(None)");
}

bool TfrxPictureProperty::Edit()
{
    const TfrxPicture empty;
    auto *picture = dynamic_cast<TfrxPicture *>(GetObjValue());
    TfrxPictureDialog dialog(picture ? *picture : empty);
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    SetObjValue(dialog.Picture());
    return true;
}

// ---- Data sets and fields

namespace {

QString dataSetName(const TfrxComponent *DataSet)
{
    if (const auto *ds = dynamic_cast<const TfrxDataSet *>(DataSet))
        return ds->UserName();
    return DataSet ? DataSet->Name() : QString();
}

} // namespace

QString TfrxDataSetProperty::GetValue()
{
    return dataSetName(dynamic_cast<TfrxComponent *>(GetObjValue()));
}

void TfrxDataSetProperty::GetValues()
{
    const TfrxReport *report = Report();
    if (!report)
        return;
    const TfrxReportDataSets *sets = report->DataSets();
    for (int i = 0; i < sets->Count(); ++i) {
        const TfrxDataSetItem *item = sets->Items(i);
        const QString name = item->DataSet() ? dataSetName(item->DataSet()) : item->DataSetName();
        if (!name.isEmpty())
            FValues << name;
    }
}

void TfrxDataSetProperty::SetValue(const QString &Value)
{
    const QString name = Value.trimmed();
    if (name.isEmpty()) {
        SetObjValue(nullptr);
        return;
    }
    if (const TfrxReport *report = Report()) {
        const TfrxReportDataSets *sets = report->DataSets();
        for (int i = 0; i < sets->Count(); ++i) {
            TfrxComponent *ds = sets->Items(i)->DataSet();
            if (ds && (dataSetName(ds).compare(name, Qt::CaseInsensitive) == 0 ||
                       sets->Items(i)->DataSetName().compare(name, Qt::CaseInsensitive) == 0)) {
                SetObjValue(ds);
                return;
            }
        }
    }
    rudInvalidPropertyValue();
}

TfrxPropertyAttributes TfrxDataFieldProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

void TfrxDataFieldProperty::GetValues()
{
    const auto *view = dynamic_cast<const TfrxView *>(Component());
    if (const auto *ds = view ? dynamic_cast<const TfrxDataSet *>(view->DataSet()) : nullptr)
        FValues = ds->FieldNames();
}

// ---- String lists and the memo text

TfrxPropertyAttributes TfrxStringsProperty::GetAttributes()
{
    return paDialog | paReadOnly;
}

bool TfrxStringsProperty::Edit()
{
    if (!Component())
        return false;
    TfrxStringsDialog dialog(GetName(), GetListValue());
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    SetListValue(dialog.Lines());
    return true;
}

bool TfrxMemoProperty::Edit()
{
    auto *memo = dynamic_cast<TfrxComponent *>(Component());
    if (std::unique_ptr<TfrxComponentEditor> editor = rudComponentEditorFor(memo, FDesigner))
        if (editor->HasEditor())
            return editor->Edit();
    return TfrxStringsProperty::Edit();
}

// ---- Style samples

namespace {

Qt::BrushStyle qtBrushStyle(int Style)
{
    switch (Style) {
    case bsSolid: return Qt::SolidPattern;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

void drawBrushSample(QPainter &Canvas, const QRect &Box, int Style)
{
    Canvas.save();
    Canvas.setPen(Qt::black);
    Canvas.setBrush(QBrush(Qt::black, qtBrushStyle(Style)));
    Canvas.drawRect(Box.adjusted(0, 0, -1, -1));
    Canvas.restore();
}

void drawFrameSample(QPainter &Canvas, const QRect &Box, int Style)
{
    Canvas.save();
    QPen pen(Qt::black, 1);
    const int y = Box.center().y();
    switch (Style) {
    case fsDash: pen.setStyle(Qt::DashLine); break;
    case fsDot: pen.setStyle(Qt::DotLine); break;
    case fsDashDot: pen.setStyle(Qt::DashDotLine); break;
    case fsDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case fsAltDot: pen.setDashPattern({1, 1}); break;
    case fsSquare: pen.setDashPattern({3, 3}); break;
    default: break;
    }
    Canvas.setPen(pen);
    if (Style == fsDouble) {
        Canvas.drawLine(Box.left(), y - 1, Box.right(), y - 1);
        Canvas.drawLine(Box.left(), y + 1, Box.right(), y + 1);
    } else {
        Canvas.drawLine(Box.left(), y, Box.right(), y);
    }
    Canvas.restore();
}

// Draws a sample of the enumeration value Ident names, then Ident.
void drawSampleItem(QPainter &Canvas, const QRect &ARect, const TfrxPropInfo *Prop, const QString &Ident, int Width,
                    void (*Sample)(QPainter &, const QRect &, int))
{
    const std::optional<qint64> value = Prop ? Prop->ValueOfIdent(Ident) : std::nullopt;
    if (value)
        Sample(Canvas, QRect(ARect.left() + 2, ARect.top() + 2, Width - 4, ARect.height() - 4), int(*value));
    Canvas.drawText(ARect.adjusted(Width + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Ident);
}

} // namespace

TfrxPropertyAttributes TfrxBrushStyleProperty::GetAttributes()
{
    return TfrxEnumProperty::GetAttributes() | paOwnerDraw;
}

void TfrxBrushStyleProperty::OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect)
{
    if (Index >= 0 && Index < FValues.size())
        drawSampleItem(Canvas, ARect, PropInfo(), FValues.at(Index), GetExtraLBSize(), drawBrushSample);
}

void TfrxBrushStyleProperty::OnDrawItem(QPainter &Canvas, const QRect &ARect)
{
    drawSampleItem(Canvas, ARect, PropInfo(), GetValue(), GetExtraLBSize(), drawBrushSample);
}

int TfrxBrushStyleProperty::GetExtraLBSize()
{
    return FItemHeight * 2;
}

TfrxPropertyAttributes TfrxFrameStyleProperty::GetAttributes()
{
    return TfrxEnumProperty::GetAttributes() | paOwnerDraw;
}

void TfrxFrameStyleProperty::OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect)
{
    if (Index >= 0 && Index < FValues.size())
        drawSampleItem(Canvas, ARect, PropInfo(), FValues.at(Index), GetExtraLBSize(), drawFrameSample);
}

void TfrxFrameStyleProperty::OnDrawItem(QPainter &Canvas, const QRect &ARect)
{
    drawSampleItem(Canvas, ARect, PropInfo(), GetValue(), GetExtraLBSize(), drawFrameSample);
}

int TfrxFrameStyleProperty::GetExtraLBSize()
{
    return FItemHeight * 2;
}

// ---- Style and printer names

TfrxPropertyAttributes TfrxStyleNameProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

void TfrxStyleNameProperty::GetValues()
{
    const TfrxReport *report = Report();
    if (!report)
        return;
    const TfrxStyles *styles = report->Styles();
    for (int i = 0; i < styles->Count(); ++i)
        if (!styles->Items(i)->Name().isEmpty())
            FValues << styles->Items(i)->Name();
}

TfrxPropertyAttributes TfrxPrinterNameProperty::GetAttributes()
{
    return paValueList | paMultiSelect;
}

void TfrxPrinterNameProperty::GetValues()
{
    FValues << rudResources().Get(QStringLiteral("prDefault")) << rudPrinters().Printers();
}

// ---- Registration

void rudRegisterDesignerEditors()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    TfrxPropertyEditorCollection &editors = rudPropertyEditors();
    const QString extended = QStringLiteral("Extended");
    const QString integer = QStringLiteral("Integer");
    const QString string = QStringLiteral("String");
    const auto positionX = rudEditorClass<TfrxPositionXProperty>();
    const auto positionY = rudEditorClass<TfrxPositionYProperty>();
    const auto paperX = rudEditorClass<TfrxPaperXProperty>();
    const auto paperY = rudEditorClass<TfrxPaperYProperty>();
    const auto paperName = rudEditorClass<TfrxPaperNameProperty>();
    const QMetaObject *component = &TfrxComponent::staticMetaObject;
    const QMetaObject *page = &TfrxReportPage::staticMetaObject;

    for (const char *name : {"Left", "Width"})
        editors.Register(extended, component, QLatin1String(name), positionX);
    for (const char *name : {"Top", "Height"})
        editors.Register(extended, component, QLatin1String(name), positionY);
    for (const char *name : {"PaperWidth", "LeftMargin", "RightMargin"})
        editors.Register(extended, page, QLatin1String(name), paperX);
    for (const char *name : {"PaperHeight", "TopMargin", "BottomMargin"})
        editors.Register(extended, page, QLatin1String(name), paperY);
    editors.Register(integer, page, QStringLiteral("PaperSize"), paperName);
    editors.Register(integer, &TfrxPrintOptions::staticMetaObject, QStringLiteral("PrintOnSheet"), paperName);
    for (const char *name : {"ColumnWidth", "ColumnGap"})
        editors.Register(extended, &TfrxDataBand::staticMetaObject, QLatin1String(name), positionX);
    for (const char *name : {"NextCrossGap", "AddWidth"})
        editors.Register(extended, nullptr, QLatin1String(name), positionX);
    editors.Register(extended, nullptr, QStringLiteral("AddHeight"), positionY);

    editors.RegisterEventEditor(rudEditorClass<TfrxEventProperty>());
    editors.Register(QStringLiteral("Boolean"), nullptr, QString(), rudEditorClass<TfrxBooleanProperty>());
    editors.Register(QStringLiteral("TfrxFrame"), nullptr, QString(), rudEditorClass<TfrxFrameProperty>());
    editors.Register(QStringLiteral("TfrxCustomFill"), nullptr, QString(), rudEditorClass<TfrxFillProperty>());
    editors.Register(QStringLiteral("TfrxPicture"), nullptr, QString(), rudEditorClass<TfrxPictureProperty>());
    editors.Register(QStringLiteral("TfrxComponent"), nullptr, QStringLiteral("DataSet"),
                     rudEditorClass<TfrxDataSetProperty>());
    editors.Register(string, &TfrxView::staticMetaObject, QStringLiteral("DataField"),
                     rudEditorClass<TfrxDataFieldProperty>());
    editors.Register(QStringLiteral("TStrings"), nullptr, QString(), rudEditorClass<TfrxStringsProperty>());
    editors.Register(QStringLiteral("TWideStrings"), nullptr, QString(), rudEditorClass<TfrxStringsProperty>());
    editors.Register(QStringLiteral("TWideStrings"), &TfrxCustomMemoView::staticMetaObject, QStringLiteral("Memo"),
                     rudEditorClass<TfrxMemoProperty>());
    editors.Register(QStringLiteral("TBrushStyle"), nullptr, QString(), rudEditorClass<TfrxBrushStyleProperty>());
    editors.Register(QStringLiteral("TfrxFrameStyle"), nullptr, QString(), rudEditorClass<TfrxFrameStyleProperty>());
    editors.Register(QStringLiteral("TfrxFormat"), &TfrxMemoView::staticMetaObject, QStringLiteral("DisplayFormat"),
                     rudEditorClass<TfrxDisplayFormatProperty>());
    editors.Register(string, &TfrxMemoView::staticMetaObject, QStringLiteral("Style"),
                     rudEditorClass<TfrxStyleNameProperty>());
    editors.Register(string, &TfrxPrintOptions::staticMetaObject, QStringLiteral("Printer"),
                     rudEditorClass<TfrxPrinterNameProperty>());

    // Properties kept in templates but not shown.
    rudHideProperties(&TfrxReport::staticMetaObject,
                      QStringLiteral("DefaultLanguage;IniFile;Name;Preview;ScriptLanguage;ScriptText;Tag;Variables;"
                                     "DataSetName;DotMatrixReport;OldStyleProgress;ShowProgress;StoreInDFM;"
                                     "ParentReport"));
    rudHideProperties(&TfrxEngineOptions::staticMetaObject,
                      QStringLiteral("NewSilentMode;MaxMemSize;PrintIfEmpty;SilentMode;TempDir;UseFileCache"));
    rudHideProperties(&TfrxPreviewOptions::staticMetaObject,
                      QStringLiteral("AllowEdit;Buttons;DoubleBuffered;Maximized;MDIChild;Modal;ShowCaptions;Zoom;"
                                     "ZoomMode"));
    rudHideProperties(&TfrxReportOptions::staticMetaObject,
                      QStringLiteral("CreateDate;LastChange;Compressed;Password"));
    rudHideProperties(page, QStringLiteral("Bin;BinOtherPages;ColumnWidth;ColumnPositions;DataSetName;HGuides;"
                                           "VGuides"));
    rudHideProperties(&TfrxReportComponent::staticMetaObject, QStringLiteral("GroupIndex"));
    rudHideProperties(&TfrxView::staticMetaObject, QStringLiteral("DataSetName;BrushStyle;URL"));
    rudHideProperties(&TfrxBand::staticMetaObject, QStringLiteral("Vertical"));
    rudHideProperties(&TfrxDataBand::staticMetaObject, QStringLiteral("DataSetName"));
    rudHideProperties(&TfrxGroupHeader::staticMetaObject, QStringLiteral("DrillName"));
    rudHideProperties(&TFont::staticMetaObject, QStringLiteral("Height;Pitch"));
    rudHideProperties(&TfrxHighlight::staticMetaObject, QStringLiteral("Active"));
    rudHideProperties(&TfrxPictureView::staticMetaObject, QStringLiteral("ImageIndex"));
    rudHideProperties(&TfrxSubreport::staticMetaObject, QStringLiteral("Page"));
    rudHideProperties(&TfrxDataPage::staticMetaObject, QStringLiteral("Left;Tag;Top;Visible"));
    rudHideProperties(&TfrxCustomMemoView::staticMetaObject, QStringLiteral("FirstParaBreak;LastParaBreak"));
}
