#include "report/model/rudPngImage.h"

#include "base/Errors.h"
#include "report/model/rudPictureLimits.h"

#include <png.h>

#include <cstring>

namespace {

const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void failPng(png_image &image, const char *fallback)
{
    const QString reason = (image.warning_or_error & PNG_IMAGE_ERROR) && image.message[0]
                               ? QString::fromLatin1(image.message)
                               : QString::fromLatin1(fallback);
    png_image_free(&image);
    throw EGeneralError(QStringLiteral("Invalid PNG image: %1").arg(reason));
}

} // namespace

bool rudIsPngSignature(const QByteArray &data)
{
    return data.size() >= 8 && std::memcmp(data.constData(), pngSignature, 8) == 0;
}

QImage rudDecodePng(const QByteArray &data)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;

    // The simplified reader below would also complain, but a stream without the
    // signature deserves a plainer message than libpng's.
    if (!rudIsPngSignature(data))
        throw EGeneralError(QStringLiteral("Invalid PNG image: not a PNG signature"));

    if (!png_image_begin_read_from_memory(&image, data.constData(), size_t(data.size())))
        failPng(image, "unreadable header");

    // BGRA in memory is what QImage::Format_ARGB32 holds on little-endian
    // machines; ARGB on big-endian ones.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    image.format = PNG_FORMAT_BGRA;
#else
    image.format = PNG_FORMAT_ARGB;
#endif
    if (!rudPictureSizeAllowed(image.width, image.height)) {
        const QString size = QStringLiteral("%1x%2").arg(image.width).arg(image.height);
        png_image_free(&image);
        throw EGeneralError(QStringLiteral("Invalid PNG image: image size %1 out of range").arg(size));
    }

    QImage result(int(image.width), int(image.height), QImage::Format_ARGB32);
    if (result.isNull())
        failPng(image, "out of memory");
    const png_int_32 stride = png_int_32(result.bytesPerLine());
    if (!png_image_finish_read(&image, nullptr, result.bits(), stride, nullptr))
        failPng(image, "corrupt image data");
    png_image_free(&image);
    return result;
}
