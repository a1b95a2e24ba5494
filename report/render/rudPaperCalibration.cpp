#include "report/render/rudPaperCalibration.h"

#include "report/model/rudReport.h"

#include <QHash>

namespace {

// The sources by report; an entry leaves with its report.
QHash<const TfrxReport *, TfrxPaperCalibrationSource> &sources()
{
    static QHash<const TfrxReport *, TfrxPaperCalibrationSource> value;
    return value;
}

} // namespace

void rudSetPaperCalibration(TfrxReport *Report, TfrxPaperCalibrationSource Source)
{
    if (!Report)
        return;
    if (!Source) {
        sources().remove(Report);
        return;
    }
    if (!sources().contains(Report))
        QObject::connect(Report, &QObject::destroyed, [Report] { sources().remove(Report); });
    sources().insert(Report, std::move(Source));
}

TfrxPaperCalibrationSource rudPaperCalibration(const TfrxReport *Report) { return sources().value(Report); }
