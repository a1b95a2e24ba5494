#pragma once
// JPEG decoding through libjpeg, for picture objects.

#include <QByteArray>
#include <QImage>

// Decodes a JPEG stream (baseline or progressive; grey, YCbCr, RGB, CMYK or
// YCCK) into a 32-bit opaque image (RGB32). libjpeg's fatal errors never end
// the process: they come back as EGeneralError naming what libjpeg found. A
// stream cut short decodes to what it holds, the rest filled as libjpeg does.
QImage rudDecodeJpeg(const QByteArray &data);

// True when data begins with the JPEG start-of-image marker FF D8.
bool rudIsJpegSignature(const QByteArray &data);
