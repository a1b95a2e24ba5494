#pragma once
// The system text object: a memo meant for page numbers, dates, totals and
// other values of the engine ("[Page#]", "[SUM(...)]"), edited by the
// designer's system-text editor rather than typed.

#include "report/model/rudMemo.h"

// A memo for system values; it publishes every setting the memo publishes.
class TfrxSysMemoView : public TfrxCustomMemoView {
    Q_OBJECT
    RUD_MEMO_PUBLISHED_PROPERTIES
public:
    explicit TfrxSysMemoView(TfrxComponent *AOwner);
    // The memo's descriptors: the same properties with the same defaults.
    static TfrxPropDescs PropDescs();
};
