#include "report/render/rudPdfBoxes.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

QByteArray rudExactPdfMediaBoxes(const QByteArray &Pdf, const QList<QSizeF> &PagePoints)
{
    static const QByteArray key = "/MediaBox [";
    // Each replacement: where it starts in the original and how much it grows.
    std::vector<std::pair<qsizetype, qsizetype>> shifts;
    QByteArray out;
    out.reserve(Pdf.size() + 64 * PagePoints.size());
    qsizetype from = 0;
    for (const QSizeF &size : PagePoints) {
        const qsizetype at = Pdf.indexOf(key, from);
        if (at < 0)
            return Pdf;
        const qsizetype close = Pdf.indexOf(']', at);
        if (close < 0)
            return Pdf;
        const QByteArray box = "0 0 " + QByteArray::number(size.width(), 'f', 4) + ' ' +
                               QByteArray::number(size.height(), 'f', 4);
        const qsizetype oldStart = at + key.size();
        out += Pdf.mid(from, oldStart - from);
        out += box;
        shifts.emplace_back(oldStart, box.size() - (close - oldStart));
        from = close;
    }
    out += Pdf.mid(from);
    // The replacements lie in file order: an offset moves by the growth of
    // those before it, found by halving (a page has a few objects each, so
    // a long report has many thousands of both).
    std::vector<qsizetype> grown(shifts.size() + 1, 0);
    for (size_t i = 0; i < shifts.size(); ++i)
        grown[i + 1] = grown[i] + shifts[i].second;
    auto moved = [&](qsizetype offset) {
        const auto before = std::lower_bound(shifts.begin(), shifts.end(), offset,
                                             [](const auto &shift, qsizetype at) { return shift.first < at; });
        return offset + grown[size_t(before - shifts.begin())];
    };
    // The cross-reference table: "xref", "0 N", then N entries of 20 bytes.
    const qsizetype startxref = out.lastIndexOf("startxref");
    const qsizetype xref = out.lastIndexOf("\nxref", startxref) + 1;
    if (startxref < 0 || xref <= 0)
        return Pdf;
    const qsizetype entries = out.indexOf('\n', xref + 5) + 1;
    const QList<QByteArray> range = out.mid(xref + 5, entries - xref - 6).trimmed().split(' ');
    const qsizetype count = range.size() == 2 ? range[1].toLongLong() : 0;
    for (qsizetype at = entries; at < entries + 20 * count && at + 20 <= startxref; at += 20) {
        if (out.at(at + 17) != 'n')
            continue;
        bool ok = false;
        const qsizetype offset = out.mid(at, 10).toLongLong(&ok);
        if (!ok)
            return Pdf;
        out.replace(at, 10, QByteArray::number(moved(offset)).rightJustified(10, '0'));
    }
    const qsizetype number = out.indexOf('\n', startxref) + 1;
    const qsizetype numberEnd = out.indexOf('\n', number);
    if (number <= 0 || numberEnd < 0)
        return Pdf;
    out.replace(number, numberEnd - number, QByteArray::number(moved(out.mid(number, numberEnd - number).toLongLong())));
    return out;
}
