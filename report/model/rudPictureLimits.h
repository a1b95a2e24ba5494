#pragma once
// The largest picture the decoders accept. A few kilobytes of compressed
// data can announce gigapixels; a picture is refused from its header, before
// anything is allocated for its pixels.

#include <QtGlobal>

// At most this many pixels a side (what 16-bit picture sizes allow)...
constexpr quint64 rudMaxPictureSide = 32767;
// ...and this many pixels in all: 2^26, 256 MB at four bytes a pixel.
constexpr quint64 rudMaxPicturePixels = quint64(1) << 26;
// A picture file is read whole: at most 256 MiB of it, as much as the
// largest picture allowed takes unpacked.
constexpr qint64 rudMaxPictureFileSize = qint64(256) << 20;

// True when a picture of Width x Height pixels may be decoded.
inline bool rudPictureSizeAllowed(quint64 Width, quint64 Height)
{
    return Width > 0 && Height > 0 && Width <= rudMaxPictureSide && Height <= rudMaxPictureSide &&
           Width * Height <= rudMaxPicturePixels;
}
