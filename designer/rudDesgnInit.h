#pragma once
// Start-up of the designer room: what the program calls once so that the
// designer can be opened from the report and from the preview.

#include "report/model/rudServices.h"

#include <memory>

// Registers the designer's property and component editors. Calling it again
// does nothing.
void rudDesignerInit();
// The standard services (rudStandardServices) with the designer's: opening
// the designer on a report and on a prepared page's copy from the preview.
TfrxServices rudDesignerServices();
// The designer services as one shared record, made on the first call.
std::shared_ptr<const TfrxServices> rudSharedDesignerServices();
