// The designer window's pages: the tabs (the code tab first), the page
// shown and the code tab's text kept in the report's script.

#include "designer/rudDesgn.h"

#include "designer/rudInsp.h"
#include "designer/rudReportTree.h"
#include "designer/rudRulerScrollArea.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>

int TfrxDesignerForm::PageIndexOf(TfrxPage *Page) const
{
    int index = 0;
    for (TfrxComponent *child : FReport->Objects()) {
        auto *page = qobject_cast<TfrxPage *>(child);
        if (!page || qobject_cast<TfrxDataPage *>(page))
            continue;
        if (page == Page)
            return index;
        ++index;
    }
    return -1;
}

void TfrxDesignerForm::ReloadPages(int Index)
{
    FUpdatingTextBar = true;
    while (FTabs->count() > 0)
        FTabs->removeTab(0);
    FTabs->addTab(rudGet(2104));
    QList<TfrxPage *> pages;
    for (TfrxComponent *child : FReport->Objects()) {
        auto *page = qobject_cast<TfrxPage *>(child);
        if (!page || qobject_cast<TfrxDataPage *>(page))
            continue;
        pages.append(page);
        FTabs->addTab(page->Name());
    }
    FUpdatingTextBar = false;
    if (Index < 0)
        Index = FPage ? PageIndexOf(FPage) : 0;
    if (pages.isEmpty()) {
        SetTabIndex(0);
        return;
    }
    SetTabIndex(qBound(0, Index, int(pages.size()) - 1) + 1);
}

int TfrxDesignerForm::TabIndex() const
{
    return FTabs->currentIndex();
}

void TfrxDesignerForm::SetTabIndex(int Index)
{
    FUpdatingTextBar = true;
    FTabs->setCurrentIndex(Index);
    FUpdatingTextBar = false;
    if (Index <= 0) {
        CodeToScript();
        ReleasePage();
        FStack->setCurrentWidget(FCodeWindow);
    } else {
        TfrxPage *page = nullptr;
        int n = 0;
        for (TfrxComponent *child : FReport->Objects()) {
            auto *p = qobject_cast<TfrxPage *>(child);
            if (!p || qobject_cast<TfrxDataPage *>(p))
                continue;
            if (++n == Index) {
                page = p;
                break;
            }
        }
        SetPage(page);
        FStack->setCurrentWidget(FArea);
    }
    FSelection.Notify();
}

void TfrxDesignerForm::SetPage(TfrxPage *Value)
{
    TfrxCustomDesigner::SetPage(Value);
    RebuildObjects();
    UpdateWorkspaceSettings();
    if (FReportTree)
        FReportTree->UpdateItems();
    if (FInspector)
        FInspector->UpdateObjects();
}

void TfrxDesignerForm::ReleasePage()
{
    TfrxCustomDesigner::SetPage(nullptr);
    FObjects.clear();
    // The parts let go of the page's objects before they may be freed.
    UpdateWorkspaceSettings();
    if (FInspector)
        FInspector->UpdateSelection();
    if (FReportTree)
        FReportTree->UpdateItems();
}

void TfrxDesignerForm::CodeToScript()
{
    if (FReport)
        FReport->SetScriptText(FCodeWindow->toPlainText().split(QLatin1Char('\n')));
}

