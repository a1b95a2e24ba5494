#pragma once
// Exact paper sizes in PDF files written by Qt's PDF writer, which rounds
// page boxes to whole points (A5 would come out 420 x 595 instead of
// 419.528 x 595.276).

#include <QByteArray>
#include <QList>
#include <QSizeF>

// Pdf with the media box of page i set to PagePoints[i] (points), the
// cross-reference offsets moved to match. Pdf is returned unchanged when it
// does not have the expected layout.
QByteArray rudExactPdfMediaBoxes(const QByteArray &Pdf, const QList<QSizeF> &PagePoints);
