// Registration of the page options and memo editors as component editors.

#include "designer/rudPageMemoEditors.h"

#include "designer/rudEditMemo.h"
#include "designer/rudEditPage.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"

void rudRegisterPageMemoEditors()
{
    static const bool registered = [] {
        // A sub-report's page has no page options of its own: it takes those
        // of the page its sub-report object lies on.
        rudRegisterComponentEditor(&TfrxReportPage::staticMetaObject,
                                   [](TfrxComponent *Component, TfrxCustomDesigner *Designer)
                                       -> std::unique_ptr<TfrxComponentEditor> {
                                       if (rudIsSubreportPage(qobject_cast<TfrxReportPage *>(Component)))
                                           return nullptr;
                                       return std::make_unique<TfrxPageEditor>(Component, Designer);
                                   });
        rudRegisterComponentEditor(&TfrxMemoView::staticMetaObject,
                                   [](TfrxComponent *Component, TfrxCustomDesigner *Designer)
                                       -> std::unique_ptr<TfrxComponentEditor> {
                                       return std::make_unique<TfrxMemoEditor>(Component, Designer);
                                   });
        return true;
    }();
    (void)registered;
}
