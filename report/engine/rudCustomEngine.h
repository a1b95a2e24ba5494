#pragma once
// The engine state the prepared pages store reads while a report is
// prepared. The preparation engine derives from TfrxCustomEngine and fills
// these fields as it runs; the store only reads them.

// What a progress notification is about.
enum TfrxProgressType { ptRunning, ptExporting, ptPrinting };

// Base of the preparation engine: its position on the current page, its pass
// and the progress calls that the store makes for every new page.
class TfrxCustomEngine {
public:
    virtual ~TfrxCustomEngine();

    // True while a report is being prepared (the store's page cache is
    // then bypassed, as pages change).
    bool FRunning = false;
    // Output position on the current prepared page, from the top-left corner
    // of the printable area.
    double FCurX = 0;
    double FCurY = 0;
    // True in the last (or only) pass.
    bool FFinalPass = true;
    // Page count of the first pass of a double pass, else 0.
    int FTotalPages = 0;

    // Progress display of the run; the engine passes them on to its report.
    // The store calls ProgressStart from Initialize, Progress with the page
    // number for every new page, and ProgressStop from Finish.
    virtual void ProgressStart(TfrxProgressType) {}
    virtual void Progress(TfrxProgressType, int) {}
    virtual void ProgressStop(TfrxProgressType) {}
};
