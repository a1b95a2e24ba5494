// The print command up to the preview: what the 48 memos of the print
// template receive from the entry window, the date parts, the marks of the
// subject table, and the stops for a missing template or memo.

#include "PrintTestSupport.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <QComboBox>
#include <QFile>
#include <gtest/gtest.h>

TEST(PrintFilling, MonthstrGivesTheDatePartsOfTheBlank)
{
    const TDateTime may3 = EncodeDate(2015, 5, 3);
    EXPECT_EQ(Monthstr(QStringLiteral("day"), may3), "03");
    EXPECT_EQ(Monthstr(QStringLiteral("month"), may3), "мая");
    EXPECT_EQ(Monthstr(QStringLiteral("year"), may3), "5");
    EXPECT_EQ(Monthstr(QStringLiteral("day"), EncodeDate(2021, 12, 28)), "28");
    EXPECT_EQ(Monthstr(QStringLiteral("month"), EncodeDate(2021, 12, 28)), "декабря");
    EXPECT_EQ(Monthstr(QStringLiteral("month"), EncodeDate(2021, 1, 1)), "января");
    EXPECT_EQ(Monthstr(QStringLiteral("year"), EncodeDate(2021, 1, 1)), "1");
    // The kind is compared exactly.
    EXPECT_EQ(Monthstr(QStringLiteral("Day"), may3), "");
    EXPECT_EQ(Monthstr(QString(), may3), "");
}

TEST(PrintFilling, EveryMemoHoldsTheValueOfItsStep)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    ASSERT_TRUE(w.FillReport());
    EXPECT_TRUE(print.Shown.Ui.Messages.empty());

    const std::map<QString, QString> expected = {
        {"Memo1", "Автошкола [филиал]"},
        {"Memo2", "Тверской области"},
        {"Memo3", "г. Тверь"},
        {"Memo4", "АБ"},
        {"Memo5", "Иванов Иван Иванович"},
        {"Memo6", "03"},
        {"Memo7", "мая"},
        {"Memo8", "5"},
        {"Memo9", "28"},
        {"Memo10", "июля"},
        {"Memo11", "5"},
        {"Memo12", "категории \"В\""},
        {"Memo13", "10"},
        {"Memo14", "20,5"},
        {"Memo15", "3"},
        {"Memo16", "4"},
        {"Memo17", "5"},
        {"Memo18", "6"},
        {"Memo19", "7"},
        {"Memo20", "8"},
        {"Memo21", "9"},
        {"Memo22", "x"},
        {"Memo23", "72,5"},
        {"Memo24", "01"},
        {"Memo25", "сентября"},
        {"Memo26", "2015"},
        {"Memo27", "Петров П. П."},
        {"Memo_day", "31"},
        {"Memo_month", "августа"},
        {"Memo_year", "2015"},
        {"Memo28", "Зачтено"},
        {"Memo29", "Не Зачтено"},
        {"Memo30", "Х"},
        {"Memo31", "Зачтено"},
        {"Memo32", "Зачтено"},
        {"Memo33", "Зачтено"},
        {"Memo34", "Зачтено"},
        {"Memo35", "Зачтено"},
        {"Memo36", "Зачтено"},
        {"Memo37", ""},
        {"Memo38", "X"},
        {"Memo39", "B"},
        {"Memo40", "B"},
        {"Memo41", "B"},
        {"Memo42", "механической"},
        {"Memo_prot", "17"},
        {"Memo_cat", "B"},
        {"Memo_kval", "водитель"},
    };
    ASSERT_EQ(expected.size(), 48u);
    for (const auto &[name, value] : expected)
        EXPECT_EQ(memoText(w, name), value) << name.toStdString();
    // Every filled memo prints its text as it stands; memos of the template
    // outside the 48 keep their own setting.
    EXPECT_FALSE(memo(w, QStringLiteral("Memo1"))->AllowExpressions());
    EXPECT_FALSE(memo(w, QStringLiteral("Memo_kval"))->AllowExpressions());
}

TEST(PrintFilling, ZeroHoursPrintTheLatinMarksAndTheYearIsWhole)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.N6Click(); // hours and total "0", no grades, today everywhere
    fillCertificate(w, /*withHours=*/false);
    w.DateTimePicker3->SetDate(EncodeDate(2026, 2, 9));
    w.DateTimePicker4->SetDate(EncodeDate(2021, 1, 5));
    ASSERT_TRUE(w.FillReport());
    for (int i = 13; i <= 22; ++i)
        EXPECT_EQ(memoText(w, QStringLiteral("Memo%1").arg(i)), QStringLiteral("x")) << i;
    EXPECT_EQ(memoText(w, QStringLiteral("Memo23")), "0");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo38")), "X");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo38")).at(0).unicode(), 0x58); // not the Cyrillic Ha
    EXPECT_EQ(memoText(w, QStringLiteral("Memo13")).at(0).unicode(), 0x78);
    EXPECT_EQ(memoText(w, QStringLiteral("Memo26")), "2026");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo24")), "09");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo25")), "февраля");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo_year")), "2021");
    // A grade box with nothing selected prints an empty grade.
    EXPECT_EQ(memoText(w, QStringLiteral("Memo28")), "");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo42")), "");
    // "0,0" is no zero text: it prints as it stands.
    w.edt_3->setText(QStringLiteral("0,0"));
    ASSERT_TRUE(w.FillReport());
    EXPECT_EQ(memoText(w, QStringLiteral("Memo15")), "0,0");
}

TEST(PrintFilling, AMissingTemplateOrMemoStopsTheCommandWithItsName)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);

    // No file: the message names it, and nothing is shown.
    QFile::remove(w.TemplatePath());
    w.N7->trigger();
    ASSERT_EQ(print.Shown.Ui.Messages.size(), 1u);
    EXPECT_TRUE(print.Shown.Ui.Messages[0].Text.startsWith("Не найден файл шаблона печати"));
    EXPECT_TRUE(print.Shown.Ui.Messages[0].Text.contains(w.TemplatePath()));
    EXPECT_EQ(openPreviewCount(), 0);

    // A template without Memo_kval: the message names the memo.
    writeTemplate(w, [](QByteArray &xml) { xml.replace("Name=\"Memo_kval\"", "Name=\"Memo_other\""); });
    w.N7->trigger();
    ASSERT_EQ(print.Shown.Ui.Messages.size(), 2u);
    EXPECT_TRUE(print.Shown.Ui.Messages[1].Text.contains("нет поля Memo_kval"));
    EXPECT_EQ(openPreviewCount(), 0);

    // An object of a memo's name that is no memo.
    writeTemplate(w, [](QByteArray &xml) {
        const int at = xml.indexOf("Name=\"Memo5\"");
        const int start = xml.lastIndexOf("<TfrxMemoView", at);
        xml.replace(start, int(qstrlen("<TfrxMemoView")), "<TfrxLineView");
        const int end = xml.indexOf("</TfrxMemoView>", at);
        if (end >= 0 && end < xml.indexOf("<TfrxMemoView", at))
            xml.replace(end, int(qstrlen("</TfrxMemoView>")), "</TfrxLineView>");
    });
    w.N7->trigger();
    ASSERT_EQ(print.Shown.Ui.Messages.size(), 3u);
    EXPECT_EQ(print.Shown.Ui.Messages[2].Text, "Invalid class typecast");
    EXPECT_EQ(openPreviewCount(), 0);

    // An empty field stops first, before the template is read.
    w.Edit_7->clear();
    w.N7->trigger();
    ASSERT_EQ(print.Shown.Ui.Messages.size(), 4u);
    EXPECT_EQ(print.Shown.Ui.Messages[3].Text, "Введите присвоенную квалификацию!");
}
