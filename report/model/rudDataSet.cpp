#include "report/model/rudDataSet.h"

#include "report/model/rudCollection.h"
#include "report/model/rudReport.h"

#include "base/CodePages.h"
#include "base/Errors.h"
#include "base/InputFile.h"
#include "base/NumberFormat.h"
#include "base/TextEncoding.h"

#include <QDir>
#include <QFile>

TfrxDataSet::TfrxDataSet(TfrxComponent *AOwner) : TfrxComponent(AOwner)
{
    SetComponentStyle(TfrxComponentStyles());
}

bool TfrxDataSet::HasField(const QString &Field) const
{
    const QStringList names = FieldNames();
    for (const QString &n : names)
        if (rudAnsiSameText(n, Field))
            return true;
    return false;
}

QString TfrxDataSet::DisplayText(const QString &Field) const
{
    return TextOf(GetValue(Field));
}

bool TfrxDataSet::ReadField(const QString &Field, TfrxFieldRead &Read) const
{
    if (!HasField(Field))
        return false;
    Read.Value = GetValue(Field);
    Read.DisplayText = DisplayText(Field);
    Read.Type = GetFieldType(Field);
    Read.Blob = IsBlobField(Field);
    return true;
}

QString TfrxDataSet::TextOf(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Double:
        return FloatToStr(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

void TfrxMemoryDataSet::AddField(const QString &Field, TfrxFieldType Type)
{
    const QString upper = Field.toUpper();
    // A later field of the same name (case ignored) hides the earlier one
    // in both indexes.
    if (const auto earlier = FIndex.constFind(upper); earlier != FIndex.cend())
        FExact.removeIf([column = earlier.value()](const auto &it) { return it.value() == column; });
    FIndex.insert(upper, int(FFields.size()));
    FExact.insert(Field, int(FFields.size()));
    FFields.append(Field);
    FTypes.push_back(Type);
}

void TfrxMemoryDataSet::AppendRow(const QVariantList &Values)
{
    QVariantList row = Values;
    while (row.size() < FFields.size())
        row.append(QVariant());
    row.resize(FFields.size());
    FRows.push_back(std::move(row));
}

void TfrxMemoryDataSet::Clear()
{
    FFields.clear();
    FTypes.clear();
    FIndex.clear();
    FExact.clear();
    FRows.clear();
    FRecNo = 0;
}

// Expressions name a field as its data set spells it: that spelling is
// found without making an upper-cased copy of the name.
int TfrxMemoryDataSet::FieldIndex(const QString &Field) const
{
    if (const auto exact = FExact.constFind(Field); exact != FExact.cend())
        return exact.value();
    return FIndex.value(Field.toUpper(), -1);
}

QVariant TfrxMemoryDataSet::GetValue(const QString &Field) const
{
    const int col = FieldIndex(Field);
    if (col < 0 || FRecNo < 0 || FRecNo >= int(FRows.size()))
        return QVariant();
    return FRows[FRecNo][col];
}

TfrxFieldType TfrxMemoryDataSet::GetFieldType(const QString &Field) const
{
    const int col = FieldIndex(Field);
    return col < 0 ? fftString : FTypes[col];
}

bool TfrxMemoryDataSet::ReadField(const QString &Field, TfrxFieldRead &Read) const
{
    const int col = FieldIndex(Field);
    if (col < 0)
        return false;
    Read.Value = FRecNo >= 0 && FRecNo < int(FRows.size()) ? FRows[FRecNo][col] : QVariant();
    Read.DisplayText = TextOf(Read.Value);
    Read.Type = FTypes[col];
    Read.Blob = IsBlobField(Field);
    return true;
}

namespace {

// Code page of CSV text that is neither UTF-8 nor UTF-16: spreadsheet
// programs on Russian systems write Windows-1251, as certificate files are.
constexpr int CsvAnsiCodePage = 1251;

struct TCsvRow {
    QStringList Fields;
    int Line = 0; // where the row starts, from 1
};

[[noreturn]] void csvError(int Line, const QString &What)
{
    throw EConvertError(QStringLiteral("line %1: %2").arg(Line).arg(What));
}

// The line of position Pos in Text, from 1 (CR LF, LF and CR end a line).
int lineAt(const QString &Text, qsizetype Pos)
{
    int line = 1;
    for (qsizetype i = 0; i < Pos; ++i)
        if (Text[i] == u'\n' || (Text[i] == u'\r' && (i + 1 >= Text.size() || Text[i + 1] != u'\n')))
            ++line;
    return line;
}

// The text of CSV bytes in the encoding they were found to be in (a
// byte-order mark, valid UTF-8, else Windows-1251). Bytes that are not text
// of that encoding, and NUL characters (binary data, or UTF-16 without its
// byte-order mark), are refused with their line: a value read wrongly would
// print wrongly without a word.
QString decodeCsv(const QByteArray &Bytes)
{
    const TDetectedEncoding detected = detectTextEncoding(Bytes);
    const int codePage = codePageOfEncoding(detected.Encoding, CsvAnsiCodePage);
    const QByteArray body = Bytes.mid(detected.BomSize);
    qsizetype bad = -1;
    const QString text = decodeCodePageChecked(body, codePage, bad);
    if (bad >= 0) {
        const QString before = decodeCodePage(body.left(bad), codePage);
        csvError(lineAt(before, before.size()), QStringLiteral("the text is not valid %1").arg(codePageName(codePage)));
    }
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        csvError(lineAt(text, nul),
                 QStringLiteral("the text holds a NUL character: it is not %1 text%2")
                     .arg(codePageName(codePage), detected.Encoding == TTextEncoding::Ansi
                                                      ? QStringLiteral(" (UTF-16 text needs its byte-order mark)")
                                                      : QString()));
    return text;
}

// Splits CSV text into rows of fields (RFC 4180: quoted fields may hold
// commas, doubled quotes and line breaks; CR LF, LF and CR end a row).
std::vector<TCsvRow> splitCSV(const QString &text)
{
    std::vector<TCsvRow> rows;
    QStringList row;
    QString field;
    bool quoted = false, wasQuoted = false;
    int line = 1, rowLine = 1, quoteLine = 1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            const bool crlf = c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n');
            if (quoted) {
                field += c;
                if (crlf)
                    field += QLatin1Char('\n');
            } else {
                row.append(field);
                rows.push_back({row, rowLine});
                row.clear();
                field.clear();
                wasQuoted = false;
            }
            if (crlf)
                ++i;
            ++line;
            if (!quoted)
                rowLine = line;
        } else if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == QLatin1Char(',')) {
            row.append(field);
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        csvError(quoteLine, QStringLiteral("the quoted field that starts here is not closed"));
    if (!field.isEmpty() || !row.isEmpty() || wasQuoted) {
        row.append(field);
        rows.push_back({row, rowLine});
    }
    // Blank lines carry no record.
    std::erase_if(rows, [](const TCsvRow &r) { return r.Fields.size() == 1 && r.Fields[0].isEmpty(); });
    return rows;
}

bool parseNumber(const QString &s, double &value)
{
    bool ok = false;
    value = s.trimmed().toDouble(&ok);
    return ok;
}
} // namespace

void TfrxMemoryDataSet::LoadFromCSV(const QByteArray &Text)
{
    const std::vector<TCsvRow> csv = splitCSV(decodeCsv(Text));
    if (csv.empty())
        csvError(1, QStringLiteral("the text has no header row"));
    Clear();
    for (const QString &raw : csv[0].Fields) {
        const QString name = raw.trimmed();
        if (name.isEmpty())
            csvError(csv[0].Line, QStringLiteral("the header has an empty field name"));
        if (FieldIndex(name) >= 0)
            csvError(csv[0].Line, QStringLiteral("the header repeats the field name \"%1\"").arg(name));
        AddField(name, fftNumeric);
    }
    // A column is numeric when every non-empty value is a number.
    for (size_t r = 1; r < csv.size(); ++r)
        for (int c = 0; c < FFields.size() && c < csv[r].Fields.size(); ++c) {
            double d;
            if (FTypes[c] == fftNumeric && !csv[r].Fields[c].isEmpty() && !parseNumber(csv[r].Fields[c], d))
                FTypes[c] = fftString;
        }
    FRows.reserve(csv.size() - 1);
    for (size_t r = 1; r < csv.size(); ++r) {
        const QStringList &fields = csv[r].Fields;
        QVariantList values;
        values.reserve(FFields.size());
        for (int c = 0; c < FFields.size(); ++c) {
            const QString s = c < fields.size() ? fields[c] : QString();
            if (s.isEmpty()) {
                values.append(QVariant());
            } else if (FTypes[c] == fftNumeric) {
                double d = 0;
                parseNumber(s, d);
                values.append(d);
            } else {
                values.append(s);
            }
        }
        FRows.push_back(std::move(values));
    }
}

void TfrxMemoryDataSet::LoadFromCSVFile(const QString &FileName)
{
    QFile file;
    openRegularFile(file, FileName);
    const QByteArray bytes = readWholeFile(file, MaxCSVFileSize);
    try {
        LoadFromCSV(bytes);
    } catch (const EConvertError &e) {
        throw EConvertError(QStringLiteral("\"%1\", %2").arg(QDir::toNativeSeparators(FileName), e.Message()));
    }
}

TfrxDataSet *rudFindReportDataSet(TfrxReport *Report, const QString &Alias)
{
    if (!Report || Alias.isEmpty())
        return nullptr;
    TfrxReportDataSets *sets = Report->DataSets();
    for (int i = 0; i < sets->Count(); ++i) {
        TfrxDataSetItem *item = sets->Items(i);
        auto *ds = qobject_cast<TfrxDataSet *>(item->DataSet());
        if (!ds)
            continue;
        if (rudAnsiSameText(item->DataSetName(), Alias) || rudAnsiSameText(ds->UserName(), Alias))
            return ds;
    }
    return nullptr;
}
