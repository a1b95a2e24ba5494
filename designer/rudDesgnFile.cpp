// The designer's file workflow: new report, open, save and save as, the
// recent files, and the question asked before changes are dropped.

#include "designer/rudDesgn.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudDesgnUndo.h"
#include "designer/rudInsp.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>

namespace {

// Recent files kept in the menu.
constexpr int maxRecentFiles = 8;

} // namespace

bool TfrxDesignerForm::CheckModified()
{
    if (!FModified || IsRestricted(drDontSaveReport))
        return true;
    const QString question = rudGet(2100) + QLatin1Char(' ') + ReportName() + QLatin1Char('?');
    switch (userInterface().MessageBox(question, windowTitle(), TMsgIcon::Question, TMsgButtons::YesNoCancel)) {
    case TMsgResult::Yes:
        return Save(false);
    case TMsgResult::No:
        return true;
    default:
        return false;
    }
}

void TfrxDesignerForm::BuildNewReport(bool WithBands)
{
    ReleasePage();
    FReport->Clear();
    FReport->SetFileName(QString());
    FReport->AcceptLoadErrors();
    const TfrxDesigner *settings = Settings();
    auto *data = new TfrxDataPage(FReport);
    data->SetName(QStringLiteral("Data"));
    auto *page = new TfrxReportPage(FReport);
    page->SetName(QStringLiteral("Page1"));
    page->SetDefaults();
    if (settings) {
        FReport->SetScriptLanguage(settings->DefaultScriptLanguage());
        page->SetLeftMargin(settings->DefaultLeftMargin());
        page->SetRightMargin(settings->DefaultRightMargin());
        page->SetTopMargin(settings->DefaultTopMargin());
        page->SetBottomMargin(settings->DefaultBottomMargin());
        page->SetPaperSize(settings->DefaultPaperSize());
        page->SetOrientation(settings->DefaultOrientation());
    } else {
        FReport->SetScriptLanguage(QStringLiteral("PascalScript"));
    }
    if (!WithBands)
        return;
    const double width = page->Width() - (page->LeftMargin() + page->RightMargin()) * fr01cm;
    auto addBand = [&](TfrxBand *band, const QString &name, double top) {
        band->SetName(name);
        band->SetBounds(0, top, width, 22.67718);
        return band;
    };
    addBand(new TfrxReportTitle(page), QStringLiteral("ReportTitle1"), 18.89765);
    addBand(new TfrxMasterData(page), QStringLiteral("MasterData1"), 102.04731);
    TfrxBand *footer = addBand(new TfrxPageFooter(page), QStringLiteral("PageFooter1"), 185.19697);
    auto *memo = new TfrxMemoView(footer);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(width - 94.48825, 0, 94.48825, 18.89765);
    memo->SetHAlign(haRight);
    memo->SetText(QStringLiteral("[Page#]"));
    if (settings)
        memo->Font()->Assign(*settings->DefaultFont());
}

void TfrxDesignerForm::NewReport()
{
    if (IsRestricted(drDontCreateReport) || !CheckModified())
        return;
    BuildNewReport(true);
    ReloadReport();
    UpdateCaption();
}

void TfrxDesignerForm::ReloadReport()
{
    ReleasePage();
    // A report with no page to show (a data page alone included) gets the
    // pages of a new report.
    bool hasPages = false;
    for (TfrxComponent *child : FReport->Objects())
        hasPages = hasPages || (qobject_cast<TfrxPage *>(child) && !qobject_cast<TfrxDataPage *>(child));
    if (!hasPages)
        BuildNewReport(false);
    FReport->CheckDataPage();
    FUpdatingTextBar = true;
    FCodeWindow->setPlainText(FReport->ScriptText().join(QLatin1Char('\n')));
    FUpdatingTextBar = false;
    FScrollPositions.clear();
    ReloadPages(0);
    FUndo->ClearUndo();
    FUndo->ClearRedo();
    FModified = false;
    FUndo->AddUndo(FReport);
    UpdateCaption();
    UpdateControls();
}

bool TfrxDesignerForm::Open()
{
    if (IsRestricted(drDontLoadReport))
        return false;
    if (const TfrxDesigner *settings = Settings(); settings && settings->OnLoadReport) {
        if (!CheckModified())
            return false;
        if (!settings->OnLoadReport(FReport))
            return false;
        ReloadReport();
        return true;
    }
    TFileDialogOptions options;
    options.Filter = rudGet(2102);
    options.DefaultExt = FTemplateExt;
    if (const TfrxDesigner *settings = Settings())
        options.InitialDir = settings->OpenDir();
    const std::optional<TFileDialogResult> chosen = userInterface().OpenFile(options);
    if (!chosen)
        return false;
    return OpenFile(chosen->FileName);
}

bool TfrxDesignerForm::OpenFile(const QString &FileName)
{
    if (IsRestricted(drDontLoadReport) || !CheckModified())
        return false;
    ReleasePage();
    bool loaded = false;
    QString why;
    try {
        loaded = FReport->LoadFromFile(FileName) && !FReport->LoadFailed();
    } catch (const std::exception &e) {
        why = QStringLiteral("\n") + QString::fromUtf8(e.what());
    }
    if (!loaded) {
        userInterface().MessageBox(rudGet(2101) + why, windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
        BuildNewReport(false);
    } else {
        AddRecentFile(FileName);
    }
    ReloadReport();
    return loaded;
}

bool TfrxDesignerForm::Save(bool SaveAs)
{
    if (IsRestricted(drDontSaveReport))
        return false;
    FInspector->CommitEdit();
    CodeToScript();
    FReport->ReportOptions()->SetLastChange(Now());
    if (const TfrxDesigner *settings = Settings(); settings && settings->OnSaveReport) {
        const bool saved = settings->OnSaveReport(FReport, SaveAs);
        if (saved) {
            FModified = false;
            UpdateCaption();
            UpdateControls();
        }
        return saved;
    }
    QString fileName = FReport->FileName();
    if (SaveAs || fileName.isEmpty()) {
        TFileDialogOptions options;
        options.Filter = rudGet(2102);
        options.DefaultExt = FTemplateExt;
        options.OverwritePrompt = true;
        options.FileName = fileName.isEmpty() ? ReportName() : fileName;
        if (const TfrxDesigner *settings = Settings())
            options.InitialDir = settings->SaveDir();
        const std::optional<TFileDialogResult> chosen = userInterface().SaveFile(options);
        if (!chosen)
            return false;
        fileName = chosen->FileName;
        if (QFileInfo(fileName).suffix().isEmpty() && !FTemplateExt.isEmpty())
            fileName += QLatin1Char('.') + FTemplateExt;
        FReport->ReportOptions()->SetCompressed(false);
        // Saving to a file the user chose is the decision the load-failure
        // guard waits for.
        if (QFileInfo(fileName).absoluteFilePath() != QFileInfo(FReport->FileName()).absoluteFilePath())
            FReport->AcceptLoadErrors();
    }
    try {
        FReport->SaveToFile(fileName);
    } catch (const Exception &e) {
        userInterface().MessageBox(e.Message(), windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
        return false;
    }
    FReport->SetFileName(fileName);
    AddRecentFile(fileName);
    FModified = false;
    UpdateCaption();
    UpdateControls();
    return true;
}

void TfrxDesignerForm::AddRecentFile(const QString &FileName)
{
    const QString path = QFileInfo(FileName).absoluteFilePath();
    FRecentFiles.removeAll(path);
    FRecentFiles.prepend(path);
    while (FRecentFiles.size() > maxRecentFiles)
        FRecentFiles.removeLast();
    UpdateRecentMenu();
}

void TfrxDesignerForm::UpdateRecentMenu()
{
    FRecentMenu->clear();
    for (const QString &file : FRecentFiles)
        FRecentMenu->addAction(file, this, [this, file] { OpenFile(file); });
    FRecentMenu->menuAction()->setVisible(!FRecentFiles.isEmpty());
}

void TfrxDesignerForm::closeEvent(QCloseEvent *Event)
{
    if (FScriptRunning) {
        Event->ignore();
        return;
    }
    CodeToScript();
    if (FIsPreviewDesigner) {
        // A prepared page has no file of its own: any change is handed back
        // to the preview instead of being saved.
        FInspector->SaveSettings();
        SaveState();
        FReport->SetModified(FModified || FUndo->UndoCount() > 1);
        Event->accept();
        return;
    }
    const TfrxDesigner *settings = Settings();
    if (FModified && (!settings || settings->CloseQuery()) && !CheckModified()) {
        Event->ignore();
        return;
    }
    FInspector->SaveSettings();
    SaveState();
    FReport->SetModified(FModified);
    Event->accept();
}
