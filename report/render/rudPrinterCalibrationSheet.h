#pragma once
// The printer calibration sheet: an A5 page with a vernier pair at each
// corner and at the centre, printed uncalibrated so that the readings
// measure the printer itself; and the calibration the readings stand for.

#include "report/render/rudPaperCalibration.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <optional>

// One mark of the sheet: its caption and the designed place of its zero
// lines (millimetres from the paper's left and top edges).
struct TfrxCalibrationMark {
    QString Caption;
    QPointF Designed;
};

// The sheet's paper (A5 portrait), millimetres.
constexpr double calibrationSheetWidth = 148, calibrationSheetHeight = 210;
// Vernier ticks: 11 ticks 0.9 mm apart against a ruler's millimetres, so a
// reading resolves 0.1 mm; each mark is read within ±5 mm of its place.
constexpr double calibrationVernierPitch = 0.9;
constexpr int calibrationVernierTicks = 11;

// The five marks: top left, top right, centre, bottom left, bottom right.
const QList<TfrxCalibrationMark> &rudCalibrationMarks();

// What the operator measured at one mark: the distance of its vertical
// zero line from the paper's left edge (X) and of its horizontal one from
// the top edge (Y), in millimetres; either may be missing.
struct TfrxCalibrationReading {
    std::optional<double> X, Y;
};

// The correction that puts the marks back at their designed places:
// Readings (one per mark, in rudCalibrationMarks' order) are fitted per
// axis as measured = s * designed + o (least squares; with readings at one
// place only, s = 1), and the correction undoes that: scale 1/s, offset
// -o/s. Nothing measured along an axis leaves it as it is.
TfrxPaperCalibration rudCalibrationFromReadings(const QList<TfrxCalibrationReading> &Readings);

// Prints the sheet on Queue through the print loop without any
// calibration. Caption heads the page. False when the job is not started
// (no such queue, no printers: the message has been shown).
bool rudPrintCalibrationSheet(const QString &Queue, const QString &Caption);
