#pragma once
// A printer's correction of where it puts the page on the paper, and the
// host's calibration of each queue as a report's print jobs take it.

#include <QString>
#include <functional>

class TfrxReport;

// The page is scaled about the paper's top-left corner, then moved
// (millimetres; positive x to the right, positive y down).
struct TfrxPaperCalibration {
    double OffsetX = 0, OffsetY = 0;
    double ScaleX = 1, ScaleY = 1;
    bool IsIdentity() const { return OffsetX == 0 && OffsetY == 0 && ScaleX == 1 && ScaleY == 1; }
    bool operator==(const TfrxPaperCalibration &) const = default;
};

// The calibration of a printer queue, asked for by the queue's name when a
// job starts on it.
using TfrxPaperCalibrationSource = std::function<TfrxPaperCalibration(const QString &Queue)>;

// Gives Report's print jobs (its prepared pages printed, from the preview
// too) the host's per-queue calibration; empty: none. The preview, the PDF
// and the template are not affected. Kept until the report is destroyed.
void rudSetPaperCalibration(TfrxReport *Report, TfrxPaperCalibrationSource Source);
// What rudSetPaperCalibration gave Report (empty: none).
TfrxPaperCalibrationSource rudPaperCalibration(const TfrxReport *Report);
