#pragma once
// Each printer queue's calibration, kept in the program's settings file
// (a section per queue) and handed to print jobs on that queue.

#include "report/render/rudPaperCalibration.h"

#include <QString>

// The limits of a calibration: offsets in millimetres within ±10 in steps
// of 0.05, scales within 0.95..1.05.
constexpr double calibrationMaxOffset = 10, calibrationOffsetStep = 0.05;
constexpr double calibrationMinScale = 0.95, calibrationMaxScale = 1.05;

// The calibration kept for Queue (letter case ignored); none kept: identity.
TfrxPaperCalibration printerCalibration(const QString &Queue);

// Checks Value against the limits and rounds the offsets to their step;
// raises EConvertError with a message for the operator when it is outside.
TfrxPaperCalibration checkedCalibration(const TfrxPaperCalibration &Value);

// Keeps checkedCalibration(Value) for Queue (saved at once, atomically);
// an identity calibration removes the queue's section.
void savePrinterCalibration(const QString &Queue, const TfrxPaperCalibration &Value);

// The calibration as the operator reads it: "смещение X,Y мм, масштаб SX,SY".
QString calibrationText(const TfrxPaperCalibration &Value);
