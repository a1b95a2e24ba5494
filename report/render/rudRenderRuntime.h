#pragma once
// The drawing room's run side of a report: the engine's, plus showing the
// prepared pages in a preview and choosing the printer; and the standard
// services a program hands its reports.

#include "report/engine/rudEngineRuntime.h"

// A report's run side that also shows and prints.
class TfrxRenderRuntime : public TfrxEngineRuntime {
public:
    using TfrxEngineRuntime::TfrxEngineRuntime;
    void ShowReport(bool ClearLastReport) override;
    void ShowPreparedReport() override;
    void SelectPrinter() override;
};

// The engine's services with this room's run side, view painter, drawing
// and printing of prepared pages, progress window and printer paper. The
// designer adds its own (rudDesignerServices).
TfrxServices rudStandardServices();
// The standard services as one shared record, made on the first call; a
// program hands it to each report it makes.
std::shared_ptr<const TfrxServices> rudSharedStandardServices();
