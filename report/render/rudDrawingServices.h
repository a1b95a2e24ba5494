#pragma once
// The services of a report prepared and drawn without any window: what a
// command that only writes a PDF needs of the drawing room.

#include "report/model/rudServices.h"

#include <memory>

// The engine's services with this room's view painter and drawing of
// prepared pages; no preview, printing, printer paper or progress window.
// The standard services build on them (rudStandardServices).
TfrxServices rudDrawingServices();
// The drawing services as one shared record, made on the first call.
std::shared_ptr<const TfrxServices> rudSharedDrawingServices();
