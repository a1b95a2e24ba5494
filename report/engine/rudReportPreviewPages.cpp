// The report's prepared pages store, made where its class is known.

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"

TfrxCustomPreviewPages *TfrxReport::PreviewPages()
{
    if (!FPreviewPages) {
        FPreviewPages = std::make_shared<TfrxPreviewPages>(this);
        FPreviewPages->SetEngine(Engine());
    }
    return FPreviewPages.get();
}
