#include "report/model/rudJpegImage.h"

#include "base/Errors.h"
#include "report/model/rudPictureLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. This manager jumps back into rudDecodeJpeg instead, carrying the
// message; warnings (corrupt data that libjpeg can step over) are ignored.
struct TJpegErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void jpegErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<TJpegErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

extern "C" void jpegOutputMessage(j_common_ptr) {}

// Converts one decoded scan line to RGB32. Adobe CMYK files store the
// channels inverted, which is what libjpeg hands back for them.
void storeLine(const JSAMPLE *src, QRgb *dst, JDIMENSION width, int components, bool invertedCmyk)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        if (components == 4) {
            int c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
            if (!invertedCmyk) {
                c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
            }
            dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        } else if (components == 3) {
            dst[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
        } else {
            dst[x] = qRgb(src[x], src[x], src[x]);
        }
    }
}

// The part of decoding that runs under setjmp. It holds no object with a
// destructor of its own: everything it fills lives in the caller's frame, so
// a jump back out of libjpeg leaks nothing.
bool decode(jpeg_decompress_struct *cinfo, TJpegErrorManager *err, const QByteArray *data, QImage *image,
            JSAMPLE **line)
{
    if (setjmp(err->Jump))
        return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(data->constData()),
                 static_cast<unsigned long>(data->size()));
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK)
        cinfo->out_color_space = JCS_CMYK;
    else if (cinfo->num_components == 1)
        cinfo->out_color_space = JCS_GRAYSCALE;
    else
        cinfo->out_color_space = JCS_RGB;
    // Refused before libjpeg allocates anything: a corrupt header must not
    // make the decoder ask for gigabytes.
    if (!rudPictureSizeAllowed(cinfo->image_width, cinfo->image_height)) {
        std::snprintf(err->Message, sizeof err->Message, "image size %ux%u out of range",
                      unsigned(cinfo->image_width), unsigned(cinfo->image_height));
        return false;
    }
    jpeg_start_decompress(cinfo);
    *image = QImage(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB32);
    if (image->isNull()) {
        std::snprintf(err->Message, sizeof err->Message, "out of memory");
        return false;
    }
    const int components = cinfo->output_components;
    *line = new JSAMPLE[size_t(cinfo->output_width) * size_t(components)];
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = int(cinfo->output_scanline);
        JSAMPROW rows[1] = {*line};
        if (jpeg_read_scanlines(cinfo, rows, 1) != 1)
            break;
        storeLine(*line, reinterpret_cast<QRgb *>(image->scanLine(y)), cinfo->output_width, components,
                  inverted);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

} // namespace

bool rudIsJpegSignature(const QByteArray &data)
{
    return data.size() >= 2 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8;
}

QImage rudDecodeJpeg(const QByteArray &data)
{
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    TJpegErrorManager err;
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.Base);
    err.Base.error_exit = jpegErrorExit;
    err.Base.output_message = jpegOutputMessage;

    QImage image;
    JSAMPLE *line = nullptr;
    const bool ok = decode(&cinfo, &err, &data, &image, &line);
    jpeg_destroy_decompress(&cinfo);
    delete[] line;
    if (!ok)
        throw EGeneralError(QStringLiteral("Invalid JPEG image: %1").arg(QString::fromLatin1(err.Message)));
    return image;
}
