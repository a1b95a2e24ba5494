#pragma once
// Data sets: the records a data band is printed for. The base offers the
// walk the engine needs (First, Next, Eof) and field access by name; the
// built-in virtual data set has a number of empty records (a band's
// RowCount), and the in-memory table is filled by the host or from a CSV file.

#include "report/model/rudComponent.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <vector>

// The kind of a field's values.
enum TfrxFieldType { fftNumeric, fftString, fftBoolean, fftDateTime };

// One field of the current record, as a report prints it.
struct TfrxFieldRead {
    QVariant Value;     // Null when empty
    QString DisplayText; // the value as printed when no display format is given
    TfrxFieldType Type = fftString;
    bool Blob = false; // a memo (long text) field
};

// Base of data sets: a named component (UserName is the alias used in
// expressions such as <Alias."Field">) with a current record.
class TfrxDataSet : public TfrxComponent {
    Q_OBJECT
    Q_PROPERTY(QString UserName READ UserName WRITE SetUserName)
public:
    explicit TfrxDataSet(TfrxComponent *AOwner = nullptr);

    // The alias; the component's Name when none was given.
    QString UserName() const { return FUserName.isEmpty() ? Name() : FUserName; }
    void SetUserName(const QString &Value) { FUserName = Value; }

    // Called once before a run uses the data set, and once after.
    virtual void Initialize() {}
    virtual void Finalize() {}
    // Moves to the first record / the next one; Eof is true past the last.
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // Number of records.
    virtual int RecordCount() const = 0;
    // The current record's 0-based index.
    virtual int RecNo() const = 0;
    // Field names in column order.
    virtual QStringList FieldNames() const { return {}; }
    // True when the data set has a field of that name (case ignored).
    virtual bool HasField(const QString &Field) const;
    // The current record's value of Field (Null when absent or empty).
    virtual QVariant GetValue(const QString &Field) const = 0;
    virtual TfrxFieldType GetFieldType(const QString &Field) const = 0;
    // The value as printed when no display format is given.
    virtual QString DisplayText(const QString &Field) const;
    // True for memo (long text) fields, copied into a memo unchanged.
    virtual bool IsBlobField(const QString &) const { return false; }
    // Everything a report prints of Field in the current record; false when
    // there is no such field. The calls above, in one.
    virtual bool ReadField(const QString &Field, TfrxFieldRead &Read) const;
    // The text DisplayText gives for a value.
    static QString TextOf(const QVariant &Value);

private:
    QString FUserName;
};

// A data set of RecordCount empty records (a data band's RowCount).
class TfrxVirtualDataSet : public TfrxDataSet {
    Q_OBJECT
public:
    explicit TfrxVirtualDataSet(TfrxComponent *AOwner = nullptr) : TfrxDataSet(AOwner) {}
    void SetRecordCount(int Value) { FCount = Value; }
    void First() override { FRecNo = 0; }
    void Next() override { ++FRecNo; }
    bool Eof() const override { return FRecNo >= FCount; }
    int RecordCount() const override { return FCount; }
    int RecNo() const override { return FRecNo; }
    QVariant GetValue(const QString &) const override { return QVariant(); }
    TfrxFieldType GetFieldType(const QString &) const override { return fftString; }

private:
    int FCount = 0;
    int FRecNo = 0;
};

// A table held in memory: named fields of a fixed type and rows of values.
class TfrxMemoryDataSet : public TfrxDataSet {
    Q_OBJECT
public:
    explicit TfrxMemoryDataSet(TfrxComponent *AOwner = nullptr) : TfrxDataSet(AOwner) {}

    // Adds a field; values of later rows are converted to its type.
    void AddField(const QString &Field, TfrxFieldType Type = fftString);
    // Appends a row; missing trailing values are Null.
    void AppendRow(const QVariantList &Values);
    // Removes fields and rows.
    void Clear() override;

    // Replaces the content with a CSV text: UTF-16 or UTF-8 with a
    // byte-order mark, else UTF-8 when the bytes are valid UTF-8, else
    // Windows-1251; comma separated, fields in double quotes may hold commas,
    // quotes doubled and line breaks. The first row names the fields. A
    // column whose every non-empty value is a number (decimal point) becomes
    // numeric; empty values are Null. Raises EConvertError "line N: ..." for
    // bytes that are not text of the encoding found, a NUL character, an
    // empty text, an empty or repeated field name, or a quote left open.
    void LoadFromCSV(const QByteArray &Text);
    // Reads FileName with LoadFromCSV, the file's name put before its
    // errors; raises EInOutError when it is not a regular file, cannot be
    // read or is larger than MaxCSVFileSize bytes.
    void LoadFromCSVFile(const QString &FileName);
    // 64 MiB: hundreds of thousands of rows, far beyond any list a report
    // prints, and a bound on the memory a wrong file takes.
    static constexpr qint64 MaxCSVFileSize = qint64(64) << 20;

    void First() override { FRecNo = 0; }
    void Next() override { ++FRecNo; }
    bool Eof() const override { return FRecNo >= int(FRows.size()); }
    int RecordCount() const override { return int(FRows.size()); }
    int RecNo() const override { return FRecNo; }
    QStringList FieldNames() const override { return FFields; }
    bool HasField(const QString &Field) const override { return FieldIndex(Field) >= 0; }
    QVariant GetValue(const QString &Field) const override;
    TfrxFieldType GetFieldType(const QString &Field) const override;
    // Looks the name up once.
    bool ReadField(const QString &Field, TfrxFieldRead &Read) const override;

private:
    int FieldIndex(const QString &Field) const;

    QStringList FFields;
    std::vector<TfrxFieldType> FTypes;
    QHash<QString, int> FIndex; // upper-cased name -> column
    QHash<QString, int> FExact; // name as added -> column (the usual spelling, found without folding)
    std::vector<QVariantList> FRows;
    int FRecNo = 0;
};

// The data set a report knows by that alias: an entry of its DataSets whose
// DataSetName or data set's UserName matches (case ignored), or nullptr.
class TfrxReport;
TfrxDataSet *rudFindReportDataSet(TfrxReport *Report, const QString &Alias);
