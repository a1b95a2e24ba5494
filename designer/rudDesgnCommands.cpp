// The designer's edit, page, insert, preview and find commands.

#include "designer/rudDesgn.h"

#include "base/UserInterface.h"
#include "designer/rudComponentEditors.h"
#include "designer/rudDesgnClipboard.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudDesgnUndo.h"
#include "designer/rudInsp.h"
#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreviewDialogs.h"
#include "script/fs_iinterpreter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

// ---- pages -------------------------------------------------------------------

void TfrxDesignerForm::NewPage()
{
    if (IsRestricted(drDontCreatePage))
        return;
    auto *page = new TfrxReportPage(FReport);
    page->CreateUniqueName();
    page->SetDefaults();
    ReloadPages(PageIndexOf(page));
    SetModified(true);
}

void TfrxDesignerForm::NewDialog()
{
    if (IsRestricted(drDontCreatePage))
        return;
    auto *page = new TfrxDialogPage(FReport);
    page->CreateUniqueName();
    page->SetWidth(300);
    page->SetHeight(200);
    ReloadPages(PageIndexOf(page));
    SetModified(true);
}

void TfrxDesignerForm::DeletePage()
{
    if (!Action(QStringLiteral("DeletePageCmd"))->isEnabled() || !FPage)
        return;
    TfrxPage *page = FPage;
    SetTabIndex(0);
    delete page;
    ReloadPages(0);
    SetModified(true);
}

void TfrxDesignerForm::PageSettings()
{
    auto *page = qobject_cast<TfrxReportPage *>(FPage);
    if (!page || IsRestricted(drDontChangePageOptions))
        return;
    std::unique_ptr<TfrxComponentEditor> editor = rudComponentEditorFor(page, this);
    if (editor && editor->Edit())
        SetModified(true);
}

// ---- selection commands --------------------------------------------------------

void TfrxDesignerForm::SelectAll()
{
    if (CodeTabShown()) {
        FCodeWindow->selectAll();
        return;
    }
    if (!FPage)
        return;
    FSelection.SelectAll();
    FSelection.Notify();
}

void TfrxDesignerForm::Delete()
{
    // The work area deletes (restrictions, ancestors, children) and
    // reports the change.
    if (HasObjectSelection())
        WorkspaceDelete();
}

void TfrxDesignerForm::EditSelected()
{
    if (FSelection.Count() != 1)
        return;
    std::unique_ptr<TfrxComponentEditor> editor = rudComponentEditorFor(FSelection.First(), this);
    if (editor && editor->HasEditor() && editor->Edit())
        SetModified(true);
}

void TfrxDesignerForm::Group()
{
    if (!Action(QStringLiteral("GroupCmd"))->isEnabled())
        return;
    WorkspaceGroup(true);
}

void TfrxDesignerForm::Ungroup()
{
    if (!Action(QStringLiteral("UngroupCmd"))->isEnabled())
        return;
    WorkspaceGroup(false);
}

void TfrxDesignerForm::BringToFront()
{
    const QList<TfrxComponent *> objects = SelectedPrintable();
    if (objects.isEmpty())
        return;
    for (TfrxComponent *object : objects) {
        if (TfrxComponent *parent = object->Parent())
            parent->MoveChild(object, -1);
    }
    SetModified(true);
}

void TfrxDesignerForm::SendToBack()
{
    const QList<TfrxComponent *> objects = SelectedPrintable();
    if (objects.isEmpty())
        return;
    for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
        if (TfrxComponent *parent = (*it)->Parent())
            parent->MoveChild(*it, 0);
    }
    SetModified(true);
}

// ---- clipboard ---------------------------------------------------------------

void TfrxDesignerForm::Copy()
{
    if (CodeTabShown()) {
        FCodeWindow->copy();
        return;
    }
    const QString text = rudCopyObjectsText(FSelection.Objects(), FPage);
    if (text.isEmpty())
        return;
    QApplication::clipboard()->setText(text);
    UpdateClipboardState();
}

void TfrxDesignerForm::Cut()
{
    if (CodeTabShown()) {
        FCodeWindow->cut();
        return;
    }
    if (!HasObjectSelection())
        return;
    Copy();
    Delete();
}

void TfrxDesignerForm::Paste()
{
    if (CodeTabShown()) {
        FCodeWindow->paste();
        return;
    }
    if (!FPage)
        return;
    const QString text = QApplication::clipboard()->text();
    if (!rudIsClipboardText(text))
        return;
    FSelection.Clear();
    const QList<TfrxComponent *> pasted = rudPasteObjectsText(text, FPage);
    RebuildObjects();
    FSelection.Assign(pasted);
    if (!pasted.isEmpty())
        WorkspacePasted();
    SetModified(true);
    FSelection.Notify();
}

// ---- inserting -----------------------------------------------------------------

TfrxComponent *TfrxDesignerForm::InsertObject(const QMetaObject *Class, const QRectF &Rect)
{
    if (!FPage || !Class || IsRestricted(drDontInsertObject) || Rect.top() < 0 || Rect.width() == 0 ||
        Rect.height() == 0)
        return nullptr;
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Class->className()));
    if (!entry.Create)
        return nullptr;
    TfrxComponent *object = entry.Create(nullptr);
    object->SetIsDesigning(true);
    object->SetParent(FPage);
    rudPlaceOnPage(FPage, object, Rect.left(), Rect.top());
    object->SetWidth(Rect.width());
    object->SetHeight(Rect.height());
    object->CreateUniqueName();
    if (auto *memo = qobject_cast<TfrxCustomMemoView *>(object)) {
        // The sample format: the settings' default font and reading order.
        if (const TfrxDesigner *settings = Settings()) {
            memo->Font()->Assign(*settings->DefaultFont());
            memo->SetRTLReading(settings->RTLLanguage());
            memo->SetParentFont(settings->MemoParentFont());
        }
    }
    if (auto *band = qobject_cast<TfrxBand *>(object)) {
        band->SetLeft(0);
        if (auto *page = qobject_cast<TfrxReportPage *>(FPage))
            band->SetWidth(page->Width() - (page->LeftMargin() + page->RightMargin()) * fr01cm);
    }
    RebuildObjects();
    FSelection.Assign({object});
    if (const TfrxDesigner *settings = Settings(); settings && settings->OnInsertObject)
        settings->OnInsertObject(object);
    SetModified(true);
    FSelection.Notify();
    if (FEditAfterInsert && !qobject_cast<TfrxDialogPage *>(FPage))
        EditSelected();
    return object;
}

// ---- preview -------------------------------------------------------------------

void TfrxDesignerForm::Preview()
{
    if (IsRestricted(drDontPreviewReport))
        return;
    FInspector->CommitEdit();
    CodeToScript();
    TfsScript *script = FReport->Script();
    if (!FReport->PrepareScript()) {
        const QString position = script->ErrorPos();
        SetTabIndex(0);
        const QStringList parts = position.split(QLatin1Char(':'));
        if (parts.size() == 2) {
            const int line = parts[0].toInt(), column = parts[1].toInt();
            QTextCursor cursor(FCodeWindow->document()->findBlockByLineNumber(qMax(0, line - 1)));
            cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, qMax(0, column - 1));
            FCodeWindow->setTextCursor(cursor);
        }
        userInterface().MessageBox(script->ErrorMsg(), windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
        return;
    }
    // Preparing changes objects (texts, sizes, names of the run): the design
    // is restored from a snapshot afterwards, so it keeps no trace.
    const QByteArray snapshot = TfrxUndoBuffer::Snapshot(FReport);
    const int index = FPage ? PageIndexOf(FPage) : 0;
    const bool modal = FReport->PreviewOptions()->Modal();
    FReport->PreviewOptions()->SetModal(true);
    // Errors of preparing reach the person through the report's own error
    // handling; whatever escapes it is shown here.
    try {
        FReport->ShowReport(true);
    } catch (const std::exception &e) {
        userInterface().MessageBox(QString::fromUtf8(e.what()), windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
    }
    FReport->PreviewOptions()->SetModal(modal);
    ReleasePage();
    TfrxUndoBuffer::Restore(FReport, snapshot);
    ReloadPages(index);
}

// ---- find and replace ----------------------------------------------------------

void TfrxDesignerForm::Find()
{
    DoFind(false);
}

void TfrxDesignerForm::Replace()
{
    DoFind(true);
}

void TfrxDesignerForm::DoFind(bool Replacing)
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FindForm"));
    dialog.setWindowTitle(Replacing ? rudGet(2024).remove(QStringLiteral("...")) : rudGet(2023).remove(QStringLiteral("...")));
    auto *form = new QFormLayout(&dialog);
    auto *text = new QLineEdit(FFindText, &dialog);
    text->setObjectName(QStringLiteral("TextE"));
    form->addRow(QStringLiteral("Text to find"), text);
    QLineEdit *replace = nullptr;
    if (Replacing) {
        replace = new QLineEdit(FReplaceText, &dialog);
        replace->setObjectName(QStringLiteral("ReplaceE"));
        form->addRow(QStringLiteral("Replace with"), replace);
    }
    auto *caseCB = new QCheckBox(QStringLiteral("Case sensitive"), &dialog);
    caseCB->setObjectName(QStringLiteral("CaseCB"));
    caseCB->setChecked(FFindCase);
    form->addRow(caseCB);
    form->addRow(rudOkCancelButtons(&dialog));
    if (userInterface().ExecDialog(&dialog) != QDialog::Accepted || text->text().isEmpty())
        return;
    FFindText = text->text();
    FFindCase = caseCB->isChecked();
    FSearched = true;
    if (replace) {
        FReplaceText = replace->text();
        const Qt::CaseSensitivity cs = FFindCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (CodeTabShown()) {
            QString code = FCodeWindow->toPlainText();
            FCodeWindow->setPlainText(code.replace(FFindText, FReplaceText, cs));
        } else {
            bool changed = false;
            for (TfrxComponent *object : FObjects)
                if (auto *memo = qobject_cast<TfrxCustomMemoView *>(object); memo && memo->Text().contains(FFindText, cs)) {
                    memo->SetText(QString(memo->Text()).replace(FFindText, FReplaceText, cs));
                    changed = true;
                }
            if (changed)
                SetModified(true);
        }
    }
    FindNext();
    UpdateControls();
}

void TfrxDesignerForm::FindNext()
{
    if (!FSearched || FFindText.isEmpty())
        return;
    const Qt::CaseSensitivity cs = FFindCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (CodeTabShown()) {
        QTextDocument::FindFlags flags;
        if (FFindCase)
            flags |= QTextDocument::FindCaseSensitively;
        if (!FCodeWindow->find(FFindText, flags)) {
            FCodeWindow->moveCursor(QTextCursor::Start);
            FCodeWindow->find(FFindText, flags);
        }
        return;
    }
    // The next memo after the selected one whose text holds the search text.
    const qsizetype start =
        FSelection.Count() == 1 ? FObjects.indexOf(FSelection.First()) + 1 : qsizetype(0);
    for (qsizetype n = 0; n < FObjects.size(); ++n) {
        TfrxComponent *object = FObjects.at((start + n) % FObjects.size());
        auto *memo = qobject_cast<TfrxCustomMemoView *>(object);
        if (memo && memo->Text().contains(FFindText, cs)) {
            FSelection.Assign({memo});
            FSelection.Notify();
            return;
        }
    }
}
