#pragma once
// The seam through which visible objects reach the preparation engine while
// a report is prepared. The engine lives in a room above this one and offers
// its implementation as one of the report's services (rudServices.h).

class TfrxComponent;
class TfrxView;
class TfrxCustomMemoView;

// What views need from the preparation engine.
class TfrxExpansionEngine {
public:
    virtual ~TfrxExpansionEngine() = default;
    // Sender is now the object being processed (the script variable "Self").
    virtual void BeforePrint(TfrxView *Sender) = 0;
    // Expands Sender's TagStr and hyperlink.
    virtual void GetViewData(TfrxView *Sender) = 0;
    // Turns a memo's design text into its printed text (after the view part).
    virtual void GetMemoData(TfrxCustomMemoView *Sender) = 0;
};

// The expansion engine of Component's report; EMissingService when the report
// has none. nullptr for an object of no report (the engine's own temporary
// bands): it has nothing to expand.
TfrxExpansionEngine *rudExpansionOf(const TfrxComponent *Component);
