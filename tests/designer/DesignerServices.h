#pragma once
// A report with the designer's services (drawing, printing, preview and the
// designer itself), as the program hands its reports.

#include "designer/rudDesgnInit.h"
#include "report/model/rudReport.h"

class TDesignerReport : public TfrxReport {
public:
    TDesignerReport() { SetServices(rudSharedDesignerServices()); }
};
