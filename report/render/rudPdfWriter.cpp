#include "report/render/rudPdfWriter.h"

#include "report/render/rudPdfEngine.h"
#include "report/render/rudPdfFont.h"

#include <QDateTime>

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Fixed object numbers; the rest are given out in order.
enum { catalogObject = 1, pagesObject, resourcesObject, infoObject, firstFreeObject };

QByteArray ref(int Number)
{
    return QByteArray::number(Number) + " 0 R";
}

// Text for the document information: UTF-16 with its byte-order mark.
QByteArray textString(const QString &Text)
{
    QByteArray out = "<FEFF";
    for (const QChar ch : Text)
        out += QByteArray::number(ch.unicode(), 16).rightJustified(4, '0').toUpper();
    return out + '>';
}

// Width, height and components of a baseline or progressive JPEG (0 when
// no frame header is found).
struct TJpegFrame {
    int Width = 0, Height = 0, Components = 0;
};

TJpegFrame jpegFrame(const QByteArray &Data)
{
    const auto byte = [&Data](qsizetype At) { return At < Data.size() ? uchar(Data[At]) : 0; };
    qsizetype at = 2;
    while (at + 9 < Data.size()) {
        if (byte(at) != 0xFF)
            return {};
        const uchar marker = byte(at + 1);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const int length = (byte(at + 2) << 8) | byte(at + 3);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {(byte(at + 7) << 8) | byte(at + 8), (byte(at + 5) << 8) | byte(at + 6), byte(at + 9)};
        at += 2 + length;
    }
    return {};
}

} // namespace

void rudPdfNumber(QByteArray &Out, double Value, int Decimals)
{
    static const long long powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    Decimals = std::clamp(Decimals, 0, 6);
    if (!std::isfinite(Value))
        Value = 0;
    Value = std::clamp(Value, -1e9, 1e9);
    long long scaled = std::llround(Value * double(powers[Decimals]));
    if (scaled < 0) {
        Out += '-';
        scaled = -scaled;
    }
    long long whole = scaled / powers[Decimals];
    long long fraction = scaled % powers[Decimals];
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole);
    while (n)
        Out += digits[--n];
    if (fraction) {
        int places = Decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        Out += '.';
        char frac[8];
        for (int k = places - 1; k >= 0; --k) {
            frac[k] = char('0' + fraction % 10);
            fraction /= 10;
        }
        Out.append(frac, places);
    }
}

// The one zlib stream, made on first use. Both levels use the same memory
// layout, so a reset stream takes a stream's level before its first byte.
struct TfrxPdfDeflater::TStreams {
    std::unique_ptr<z_stream> Stream;
};

TfrxPdfDeflater::TfrxPdfDeflater() : FStreams(std::make_unique<TStreams>()) {}

TfrxPdfDeflater::~TfrxPdfDeflater()
{
    if (FStreams->Stream)
        deflateEnd(FStreams->Stream.get());
}

bool TfrxPdfDeflater::Deflate(const QByteArray &Data, bool Fast, QByteArray &Out)
{
    std::unique_ptr<z_stream> &stream = FStreams->Stream;
    const int level = Fast ? Z_BEST_SPEED : Z_DEFAULT_COMPRESSION;
    if (!stream) {
        auto made = std::make_unique<z_stream>();
        if (deflateInit(made.get(), level) != Z_OK) {
            Out.resize(0);
            return false;
        }
        stream = std::move(made);
    } else if (deflateReset(stream.get()) != Z_OK || deflateParams(stream.get(), level, Z_DEFAULT_STRATEGY) != Z_OK) {
        Out.resize(0);
        return false;
    }
    // As compress2 does: zlib's counts are 32-bit, so input and output
    // are handed over in pieces of at most UINT_MAX bytes.
    z_stream &s = *stream;
    uLong leftIn = uLong(Data.size()), leftOut = compressBound(leftIn);
    Out.resize(qsizetype(leftOut));
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(Data.constData()));
    s.next_out = reinterpret_cast<Bytef *>(Out.data());
    s.avail_in = s.avail_out = 0;
    int result = Z_OK;
    do {
        if (s.avail_out == 0) {
            s.avail_out = uInt(std::min<uLong>(leftOut, UINT_MAX));
            leftOut -= s.avail_out;
        }
        if (s.avail_in == 0) {
            s.avail_in = uInt(std::min<uLong>(leftIn, UINT_MAX));
            leftIn -= s.avail_in;
        }
        result = deflate(&s, leftIn ? Z_NO_FLUSH : Z_FINISH);
    } while (result == Z_OK);
    if (result != Z_STREAM_END) {
        Out.resize(0);
        return false;
    }
    Out.resize(qsizetype(s.total_out));
    return true;
}

TfrxPdfWriter::TfrxPdfWriter(int Dpi)
    : FDpi(std::max(Dpi, 1)), FPagePoints(595.2756, 841.8898), FEngine(std::make_unique<TfrxPdfPaintEngine>(this))
{
    FPagePixels = FPagePoints * FDpi / 72.0;
    FOut = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    FOffsets.assign(firstFreeObject - 1, 0);
}

TfrxPdfWriter::~TfrxPdfWriter() = default;

QPaintEngine *TfrxPdfWriter::paintEngine() const
{
    return FEngine.get();
}

int TfrxPdfWriter::metric(PaintDeviceMetric Metric) const
{
    switch (Metric) {
    case PdmWidth: return int(std::lround(FPagePixels.width()));
    case PdmHeight: return int(std::lround(FPagePixels.height()));
    case PdmWidthMM: return int(std::lround(FPagePoints.width() * 25.4 / 72));
    case PdmHeightMM: return int(std::lround(FPagePoints.height() * 25.4 / 72));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return FDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

int TfrxPdfWriter::NewObject()
{
    FOffsets.push_back(0);
    return int(FOffsets.size());
}

void TfrxPdfWriter::BeginObject(int Number)
{
    FOffsets[size_t(Number - 1)] = FOut.size();
    FOut += QByteArray::number(Number) + " 0 obj\n";
}

void TfrxPdfWriter::WriteStream(int Number, const QByteArray &Dictionary, const QByteArray &Data, bool Compress,
                                bool Fast)
{
    // The packing buffer stays between streams: a page's content is packed
    // into the room the last page's took.
    const bool deflated = Compress && FDeflater.Deflate(Data, Fast, FPacked);
    const QByteArray &body = deflated ? FPacked : Data;
    BeginObject(Number);
    FOut += "<<" + Dictionary + " /Length " + QByteArray::number(body.size());
    if (deflated)
        FOut += " /Filter /FlateDecode";
    FOut += ">>\nstream\n";
    FOut += body;
    FOut += "\nendstream\nendobj\n";
}

void TfrxPdfWriter::NewPage(const QSizeF &Points)
{
    EndPage();
    FPagePoints = Points;
    FPagePixels = Points * FDpi / 72.0;
    FInPage = true;
    FContent.resize(0);
    FEngine->BeginPage();
}

void TfrxPdfWriter::EndPage()
{
    if (!FInPage)
        return;
    FEngine->EndPage();
    FInPage = false;
    const int content = NewObject();
    // Page content, most of a long report's bytes, is packed for speed.
    WriteStream(content, QByteArray(), FContent, true, true);
    FContent.resize(0); // its room serves the next page
    const int page = NewObject();
    BeginObject(page);
    FOut += "<</Type /Page /Parent " + ref(pagesObject) + " /MediaBox [0 0 ";
    FOut += QByteArray::number(FPagePoints.width(), 'f', 4) + ' ' + QByteArray::number(FPagePoints.height(), 'f', 4);
    FOut += "] /Resources " + ref(resourcesObject) + " /Contents " + ref(content) + ">>\nendobj\n";
    FPageObjects << page;
}

TfrxPdfWriter::TFontUse TfrxPdfWriter::FontFor(const QRawFont &Font)
{
    if (FLastRawFont >= 0 && FRawFonts[FLastRawFont].first == Font)
        return FRawFonts[FLastRawFont].second;
    for (qsizetype i = 0; i < FRawFonts.size(); ++i)
        if (FRawFonts[i].first == Font) {
            FLastRawFont = int(i);
            return FRawFonts[i].second;
        }
    // A face met at a new size or weight: the same face is embedded once.
    const QByteArray key = Font.familyName().toUtf8() + '\0' + Font.styleName().toUtf8() + '\0' + Font.fontTable("head");
    TFontUse use;
    const auto found = FFontsByKey.constFind(key);
    if (found != FFontsByKey.constEnd()) {
        use = {FFonts[size_t(*found)].get(), *found};
    } else {
        auto font = std::make_unique<TfrxPdfFont>(Font);
        if (font->IsEmbeddable()) {
            use = {font.get(), int(FFonts.size())};
            FFonts.push_back(std::move(font));
            FFontsByKey.insert(key, use.Index);
        } else if (FUnembeddable.isEmpty()) {
            FUnembeddable = Font.familyName();
        }
    }
    FRawFonts.append({Font, use});
    FLastRawFont = int(FRawFonts.size() - 1);
    return use;
}

int TfrxPdfWriter::ImageFor(const QImage &Image)
{
    const qint64 key = Image.cacheKey();
    const auto found = FImagesByKey.constFind(key);
    if (found != FImagesByKey.constEnd())
        return *found;
    const int index = int(FImageObjects.size());
    FImageObjects << WriteImage(Image, FPendingJpegKey == key ? FPendingJpeg : QByteArray());
    FImagesByKey.insert(key, index);
    FImagesKept << Image;
    return index;
}

int TfrxPdfWriter::WriteImage(const QImage &Image, const QByteArray &Jpeg)
{
    const QByteArray size = " /Width " + QByteArray::number(Image.width()) + " /Height " +
                            QByteArray::number(Image.height()) + " /BitsPerComponent 8";
    const TJpegFrame frame = jpegFrame(Jpeg);
    if (frame.Width == Image.width() && frame.Height == Image.height() &&
        (frame.Components == 1 || frame.Components == 3)) {
        const int object = NewObject();
        WriteStream(object,
                    "/Type /XObject /Subtype /Image" + size + " /ColorSpace " +
                        (frame.Components == 1 ? "/DeviceGray" : "/DeviceRGB") + " /Filter /DCTDecode",
                    Jpeg, false);
        return object;
    }
    const QImage argb = Image.convertToFormat(QImage::Format_ARGB32);
    const qsizetype pixels = qsizetype(argb.width()) * argb.height();
    QByteArray colour(pixels * 3, Qt::Uninitialized), alpha(pixels, Qt::Uninitialized);
    bool grey = true, opaque = true;
    qsizetype at = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x, ++at) {
            const QRgb p = line[x];
            colour[at * 3] = char(qRed(p));
            colour[at * 3 + 1] = char(qGreen(p));
            colour[at * 3 + 2] = char(qBlue(p));
            alpha[at] = char(qAlpha(p));
            grey = grey && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
            opaque = opaque && qAlpha(p) == 255;
        }
    }
    if (grey) {
        for (qsizetype k = 0; k < pixels; ++k)
            colour[k] = colour[k * 3];
        colour.truncate(pixels);
    }
    QByteArray dictionary = "/Type /XObject /Subtype /Image" + size + " /ColorSpace " +
                            (grey ? QByteArray("/DeviceGray") : QByteArray("/DeviceRGB"));
    if (!opaque) {
        const int mask = NewObject();
        WriteStream(mask, "/Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceGray", alpha, true);
        dictionary += " /SMask " + ref(mask);
    }
    const int object = NewObject();
    WriteStream(object, dictionary, colour, true);
    return object;
}

QByteArray TfrxPdfWriter::Finish()
{
    if (FPageObjects.isEmpty() && !FInPage)
        NewPage(FPagePoints);
    EndPage();
    QByteArray fonts, images;
    for (size_t i = 0; i < FFonts.size(); ++i) {
        const TfrxPdfFont &font = *FFonts[i];
        // CFF outlines go in whole; their glyph numbers serve as CIDs.
        const bool cff = font.IsCff();
        const QByteArray name = (cff ? QByteArray() : font.SubsetTag() + '+') + font.Name().toLatin1();
        const QByteArray file = font.SubsetFile();
        const int fileObject = NewObject();
        WriteStream(fileObject,
                    cff ? QByteArray(" /Subtype /CIDFontType0C") : " /Length1 " + QByteArray::number(file.size()),
                    file, true);
        const int descriptor = NewObject();
        BeginObject(descriptor);
        FOut += "<</Type /FontDescriptor /FontName /" + name + ' ' + font.DescriptorEntries() +
                (cff ? " /FontFile3 " : " /FontFile2 ") + ref(fileObject) + ">>\nendobj\n";
        const int cid = NewObject();
        BeginObject(cid);
        FOut += "<</Type /Font /Subtype " + QByteArray(cff ? "/CIDFontType0" : "/CIDFontType2") + " /BaseFont /" +
                name + " /CIDSystemInfo <</Registry (Adobe) /Ordering (Identity) /Supplement 0>> /FontDescriptor " +
                ref(descriptor) + (cff ? "" : " /CIDToGIDMap /Identity") + " /W " + font.WidthsArray() +
                ">>\nendobj\n";
        const int unicode = NewObject();
        WriteStream(unicode, QByteArray(), font.ToUnicodeCMap(), true);
        const int type0 = NewObject();
        BeginObject(type0);
        FOut += "<</Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding /Identity-H /DescendantFonts [" +
                ref(cid) + "] /ToUnicode " + ref(unicode) + ">>\nendobj\n";
        fonts += " /F" + QByteArray::number(qulonglong(i)) + ' ' + ref(type0);
    }
    for (qsizetype i = 0; i < FImageObjects.size(); ++i)
        images += " /Im" + QByteArray::number(i) + ' ' + ref(FImageObjects[i]);
    BeginObject(resourcesObject);
    FOut += "<</ProcSet [/PDF /Text /ImageB /ImageC] /Font <<" + fonts + ">> /XObject <<" + images +
            ">>>>\nendobj\n";
    BeginObject(pagesObject);
    FOut += "<</Type /Pages /Count " + QByteArray::number(FPageObjects.size()) + " /Kids [";
    for (qsizetype i = 0; i < FPageObjects.size(); ++i)
        FOut += (i ? " " : "") + ref(FPageObjects[i]);
    FOut += "]>>\nendobj\n";
    BeginObject(catalogObject);
    FOut += "<</Type /Catalog /Pages " + ref(pagesObject) + ">>\nendobj\n";
    BeginObject(infoObject);
    FOut += "<<";
    if (!FTitle.isEmpty())
        FOut += "/Title " + textString(FTitle) + ' ';
    FOut += "/Creator " + textString(FCreator) + " /Producer " + textString(QStringLiteral("Quorvel")) +
            " /CreationDate (D:" + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
            "Z)>>\nendobj\n";
    const qsizetype xref = FOut.size();
    FOut += "xref\n0 " + QByteArray::number(qulonglong(FOffsets.size() + 1)) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : FOffsets)
        FOut += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    FOut += "trailer\n<</Size " + QByteArray::number(qulonglong(FOffsets.size() + 1)) + " /Root " +
            ref(catalogObject) + " /Info " + ref(infoObject) + ">>\nstartxref\n" + QByteArray::number(xref) +
            "\n%%EOF\n";
    return std::move(FOut);
}
