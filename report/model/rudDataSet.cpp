#include "report/model/rudDataSet.h"

#include "report/model/rudCollection.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"

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
    const QVariant v = GetValue(Field);
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
    FIndex.insert(Field.toUpper(), int(FFields.size()));
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
    FRows.clear();
    FRecNo = 0;
}

int TfrxMemoryDataSet::FieldIndex(const QString &Field) const
{
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

namespace {
// Splits CSV text into rows of fields (RFC 4180: quoted fields may hold
// commas, doubled quotes and line breaks; CR LF and LF end a row).
std::vector<QStringList> splitCSV(const QString &text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, wasQuoted = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
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
        } else if (c == QLatin1Char(',')) {
            row.append(field);
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            row.append(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        throw EConvertError(QStringLiteral("CSV text ends inside a quoted field"));
    if (!field.isEmpty() || !row.isEmpty() || wasQuoted) {
        row.append(field);
        rows.push_back(row);
    }
    // Blank lines carry no record.
    std::erase_if(rows, [](const QStringList &r) { return r.size() == 1 && r[0].isEmpty(); });
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
    QByteArray bytes = Text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const std::vector<QStringList> rows = splitCSV(QString::fromUtf8(bytes));
    if (rows.empty())
        throw EConvertError(QStringLiteral("CSV text has no header row"));
    Clear();
    const QStringList &header = rows[0];
    for (const QString &raw : header) {
        const QString name = raw.trimmed();
        if (name.isEmpty())
            throw EConvertError(QStringLiteral("CSV header has an empty field name"));
        if (FieldIndex(name) >= 0)
            throw EConvertError(QStringLiteral("CSV header repeats the field name \"%1\"").arg(name));
        AddField(name, fftNumeric);
    }
    // A column is numeric when every non-empty value is a number.
    for (size_t r = 1; r < rows.size(); ++r)
        for (int c = 0; c < FFields.size() && c < rows[r].size(); ++c) {
            double d;
            if (FTypes[c] == fftNumeric && !rows[r][c].isEmpty() && !parseNumber(rows[r][c], d))
                FTypes[c] = fftString;
        }
    FRows.reserve(rows.size() - 1);
    for (size_t r = 1; r < rows.size(); ++r) {
        QVariantList values;
        values.reserve(FFields.size());
        for (int c = 0; c < FFields.size(); ++c) {
            const QString s = c < rows[r].size() ? rows[r][c] : QString();
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
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\": %2").arg(FileName, file.errorString()));
    LoadFromCSV(file.readAll());
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
