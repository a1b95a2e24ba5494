#include "report/model/rudPrinterDefaults.h"

#include <cmath>
#include <utility>

namespace {

// A paper no page could be laid out on: a provider that misreads its
// printer must not leave new pages without a size.
bool usable(const TfrxPrinterPaper &paper)
{
    auto sideOk = [](double mm) { return std::isfinite(mm) && mm > 0 && mm < 1e6; };
    return sideOk(paper.PaperWidth) && sideOk(paper.PaperHeight) &&
           (paper.Orientation == poPortrait || paper.Orientation == poLandscape);
}

TfrxPrinterPaperProvider &provider()
{
    static TfrxPrinterPaperProvider installed;
    return installed;
}

} // namespace

void rudSetPrinterPaperProvider(TfrxPrinterPaperProvider Provider)
{
    provider() = std::move(Provider);
}

TfrxPrinterPaper rudDefaultPrinterPaper()
{
    if (const TfrxPrinterPaperProvider &ask = provider()) {
        if (std::optional<TfrxPrinterPaper> paper = ask(); paper && usable(*paper))
            return *paper;
    }
    return {};
}
