// Group lists in CSV: the encoding and the delimiter found from the bytes,
// then fields split by the usual quoting rules (a quoted field may hold the
// delimiter, doubled quotes and line breaks).

#include "records/GroupList_p.h"

#include "base/CodePages.h"
#include "base/TextEncoding.h"

namespace {

// The delimiter: the most frequent of semicolon, comma and tab outside
// quotes in the first lines (more than one, for a title line above the
// table); a semicolon wins a tie: Russian spreadsheets write it, and their
// decimal comma makes commas common in the data.
QChar detectDelimiter(const QString &Text)
{
    constexpr int LinesLooked = 5;
    int semicolons = 0, commas = 0, tabs = 0, lines = 0;
    bool quoted = false;
    for (QChar c : Text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\n' && ++lines == LinesLooked)
            break;
        else if (c == u';')
            ++semicolons;
        else if (c == u',')
            ++commas;
        else if (c == u'\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return u'\t';
    return commas > semicolons ? u',' : u';';
}

// The text of the bytes: a byte-order mark or valid UTF-8 says UTF-8 (or
// UTF-16), anything else is Windows-1251. Bytes with NUL in them outside
// UTF-16 are no text at all.
QString decodeCsv(const QByteArray &Bytes, const QString &FileName)
{
    const TDetectedEncoding found = detectTextEncoding(Bytes);
    const bool wide = found.Encoding == TTextEncoding::Utf16LE || found.Encoding == TTextEncoding::Utf16BE;
    if (!wide && Bytes.contains('\0'))
        failGroupList(FileName, QStringLiteral("это не список группы (ни текст CSV, ни книга XLSX)"));
    qsizetype bad = -1;
    const QString text = decodeCodePageChecked(Bytes.mid(found.BomSize), codePageOfEncoding(found.Encoding, 1251), bad);
    if (bad >= 0)
        failGroupList(FileName, QStringLiteral("текст повреждён (байт %1 не является символом %2)")
                                    .arg(bad + found.BomSize)
                                    .arg(codePageName(codePageOfEncoding(found.Encoding, 1251))));
    return text;
}

} // namespace

TSheetTable readCsvTable(const QByteArray &Bytes, const QString &FileName)
{
    const QString text = decodeCsv(Bytes, FileName);
    const QChar delimiter = detectDelimiter(text);
    TSheetTable table;
    TSheetRow row;
    row.Row = 1;
    QString field;
    bool quoted = false;        // inside a quoted field
    bool wasQuoted = false;     // the field began with a quote
    int quoteRow = 0;
    int nonEmpty = 0;
    auto endField = [&] {
        row.Cells << field;
        field.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endField();
        const bool empty = std::all_of(row.Cells.cbegin(), row.Cells.cend(),
                                       [](const QString &c) { return c.trimmed().isEmpty(); });
        if (!empty) {
            ++nonEmpty;
            checkGroupListLimits(FileName, row, nonEmpty);
            table.Rows << row;
        }
        row.Cells.clear();
        ++row.Row;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < n && text.at(i + 1) == u'"')
                field += text.at(++i);
            else
                quoted = false;
            if (field.size() > groupListLimits::MaxCellLength)
                checkGroupListLimits(FileName, TSheetRow{row.Row, {field}}, nonEmpty);
        } else if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            field.clear();
            quoted = wasQuoted = true;
            quoteRow = row.Row;
        } else if (c == delimiter) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
            if (field.size() > groupListLimits::MaxCellLength)
                checkGroupListLimits(FileName, TSheetRow{row.Row, {field}}, nonEmpty);
        }
    }
    if (quoted)
        failGroupList(FileName, QStringLiteral("кавычка, открытая в строке %1, не закрыта").arg(quoteRow));
    if (!field.isEmpty() || !row.Cells.isEmpty())
        endRow();
    return table;
}
