#pragma once
// The current printer's default paper, as new report pages take it
// (TfrxReportPage::SetDefaults). The printing layer lives in a room above
// this one: its provider, one of the report's services, asks the real
// printer. Whenever there is no printer to ask, the default is A4 portrait,
// the paper a report page is constructed with.

#include "report/model/rudEnums.h"

#include <functional>
#include <optional>

// A printer's default paper: the platform paper code (256 for a size of its
// own), the sheet's width and height in millimetres as the printer feeds it
// in its default orientation, and that orientation.
struct TfrxPrinterPaper {
    int PaperSize = 9;
    double PaperWidth = 210;
    double PaperHeight = 297;
    TPrinterOrientation Orientation = poPortrait;
};

// Answers the current printer's default paper, or nothing when there is no
// printer to ask.
using TfrxPrinterPaperProvider = std::function<std::optional<TfrxPrinterPaper>()>;

// Provider's answer; A4 portrait without a provider, when it has no printer,
// or when its paper has no usable size.
TfrxPrinterPaper rudDefaultPrinterPaper(const TfrxPrinterPaperProvider &Provider);
