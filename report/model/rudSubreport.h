#pragma once
// The subreport object: a place on a page where another report page of the
// same report is printed.

#include "report/model/rudPage.h"
#include "report/model/rudView.h"

#include <QPointer>

// Prints the bands of Page inside its own rectangle (or, with
// PrintOnParent, on the parent's band as if they were the parent's).
class TfrxSubreport : public TfrxView {
    Q_OBJECT
    Q_PROPERTY(TfrxReportPage *Page READ Page WRITE SetPage)
    Q_PROPERTY(bool PrintOnParent READ PrintOnParent WRITE SetPrintOnParent)
public:
    explicit TfrxSubreport(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    // The page printed here; none once that page is destroyed.
    TfrxReportPage *Page() const { return FPage; }
    void SetPage(TfrxReportPage *Value) { FPage = Value; }
    bool PrintOnParent() const { return FPrintOnParent; }
    void SetPrintOnParent(bool Value) { FPrintOnParent = Value; }

private:
    QPointer<TfrxReportPage> FPage;
    bool FPrintOnParent = false;
};
