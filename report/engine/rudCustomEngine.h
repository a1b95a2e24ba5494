#pragma once
// The engine state that the prepared pages store and expressions read while
// a report is prepared. The preparation engine derives from TfrxCustomEngine
// and fills these fields as it runs; the store and the expressions only read
// them. Scripts see the engine as the object "Engine".

#include "base/DateTime.h"
#include "report/model/rudReport.h"
#include "script/fs_ivariant.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class TfrxComponent;
class TfrxReport;


// Base of the preparation engine: its position on the current page, its
// pass, the rows and the start of the run, the progress calls that the store
// makes for every new page, and the aggregate values.
class TfrxCustomEngine : public QObject {
    Q_OBJECT
    Q_PROPERTY(int CurColumn MEMBER FCurColumn)
    Q_PROPERTY(int CurVColumn MEMBER FCurVColumn)
    Q_PROPERTY(int CurLine MEMBER FCurLine)
    Q_PROPERTY(int CurLineThrough MEMBER FCurLineThrough)
    Q_PROPERTY(double CurX MEMBER FCurX)
    Q_PROPERTY(double CurY MEMBER FCurY)
    Q_PROPERTY(bool FinalPass MEMBER FFinalPass)
    Q_PROPERTY(double PageHeight MEMBER FPageHeight)
    Q_PROPERTY(double PageWidth MEMBER FPageWidth)
    Q_PROPERTY(double StartDate MEMBER FStartDate)
    Q_PROPERTY(double StartTime MEMBER FStartTime)
    Q_PROPERTY(int TotalPages MEMBER FTotalPages)
    Q_PROPERTY(bool SecondScriptCall MEMBER FSecondScriptCall)
public:
    explicit TfrxCustomEngine(TfrxReport *Report = nullptr);
    ~TfrxCustomEngine() override;

    // The band engine's operations, in this order; the base has no bands
    // and does nothing (TfrxEngine, rudEngine.h, implements them).
    // Printable height of the current page.
    virtual double GetPageHeight() { return FPageHeight; }
    virtual void EndPage() {}
    virtual void NewColumn() {}
    virtual void NewPage() {}
    virtual void ShowBand(TfrxComponent *) {}
    // Shows the current page's band of that class, when it has one.
    virtual void ShowBand(const QMetaObject *) {}
    virtual double FooterHeight() { return 0; }
    virtual double FreeSpace() { return 0; }
    // The value of an aggregate function (Name "SUM", "AVG", "MIN", "MAX" or
    // "COUNT") over the source text Expression, for Band (none: the band of
    // the calling object) with Flags. The base keeps no aggregates: Null.
    virtual TfsVariant GetAggregateValue(const QString &Name, const QString &Expression, TfrxComponent *Band,
                                         int Flags);
    // Prepares the report's pages; false when the run did not get past its
    // checks or its dialogs.
    virtual bool Run(bool ARunDialogs, bool AClearLast, TfrxComponent *APage = nullptr);
    virtual double HeaderHeight() { return 0; }
    virtual void BreakAllKeep() {}
    // Shows the report object of that name as a band.
    void ShowBandByName(const QString &BandName);
    // Stops the run at its next check (the report's Terminated).
    void StopReport();
    // EngineOptions.DoublePass of the report.
    bool DoublePass() const;

    // Progress display of the run; the engine passes them on to its report.
    // The store calls ProgressStart from Initialize, Progress with the page
    // number for every new page, and ProgressStop from Finish.
    virtual void ProgressStart(TfrxProgressType Type);
    virtual void Progress(TfrxProgressType Type, int Page);
    virtual void ProgressStop(TfrxProgressType Type);

    // Takes the start date and time ("Date", "Time") from the clock.
    void StartClock();

    TfrxReport *FReport;
    // True while a report is being prepared.
    bool FRunning = false;
    // Current column (1-based) and vertical column.
    int FCurColumn = 0, FCurVColumn = 0;
    // Row of the current data band ("Line") and the row counted through the
    // whole report ("Line#").
    int FCurLine = 0, FCurLineThrough = 0;
    // Output position on the current prepared page, from the top-left corner
    // of the printable area.
    double FCurX = 0;
    double FCurY = 0;
    // Printable size of the current page.
    double FPageHeight = 0, FPageWidth = 0;
    // True in the last (or only) pass.
    bool FFinalPass = true;
    // Page count of the first pass of a double pass, else 0 ("TotalPages#").
    int FTotalPages = 0;
    // Date and time at the start of the run.
    TDateTime FStartDate = 0, FStartTime = 0;
    bool FSecondScriptCall = false;
    // Replaces the modal display of a dialog page: answers whether it was
    // cancelled. Unset, every dialog counts as confirmed.
    std::function<bool(TfrxComponent *DialogPage)> FOnRunDialog;
    // Objects notified after each data row; emptied when the script is prepared.
    QList<QPointer<TfrxComponent>> FNotifyList;
};
