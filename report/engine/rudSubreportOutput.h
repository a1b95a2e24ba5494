#pragma once
// Sub-reports: the band trees of other report pages printed below a band,
// on a band, or in the flow of a page.

#include <QList>

class TfrxBand;
class TfrxComponent;
class TfrxEngineSeam;
class TfrxNullBand;
class TfrxReportPage;
class TfrxSubreport;

// Decides which sub-reports come out, when and where, and keeps a page from
// printing itself through a sub-report; the engine walks their band trees.
class TfrxSubreportOutput {
public:
    explicit TfrxSubreportOutput(TfrxEngineSeam &Engine);

    // The sub-reports printed below Band, after it.
    void CheckSubReports(TfrxBand *Band);
    // The sub-reports printed on Band, while it is evaluated: their output
    // becomes part of the band, which grows with it.
    void DoSubReports(TfrxBand *Band);
    // Sub-reports lying directly on a report page take their place in the
    // page's flow: the walk of the page's first-level data bands meets them
    // by their designed top (see rudSubreportOutput.cpp).
    struct TPageFlow {
        // Not yet output, top to bottom.
        QList<TfrxSubreport *> Pending;
        // Designed tops count from OriginY on prepared page OriginPage.
        double OriginY = 0;
        int OriginPage = -1;
    };
    // The sub-reports on Obj when it is a report page, none otherwise.
    TPageFlow StartPageFlow(TfrxComponent *Obj);
    // Outputs the pending sub-reports designed above Next (a first-level
    // data band of the page), or all of them when Next is nullptr.
    void ShowPageSubreports(TPageFlow &Flow, TfrxBand *Next);

private:
    // Whether the band tree of Page may be walked for a sub-report now: not
    // while it is being walked already (a page printing itself).
    bool CanWalkSubreport(TfrxReportPage *Page) const;
    void WalkSubreport(TfrxSubreport *Subreport);
    // The sub-report's output collected into Output; answers its height.
    double RunSubreportOnParent(TfrxNullBand *Output, TfrxSubreport *Subreport);

    TfrxEngineSeam &FEngine;
    // The sub-report pages whose band trees are being walked, outermost first.
    QList<TfrxReportPage *> FSubreportPath;
};
