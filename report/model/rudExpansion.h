#pragma once
// The seam through which visible objects reach the preparation engine while
// a report is prepared. The engine lives in a room above this one and
// installs its implementation at start-up (rudEngineInit); without one, the
// objects keep their design texts.

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

// Installs the engine (nullptr removes it); not owned.
void rudSetExpansionEngine(TfrxExpansionEngine *Engine);
TfrxExpansionEngine *rudExpansionEngine();
