#include "report/render/SystemFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QtEndian>

namespace {

// The byte offset of a table of a TrueType font, or -1.
qsizetype tableOffset(const QByteArray &font, const char *tag, qsizetype minLength)
{
    if (font.size() < 12)
        return -1;
    const auto *data = reinterpret_cast<const uchar *>(font.constData());
    const int tables = qFromBigEndian<quint16>(data + 4);
    for (int i = 0; i < tables && 12 + 16 * (i + 1) <= font.size(); ++i) {
        const uchar *record = data + 12 + 16 * i;
        if (memcmp(record, tag, 4) != 0)
            continue;
        const quint32 offset = qFromBigEndian<quint32>(record + 8);
        const quint32 length = qFromBigEndian<quint32>(record + 12);
        if (length < minLength || qsizetype(offset) + minLength > font.size())
            return -1;
        return qsizetype(offset);
    }
    return -1;
}

// Wine's Tahoma Bold has the regular face's outlines with the bold face's
// advance widths (its bold strokes exist only as bitmaps of a few sizes), so
// as it is, bold text comes out with regular strokes. Its style bits and
// weight class are lowered to semi-bold: the face still stands for bold
// Tahoma (nearest to a bold request) and keeps its widths, and the renderer,
// seeing a lighter face than the bold asked for, thickens the outlines.
// The bitmaps are hidden (their tables renamed) so that text drawn without
// smoothing is thickened from the same outlines instead of twice.
QByteArray withEmboldenedOutlines(QByteArray font)
{
    for (const char *tag : {"EBLC", "EBDT"}) {
        const qsizetype at = font.indexOf(QByteArray(tag, 4));
        if (at >= 12 && (at - 12) % 16 == 0 && at < 12 + 16 * qsizetype(qFromBigEndian<quint16>(font.constData() + 4)))
            font[at] = char(tag[0] | 0x20);
    }
    const qsizetype head = tableOffset(font, "head", 54);
    const qsizetype os2 = tableOffset(font, "OS/2", 64);
    if (head < 0 || os2 < 0)
        return font;
    auto *data = reinterpret_cast<uchar *>(font.data());
    qToBigEndian<quint16>(qFromBigEndian<quint16>(data + head + 44) & ~0x0001, data + head + 44); // macStyle bold
    qToBigEndian<quint16>(600, data + os2 + 4);                                                     // usWeightClass
    qToBigEndian<quint16>(qFromBigEndian<quint16>(data + os2 + 62) & ~0x0020, data + os2 + 62);   // fsSelection bold
    return font;
}

} // namespace

int registerSystemFonts()
{
    // Tahoma and its bold face come with the Wine font package.
    static const struct {
        const char *File;
        bool Embolden;
    } files[] = {
        {"/usr/share/wine/fonts/tahoma.ttf", false},
        {"/usr/share/wine/fonts/tahomabd.ttf", true},
    };
    static int added = -1;
    if (added >= 0)
        return added;
    added = 0;
    for (const auto &entry : files) {
        const QString name = QString::fromLatin1(entry.File);
        // A face used as it is, is read by the font engine from its file
        // when drawn, and only the pages it needs.
        if (!entry.Embolden) {
            if (QFontDatabase::addApplicationFont(name) >= 0)
                ++added;
            continue;
        }
        QFile file(name);
        if (file.open(QIODevice::ReadOnly) && QFontDatabase::addApplicationFontFromData(withEmboldenedOutlines(file.readAll())) >= 0)
            ++added;
    }
    return added;
}
