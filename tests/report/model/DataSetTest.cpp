// Data sets: the in-memory table filled directly and from CSV text, the
// built-in data set of a band's RowCount, and lookup through the report's
// DataSets.

#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudReport.h"

#include "base/CodePages.h"
#include "base/Errors.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList walk(TfrxDataSet &ds, const QString &field)
{
    QStringList seen;
    for (ds.First(); !ds.Eof(); ds.Next())
        seen << ds.DisplayText(field);
    return seen;
}

} // namespace

TEST(DataSetTest, CsvHeaderNamesFieldsAndNumericColumnsBecomeNumbers)
{
    TfrxMemoryDataSet ds;
    ds.LoadFromCSV("\xEF\xBB\xBFName,Qty,Note\r\n"
                   "\"Иванов, Иван\",2,\"say \"\"hi\"\"\"\r\n"
                   "Петров,3.5,\"two\nlines\"\n"
                   "\n"
                   "Сидоров,,x\n");
    EXPECT_EQ(ds.FieldNames(), QStringList({"Name", "Qty", "Note"}));
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.GetFieldType("qty"), fftNumeric);
    EXPECT_EQ(ds.GetFieldType("Name"), fftString);
    EXPECT_EQ(walk(ds, "NAME"), QStringList({"Иванов, Иван", "Петров", "Сидоров"}));
    ds.First();
    EXPECT_EQ(ds.GetValue("Note").toString(), "say \"hi\"");
    EXPECT_EQ(ds.GetValue("Qty").toDouble(), 2.0);
    ds.Next();
    EXPECT_EQ(ds.GetValue("Note").toString(), "two\nlines");
    ds.Next();
    EXPECT_TRUE(ds.GetValue("Qty").isNull()) << "an empty value is Null";
    EXPECT_TRUE(ds.GetValue("NoSuchField").isNull());
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.GetValue("Name").isNull()) << "past the end there is no record";
}

TEST(DataSetTest, CsvWithOneNonNumberKeepsTheColumnText)
{
    TfrxMemoryDataSet ds;
    ds.LoadFromCSV("Code\n1\n002\nA3\n");
    EXPECT_EQ(ds.GetFieldType("Code"), fftString);
    EXPECT_EQ(walk(ds, "Code"), QStringList({"1", "002", "A3"})) << "text keeps its leading zeros";
}

// What spreadsheet programs write: Windows-1251 on Russian systems, UTF-16
// with a byte-order mark as "Unicode text", UTF-8 with or without a mark.
TEST(DataSetTest, CsvInWindows1251Utf16OrUtf8ReadsTheSame)
{
    const QString text = QStringLiteral("Фамилия,Часы\r\n\"Иванов, Иван\",20.5\r\nЁлкин,3\r\n");
    auto utf16 = [&text](bool little) {
        QByteArray bytes = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (QChar c : text) {
            const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
            bytes += little ? low : high;
            bytes += little ? high : low;
        }
        return bytes;
    };
    for (const QByteArray &bytes : {encodeCodePage(text, 1251), utf16(true), utf16(false), text.toUtf8(),
                                    "\xEF\xBB\xBF" + text.toUtf8()}) {
        TfrxMemoryDataSet ds;
        ds.LoadFromCSV(bytes);
        EXPECT_EQ(ds.FieldNames(), QStringList({"Фамилия", "Часы"})) << bytes.left(4).toHex().constData();
        EXPECT_EQ(walk(ds, "Фамилия"), QStringList({"Иванов, Иван", "Ёлкин"}));
        EXPECT_EQ(ds.GetFieldType("Часы"), fftNumeric);
        ds.First();
        EXPECT_EQ(ds.GetValue("Часы").toDouble(), 20.5);
    }
}

// Bytes that are not text of the encoding found, binary data and devices
// are refused with the file's name and the line, never read as blanks.
TEST(DataSetTest, CsvThatCannotBeReadIsReportedWithFileAndLine)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("names.csv");
    auto error = [&name](const QByteArray &bytes) {
        QFile f(name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        TfrxMemoryDataSet ds;
        try {
            ds.LoadFromCSVFile(name);
        } catch (const Exception &e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    };
    const QString file = QLatin1Char('"') + name + QLatin1Char('"');
    EXPECT_EQ(error("\xEF\xBB\xBFName\n" + QStringLiteral("Иванов").toUtf8() + "\n\"a\nb\"\nx\xFFy\n"),
              file + ", line 5: the text is not valid UTF-8");
    EXPECT_EQ(error(QByteArray("\xFF\xFEN\0\n\0x", 7)), file + ", line 2: the text is not valid UTF-16LE");
    EXPECT_EQ(error(QByteArray("N\0\n\0", 4)),
              file + ", line 1: the text holds a NUL character: it is not Windows-1251 text (UTF-16 text needs its "
                     "byte-order mark)");
    EXPECT_EQ(error("A,B\n1,2\n3,\"open\n\n"), file + ", line 3: the quoted field that starts here is not closed");
    EXPECT_EQ(error("\n\nA,a\n"), file + ", line 3: the header repeats the field name \"a\"");

    TfrxMemoryDataSet ds;
    const QString fifo = dir.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString &device : {QStringLiteral("/dev/null"), fifo}) {
        try {
            ds.LoadFromCSVFile(device);
            ADD_FAILURE() << device.toStdString() << " was read";
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Cannot open file \"%1\": it is not a regular file").arg(device));
        }
    }
}

TEST(DataSetTest, BrokenCsvIsRefusedWithAReason)
{
    TfrxMemoryDataSet ds;
    EXPECT_THROW(ds.LoadFromCSV(""), EConvertError);
    EXPECT_THROW(ds.LoadFromCSV("A,,B\n1,2,3\n"), EConvertError);
    EXPECT_THROW(ds.LoadFromCSV("A,a\n1,2\n"), EConvertError);
    EXPECT_THROW(ds.LoadFromCSV("A\n\"open\n"), EConvertError);
    EXPECT_THROW(ds.LoadFromCSVFile("/nonexistent/folder/file.csv"), EInOutError);
}

TEST(DataSetTest, CsvFileAndDirectRowsWalkInOrder)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("t.csv");
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("N\n1\n2\n3\n");
    f.close();
    TfrxMemoryDataSet ds;
    ds.LoadFromCSVFile(name);
    EXPECT_EQ(walk(ds, "N"), QStringList({"1", "2", "3"}));

    TfrxMemoryDataSet direct;
    direct.AddField("A", fftNumeric);
    direct.AddField("B");
    direct.AppendRow({1.5, "x"});
    direct.AppendRow({2});
    EXPECT_EQ(walk(direct, "A"), QStringList({"1.5", "2"}));
    direct.First();
    direct.Next();
    EXPECT_TRUE(direct.GetValue("B").isNull()) << "missing trailing values are Null";
}

TEST(DataSetTest, FieldsAreFoundIgnoringCaseAndALaterNameHidesAnEarlierOne)
{
    TfrxMemoryDataSet ds;
    ds.AddField("Фамилия");
    ds.AddField("Часы", fftNumeric);
    ds.AddField("ЧАСЫ");
    ds.AddField("Номер", fftNumeric);
    ds.AppendRow({"Иванов", 20, "двадцать", 7.0});
    ds.First();
    for (const char *spelling : {"Фамилия", "фамилия", "ФАМИЛИЯ"}) {
        EXPECT_TRUE(ds.HasField(spelling)) << spelling;
        EXPECT_EQ(ds.GetValue(spelling).toString(), "Иванов") << spelling;
    }
    for (const char *spelling : {"Часы", "часы", "ЧАСЫ"}) {
        EXPECT_EQ(ds.GetValue(spelling).toString(), "двадцать") << spelling;
        EXPECT_EQ(ds.GetFieldType(spelling), fftString) << spelling;
    }
    EXPECT_FALSE(ds.HasField("Имя"));

    // A report reads a field's value, text and type in one call.
    TfrxFieldRead read;
    ASSERT_TRUE(ds.ReadField("номер", read));
    EXPECT_EQ(read.Value, QVariant(7.0));
    EXPECT_EQ(read.DisplayText, "7");
    EXPECT_EQ(read.Type, fftNumeric);
    EXPECT_FALSE(read.Blob);
    EXPECT_FALSE(ds.ReadField("Имя", read));
    ds.Next();
    ASSERT_TRUE(ds.ReadField("Номер", read));
    EXPECT_TRUE(read.Value.isNull()) << "past the end there is no record";
    EXPECT_EQ(read.DisplayText, "");
}

TEST(DataSetTest, RowCountGivesAVirtualDataSetOfThatManyRecords)
{
    TfrxMasterData band(nullptr);
    band.SetRowCount(3);
    TfrxDataSet *ds = band.VirtualDataSet();
    int n = 0;
    for (ds->First(); !ds->Eof(); ds->Next())
        ++n;
    EXPECT_EQ(n, 3);
    band.SetRowCount(0);
    ds = band.VirtualDataSet();
    ds->First();
    EXPECT_TRUE(ds->Eof());
}

TEST(DataSetTest, ReportFindsDataSetsByItemNameOrAlias)
{
    TfrxReport report;
    TfrxMemoryDataSet ds;
    ds.SetName("Table1");
    ds.SetUserName("Trainees");
    TfrxDataSetItem *item = report.DataSets()->Add();
    item->SetDataSet(&ds);
    item->SetDataSetName("Trainees");
    EXPECT_EQ(rudFindReportDataSet(&report, "trainees"), &ds);
    EXPECT_EQ(rudFindReportDataSet(&report, "Table1"), nullptr) << "the component name is no alias";
    EXPECT_EQ(rudFindReportDataSet(&report, "Other"), nullptr);
}
