#pragma once
// What the rooms above the model provide to a report: its run side, the
// drawing of objects, the expansion of their texts, printing, progress
// windows and the designer. The program builds one record at start-up (the
// drawing room fills the standard services, the designer adds its own) and
// hands it to its reports; a report loaded on behalf of another shares its
// record. A service a report needs and does not have raises
// EMissingService naming it.

#include "report/model/rudPrinterDefaults.h"

#include "base/Errors.h"

#include <functional>
#include <memory>

class QObject;
class TfrxCanvas;
class TfrxComponent;
class TfrxCustomCompressor;
class TfrxDataFieldSource;
class TfrxExpansionEngine;
class TfrxPictureEngine;
class TfrxPreviewPages;
class TfrxProgressWindow;
class TfrxReport;
class TfrxReportRuntime;
class TfrxViewPainter;

// The services one report reaches; an empty member is a service not offered.
struct TfrxServices {
    // Makes the run side of a report (preparation, script, showing, printing).
    std::function<std::unique_ptr<TfrxReportRuntime>(TfrxReport *Report)> MakeRuntime;
    // Draws views and lays memo texts out with real fonts.
    std::shared_ptr<TfrxViewPainter> ViewPainter;
    // Expands the texts of views while a report is prepared.
    std::shared_ptr<TfrxExpansionEngine> ExpansionEngine;
    // Expands picture links, reads binary fields, numbers prepared images.
    std::shared_ptr<TfrxPictureEngine> PictureEngine;
    // Finds data sets and reads the fields of their current records.
    std::shared_ptr<TfrxDataFieldSource> DataFieldSource;
    // The current printer's default paper, for new pages.
    TfrxPrinterPaperProvider PrinterPaper;
    // Draws page Index of prepared pages on Canvas with scale and offset.
    std::function<void(TfrxPreviewPages *Pages, int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY,
                       double OffsetX, double OffsetY)>
        DrawPage;
    // Prints prepared pages; false when nothing was printed.
    std::function<bool(TfrxPreviewPages *Pages)> PrintPages;
    // Makes a progress window, or nullptr when none can be shown.
    std::function<std::unique_ptr<TfrxProgressWindow>()> ProgressWindow;
    // Makes the compressor of prepared-report files; none: plain XML.
    std::function<std::unique_ptr<TfrxCustomCompressor>()> Compressor;
    // Opens the designer on a report (see TfrxReport::DesignReport).
    std::function<void(TfrxReport *Report, bool Modal)> DesignReport;
    // Opens the designer on a prepared page's copy from the preview, with
    // Parent as its owner window; true when the copy was changed.
    std::function<bool(TfrxReport *Report, QObject *Parent)> DesignPreviewPage;
};

// The services of Component's report; an empty record for an object of no
// report.
const TfrxServices &rudServicesOf(const TfrxComponent *Component);

// Raises EMissingService naming the service.
[[noreturn]] void rudMissingService(const char *Name);

// Service itself, or EMissingService naming it when it is empty.
template <class T>
const T &rudNeedService(const T &Service, const char *Name)
{
    if (!Service)
        rudMissingService(Name);
    return Service;
}
