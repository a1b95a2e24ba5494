#pragma once
// Decoders behind TfrxGraphic that have no public use of their own.

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decodes a Windows icon file (.ico): the largest image it holds, in its
// richest colour depth, with its transparency (ARGB32). Entries may be
// device-independent bitmaps of 1, 4, 8, 24 or 32 bits or PNG streams.
// Throws EGeneralError when the file holds no decodable image.
QImage rudDecodeIcon(const QByteArray &data);

// Size in pixels at 96 per inch that a metafile's header announces
// (placeable Windows metafile or enhanced metafile); 0 x 0 when unknown.
QSize rudMetafileSize(const QByteArray &data);

// Little-endian readers over a byte array; 0 past its end.
inline quint32 rudLE16(const QByteArray &d, qint64 at)
{
    if (at < 0 || at + 2 > d.size())
        return 0;
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8;
}
inline quint32 rudLE32(const QByteArray &d, qint64 at)
{
    if (at < 0 || at + 4 > d.size())
        return 0;
    return rudLE16(d, at) | rudLE16(d, at + 2) << 16;
}
