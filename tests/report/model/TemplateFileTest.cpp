// The delivered print template "shablon.fr3": its XML form, the report's
// settings, the pages and the 48 memos the print command fills.

#include "support/TestSupport.h"

#include "report/model/rudClass.h"
#include "report/model/rudPicture.h"
#include "report/model/rudXML.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct TExpectedMemo {
    const char *Name;
    double Left, Top, Width, Height;     // pixels
    double LeftMm, TopMm, WidthMm, HeightMm;
    int FontPx;                          // character height in pixels
    int Style;                           // 0 regular, 1 bold, 2 italic
    bool Center;
    const char *Text;
};

// Positions in pixels with their millimetre equivalents, as the booklet
// layout gives them.
const TExpectedMemo expectedMemos[] = {
    {"Memo1", 3.77952756, 18.8976377952756, 468.66172, 15.11811024, 1.0, 5.0, 124.0, 4.0, 11, 2, true, "полное оф. наименование ОУ"},
    {"Memo2", 3.77952756, 37.7952755905512, 468.66172, 15.11811024, 1.0, 10.0, 124.0, 4.0, 11, 2, true, "полное оф. наименование ОУ"},
    {"Memo3", 64.25201, 60.47244094488189, 362.83488, 15.11811024, 17.0, 16.0, 96.0, 4.0, 11, 2, true, "наименование населенного пункта"},
    {"Memo4", 68.03149606299213, 120.94488189, 49.13389, 18.89764024, 18.0, 32.0, 13.0, 5.0, 13, 1, true, "серия"},
    {"Memo5", 22.67718, 151.18110236, 445.98454, 15.11811024, 6.0, 40.0, 118.0, 4.0, 13, 2, true, "ФИО обучающегося"},
    {"Memo6", 56.69291339, 175.748031496063, 22.67718, 15.11811024, 15.0, 46.5, 6.0, 4.0, 11, 2, true, "06"},
    {"Memo7", 83.1496063, 175.748031496063, 64.25201, 15.11811024, 22.0, 46.5, 17.0, 4.0, 11, 2, true, "07_сентября"},
    {"Memo8", 181.4173228346457, 175.7480315, 49.13389, 15.11811024, 48.0, 46.5, 13.0, 4.0, 11, 2, true, "8"},
    {"Memo9", 266.4566929133858, 175.7480315, 22.67718, 15.11811024, 70.5, 46.5, 6.0, 4.0, 11, 2, true, "09"},
    {"Memo10", 301.14193, 175.748031496063, 68.03154, 15.11811024, 79.7, 46.5, 18.0, 4.0, 11, 2, true, "10_сентября"},
    {"Memo11", 385.51181102, 175.7480315, 52.91342, 15.11811024, 102.0, 46.5, 14.0, 4.0, 11, 2, true, "1"},
    {"Memo12", 56.69295, 222.99212598, 366.61441, 15.11811024, 15.0, 59.0, 97.0, 4.0, 11, 2, true, "категории \"В\""},
    {"Memo13", 351.49606299, 360.94488189, 37.7953, 15.11811024, 93.0, 95.5, 10.0, 4.0, 11, 0, true, "013"},
    {"Memo14", 351.49606299, 377.95275591, 37.7953, 15.11811024, 93.0, 100.0, 10.0, 4.0, 11, 0, true, "014"},
    {"Memo15", 351.496062992126, 394.96062992126, 37.7953, 15.11811024, 93.0, 104.5, 10.0, 4.0, 11, 0, true, "015"},
    {"Memo16", 351.496062992126, 414.23636937, 37.7953, 15.11811024, 93.0, 109.6, 10.0, 4.0, 11, 0, true, "016"},
    {"Memo17", 351.496062992126, 457.32297378, 37.7953, 15.11811024, 93.0, 121.0, 10.0, 4.0, 11, 0, true, "017"},
    {"Memo18", 351.496062992126, 487.55918937, 37.7953, 15.11811024, 93.0, 129.0, 10.0, 4.0, 11, 0, true, "018"},
    {"Memo19", 351.496062992126, 518.17335528, 37.7953, 15.11811024, 93.0, 137.1, 10.0, 4.0, 11, 0, true, "019"},
    {"Memo20", 351.496062992126, 559.37020323, 37.7953, 15.11811024, 93.0, 148.0, 10.0, 4.0, 11, 0, true, "020"},
    {"Memo21", 351.496062992126, 589.6064237, 37.7953, 15.11811024, 93.0, 156.0, 10.0, 4.0, 11, 0, true, "021"},
    {"Memo22", 351.496062992126, 612.283464566929, 37.7953, 15.11811024, 93.0, 162.0, 10.0, 4.0, 11, 0, true, "022"},
    {"Memo23", 351.496062992126, 631.1811023622051, 37.7953, 15.11811024, 93.0, 167.0, 10.0, 4.0, 11, 0, true, "023"},
    {"Memo24", 177.63781969, 646.299212598425, 22.67718, 15.11811024, 47.0, 171.0, 6.0, 4.0, 11, 0, true, "24"},
    {"Memo25", 211.65354331, 646.299212598425, 64.25201, 15.11811024, 56.0, 171.0, 17.0, 4.0, 11, 0, true, "25_сентября"},
    {"Memo26", 306.14173228, 646.2992126, 45.35436, 15.11811024, 81.0, 171.0, 12.0, 4.0, 11, 0, true, "6"},
    {"Memo27", 347.71661843, 670.866141732284, 117.16543, 15.11811024, 92.0, 177.5, 31.0, 4.0, 11, 0, true, "ФИО руководителя"},
    {"Memo28", 395.85065, 360.9448818897637, 68.03154, 15.11811024, 104.7, 95.5, 18.0, 4.0, 11, 0, true, "28_зачтено"},
    {"Memo29", 395.85065, 377.9527559055118, 68.03154, 15.11811024, 104.7, 100.0, 18.0, 4.0, 11, 0, true, "29_зачтено"},
    {"Memo30", 396.85065, 394.96062992126, 68.03154, 15.11811024, 105.0, 104.5, 18.0, 4.0, 11, 0, true, "30_зачтено"},
    {"Memo31", 394.85065, 413.85841661, 68.03154, 15.11811024, 104.5, 109.5, 18.0, 4.0, 11, 0, true, "31_зачтено"},
    {"Memo32", 393.85065, 457.32297378, 68.03154, 15.11811024, 104.2, 121.0, 18.0, 4.0, 11, 0, true, "32_зачтено"},
    {"Memo33", 393.85065, 487.55918937, 68.03154, 15.11811024, 104.2, 129.0, 18.0, 4.0, 11, 0, true, "33_зачтено"},
    {"Memo34", 393.85065, 518.17335528, 68.03154, 15.11811024, 104.2, 137.1, 18.0, 4.0, 11, 0, true, "34_зачтено"},
    {"Memo35", 396.85065, 559.37020323, 68.03154, 15.11811024, 105.0, 148.0, 18.0, 4.0, 11, 0, true, "35_зачтено"},
    {"Memo36", 396.85065, 589.6064237, 68.03154, 15.11811024, 105.0, 156.0, 18.0, 4.0, 11, 0, true, "36_зачтено"},
    {"Memo37", 394.85065, 612.283464566929, 68.03154, 15.11811024, 104.5, 162.0, 18.0, 4.0, 11, 0, true, "37_зачтено"},
    {"Memo38", 394.85065, 631.1811023622051, 68.03154, 15.11811024, 104.5, 167.0, 18.0, 4.0, 11, 0, true, "38_Х"},
    {"Memo39", 151.181102362205, 457.322834645669, 30.23624, 15.11811024, 40.0, 121.0, 8.0, 4.0, 11, 0, true, "C1E"},
    {"Memo40", 102.047244094488, 487.55905511811, 26.45671, 15.11811024, 27.0, 129.0, 7.0, 4.0, 11, 0, true, "40"},
    {"Memo41", 294.80299339, 504.566929133858, 26.45671, 15.11811024, 78.0, 133.5, 7.0, 4.0, 11, 0, true, "41"},
    {"Memo42", 15.11812, 515.90563386, 162.51979, 15.11811024, 4.0, 136.5, 43.0, 4.0, 11, 0, true, "тип коробки передач"},
    {"Memo_kval", 173.85829457, 257.00787402, 291.02381, 15.11811024, 46.0, 68.0, 77.0, 4.0, 11, 2, false, "присвоена квалификация"},
    {"Memo_cat", 156.85044008, 272.12589394, 98.26778, 15.11811024, 41.5, 72.0, 26.0, 4.0, 11, 2, true, "категория"},
    {"Memo_prot", 230.5511811023622, 291.02380512, 109.60637, 15.11811024, 61.0, 77.0, 29.0, 4.0, 11, 2, false, "№ протокола"},
    {"Memo_day", 60.47245559, 306.141732283465, 22.67718, 15.11811024, 16.0, 81.0, 6.0, 4.0, 11, 2, true, "06"},
    {"Memo_month", 109.60633094, 306.141732283465, 64.25201, 15.11811024, 29.0, 81.0, 17.0, 4.0, 11, 2, true, "07_сентября"},
    {"Memo_year", 200.31500213, 306.14173228, 56.69295000000001, 15.11811024, 53.0, 81.0, 15.0, 4.0, 11, 2, true, "5"},
};

QString templatePath()
{
    return sourceDir() + QStringLiteral("/resources/shablon.fr3");
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double numberProp(const TfrxXMLItem *item, const char *name)
{
    bool ok = false;
    const double v = item->Prop(QString::fromLatin1(name)).toDouble(&ok);
    EXPECT_TRUE(ok) << name << " of " << item->Prop(QStringLiteral("Name")).toStdString();
    return v;
}

class TemplateFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile file(templatePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << templatePath().toStdString();
        ASSERT_NO_THROW(Doc.LoadFromStream(&file));
    }
    TfrxXMLDocument Doc;
};

} // namespace

TEST_F(TemplateFile, ReportSettingsAndPages)
{
    const TfrxXMLItem *report = Doc.Root();
    EXPECT_FALSE(Doc.OldVersion());
    EXPECT_EQ(report->Name(), QStringLiteral("TfrxReport"));
    EXPECT_FALSE(report->PropExists(QStringLiteral("Name")));
    const char *props[][2] = {{"Version", "5.1.1"},
                              {"DotMatrixReport", "False"},
                              {"IniFile", "\\Software\\Dodi Varoras"},
                              {"PreviewOptions.Buttons", "4095"},
                              {"PreviewOptions.Zoom", "1"},
                              {"PrintOptions.Printer", "Default"},
                              {"PrintOptions.PrintOnSheet", "0"},
                              {"ReportOptions.CreateDate", "41982.6347830324"},
                              {"ReportOptions.Description.Text", "Модуль для печати бланков о профессии водителя"},
                              {"ReportOptions.VersionMajor", "1"},
                              {"ReportOptions.VersionMinor", "0"},
                              {"ScriptLanguage", "PascalScript"},
                              {"ScriptText.Text", "begin\r\n\r\nend."}};
    for (const auto &p : props)
        EXPECT_EQ(report->Prop(QString::fromLatin1(p[0])), QString::fromUtf8(p[1])) << p[0];
    EXPECT_NEAR(numberProp(report, "ReportOptions.LastChange"), 42213.64038107639, 1e-9);
    EXPECT_FALSE(report->Prop(QStringLiteral("ReportOptions.Author")).isEmpty());

    ASSERT_EQ(report->Count(), 2);
    const TfrxXMLItem *data = report->Items(0);
    EXPECT_EQ(data->Name(), QStringLiteral("TfrxDataPage"));
    EXPECT_EQ(data->Prop(QStringLiteral("Name")), QStringLiteral("Data"));
    EXPECT_EQ(numberProp(data, "Width"), 1000);
    EXPECT_EQ(numberProp(data, "Height"), 1000);
    EXPECT_EQ(data->Count(), 0);

    const TfrxXMLItem *page = report->Items(1);
    EXPECT_EQ(page->Name(), QStringLiteral("TfrxReportPage"));
    const char *pageProps[][2] = {{"Name", "Page1"},          {"Font.Charset", "0"},   {"Font.Color", "0"},
                                  {"Font.Height", "-11"},     {"Font.Name", "Times New Roman"},
                                  {"Font.Style", "0"},        {"PaperWidth", "148"},   {"PaperHeight", "210"},
                                  {"PaperSize", "11"},        {"LeftMargin", "10"},    {"RightMargin", "10"},
                                  {"TopMargin", "10"},        {"BottomMargin", "10"}};
    for (const auto &p : pageProps)
        EXPECT_EQ(page->Prop(QString::fromLatin1(p[0])), QString::fromLatin1(p[1])) << p[0];
    EXPECT_FALSE(page->PropExists(QStringLiteral("Orientation"))); // portrait, the default
}

TEST_F(TemplateFile, PageHoldsTheFortyEightMemosInOrder)
{
    const TfrxXMLItem *page = Doc.Root()->Items(1);
    constexpr int count = int(sizeof expectedMemos / sizeof expectedMemos[0]);
    static_assert(count == 48);
    ASSERT_EQ(page->Count(), count);
    for (int i = 0; i < count; ++i) {
        const TExpectedMemo &m = expectedMemos[i];
        const TfrxXMLItem *memo = page->Items(i);
        SCOPED_TRACE(m.Name);
        EXPECT_EQ(memo->Name(), QStringLiteral("TfrxMemoView"));
        EXPECT_EQ(memo->Prop(QStringLiteral("Name")), QString::fromLatin1(m.Name));
        const double left = numberProp(memo, "Left"), top = numberProp(memo, "Top");
        const double width = numberProp(memo, "Width"), height = numberProp(memo, "Height");
        EXPECT_NEAR(left, m.Left, 1e-9);
        EXPECT_NEAR(top, m.Top, 1e-9);
        EXPECT_NEAR(width, m.Width, 1e-9);
        EXPECT_NEAR(height, m.Height, 1e-9);
        // The millimetre positions the booklet is measured in, to 0.1 mm.
        EXPECT_NEAR(std::round(left / 3.77953 * 10) / 10, m.LeftMm, 1e-9);
        EXPECT_NEAR(std::round(top / 3.77953 * 10) / 10, m.TopMm, 1e-9);
        EXPECT_NEAR(std::round(width / 3.77953 * 10) / 10, m.WidthMm, 1e-9);
        EXPECT_NEAR(std::round(height / 3.77953 * 10) / 10, m.HeightMm, 1e-9);
        EXPECT_EQ(memo->Prop(QStringLiteral("Font.Name")), QStringLiteral("Times New Roman"));
        EXPECT_EQ(memo->Prop(QStringLiteral("Font.Charset")), QStringLiteral("204"));
        EXPECT_EQ(memo->Prop(QStringLiteral("Font.Color")), QStringLiteral("0"));
        EXPECT_EQ(memo->Prop(QStringLiteral("Font.Height")), QString::number(-m.FontPx));
        EXPECT_EQ(memo->Prop(QStringLiteral("Font.Style")), QString::number(m.Style));
        EXPECT_EQ(memo->Prop(QStringLiteral("ParentFont")), QStringLiteral("False"));
        if (m.Center)
            EXPECT_EQ(memo->Prop(QStringLiteral("HAlign")), QStringLiteral("haCenter"));
        else
            EXPECT_FALSE(memo->PropExists(QStringLiteral("HAlign")));
        EXPECT_EQ(memo->Prop(QStringLiteral("Text")), QString::fromUtf8(m.Text));
        EXPECT_EQ(memo->Count(), 0);
    }
    // Memo12 quotes a Cyrillic letter, Memo38 ends in a Cyrillic Ha, Memo39 is Latin.
    EXPECT_EQ(page->Items(11)->Prop(QStringLiteral("Text")), QString::fromUtf8("категории \"\u0412\""));
    EXPECT_TRUE(page->Items(37)->Prop(QStringLiteral("Text")).endsWith(QChar(0x0425)));
    EXPECT_EQ(page->Items(38)->Prop(QStringLiteral("Text")), QStringLiteral("C1E"));
}

TEST_F(TemplateFile, ReportIconIsA64PixelIconWithAlpha)
{
    const QString hex = Doc.Root()->Prop(QStringLiteral("ReportOptions.Picture.PropData"));
    ASSERT_FALSE(hex.isEmpty());
    EXPECT_EQ(hex, hex.toUpper());
    const QByteArray propData = QByteArray::fromHex(hex.toLatin1());
    TfrxPicture icon;
    icon.SetPropData(propData);
    ASSERT_TRUE(icon.HasImage());
    EXPECT_EQ(icon.Graphic()->Kind(), TfrxGraphicKind::Icon);
    EXPECT_EQ(icon.Width(), 64);
    EXPECT_EQ(icon.Height(), 64);
    const QByteArray &ico = icon.Graphic()->Bytes();
    EXPECT_EQ(ico[6 + 6], 32); // 32 bits per pixel
    const QImage &image = icon.Graphic()->Image();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(32, 32)), 255);
    EXPECT_EQ(icon.GetPropData(), propData);
}

TEST_F(TemplateFile, FileLiesNextToTheProgram)
{
    const QByteArray binaryDir = qgetenv("RUD_BINARY_DIR");
    if (binaryDir.isEmpty())
        GTEST_SKIP() << "RUD_BINARY_DIR is set when the tests run under ctest";
    const QByteArray delivered = readFile(QString::fromLocal8Bit(binaryDir) + QStringLiteral("/shablon.fr3"));
    EXPECT_FALSE(delivered.isEmpty());
    EXPECT_EQ(delivered, readFile(templatePath()));
    // Every line ends in carriage return + line feed.
    EXPECT_EQ(delivered.count("\r\n"), delivered.count('\n'));
    EXPECT_TRUE(delivered.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"));
}

TEST(TemplateFileReport, LoadsIntoAReportWithoutErrors)
{
    TRecordingUserInterface ui;
    TfrxReport report(nullptr);
    ASSERT_TRUE(report.LoadFromFile(templatePath()));
    EXPECT_TRUE(report.Errors().isEmpty()) << report.Errors().join(u'\n').toStdString();
    EXPECT_TRUE(ui.Messages.empty());
    ASSERT_EQ(report.Objects().size(), 2);
    EXPECT_EQ(report.Objects()[0]->Name(), QStringLiteral("Data"));
    EXPECT_TRUE(report.Objects()[0]->Objects().isEmpty());
    const TfrxComponent *page = report.Objects()[1];
    ASSERT_EQ(page->Objects().size(), 48);
    for (int i = 0; i < 48; ++i) {
        auto *memo = dynamic_cast<TfrxMemoView *>(page->Objects()[i]);
        ASSERT_TRUE(memo) << i;
        EXPECT_EQ(memo->Name(), QString::fromLatin1(expectedMemos[i].Name));
        EXPECT_NEAR(memo->Left(), expectedMemos[i].Left, 1e-9);
        EXPECT_EQ(memo->Font()->Name(), QStringLiteral("Times New Roman"));
        EXPECT_EQ(memo->Text(), QString::fromUtf8(expectedMemos[i].Text) + QStringLiteral("\r\n"));
    }
    EXPECT_EQ(report.ReportOptions()->Picture()->Width(), 64);
}
