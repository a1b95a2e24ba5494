#include "report/model/rudPrinterDefaults.h"

#include <cmath>

namespace {

// A paper no page could be laid out on: a provider that misreads its
// printer must not leave new pages without a size.
bool usable(const TfrxPrinterPaper &paper)
{
    auto sideOk = [](double mm) { return std::isfinite(mm) && mm > 0 && mm < 1e6; };
    return sideOk(paper.PaperWidth) && sideOk(paper.PaperHeight) &&
           (paper.Orientation == poPortrait || paper.Orientation == poLandscape);
}

} // namespace

TfrxPrinterPaper rudDefaultPrinterPaper(const TfrxPrinterPaperProvider &Provider)
{
    if (Provider) {
        if (std::optional<TfrxPrinterPaper> paper = Provider(); paper && usable(*paper))
            return *paper;
    }
    return {};
}
