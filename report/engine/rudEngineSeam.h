#pragma once
// The part of the preparation engine that its collaborators (kept blocks,
// suppressed values, vertical output, sub-reports) reach: the run's public
// state and the few band-walk steps they take part in.

#include <QList>

class QString;
class QVariant;
class TfrxBand;
class TfrxComponent;
class TfrxCustomEngine;
class TfrxDataBand;
class TfrxDataSet;
class TfrxNullBand;
class TfrxReportPage;
class TfrxSubreport;

// What the engine offers its collaborators; the engine implements it
// privately, so nothing else calls these.
class TfrxEngineSeam {
public:
    // The run's report, output position and page size.
    virtual TfrxCustomEngine &State() = 0;
    // Makes Band the band being output (events and expressions see it).
    virtual void SetCurBand(TfrxBand *Band) = 0;
    // The report page being run (a sub-report's page is walked within it).
    virtual TfrxReportPage *CurReportPage() const = 0;
    // Whether output is being collected for a sub-report printed on its
    // band: it has no page edges then.
    virtual bool CollectingOutput() const = 0;
    // The first-level vertical bands of a page's band tree.
    virtual QList<TfrxBand *> PageVBands(TfrxComponent *Page) const = 0;

    // The walk over a data band's records: its data set (nullptr: none),
    // whether the walk takes another record (Counted taken so far),
    // whether the record passes the band's filter (evaluated with Context
    // as the current band), the value of a band's expression, and the
    // outermost group whose condition changed (-1: none).
    virtual TfrxDataSet *BandDataSet(TfrxDataBand *Band) = 0;
    virtual bool WalkGoesOn(TfrxDataBand *Band, TfrxDataSet *Data, int Counted) const = 0;
    virtual bool PassesFilter(TfrxDataBand *Band, TfrxBand *Context) = 0;
    virtual QVariant EvalValue(const QString &Expression) = 0;
    virtual int ChangedGroup(TfrxDataBand *Band) = 0;
    // Whether the run was stopped.
    virtual bool Terminated() const = 0;

    // The band tree of a sub-report's page output from the current position
    // at the sub-report's left, or collected into Output (answering its
    // height) for a sub-report printed on its band.
    virtual void WalkSubreportTree(TfrxSubreport *Subreport) = 0;
    virtual double CollectSubreportTree(TfrxNullBand *Output, TfrxSubreport *Subreport) = 0;

protected:
    ~TfrxEngineSeam() = default;
};
