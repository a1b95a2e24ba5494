// The designer's view state: zoom, units and grid, the view switches, the
// options dialog, and the per-user settings that keep them between runs.

#include "designer/rudDesgn.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudRulerScrollArea.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"
#include "report/model/rudXMLSerializer.h"
#include "report/render/rudPreviewDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolBar>
#include <QWheelEvent>
#include <cmath>

namespace {

const QString section = QStringLiteral("Form5.TfrxDesignerForm");

// A number of the settings; Default when absent. A damaged one (a hand
// edit) also gives Default, and the designer says so.
double readFloat(TfrxCustomDesigner &Designer, const TIniFile &Ini, const QString &Key, double Default)
{
    const QString text = Ini.ReadString(section, Key, QString());
    if (text.isEmpty())
        return Default;
    try {
        return rudStrToFloat(text);
    } catch (const Exception &e) {
        Designer.SettingsFailed(Key + QStringLiteral(": ") + e.Message(), false);
        return Default;
    }
}

} // namespace

// ---- zoom --------------------------------------------------------------------

void TfrxDesignerForm::SetScale(double Value)
{
    if (Value == 0)
        Value = 1;
    FScale = std::min(Value, 20.0);
    FZoomBox->setEditText(QString::number(std::lround(FScale * 100)) + QLatin1Char('%'));
    UpdateWorkspaceSettings();
}

void TfrxDesignerForm::ApplyZoomText(const QString &Text)
{
    auto *page = qobject_cast<TfrxReportPage *>(FPage);
    const QSize area = FArea->ScrollArea()->viewport()->size();
    if (Text == QLatin1String("Page width")) {
        if (page)
            SetScale(std::round(100 * (area.width() - 40) / (page->PaperWidth() * 96 / 25.4)) / 100);
        return;
    }
    if (Text == QLatin1String("Whole page")) {
        if (page) {
            const double byWidth = std::round(100.0 * (area.width() - 20) / std::round(page->Width()));
            const double byHeight = std::round(100.0 * (area.height() - 20) / std::round(page->Height()));
            SetScale(std::min(byWidth, byHeight) / 100);
        }
        return;
    }
    QString number = Text;
    number.remove(QLatin1Char('%')).remove(QLatin1Char(' '));
    if (number.isEmpty())
        return;
    try {
        SetScale(rudStrToFloat(number) / 100);
    } catch (...) {
        // Not a number: the box shows the scale in force again.
        SetScale(FScale);
    }
}

void TfrxDesignerForm::wheelEvent(QWheelEvent *Event)
{
    const int notches = Event->angleDelta().y() / 120;
    if (Event->modifiers().testFlag(Qt::ControlModifier) && notches != 0) {
        SetScale(std::max(0.3, FScale + 0.05 * notches));
        Event->accept();
        return;
    }
    if (notches != 0) {
        QScrollBar *bar = FArea->ScrollArea()->verticalScrollBar();
        bar->setValue(bar->value() - 16 * notches);
        Event->accept();
        return;
    }
    TfrxCustomDesigner::wheelEvent(Event);
}

// ---- units and grid ------------------------------------------------------------

void TfrxDesignerForm::SetUnits(TfrxDesignerUnits Value)
{
    FUnits = Value;
    UpdateWorkspaceSettings();
    UpdateStatus();
}

void TfrxDesignerForm::SetGrid(int Index, double Value)
{
    static const double defaults[4] = {0.1, 0.1, 4, 4};
    FGrid[Index - 1] = Value > 0 ? Value : defaults[Index - 1];
    UpdateWorkspaceSettings();
}

double TfrxDesignerForm::GridStepX() const
{
    if (qobject_cast<TfrxDialogPage *>(FPage))
        return FGrid[3];
    switch (FUnits) {
    case duCM:
        return FGrid[0] * fr1cm;
    case duInches:
        return FGrid[1] * 96;
    case duPixels:
        return FGrid[2];
    case duChars:
        return fr1CharX;
    }
    return FGrid[2];
}

double TfrxDesignerForm::GridStepY() const
{
    if (FUnits == duChars && !qobject_cast<TfrxDialogPage *>(FPage))
        return fr1CharY;
    return GridStepX();
}

void TfrxDesignerForm::SetShowGrid(bool Value)
{
    FShowGrid = Value;
    UpdateWorkspaceSettings();
}

void TfrxDesignerForm::SetGridAlign(bool Value)
{
    FGridAlign = Value;
    UpdateWorkspaceSettings();
}

void TfrxDesignerForm::SetShowRulers(bool Value)
{
    FShowRulers = Value;
    Action(QStringLiteral("ShowRulersCmd"))->setChecked(Value);
    UpdateWorkspaceSettings();
}

void TfrxDesignerForm::SetShowGuides(bool Value)
{
    FShowGuides = Value;
    Action(QStringLiteral("ShowGuidesCmd"))->setChecked(Value);
    UpdateWorkspaceSettings();
}

// ---- options dialog --------------------------------------------------------------

void TfrxDesignerForm::Options()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("TfrxOptionsEditor"));
    dialog.setWindowTitle(QStringLiteral("Designer Options"));
    auto *form = new QFormLayout(&dialog);
    auto *units = new QComboBox(&dialog);
    units->setObjectName(QStringLiteral("UnitsCB"));
    units->addItems({QStringLiteral("Centimeters"), QStringLiteral("Inches"), QStringLiteral("Pixels"),
                     QStringLiteral("Characters")});
    units->setCurrentIndex(FUnits);
    form->addRow(QStringLiteral("Units"), units);
    QLineEdit *grids[4];
    const char *labels[4] = {"Grid (cm)", "Grid (in)", "Grid (px)", "Dialog grid (px)"};
    for (int i = 0; i < 4; ++i) {
        grids[i] = new QLineEdit(FloatToStr(FGrid[i]), &dialog);
        grids[i]->setObjectName(QStringLiteral("Grid%1E").arg(i + 1));
        form->addRow(QLatin1String(labels[i]), grids[i]);
    }
    auto check = [&](const char *name, const char *caption, bool value) {
        auto *box = new QCheckBox(QLatin1String(caption), &dialog);
        box->setObjectName(QLatin1String(name));
        box->setChecked(value);
        form->addRow(box);
        return box;
    };
    QCheckBox *showGrid = check("ShowGridCB", "Show grid", FShowGrid);
    QCheckBox *align = check("AlignGridCB", "Align to grid", FGridAlign);
    QCheckBox *objectFont = check("ObjectFontCB", "Use object's font settings", FUseObjectFont);
    QCheckBox *editAfter = check("EditAfterInsertCB", "Edit after insert", FEditAfterInsert);
    auto *memoFont = new QLineEdit(FMemoFontName, &dialog);
    memoFont->setObjectName(QStringLiteral("MemoFontE"));
    form->addRow(QStringLiteral("Memo editor font"), memoFont);
    auto *memoSize = new QSpinBox(&dialog);
    memoSize->setObjectName(QStringLiteral("MemoFontSizeE"));
    memoSize->setRange(4, 72);
    memoSize->setValue(FMemoFontSize);
    form->addRow(QStringLiteral("Memo editor font size"), memoSize);
    form->addRow(rudOkCancelButtons(&dialog));
    if (userInterface().ExecDialog(&dialog) != QDialog::Accepted)
        return;
    for (int i = 0; i < 4; ++i) {
        try {
            SetGrid(i + 1, rudStrToFloat(grids[i]->text()));
        } catch (const Exception &e) {
            // An unreadable grid size keeps the one in force.
            userInterface().MessageBox(QStringLiteral("Шаг сетки «%1» не изменён:\n%2")
                                           .arg(QLatin1String(labels[i]), e.Message()),
                                       windowTitle(), TMsgIcon::Warning, TMsgButtons::Ok);
        }
    }
    FShowGrid = showGrid->isChecked();
    FGridAlign = align->isChecked();
    FUseObjectFont = objectFont->isChecked();
    FEditAfterInsert = editAfter->isChecked();
    FMemoFontName = memoFont->text();
    FMemoFontSize = memoSize->value();
    SetUnits(TfrxDesignerUnits(units->currentIndex()));
}

// ---- settings ------------------------------------------------------------------

void TfrxDesignerForm::showEvent(QShowEvent *Event)
{
    TfrxCustomDesigner::showEvent(Event);
    if (!FInitialized)
        Init();
}

void TfrxDesignerForm::Init()
{
    if (FInitialized)
        return;
    FInitialized = true;
    if (const TfrxDesigner *settings = Settings(); settings && settings->OnShow)
        settings->OnShow();
    RestoreState();
    ReloadReport();
}

void TfrxDesignerForm::RestoreState()
{
    bool defaultLayout = true;
    double scale = 1;
    try {
        std::unique_ptr<TIniFile> ini = GetIniFile();
        defaultLayout = !ini->ValueExists(section, QStringLiteral("Scale")) ||
                        ini->ReadInteger(section, QStringLiteral("WorkspaceColor"), -1) == 0;
        scale = readFloat(*this, *ini, QStringLiteral("Scale"), 1);
        FShowGrid = ini->ReadBool(section, QStringLiteral("ShowGrid"), true);
        FGridAlign = ini->ReadBool(section, QStringLiteral("GridAlign"), true);
        FShowRulers = ini->ReadBool(section, QStringLiteral("ShowRulers"), true);
        FShowGuides = ini->ReadBool(section, QStringLiteral("ShowGuides"), true);
        static const double defaults[4] = {0.1, 0.1, 4, 4};
        for (int i = 0; i < 4; ++i) {
            const double value = readFloat(*this, *ini, QStringLiteral("Grid%1").arg(i + 1), defaults[i]);
            FGrid[i] = value > 0 ? value : defaults[i];
        }
        const int units = ini->ReadInteger(section, QStringLiteral("Units"), 0);
        FUnits = units >= duCM && units <= duChars ? TfrxDesignerUnits(units) : duCM;
        QFont script(ini->ReadString(section, QStringLiteral("ScriptFontName"), QStringLiteral("Courier New")),
                     ini->ReadInteger(section, QStringLiteral("ScriptFontSize"), 10));
        script.setStyleHint(QFont::TypeWriter);
        FCodeWindow->setFont(script);
        FMemoFontName = ini->ReadString(section, QStringLiteral("MemoFontName"), QStringLiteral("Arial"));
        FMemoFontSize = ini->ReadInteger(section, QStringLiteral("MemoFontSize"), 10);
        FUseObjectFont = ini->ReadBool(section, QStringLiteral("UseObjectFont"), true);
        FEditAfterInsert = ini->ReadBool(section, QStringLiteral("EditAfterInsert"), false);
        FGridLCD = ini->ReadBool(section, QStringLiteral("GridLCD"), false);
        FFreeBands = ini->ReadBool(section, QStringLiteral("FreeBands"), false);
        FShowBandCaptions = ini->ReadBool(section, QStringLiteral("ShowBandCaptions"), true);
        FBandsGap = qBound(0, ini->ReadInteger(section, QStringLiteral("BandsGap"), 4), 100);
        const QString recent = ini->ReadString(section, QStringLiteral("RecentFiles"), QString());
        FRecentFiles.clear();
        for (const QString &file : recent.split(QLatin1Char(','), Qt::SkipEmptyParts))
            FRecentFiles.append(file.trimmed());
        if (!defaultLayout) {
            const QByteArray geometry =
                QByteArray::fromBase64(ini->ReadString(section, QStringLiteral("Geometry"), QString()).toLatin1());
            const QByteArray docks =
                QByteArray::fromBase64(ini->ReadString(section, QStringLiteral("DockState"), QString()).toLatin1());
            if (!geometry.isEmpty())
                restoreGeometry(geometry);
            if (!docks.isEmpty())
                restoreState(docks);
        }
    } catch (const std::exception &e) {
        // An unreadable store gives the built-in layout.
        defaultLayout = true;
        SettingsFailed(QString::fromUtf8(e.what()), false);
    }
    if (defaultLayout) {
        FEditAfterInsert = true;
        FExtraTB->hide();
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    Action(QStringLiteral("ShowRulersCmd"))->setChecked(FShowRulers);
    Action(QStringLiteral("ShowGuidesCmd"))->setChecked(FShowGuides);
    UpdateRecentMenu();
    SetScale(scale);
    UpdateStatus();
}

void TfrxDesignerForm::SaveState()
{
    try {
        std::unique_ptr<TIniFile> ini = GetIniFile();
        // No folder for the settings and none can be made: nothing is written.
        const QDir folder = QFileInfo(ini->FileName()).absoluteDir();
        if (!folder.exists() && !QDir().mkpath(folder.absolutePath())) {
            const QString path = QDir::toNativeSeparators(folder.absolutePath());
            SettingsFailed(QStringLiteral("Папку «%1» нельзя создать.").arg(path), true);
            return;
        }
        ini->WriteString(section, QStringLiteral("Scale"), FloatToStr(FScale));
        ini->WriteBool(section, QStringLiteral("ShowGrid"), FShowGrid);
        ini->WriteBool(section, QStringLiteral("GridAlign"), FGridAlign);
        ini->WriteBool(section, QStringLiteral("ShowRulers"), FShowRulers);
        ini->WriteBool(section, QStringLiteral("ShowGuides"), FShowGuides);
        for (int i = 0; i < 4; ++i)
            ini->WriteString(section, QStringLiteral("Grid%1").arg(i + 1), FloatToStr(FGrid[i]));
        ini->WriteInteger(section, QStringLiteral("Units"), FUnits);
        ini->WriteString(section, QStringLiteral("ScriptFontName"), FCodeWindow->font().family());
        ini->WriteInteger(section, QStringLiteral("ScriptFontSize"), FCodeWindow->font().pointSize());
        ini->WriteString(section, QStringLiteral("MemoFontName"), FMemoFontName);
        ini->WriteInteger(section, QStringLiteral("MemoFontSize"), FMemoFontSize);
        ini->WriteBool(section, QStringLiteral("UseObjectFont"), FUseObjectFont);
        ini->WriteBool(section, QStringLiteral("EditAfterInsert"), FEditAfterInsert);
        ini->WriteInteger(section, QStringLiteral("WorkspaceColor"), TfrxDesigner::clWindow);
        ini->WriteInteger(section, QStringLiteral("ToolsColor"), TfrxDesigner::clWindow);
        ini->WriteBool(section, QStringLiteral("GridLCD"), FGridLCD);
        ini->WriteBool(section, QStringLiteral("FreeBands"), FFreeBands);
        ini->WriteInteger(section, QStringLiteral("BandsGap"), FBandsGap);
        ini->WriteBool(section, QStringLiteral("ShowBandCaptions"), FShowBandCaptions);
        ini->WriteString(section, QStringLiteral("RecentFiles"), FRecentFiles.join(QLatin1Char(',')));
        ini->WriteString(section, QStringLiteral("Geometry"), QString::fromLatin1(saveGeometry().toBase64()));
        ini->WriteString(section, QStringLiteral("DockState"), QString::fromLatin1(saveState().toBase64()));
        ini->UpdateFile();
    } catch (const std::exception &e) {
        // The design is what matters and it is not touched here.
        SettingsFailed(QString::fromUtf8(e.what()), true);
    }
}
