// Group lists in XLSX: libzip opens the zip container; the workbook (sheet
// names and their parts), the shared strings, the styles (which cells are
// dates) and the chosen sheet are read with QXmlStreamReader.

#include "records/GroupList_p.h"

#include "base/OnDemandLibrary.h"

#include <zip.h>

#include <QFile>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>

namespace {

// The libzip functions the reader calls, loaded with the library on the
// first XLSX list.
struct TZip {
    decltype(&zip_open) Open;
    decltype(&zip_name_locate) NameLocate;
    decltype(&zip_fopen) FileOpen;
    decltype(&zip_fread) FileRead;
    decltype(&zip_fclose) FileClose;
    decltype(&zip_discard) Discard;
};

const TZip &libzip()
{
    static TOnDemandLibrary library(QStringLiteral("zip"), 4, QStringLiteral("libzip4"));
    static const TZip zip{
        library.Function<decltype(&zip_open)>("zip_open"),
        library.Function<decltype(&zip_name_locate)>("zip_name_locate"),
        library.Function<decltype(&zip_fopen)>("zip_fopen"),
        library.Function<decltype(&zip_fread)>("zip_fread"),
        library.Function<decltype(&zip_fclose)>("zip_fclose"),
        library.Function<decltype(&zip_discard)>("zip_discard"),
    };
    return zip;
}

// One open book; every failure names the file.
class TXlsxBook {
public:
    explicit TXlsxBook(const QString &FileName)
        : FFileName(FileName), FZip(nullptr, libzip().Discard)
    {
        int error = 0;
        FZip.reset(libzip().Open(QFile::encodeName(FileName).constData(), ZIP_RDONLY, &error));
        if (!FZip)
            Damaged(QStringLiteral("архив не открывается"));
    }

    const QString &FileName() const { return FFileName; }

    [[noreturn]] void Damaged(const QString &Why) const
    {
        failGroupList(FFileName, QStringLiteral("книга XLSX повреждена (%1)").arg(Why));
    }

    // The unpacked part Name; nothing when the book has no such part. A part
    // beyond the size limit or that does not unpack (its checksum included)
    // is an error.
    std::optional<QByteArray> Part(const QString &Name)
    {
        const TZip &zip = libzip();
        if (zip.NameLocate(FZip.get(), Name.toUtf8().constData(), 0) < 0)
            return std::nullopt;
        const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
            zip.FileOpen(FZip.get(), Name.toUtf8().constData(), 0), zip.FileClose);
        if (!file)
            Damaged(QStringLiteral("%1 не распаковывается").arg(Name));
        QByteArray bytes;
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip.FileRead(file.get(), buffer, sizeof buffer);
            if (n < 0)
                Damaged(QStringLiteral("%1 не распаковывается").arg(Name));
            if (n == 0)
                break;
            bytes.append(buffer, n);
            if (bytes.size() > groupListLimits::MaxUnpackedBytes)
                failGroupList(FFileName, QStringLiteral("лист книги больше %1 МБ в распакованном виде")
                                             .arg(groupListLimits::MaxUnpackedBytes >> 20));
        }
        return bytes;
    }

    // Checks the reader at the end of Part.
    void CheckXml(const QXmlStreamReader &Xml, const QString &Part) const
    {
        if (Xml.hasError())
            Damaged(QStringLiteral("%1, строка %2: %3").arg(Part).arg(Xml.lineNumber()).arg(Xml.errorString()));
    }

private:
    QString FFileName;
    std::unique_ptr<zip_t, decltype(&zip_discard)> FZip;
};

// A part's path from a relationship target relative to the folder "xl/".
QString partPath(const QString &Target)
{
    if (Target.startsWith(u'/'))
        return Target.mid(1);
    return QStringLiteral("xl/") + Target;
}

// The 0-based column of a cell reference ("C7" -> 2); -1 when it has none.
int columnOf(QStringView Reference)
{
    int column = 0, letters = 0;
    for (QChar c : Reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
        if (++letters > 3)
            return -1;
    }
    return letters ? column - 1 : -1;
}

// Whether a number format shows a date: the built-in date formats, or a
// format code with day or year letters outside quotes and brackets.
bool isDateFormat(int Id, const QString &Code)
{
    if ((Id >= 14 && Id <= 17) || Id == 22 || (Id >= 27 && Id <= 36) || (Id >= 50 && Id <= 58))
        return true;
    bool quoted = false;
    int bracket = 0;
    for (QChar c : Code) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'[')
            ++bracket;
        else if (c == u']')
            bracket = qMax(0, bracket - 1);
        else if (!bracket && (c == u'd' || c == u'D' || c == u'y' || c == u'Y'))
            return true;
    }
    return false;
}

// The text of an element holding <t> runs (a shared string, an inline
// string), read to its end.
QString runText(QXmlStreamReader &Xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !Xml.atEnd()) {
        const auto token = Xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (Xml.name() == u"rPh") // phonetic hints are not the text
                Xml.skipCurrentElement();
            else if (Xml.name() == u"t")
                text += Xml.readElementText();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return text;
}

struct TWorkbook {
    QStringList Names;
    QStringList Parts;
    bool Date1904 = false;
};

TWorkbook readWorkbook(TXlsxBook &Book)
{
    const auto workbook = Book.Part(QStringLiteral("xl/workbook.xml"));
    if (!workbook)
        failGroupList(Book.FileName(), QStringLiteral("это архив, но не книга XLSX"));
    QHash<QString, QString> targets;
    if (const auto rels = Book.Part(QStringLiteral("xl/_rels/workbook.xml.rels"))) {
        QXmlStreamReader xml(*rels);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship")
                targets.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                               xml.attributes().value(QLatin1String("Target")).toString());
        }
        Book.CheckXml(xml, QStringLiteral("xl/_rels/workbook.xml.rels"));
    }
    TWorkbook book;
    QXmlStreamReader xml(*workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"workbookPr") {
            const QStringView v = xml.attributes().value(QLatin1String("date1904"));
            book.Date1904 = v == u"1" || v == u"true";
        } else if (xml.name() == u"sheet") {
            QString id;
            for (const QXmlStreamAttribute &a : xml.attributes())
                if (a.name() == u"id")
                    id = a.value().toString();
            book.Names << xml.attributes().value(QLatin1String("name")).toString();
            book.Parts << (targets.contains(id) ? partPath(targets.value(id))
                                                : QStringLiteral("xl/worksheets/sheet%1.xml").arg(book.Names.size()));
        }
    }
    Book.CheckXml(xml, QStringLiteral("xl/workbook.xml"));
    if (book.Names.isEmpty())
        Book.Damaged(QStringLiteral("в книге нет листов"));
    return book;
}

QStringList readSharedStrings(TXlsxBook &Book)
{
    QStringList strings;
    const auto part = Book.Part(QStringLiteral("xl/sharedStrings.xml"));
    if (!part)
        return strings;
    QXmlStreamReader xml(*part);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings << runText(xml);
    Book.CheckXml(xml, QStringLiteral("xl/sharedStrings.xml"));
    return strings;
}

// Per cell style (the index a cell's "s" names), whether it shows a date.
QList<bool> readDateStyles(TXlsxBook &Book)
{
    QList<bool> dates;
    const auto part = Book.Part(QStringLiteral("xl/styles.xml"));
    if (!part)
        return dates;
    QHash<int, QString> codes;
    bool inCellXfs = false;
    QXmlStreamReader xml(*part);
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            inCellXfs = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"numFmt")
            codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(), xml.attributes().value(QLatin1String("formatCode")).toString());
        else if (xml.name() == u"cellXfs")
            inCellXfs = true;
        else if (inCellXfs && xml.name() == u"xf") {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            dates << isDateFormat(id, codes.value(id));
        }
    }
    Book.CheckXml(xml, QStringLiteral("xl/styles.xml"));
    return dates;
}

// The text of a number cell: dates as yyyy-MM-dd, other numbers in their
// shortest exact form ("5", "12345678901", "4.5").
QString numberText(const QString &Value, bool Date, bool Date1904)
{
    bool ok = false;
    const double v = Value.toDouble(&ok);
    if (!ok)
        return Value;
    if (Date && v >= 1 && v < 2958466)
        return (Date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30)).addDays(qint64(v)).toString(Qt::ISODate);
    return QString::number(v, 'g', 15);
}

} // namespace

TSheetTable readXlsxTable(const QString &FileName, const QString &Sheet)
{
    TXlsxBook book(FileName);
    const TWorkbook workbook = readWorkbook(book);
    qsizetype index = 0;
    if (!Sheet.isEmpty()) {
        index = workbook.Names.indexOf(Sheet);
        if (index < 0)
            failGroupList(FileName, QStringLiteral("в книге нет листа «%1» (есть: %2)")
                                        .arg(Sheet, workbook.Names.join(QStringLiteral(", "))));
    }
    const QStringList strings = readSharedStrings(book);
    const QList<bool> dateStyles = readDateStyles(book);
    const QString partName = workbook.Parts[index];
    const auto part = book.Part(partName);
    if (!part)
        book.Damaged(QStringLiteral("нет листа %1").arg(partName));

    TSheetTable table;
    table.Sheets = workbook.Names;
    table.DateSerials = true;
    table.Date1904 = workbook.Date1904;
    TSheetRow row;
    int nonEmpty = 0, nextRow = 1, nextColumn = 0;
    QXmlStreamReader xml(*part);
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"row") {
            if (!row.Cells.isEmpty()) {
                ++nonEmpty;
                checkGroupListLimits(FileName, row, nonEmpty);
                table.Rows << row;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            const int r = xml.attributes().value(QLatin1String("r")).toInt();
            row.Row = r > 0 ? r : nextRow;
            nextRow = row.Row + 1;
            nextColumn = 0;
            row.Cells.clear();
        } else if (xml.name() == u"c") {
            const QXmlStreamAttributes a = xml.attributes();
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            int column = columnOf(a.value(QLatin1String("r")));
            if (column < 0)
                column = nextColumn;
            nextColumn = column + 1;
            QString value;
            bool inlineText = false;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"v")
                    value = xml.readElementText();
                else if (xml.name() == u"is") {
                    value = runText(xml);
                    inlineText = true;
                } else
                    xml.skipCurrentElement();
            }
            if (type == u"s") {
                const int i = value.toInt();
                if (i < 0 || i >= strings.size())
                    book.Damaged(QStringLiteral("%1: нет общей строки %2").arg(partName, value));
                value = strings[i];
            } else if (type == u"d") {
                value = value.left(10);
            } else if (!inlineText && type != u"str" && type != u"e" && type != u"b") {
                value = numberText(value, style < dateStyles.size() && dateStyles[style], workbook.Date1904);
            }
            if (value.trimmed().isEmpty())
                continue;
            if (column >= groupListLimits::MaxColumns)
                failGroupList(FileName, QStringLiteral("строка %1: больше %2 столбцов").arg(row.Row).arg(groupListLimits::MaxColumns));
            while (row.Cells.size() <= column)
                row.Cells << QString();
            row.Cells[column] = value;
        }
    }
    book.CheckXml(xml, partName);
    return table;
}
