// imagestrips: draws the engine's toolbar, preview, object and wizard image
// strips and writes each as a gzip-compressed BMP, the form the string-table
// unit unpacks at run time. Usage: imagestrips <output folder>
//
// Every cell's background is the key colour (olive, 128/128/0), which the
// loader makes transparent from each cell's bottom-left pixel; drawings
// never use that colour.

#include "base/Errors.h"
#include "base/SafeSave.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <zlib.h>

namespace {

const QColor Key(128, 128, 0);
const QColor Ink(40, 40, 40), Paper(250, 250, 250), Blue(40, 90, 190), Red(200, 40, 40),
    Green(30, 140, 60), Yellow(240, 200, 40), Grey(150, 150, 150), Brown(150, 100, 40);

using TDraw = std::function<void(QPainter &)>;

void page(QPainter &p, QRectF r = QRectF(3.5, 1.5, 9, 13))
{
    p.setPen(Ink);
    p.setBrush(Paper);
    p.drawRect(r);
}
void lines(QPainter &p, double x, double y, int n, double w)
{
    p.setPen(Grey);
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + 2 * i), QPointF(x + w, y + 2 * i));
}
void arrow(QPainter &p, bool left, bool bar)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Blue);
    QPolygonF tri;
    if (left)
        tri << QPointF(11, 3) << QPointF(11, 13) << QPointF(5, 8);
    else
        tri << QPointF(5, 3) << QPointF(5, 13) << QPointF(11, 8);
    p.drawPolygon(tri);
    if (bar)
        p.drawRect(left ? QRectF(3, 3, 2, 10) : QRectF(11, 3, 2, 10));
}
void lens(QPainter &p, int sign)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QRectF(2.5, 2.5, 8, 8));
    p.setPen(QPen(Brown, 2.5));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    p.setPen(QPen(Ink, 1.2));
    if (sign != 0)
        p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
    if (sign > 0)
        p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
}
void printer(QPainter &p)
{
    page(p, QRectF(4.5, 1.5, 7, 6));
    p.setPen(Ink);
    p.setBrush(Grey);
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(Green);
    p.drawPoint(QPointF(12.5, 8.5));
}
void folder(QPainter &p)
{
    p.setPen(Ink);
    p.setBrush(Yellow);
    QPolygonF f;
    f << QPointF(1.5, 4.5) << QPointF(6, 4.5) << QPointF(7.5, 6) << QPointF(14.5, 6) << QPointF(14.5, 13.5)
      << QPointF(1.5, 13.5);
    p.drawPolygon(f);
}
void disk(QPainter &p)
{
    p.setPen(Ink);
    p.setBrush(Blue);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 2.5, 7, 4));
    p.setBrush(Grey);
    p.drawRect(QRectF(5.5, 9.5, 5, 4));
}
void pencil(QPainter &p)
{
    p.setPen(Ink);
    p.setBrush(Yellow);
    QPolygonF pen;
    pen << QPointF(3, 13) << QPointF(4, 10) << QPointF(11, 3) << QPointF(13, 5) << QPointF(6, 12);
    p.drawPolygon(pen);
}
void tree(QPainter &p)
{
    p.setPen(Ink);
    p.drawLine(QPointF(4.5, 3), QPointF(4.5, 12.5));
    for (double y : {5.5, 9.5, 12.5}) {
        p.drawLine(QPointF(4.5, y), QPointF(7, y));
        p.fillRect(QRectF(7.5, y - 1.5, 6, 3), Blue);
    }
    p.fillRect(QRectF(2.5, 1.5, 4, 3), Blue);
}
void thumbs(QPainter &p)
{
    for (int i = 0; i < 4; ++i)
        page(p, QRectF(2.5 + (i % 2) * 6, 1.5 + (i / 2) * 7, 5, 6));
}
void letter(QPainter &p, const QColor &c, int shape)
{
    // Generic glyphs for commands without a picture of their own: a coloured
    // tile with one of a few marks, so that neighbouring cells differ.
    p.setPen(Ink);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(QPen(Paper, 1.6));
    p.setBrush(Qt::NoBrush);
    switch (shape % 6) {
    case 0: p.drawEllipse(QRectF(5, 5, 6, 6)); break;
    case 1: p.drawLine(QPointF(4, 8), QPointF(12, 8)); p.drawLine(QPointF(8, 4), QPointF(8, 12)); break;
    case 2: p.drawRect(QRectF(5, 5, 6, 6)); break;
    case 3: p.drawLine(QPointF(4, 4), QPointF(12, 12)); p.drawLine(QPointF(12, 4), QPointF(4, 12)); break;
    case 4: p.drawLine(QPointF(4, 6), QPointF(12, 6)); p.drawLine(QPointF(4, 10), QPointF(12, 10)); break;
    default: p.drawPolyline(QPolygonF() << QPointF(4, 11) << QPointF(8, 5) << QPointF(12, 11)); break;
    }
}

QImage strip(const QList<TDraw> &cells, int size, int perRow)
{
    const int rows = (int(cells.size()) + perRow - 1) / perRow;
    QImage image(size * perRow, size * rows, QImage::Format_RGB32);
    image.fill(Key);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < cells.size(); ++i) {
        p.save();
        p.translate((i % perRow) * size, (i / perRow) * size);
        p.scale(size / 16.0, size / 16.0);
        p.setClipRect(QRectF(0, 0, 16, 15));   // the bottom-left key pixel stays free
        cells[i](p);
        p.restore();
    }
    return image;
}

// A gzip member with the original file name, deflated by zlib.
QByteArray gzip(const QByteArray &data, const QByteArray &name)
{
    QByteArray out("\x1f\x8b\x08\x08\0\0\0\0\x02\x03", 10);
    out += name;
    out += '\0';
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray body(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(body.data());
    z.avail_out = uInt(body.size());
    deflate(&z, Z_FINISH);
    body.resize(int(z.total_out));
    deflateEnd(&z);
    out += body;
    const uLong crc = crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.constData()),
                            uInt(data.size()));
    for (uLong v : {crc, uLong(data.size())})
        for (int i = 0; i < 4; ++i)
            out += char((v >> (8 * i)) & 0xFF);
    return out;
}

bool writeStrip(const QString &dir, const QString &name, const QImage &image)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return false;
    try {
        saveFileAtomically(dir + u'/' + name + QStringLiteral(".bmp.gz"), gzip(bmp, (name + QStringLiteral(".bmp")).toLatin1()));
    } catch (const Exception &e) {
        fprintf(stderr, "imagestrips: %s\n", e.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: imagestrips <output folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    auto tile = [](QColor c, int shape) { return TDraw([c, shape](QPainter &p) { letter(p, c, shape); }); };

    // Preview toolbar, indexes as the preview window uses them.
    QList<TDraw> preview = {
        folder,                                                          // 0 open
        disk,                                                            // 1 save
        printer,                                                         // 2 print
        [](QPainter &p) { page(p); lines(p, 5, 4, 5, 6); },              // 3 page
        [](QPainter &p) { lens(p, 0); },                                 // 4 find
        thumbs,                                                          // 5 thumbnails
        [](QPainter &p) { page(p); p.fillRect(QRectF(5, 4, 6, 4), Blue); }, // 6 picture page
        [](QPainter &p) { page(p); p.setPen(Red); p.drawRect(QRectF(5.5, 3.5, 5, 9)); }, // 7 page settings
        [](QPainter &p) { arrow(p, true, true); },                       // 8 first
        [](QPainter &p) { arrow(p, true, false); },                      // 9 prior
        [](QPainter &p) { arrow(p, false, false); },                     // 10 next
        [](QPainter &p) { arrow(p, false, true); },                      // 11 last
        tree,                                                            // 12 outline
        [](QPainter &p) { page(p); lines(p, 5, 4, 3, 6); },              // 13 text page
        [](QPainter &p) { lens(p, 0); },                                 // 14 zoom
        [](QPainter &p) { lens(p, 1); },                                 // 15 zoom in
        [](QPainter &p) { lens(p, -1); },                                // 16 zoom out
        tile(Green, 0), tile(Blue, 1), tile(Red, 2), tile(Brown, 3),     // 17-20 print modes
        [](QPainter &p) { page(p); pencil(p); },                         // 21 edit page
        [](QPainter &p) { p.setPen(QPen(Ink, 1.5)); p.drawRect(QRectF(2.5, 2.5, 11, 10));
                          p.fillRect(QRectF(2.5, 2.5, 11, 2), Blue); },  // 22 full screen
        [](QPainter &p) { p.setPen(QPen(Red, 2)); p.drawLine(4, 4, 12, 12); p.drawLine(12, 4, 4, 12); }, // 23 close
    };

    QList<TDraw> designer = {folder, disk, printer, [](QPainter &p) { page(p); }, [](QPainter &p) { lens(p, 0); },
                             pencil, tree, thumbs};
    const QColor palette[] = {Blue, Green, Red, Brown, Ink, Grey};
    for (int i = 0; i < 56; ++i)
        designer.append(tile(palette[i % 6], i));

    QList<TDraw> objects = {
        [](QPainter &p) { p.setPen(Ink); p.drawLine(4, 3, 4, 13); p.drawLine(2, 12, 7, 12); },   // 0 arrow/select
        [](QPainter &p) { page(p); lines(p, 5, 4, 5, 6); },                                     // 1 text
        [](QPainter &p) { page(p); p.fillRect(QRectF(5, 5, 6, 6), Green); },                    // 2 picture
        [](QPainter &p) { p.setPen(QPen(Ink, 1.5)); p.drawLine(3, 13, 13, 3); },                // 3 line
        [](QPainter &p) { p.setPen(Ink); p.setBrush(Yellow); p.drawRect(QRectF(2.5, 4.5, 11, 7)); }, // 4 shape
        [](QPainter &p) { p.fillRect(QRectF(1, 3, 14, 4), Blue); p.fillRect(QRectF(1, 9, 14, 4), Grey); }, // 5 band
    };
    for (int i = 0; i < 34; ++i)
        objects.append(tile(palette[(i + 2) % 6], i + 3));

    QList<TDraw> wizards;
    for (int i = 0; i < 12; ++i)
        wizards.append([i, c = palette[i % 6]](QPainter &p) { page(p); letter(p, c, i); });

    bool ok = writeStrip(dir, QStringLiteral("PreviewButtons"), strip(preview, 16, 24))
              && writeStrip(dir, QStringLiteral("DesgnButtons"), strip(designer, 16, 32))
              && writeStrip(dir, QStringLiteral("ObjectButtons"), strip(objects, 16, 20))
              && writeStrip(dir, QStringLiteral("WizardButtons"), strip(wizards, 32, 6));
    if (!ok) {
        fprintf(stderr, "imagestrips: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
