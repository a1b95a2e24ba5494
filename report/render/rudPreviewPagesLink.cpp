// The preview's access to the report's prepared pages store: count, sizes,
// drawing, the text outputs the search reads, the outline, and the page
// commands (print, files, page settings, editing).

#include "report/render/rudPreview.h"

#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPreviewDialogs.h"

#include <QApplication>
#include <QPointer>
#include <QTreeWidget>

namespace {

TfrxCustomPreviewPages *storeOf(TfrxReport *Report) { return Report ? Report->PreviewPages() : nullptr; }

// The file dialogs' filter: "Prepared Report (*.fp3)|*.fp3".
QString fp3Filter() { return rudResources().Get(QStringLiteral("clFP3files")) + QStringLiteral(" (*.fp3)|*.fp3"); }

} // namespace

int TfrxPreview::PreparedPageCount() const
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    return pages ? pages->Count() : 0;
}

QSize TfrxPreview::PageSize(int Index) const
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!pages || Index < 0 || Index >= pages->Count())
        return QSize();
    return pages->GetPageSize(Index);
}

void TfrxPreview::DrawPage(int Index, QPainter &Painter, double Scale, QPointF Offset) const
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!pages || Index < 0 || Index >= pages->Count())
        return;
    TfrxCanvas canvas(&Painter, 96, 96);
    pages->DrawPage(Index, &canvas, Scale, Scale, Offset.x(), Offset.y());
}

QList<TfrxPreviewTextRecord> TfrxPreview::PageTextRecords(int Index) const
{
    QList<TfrxPreviewTextRecord> records;
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!pages || Index < 0 || Index >= pages->Count())
        return records;
    // The page drawn at scale 1 on a recording canvas.
    TfrxCanvas canvas;
    canvas.SetRecording(true);
    pages->DrawPage(Index, &canvas, 1, 1, 0, 0);
    for (const TfrxTextRecord &record : canvas.TextRecords())
        records.append({record.Text, QRectF(record.Bounds)});
    return records;
}

namespace {

// The outline items under Item, as tree items under Parent (or the tree).
void addOutlineItems(QTreeWidget *Tree, QTreeWidgetItem *Parent, TfrxXMLItem *Item)
{
    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem *child = Item->Items(i);
        auto *node = Parent ? new QTreeWidgetItem(Parent) : new QTreeWidgetItem(Tree);
        node->setText(0, child->Prop(QStringLiteral("text")));
        node->setData(0, Qt::UserRole, child->Prop(QStringLiteral("page")).toInt());
        node->setData(0, Qt::UserRole + 1, child->Prop(QStringLiteral("top")).toInt());
        addOutlineItems(Tree, node, child);
    }
}

} // namespace

void TfrxPreview::FillOutline(QTreeWidget *Tree) const
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!pages || !pages->Outline())
        return;
    if (TfrxXMLItem *root = pages->Outline()->Root())
        addOutlineItems(Tree, nullptr, root);
    if (FReport->PreviewOptions()->OutlineExpand())
        Tree->expandAll();
}

void TfrxPreview::Print()
{
    if (!CanRunCommand())
        return;
    window()->setEnabled(false);
    try {
        if (TfrxCustomPreviewPages *pages = storeOf(FReport))
            pages->Print();
    } catch (...) {
        window()->setEnabled(true);
        throw;
    }
    window()->setEnabled(true);
}

void TfrxPreview::SaveToFile()
{
    if (!CanRunCommand())
        return;
    TFileDialogOptions options;
    options.Filter = fp3Filter();
    options.DefaultExt = QStringLiteral("fp3");
    options.OverwritePrompt = true;
    if (const auto chosen = userInterface().SaveFile(options)) {
        QString name = chosen->FileName;
        if (!name.endsWith(QLatin1String(".fp3"), Qt::CaseInsensitive))
            name += QStringLiteral(".fp3");
        SaveToFile(name);
    }
}

void TfrxPreview::SaveToFile(const QString &FileName)
{
    if (TfrxCustomPreviewPages *pages = storeOf(FReport); pages && CanRunCommand())
        pages->SaveToFile(FileName);
}

void TfrxPreview::LoadFromFile()
{
    if (!CanRunCommand())
        return;
    TFileDialogOptions options;
    options.Filter = fp3Filter();
    if (const auto chosen = userInterface().OpenFile(options))
        LoadFromFile(chosen->FileName);
}

void TfrxPreview::LoadFromFile(const QString &FileName)
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!pages || !CanRunCommand())
        return;
    pages->LoadFromFile(FileName, false);
    FPageNo = 1;
    FWorkspace->FoundPage = -1;
    FSearched = false;
    UpdatePages();
    UpdateOutline();
    SetPageNo(1);
}

void TfrxPreview::PageSetupDlg()
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    if (!CanRunCommand() || !pages || pages->Count() == 0)
        return;
    TfrxReportPage *page = pages->GetPage(FPageNo - 1);
    if (!page)
        return;
    TfrxPageSettingsForm dialog(rudDesignerUsesInches(FReport->IniFile()), window());
    dialog.SetPage(page);
    if (userInterface().ExecDialog(&dialog) != QDialog::Accepted)
        return;
    if (dialog.ApplyToAll()) {
        for (TfrxComponent *child : FReport->Objects())
            if (auto *reportPage = qobject_cast<TfrxReportPage *>(child))
                dialog.ApplyTo(reportPage);
        RefreshReport();
    } else {
        Lock();
        dialog.ApplyTo(page);
        pages->ModifyPage(FPageNo - 1, page);
        Unlock();
    }
}

void TfrxPreview::Edit()
{
    TfrxCustomPreviewPages *pages = storeOf(FReport);
    // A program without the designer offers no editing: the command is not there.
    if (!CanRunCommand() || !pages || pages->Count() == 0 || !FReport->Services().DesignPreviewPage)
        return;
    EditPreparedPage(*pages);
}

void TfrxPreview::ShowTemplate()
{
    if (!CanRunCommand() || !FReport->Services().DesignPreviewPage)
        return;
    auto *pages = dynamic_cast<TfrxPreviewPages *>(storeOf(FReport));
    if (!pages || pages->SourcePageCount() == 0)
        return;
    // The store's source pages are shown as copies in a report of their own:
    // the prepared pages are kept as differences from those pages, so the
    // store's own copies must stay exactly as they are.
    TfrxReport temporary;
    temporary.SetServices(FReport->SharedServices());
    for (int i = 0; i < pages->SourcePageCount(); ++i) {
        auto *copy = new TfrxReportPage(&temporary);
        copy->AssignAll(pages->SourcePage(i));
    }
    try {
        FReport->Services().DesignPreviewPage(&temporary, window());
    } catch (const std::exception &e) {
        // Looking at the template changes nothing, whatever went wrong.
        userInterface().MessageBox(QStringLiteral("Шаблон не показан:\n%1").arg(QString::fromUtf8(e.what())),
                                   rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error, TMsgButtons::Ok);
    }
}

void TfrxPreview::Cancel()
{
    if (FRunning && FReport)
        FReport->SetTerminated(true);
}

void TfrxPreview::RefreshReport()
{
    if (!CanRunCommand())
        return;
    FReport->PrepareReport(true);
    UpdatePages();
    UpdateOutline();
}

void TfrxPreview::EditPreparedPage(TfrxCustomPreviewPages &Pages)
{
    TfrxReportPage *prepared = Pages.GetPage(FPageNo - 1);
    if (!prepared)
        return;
    // A copy in a report of its own: every object straight on the page at
    // its place on the paper, nothing bound to data, no bands.
    TfrxReport temporary;
    temporary.SetServices(FReport->SharedServices());
    auto *page = new TfrxReportPage(&temporary);
    page->AssignAll(prepared);
    QList<TfrxComponent *> all = page->AllObjects();
    QList<QPointer<TfrxComponent>> bands;
    for (TfrxComponent *object : all) {
        object->SetRestrictions({});
        if (auto *view = qobject_cast<TfrxView *>(object)) {
            view->SetDataSet(nullptr);
            view->SetDataField(QString());
            if (view->Align() == baBottom || view->Align() == baClient)
                view->SetAlign(baNone);
        }
        if (qobject_cast<TfrxBand *>(object)) {
            bands << object;
            continue;
        }
        if (object->Parent() != page) {
            const double left = object->AbsLeft(), top = object->AbsTop();
            object->SetParent(page);
            object->SetLeft(left);
            object->SetTop(top);
        }
    }
    // Inner bands first; a band freed with its parent is gone already.
    for (auto band = bands.rbegin(); band != bands.rend(); ++band)
        delete band->data();
    try {
        if (FReport->Services().DesignPreviewPage(&temporary, window())) {
            Lock();
            Pages.ModifyPage(FPageNo - 1, page);
            Unlock();
        }
    } catch (const std::exception &e) {
        // A failed edit leaves the prepared page as it was.
        if (FLocked > 0)
            Unlock();
        userInterface().MessageBox(
            QStringLiteral("Страница %1 не изменена:\n%2").arg(FPageNo).arg(QString::fromUtf8(e.what())),
            rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error, TMsgButtons::Ok);
    }
}
