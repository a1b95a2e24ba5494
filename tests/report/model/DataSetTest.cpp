// Data sets: the in-memory table filled directly and from CSV text, the
// built-in data set of a band's RowCount, and lookup through the report's
// DataSets.

#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
