#pragma once
// PNG decoding through libpng, shared by the entry window's booklet pages and
// by picture objects.

#include <QByteArray>
#include <QImage>

// Decodes a whole PNG stream into a 32-bit image with alpha (ARGB32).
// Throws EGeneralError naming what libpng found wrong when the bytes are not
// a complete, valid PNG stream (the image is never half-filled).
QImage rudDecodePng(const QByteArray &data);

// True when data begins with the eight-byte PNG signature.
bool rudIsPngSignature(const QByteArray &data);
