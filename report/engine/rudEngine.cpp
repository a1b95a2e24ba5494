// The run of the preparation engine and its page and column flow: checks,
// dialogs, passes, pages, page start and end, new columns and pages (with
// the kept block they take along), and the heights the band output works
// with.

#include "report/engine/rudEngine.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"
#include "report/model/rudSubreport.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace {

// A page printed by a sub-report object is only walked from there.
bool isSubreportPage(TfrxReportPage *Page)
{
    TfrxReport *report = Page->Report();
    if (!report)
        return false;
    for (TfrxComponent *c : report->AllObjects())
        if (auto *sub = qobject_cast<TfrxSubreport *>(c); sub && sub->Page() == Page)
            return true;
    return false;
}

} // namespace

TfrxEngine::TfrxEngine(TfrxReport *AReport)
    : TfrxCustomEngine(AReport), FAggregates(AReport), FKept(*this, FAggregates),
      FSuppressed(*this, FKept), FVOutput(*this, FAggregates),
      FSubreports(*this)
{
    FAggregates.SetEvaluator([this](const QString &Expr) { return FReport->Calc(Expr).ToQVariant(); });
    FAggregates.SetOriginalBand([this](TfrxComponent *Obj) { return FVOutput.VOriginalBand(Obj); });
}

TfrxEngine::~TfrxEngine() = default;

bool TfrxEngine::Terminated() const
{
    return FReport->Terminated();
}

void TfrxEngine::ProcessMessages()
{
    if (!FReport->EngineOptions()->EnableThreadSafe())
        QCoreApplication::processEvents();
}

QVariant TfrxEngine::EvalValue(const QString &Expression)
{
    if (Expression.trimmed().isEmpty())
        return QVariant();
    FReport->SetCurObject(FCurBand ? FCurBand->Name() : QString());
    return FReport->Calc(Expression).ToQVariant();
}

bool TfrxEngine::EvalCondition(const QString &Expression)
{
    if (Expression.trimmed().isEmpty())
        return false;
    FReport->SetCurObject(FCurBand ? FCurBand->Name() : QString());
    const TfsVariant v = FReport->Calc(Expression);
    return !v.IsNull() && !v.IsEmpty() && v.ToBool();
}

void TfrxEngine::NotifyObjects()
{
    for (const QPointer<TfrxComponent> &c : std::as_const(FNotifyList))
        if (auto *view = qobject_cast<TfrxView *>(c.data()))
            FReport->DoNotifyEvent(view, view->OnAfterData());
}

TfrxBand *TfrxEngine::FindBand(const QMetaObject *BandClass) const
{
    if (!FPage)
        return nullptr;
    for (TfrxComponent *c : FPage->Objects())
        if (c->metaObject() == BandClass)
            return static_cast<TfrxBand *>(c);
    return nullptr;
}

double TfrxEngine::GetPageHeight()
{
    if (FPage && FPage->EndlessHeight())
        return FooterHeight() + FCurY;
    return FPageHeight;
}

double TfrxEngine::HeaderHeight()
{
    double h = 0;
    for (const QMetaObject *cls : {&TfrxColumnHeader::staticMetaObject, &TfrxPageHeader::staticMetaObject})
        for (TfrxBand *b = FindBand(cls); b; b = b->Child())
            h += b->Height();
    return h;
}

double TfrxEngine::FooterHeight()
{
    double h = 0;
    if (TfrxBand *b = FindBand(&TfrxColumnFooter::staticMetaObject))
        h += b->Height();
    if (TfrxBand *b = FindBand(&TfrxPageFooter::staticMetaObject))
        h += b->Height();
    return h;
}

double TfrxEngine::FreeSpace()
{
    if (FPage && FPage->EndlessHeight())
        return 1000000;
    if (FPrevFooterHeight != 0)
        return GetPageHeight() - FPrevFooterHeight - FCurY;
    return GetPageHeight() - FooterHeight() - FCurY;
}

TfsVariant TfrxEngine::GetAggregateValue(const QString &Name, const QString &Expression, TfrxComponent *Band,
                                         int Flags)
{
    // A vertical group footer's cells read the group's columns.
    const bool range = FVOutput.RangeTo() > 0;
    const QVariant v = FAggregates.GetValue(FCurBand, range ? FVOutput.RangeFrom() : FCurVColumn, Flags,
                                            qobject_cast<TfrxDataBand *>(Band), Expression, Name,
                                            FVOutput.CurVBand(), range ? FVOutput.RangeTo() : 0);
    return v.isNull() ? TfsVariant::Null() : TfsVariant::FromQVariant(v);
}

// Band trees of every page, then the data-set combinations; any message
// stops the run before a page is output.
bool TfrxEngine::Initialize()
{
    FPrevFooterHeight = 0;
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    pages->Initialize();
    pages->SetAddPageAction(apAdd);
    StartClock();
    FRunning = true;
    FKept.Clear();
    FCurVColumn = 0;
    FOutputTo = nullptr;
    FAggregates.Clear();
    FPageBands.clear();
    FPageVBands.clear();
    FOutputTop.clear();
    FFillMemos.clear();
    FOutlinedGroups.clear();

    QStringList errors;
    QList<TfrxReportPage *> reportPages;
    for (TfrxComponent *c : FReport->Objects())
        if (auto *page = qobject_cast<TfrxReportPage *>(c)) {
            reportPages.append(page);
            PreparePage(page, errors, false);
            PreparePage(page, errors, true);
        }
    for (const QString &e : std::as_const(errors))
        FReport->AddError(e);

    TfrxComponent *reportDS = FReport->DataSet();
    for (TfrxReportPage *page : std::as_const(reportPages)) {
        if (reportDS && page->DataSet() == reportDS) {
            FReport->AddError(rudResources().Get(QStringLiteral("clDSSameReportPage")));
            break;
        }
        bool conflict = false;
        for (TfrxBand *b : FPageBands.value(page)) {
            auto *d = static_cast<TfrxDataBand *>(b);
            if (reportDS && d->DataSet() == reportDS) {
                FReport->AddError(rudResources().Get(QStringLiteral("clDSSameReportBand")));
                conflict = true;
                break;
            }
            if (page->DataSet() && d->DataSet() == page->DataSet()) {
                FReport->AddError(rudResources().Get(QStringLiteral("clDSSamePageBand")));
                conflict = true;
                break;
            }
        }
        if (conflict)
            break;
    }
    return FReport->Errors().isEmpty();
}

void TfrxEngine::Finalize()
{
    FVOutput.RestoreVBandObjects();
    TfrxReportDataSets *sets = FReport->DataSets();
    for (int i = 0; i < sets->Count(); ++i)
        if (auto *ds = qobject_cast<TfrxDataSet *>(sets->Items(i)->DataSet()))
            ds->Finalize();
    FReport->PreviewPages()->Finish();
    FRunning = false;
}

// Dialog pages are asked in page order; the first one cancelled stops the run.
bool TfrxEngine::RunDialogs()
{
    if (!FReport->OnRunDialogs().isEmpty()) {
        QVariantList params{true};
        FReport->DoParamEvent(FReport->OnRunDialogs(), params);
        return !params.isEmpty() && params[0].toBool();
    }
    for (TfrxComponent *c : FReport->Objects()) {
        auto *dialog = qobject_cast<TfrxDialogPage *>(c);
        if (!dialog || !dialog->Visible() || dialog->Objects().isEmpty())
            continue;
        // Without a display of dialog forms a dialog counts as confirmed.
        const bool cancelled = FOnRunDialog ? FOnRunDialog(dialog) : false;
        if (cancelled)
            return false;
    }
    return true;
}

bool TfrxEngine::Run(bool ARunDialogs, bool AClearLast, TfrxComponent *APage)
{
    (void)ARunDialogs;
    (void)AClearLast;
    bool result = false;
    if (!Initialize()) {
        Finalize();
        return false;
    }
    try {
        TfrxReportDataSets *sets = FReport->DataSets();
        for (int i = 0; i < sets->Count(); ++i)
            if (auto *ds = qobject_cast<TfrxDataSet *>(sets->Items(i)->DataSet()))
                ds->Initialize();
        FReport->DoNotifyEvent(FReport, FReport->OnStartReport());
        if (RunDialogs()) {
            result = true;
            auto *page = qobject_cast<TfrxReportPage *>(APage);
            TfrxCustomPreviewPages *pages = FReport->PreviewPages();
            for (TfrxComponent *c : FReport->Objects()) {
                auto *p = qobject_cast<TfrxReportPage *>(c);
                if (!p || (page && p != page))
                    continue;
                pages->AddSourcePage(p);
                FAggregates.AddItems(p, FPageBands.value(p), FPageVBands.value(p));
            }
            FFinalPass = !DoublePass();
            FTotalPages = 0;
            pages->BeginPass();
            RunReportPages(page);
            if (DoublePass() && !Terminated()) {
                FTotalPages = pages->Count();
                pages->SetCurPage(pages->Count() - 1);
                pages->ClearFirstPassPages();
                FAggregates.ClearValues();
                FFinalPass = true;
                RunReportPages(page);
            }
        }
    } catch (...) {
        // The first error ends the run and is the one reported: the stop
        // event still runs (an error of its own is dropped), and the data
        // sets and the store are closed.
        try {
            FReport->DoNotifyEvent(FReport, FReport->OnStopReport());
        } catch (...) {
        }
        Finalize();
        throw;
    }
    {
        const auto finalize = qScopeGuard([this] { Finalize(); });
        FReport->DoNotifyEvent(FReport, FReport->OnStopReport());
    }
    return result;
}

void TfrxEngine::RunReportPages(TfrxReportPage *APage)
{
    FFirstReportPage = true;
    FSuppressed.CollectSuppressed();
    auto *ds = qobject_cast<TfrxDataSet *>(FReport->DataSet());
    if (!ds) {
        DoPages(APage);
        return;
    }
    for (ds->First(); !ds->Eof() && !Terminated(); ds->Next())
        DoPages(APage);
}

void TfrxEngine::DoPages(TfrxReportPage *APage)
{
    if (APage) {
        RunPage(APage);
        return;
    }
    for (TfrxComponent *c : FReport->Objects()) {
        auto *page = qobject_cast<TfrxReportPage *>(c);
        if (!page || !page->Visible() || isSubreportPage(page))
            continue;
        RunPage(page);
        if (Terminated())
            break;
        FFirstReportPage = false;
    }
}

void TfrxEngine::RunPage(TfrxReportPage *Page)
{
    FPage = Page;
    if (isSubreportPage(Page)) {
        ShowBandTree(Page);
        return;
    }
    FIsFirstBand = true;
    FReport->DoNotifyEvent(Page, Page->OnBeforePrint());
    if (auto *ds = qobject_cast<TfrxDataSet *>(Page->DataSet())) {
        for (ds->First(); !ds->Eof() && !Terminated(); ds->Next())
            ShowPage(Page);
    } else {
        for (int i = 0; i < Page->PageCount() && !Terminated(); ++i)
            ShowPage(Page);
    }
    FReport->DoNotifyEvent(Page, Page->OnAfterPrint());
}

// A page whose vertical bands need more than the printable width is output
// once per column set (see rudVerticalOutput.cpp): each set is the whole page
// again, from the totals as they were at its start, on pages of its own
// that follow the previous set's; the first set finds how many there are.
void TfrxEngine::ShowPage(TfrxReportPage *Page)
{
    FPage = Page;
    if (!FReport->EngineOptions()->PrintIfEmpty() && !CanShow(Page, false))
        return;
    const TfrxAggregateList::TValues totals = FAggregates.Values();
    FVOutput.ResetColumnSets();
    for (int set = 0; set < FVOutput.ColumnSetCount(); ++set) {
        FVOutput.SetColumnSet(set);
        if (set > 0) {
            if (Terminated())
                break;
            FAggregates.SetValues(totals);
        }
        ShowPageOnce(Page);
    }
    FVOutput.ResetColumnSets();
}

void TfrxEngine::ShowPageOnce(TfrxReportPage *Page)
{
    InitPage();
    ShowNullBand();
    if (FReport->OnManualBuild || !Page->OnManualBuild().isEmpty()) {
        // A page built by hand has its sub-reports out first; what the
        // build shows follows below them.
        TfrxSubreportOutput::TPageFlow flow = FSubreports.StartPageFlow(Page);
        FSubreports.ShowPageSubreports(flow, nullptr);
        if (FReport->OnManualBuild)
            FReport->OnManualBuild(Page);
        else
            FReport->DoNotifyEvent(Page, Page->OnManualBuild(), true);
    } else {
        ShowBandTree(Page);
    }
    FIsLastPage = true;
    if (Page->EndlessHeight() || Page->EndlessWidth()) {
        const double width = Page->EndlessWidth()
                                 ? Page->LeftMargin() * fr01cm + FPageWidth + Page->RightMargin() * fr01cm
                                 : Page->PaperWidth() * fr01cm;
        double height = Page->PaperHeight() * fr01cm;
        if (Page->EndlessHeight()) {
            FPageHeight = FooterHeight() + FCurY;
            height = GetPageHeight() + (Page->TopMargin() + Page->BottomMargin()) * fr01cm;
        }
        if (auto *store = dynamic_cast<TfrxPreviewPages *>(FReport->PreviewPages()))
            store->UpdatePageDimensions(Page, height, width);
    }
    EndPage();
    FIsLastPage = false;
}

void TfrxEngine::InitPage()
{
    FHeaderList.Clear();
    TfrxBand *title = FindBand(&TfrxReportTitle::staticMetaObject);
    TfrxBand *header = FindBand(&TfrxPageHeader::staticMetaObject);
    if (FPage->TitleBeforeHeader()) {
        if (title)
            FHeaderList.AddItem(title, 0, false);
        if (header)
            FHeaderList.AddItem(header, 0, false);
    } else {
        if (header)
            FHeaderList.AddItem(header, 0, false);
        if (title)
            FHeaderList.AddItem(title, 0, false);
    }
    FPageHeight = FPage->PaperHeight() * fr01cm - FPage->TopMargin() * fr01cm - FPage->BottomMargin() * fr01cm;
    FPageWidth = FPage->PaperWidth() * fr01cm - FPage->LeftMargin() * fr01cm - FPage->RightMargin() * fr01cm;
    FCurX = 0;
    FCurY = 0;
    FCurColumn = 1;
    FPageCurX = 0;
    FVOutput.StartPage();
    FIsFirstPage = true;
    FIsLastPage = false;
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    pages->Outline()->LevelRoot();
    // A further column set goes on counting pages, on pages of its own.
    if (FPage->ResetPageNumbers() && FVOutput.ColumnSet() == 0)
        pages->ResetLogicalPageNumber();
    if (pages->Count() > 0 && FPage->PrintOnPreviousPage() && FVOutput.ColumnSet() == 0) {
        pages->SetCurPage(pages->Count() - 1);
        FCurY = pages->GetLastY(0);
        if (title) {
            FHeaderList.RemoveItem(title);
            ShowBand(title);
        }
    } else {
        AddPage();
    }
    if (FFirstReportPage && FVOutput.ColumnSet() == 0)
        pages->SetFirstPage(pages->CurPage());
    FFirstColumnY = FCurY;
    if (TfrxBand *columnHeader = FindBand(&TfrxColumnHeader::staticMetaObject)) {
        ShowBand(columnHeader);
        FHeaderList.AddItem(columnHeader, 0, false);
    }
    if (title)
        FHeaderList.RemoveItem(title);
    AddPageOutline(true);
}

// The objects lying directly on the page come out once, first, at their
// designed places inside the margins, through a band that only lists them.
void TfrxEngine::ShowNullBand()
{
    TfrxNullBand band(nullptr);
    band.SetBounds(0, 0, FPageWidth, GetPageHeight());
    for (TfrxComponent *c : FPage->Objects())
        if (!qobject_cast<TfrxBand *>(c))
            band.ListObject(c);
    const double savedY = FCurY;
    struct TRestore {
        TfrxNullBand &Band;
        double &CurY;
        double Y;
        ~TRestore()
        {
            CurY = Y;
            Band.ReleaseObjects();
        }
    } restore{band, FCurY, savedY};
    band.AlignChildren();
    ShowBand(&band);
}

void TfrxEngine::AddPage()
{
    FPrevFooterHeight = 0;
    FReport->PreviewPages()->AddPage(FPage);
    FCurY = 0;
    FSuppressed.ForgetSuppressedOnNewPage();
    if (auto *overlay = static_cast<TfrxOverlay *>(FindBand(&TfrxOverlay::staticMetaObject));
        overlay && !overlay->PrintOnTop()) {
        ShowFrameBand(overlay);
        FCurY = 0;
    }
    const double savedX = FCurX;
    FFirstColumnY = 0;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TfrxHeaderListItem item = FHeaderList.Items(i);
        TfrxBand *band = item.Band;
        FCurX = item.Left;
        // The band that caused the new page is output by its own call, and
        // bands of a kept block come back with the block.
        if (band == FStartNewPageBand || band == FLastBandOnPage || FKept.Holds(band))
            continue;
        auto *pageHeader = qobject_cast<TfrxPageHeader *>(band);
        if (pageHeader && FIsFirstPage && !pageHeader->PrintOnFirstPage()) {
            if (pageHeader->PrintChildIfInvisible() && pageHeader->Child()) {
                FCallFromAddPage = true;
                ShowBand(pageHeader->Child());
                FCallFromAddPage = false;
            }
            continue;
        }
        const bool dataHeader = qobject_cast<TfrxHeader *>(band) != nullptr;
        if (dataHeader && (FKept.KeepsHeader() || item.IsInKeepList))
            continue;
        if ((dataHeader || qobject_cast<TfrxGroupHeader *>(band)) && FDontShowHeaders)
            continue;
        const int savedLine = FCurLine, savedThrough = FCurLineThrough;
        FCurLine = band->LineN;
        FCurLineThrough = band->LineThrough;
        FCallFromAddPage = true;
        FCallFromPHeader = pageHeader != nullptr;
        band->SetOverflow(true);
        const bool isTitle = qobject_cast<TfrxReportTitle *>(band) != nullptr;
        ShowBand(band);
        band->SetOverflow(false);
        FCallFromAddPage = false;
        FCallFromPHeader = false;
        FCurLine = savedLine;
        FCurLineThrough = savedThrough;
        if (isTitle) {
            FHeaderList.RemoveItem(band);
            --i;
            if (FIsFirstBand)
                FTitlePrinted = true;
        }
        if (pageHeader)
            FFirstColumnY = FCurY;
    }
    FCurX = savedX;
}

void TfrxEngine::EndColumn()
{
    auto *footer = FindBand(&TfrxColumnFooter::staticMetaObject);
    if (!footer || !footer->Visible())
        return;
    const double savedX = FCurX;
    FCurX = FCurX - FPageCurX;
    ShowFrameBand(footer);
    FCurX = savedX;
}

void TfrxEngine::EndPage()
{
    const bool reentered = FCallFromEndPage;
    if (!reentered)
        EndColumn();
    if (!FIsLastPage) {
        FCurX = FPageCurX;
        FCurColumn = 1;
    }
    if (FIsLastPage && !reentered) {
        if (TfrxBand *summary = FindBand(&TfrxReportSummary::staticMetaObject)) {
            FCallFromEndPage = true;
            ShowBand(summary);
            FCallFromEndPage = false;
        }
    }
    if (auto *footer = static_cast<TfrxPageFooter *>(FindBand(&TfrxPageFooter::staticMetaObject))) {
        FCurY = GetPageHeight() - footer->Height();
        FPrevFooterHeight = FIsLastPage && footer->PrintOnLastPage() ? footer->Height() : 0;
        const bool skip = (FIsFirstPage && !footer->PrintOnFirstPage()) ||
                          (FIsLastPage && !footer->PrintOnLastPage() && !reentered);
        if (!skip && !FReport->PreviewPages()->BandExists(footer)) {
            const double savedX = FCurX;
            FCurX = 0;
            ShowFrameBand(footer);
            FCurX = savedX;
        }
    }
    if (auto *overlay = static_cast<TfrxOverlay *>(FindBand(&TfrxOverlay::staticMetaObject));
        overlay && overlay->PrintOnTop()) {
        FCurY = 0;
        ShowFrameBand(overlay);
    }
    FIsFirstPage = false;
}

void TfrxEngine::ShowFrameBand(TfrxBand *Band)
{
    ++FPageFrameDepth;
    const auto leave = qScopeGuard([this] { --FPageFrameDepth; });
    ShowBand(Band);
}

void TfrxEngine::BreakAllKeep()
{
    FKept.BreakAllKeep();
}

// A kept block that cannot fit a page is given up; otherwise it moves with
// the new page: cut before the page ends (so the page footer's totals leave
// it out), pasted below the new page's headers, its outline entries along.
void TfrxEngine::NewPage()
{
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    const double pending = FCurBand ? FCurBand->Height() : 0;
    if (FKept.Keeping() && FKept.Height() + pending > GetPageHeight() - FooterHeight() - HeaderHeight())
        BreakAllKeep();
    const TfrxKeptBlock::TCut cut = FKept.Cut();
    FLastBandOnPage = FCurBand;
    EndPage();
    if (FPage->EndlessHeight()) {
        // The page ends where its output ends: the prepared page is stored
        // whole with the used size.
        const int last = pages->Count() - 1;
        if (TfrxReportPage *page = last >= 0 ? pages->GetPage(last) : nullptr) {
            page->SetPaperSize(256);
            page->SetPaperWidth(FPageWidth / fr01cm + FPage->LeftMargin() + FPage->RightMargin());
            page->SetPaperHeight((FooterHeight() + FCurY) / fr01cm + FPage->TopMargin() + FPage->BottomMargin());
            pages->ModifyPage(last, page);
        }
    }
    AddPage();
    if (cut.Kept) {
        const int pastedAt = FKept.Paste(cut, true);
        FSuppressed.ShowMovedSuppressed(cut.Page, cut.From, pastedAt);
        FCurY = pages->GetLastY(0);
    }
    BreakAllKeep();
    FLastBandOnPage = nullptr;
    AddPageOutline(false);
}

void TfrxEngine::NewColumn()
{
    if (FCurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    const TfrxKeptBlock::TCut cut = FKept.Cut();
    FLastBandOnPage = FCurBand;
    EndColumn();
    AddColumn();
    if (cut.Kept) {
        const int pastedAt = FKept.Paste(cut, false);
        FSuppressed.ShowMovedSuppressed(pages->CurPage(), cut.From, pastedAt);
        FCurY = pages->GetLastY(FCurX);
    }
    BreakAllKeep();
    FLastBandOnPage = nullptr;
}

void TfrxEngine::AddColumn()
{
    FSuppressed.ForgetSuppressedOnNewPage();
    ++FCurColumn;
    FCurY = FFirstColumnY;
    // Columns lie at their positions within the column area, which starts at
    // FPageCurX; without a position, one column width after the other.
    const QStringList positions = FPage->ColumnPositions();
    bool ok = false;
    double position = FCurColumn - 1 < positions.size() ? positions[FCurColumn - 1].toDouble(&ok) : 0;
    if (!ok)
        position = (FCurColumn - 1) * FPage->ColumnWidth();
    FCurX = FPageCurX + position * fr01cm;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TfrxHeaderListItem item = FHeaderList.Items(i);
        TfrxBand *band = item.Band;
        if (qobject_cast<TfrxPageHeader *>(band) || qobject_cast<TfrxReportTitle *>(band) ||
            band == FLastBandOnPage || FKept.Holds(band))
            continue;
        FCallFromAddPage = true;
        FCallFromAddColumn = true;
        band->SetOverflow(true);
        ShowBand(band);
        band->SetOverflow(false);
        FCallFromAddPage = false;
        FCallFromAddColumn = false;
    }
}
