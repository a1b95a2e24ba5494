#pragma once
// The report pages of a template as print pages, each drawn as designed
// (objects on the page, texts as written): print jobs of the tests that need
// no preparation.

#include "report/render/rudPrintJob.h"

#include <QList>

// See the file comment; the pages stay owned by the report.
class TfrxTemplatePageSource final : public TfrxPrintPageSource {
public:
    explicit TfrxTemplatePageSource(TfrxReport *Report);
    int Count() override { return int(FPages.size()); }
    TfrxReportPage *Page(int Index) override { return FPages.at(Index); }
    int IndexOf(TfrxReportPage *Page) const { return int(FPages.indexOf(Page)); }
    void DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY,
                  int CopyNo) override;
    void SetPrintScale(double Value) override { FPrintScale = Value; }

private:
    QList<TfrxReportPage *> FPages;
    double FPrintScale = 1;
};
