// Group lists read from real files written in a temporary folder.

#include "records/GroupList.h"

#include "base/CodePages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

class GroupListTest : public ::testing::Test {
protected:
    GroupListTest()
    {
        for (int i = 1; i <= 10; ++i)
            Options.SubjectNames << QStringLiteral("Предмет %1").arg(i);
        Options.SubjectNames[9] = QStringLiteral("Первая помощь при ДТП");
        for (int i = 0; i < 10; ++i)
            Options.GradeTexts << QStringList{QStringLiteral("Отлично"), QStringLiteral("Хорошо"),
                                              QStringLiteral("Удовлетворительно")};
        Options.GradeTexts[9] = QStringList{QStringLiteral("Зачтено"), QStringLiteral("Не зачтено")};
    }

    QString Write(const QString &Name, const QByteArray &Bytes) const
    {
        const QString path = Folder.filePath(Name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
        return path;
    }

    QString ErrorOf(const QString &Path) const
    {
        try {
            readGroupList(Path, Options);
        } catch (const EGroupListError &e) {
            return e.Message();
        }
        return QString();
    }

    QTemporaryDir Folder;
    TGroupListOptions Options;
};

QStringList names(const TGroupList &List)
{
    QStringList r;
    for (const TGroupTrainee &t : List.Trainees)
        r << QStringLiteral("%1:%2").arg(t.Row).arg(t.FullName);
    return r;
}

// The same list in every CSV dialect a spreadsheet writes reads alike:
// encodings, delimiters, line ends, quotes holding delimiters, quotes and
// line breaks.
TEST_F(GroupListTest, CsvDialectsReadAlike)
{
    const QString semicolon = QStringLiteral(
        " фио ;Оценка 1;ПЕРВАЯ ПОМОЩЬ;Дата рождения;Пол;СНИЛС\n"
        "Иванов  Иван Иванович;отлично;зачтено;01.02.2003;м;123-456-789 64\n"
        "\n"
        "\"Петрова; Анна\";2;1;2004-03-15;Жен.;\n"
        "\"Сидоров \"\"Сид\"\"\nСергей\";;;;;\n");
    QString comma = semicolon;
    comma.replace(u';', u',');
    const QByteArray utf8 = semicolon.toUtf8();
    QString crlf = comma;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    crlf.replace(QStringLiteral("\"\"Сид\"\"\r\n"), QStringLiteral("\"\"Сид\"\"\n"));
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("utf8.csv"), utf8},
        {QStringLiteral("bom.csv"), QByteArray("\xEF\xBB\xBF") + comma.toUtf8()},
        {QStringLiteral("cp1251.csv"), encodeCodePage(semicolon, 1251)},
        {QStringLiteral("crlf.txt"), encodeCodePage(crlf, 1251)},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const TGroupList list = readGroupList(Write(name, bytes), Options);
        EXPECT_TRUE(list.Problems.isEmpty()) << list.Problems.join(u'\n').toStdString();
        EXPECT_TRUE(list.UnknownColumns.isEmpty());
        EXPECT_EQ(list.Headers.first(), QStringLiteral("фио"));
        ASSERT_EQ(names(list), (QStringList{QStringLiteral("2:Иванов Иван Иванович"),
                                            name.contains(QStringLiteral("utf8")) || name.contains(QStringLiteral("1251"))
                                                ? QStringLiteral("4:Петрова; Анна")
                                                : QStringLiteral("4:Петрова, Анна"),
                                            QStringLiteral("5:Сидоров \"Сид\" Сергей")}));
        const TGroupTrainee &ivanov = list.Trainees[0];
        EXPECT_EQ(ivanov.Surname, QStringLiteral("Иванов"));
        EXPECT_EQ(ivanov.Name, QStringLiteral("Иван"));
        EXPECT_EQ(ivanov.Patronymic, QStringLiteral("Иванович"));
        EXPECT_EQ(ivanov.Grades[0], QStringLiteral("Отлично"));
        EXPECT_EQ(ivanov.Grades[9], QStringLiteral("Зачтено"));
        EXPECT_EQ(ivanov.BirthDate, QDate(2003, 2, 1));
        EXPECT_EQ(ivanov.Sex, QStringLiteral("М"));
        EXPECT_EQ(ivanov.Snils, QStringLiteral("123-456-789 64"));
        const TGroupTrainee &petrova = list.Trainees[1];
        EXPECT_EQ(petrova.Grades[0], QStringLiteral("Хорошо"));
        EXPECT_EQ(petrova.Grades[9], QStringLiteral("Зачтено"));
        EXPECT_EQ(petrova.BirthDate, QDate(2004, 3, 15));
        EXPECT_EQ(petrova.Sex, QStringLiteral("Ж"));
        EXPECT_TRUE(list.Trainees[2].Grades[0].isEmpty());
        EXPECT_FALSE(list.Trainees[2].BirthDate.isValid());
    }
}

// Every row that cannot print is reported with its row number (a wrong
// СНИЛС and a birth date before 1900 among them); unknown
// columns are listed; grades match across case and Latin look-alikes; a
// title line above the header is skipped.
TEST_F(GroupListTest, ProblemsCarryRowNumbers)
{
    const QString text = QStringLiteral(
        "Группа 7А\n"
        "Фамилия,Имя,Отчество,Оценка 10,Оценка 3,Начало обучения,Группа,Примечание,Дата рождения,СНИЛС,Гражданство\n"
        "Орлов,Олег,,HE ЗAЧTEHO,хорошо,10.01.2025 0:00:00,7А,,14.02.1990,11223344595,112\n"
        ",,,зачтено,,,7А,\n"
        "Ершов,Ёж,,Отл,4,32.01.2025,7А,,31.12.1899,112-233-445 96,РФ\n");
    const TGroupList list = readGroupList(Write(QStringLiteral("p.csv"), text.toUtf8()), Options);
    EXPECT_EQ(list.UnknownColumns, (QStringList{QStringLiteral("Группа"), QStringLiteral("Примечание")}));
    ASSERT_EQ(list.Trainees.size(), 3);
    EXPECT_EQ(list.Trainees[0].FullName, QStringLiteral("Орлов Олег"));
    EXPECT_EQ(list.Trainees[0].Grades[9], QStringLiteral("Не зачтено"));
    EXPECT_EQ(list.Trainees[0].Grades[2], QStringLiteral("Хорошо"));
    EXPECT_EQ(list.Trainees[0].TrainingStart, QDate(2025, 1, 10));
    EXPECT_EQ(list.Trainees[0].Snils, QStringLiteral("112-233-445 95"));
    EXPECT_EQ(list.Trainees[0].Citizenship, QStringLiteral("112"));
    EXPECT_EQ(list.Trainees[1].Citizenship, QStringLiteral("643"));
    EXPECT_EQ(list.Problems, (QStringList{
                                 QStringLiteral("Строка 4: нет ФИО"),
                                 QStringLiteral("Строка 5: оценка «4» по предмету 3 не из списка"),
                                 QStringLiteral("Строка 5: оценка «Отл» по предмету 10 не из списка"),
                                 QStringLiteral("Строка 5: дата «32.01.2025» в столбце «Начало обучения» не распознана (нужно ДД.ММ.ГГГГ)"),
                                 QStringLiteral("Строка 5: Дата рождения 31.12.1899 раньше 1900 года."),
                                 QStringLiteral("Строка 5: СНИЛС 112-233-445 96 неверен: не сходится контрольное число (должно быть 95)."),
                                 QStringLiteral("Строка 5: Гражданство «РФ» — не трёхзначный код страны по ОКСМ."),
                             }));
}

// A column mapped by hand takes its field whatever its header; a list
// without any name column is read with that one problem, for the mapping.
TEST_F(GroupListTest, HandMapping)
{
    const QString path = Write(QStringLiteral("m.csv"), QStringLiteral("Ученик;Итог\nКузнецов Пётр;1\n").toUtf8());
    const TGroupList unmapped = readGroupList(path, Options);
    EXPECT_EQ(unmapped.Headers, (QStringList{QStringLiteral("Ученик"), QStringLiteral("Итог")}));
    EXPECT_TRUE(unmapped.Trainees.isEmpty());
    EXPECT_EQ(unmapped.Problems, QStringList{QStringLiteral("Нет столбца «ФИО» или «Фамилия»: укажите столбцы вручную")});
    Options.Mapping = {{0, QStringLiteral("fio")}, {1, QStringLiteral("grade10")}};
    const TGroupList mapped = readGroupList(path, Options);
    EXPECT_TRUE(mapped.Problems.isEmpty());
    ASSERT_EQ(mapped.Trainees.size(), 1);
    EXPECT_EQ(mapped.Trainees[0].FullName, QStringLiteral("Кузнецов Пётр"));
    EXPECT_EQ(mapped.Trainees[0].Grades[9], QStringLiteral("Зачтено"));
    EXPECT_EQ(groupListFields().size(), 20);
    EXPECT_EQ(groupListFields().first(), qMakePair(QStringLiteral("fio"), QStringLiteral("ФИО")));
}

// Files that are no list at all are refused with a message naming them.
TEST_F(GroupListTest, UnreadableFilesAreRefused)
{
    const QString missing = Folder.filePath(QStringLiteral("none.csv"));
    EXPECT_EQ(ErrorOf(missing), QStringLiteral("Список группы «%1»: файл не найден").arg(missing));
    const QString binary = Write(QStringLiteral("pic.csv"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(ErrorOf(binary),
              QStringLiteral("Список группы «%1»: это не список группы (ни текст CSV, ни книга XLSX)").arg(binary));
    const QString open = Write(QStringLiteral("q.csv"), QByteArray("ФИО\n\"Иванов\n"));
    EXPECT_EQ(ErrorOf(open), QStringLiteral("Список группы «%1»: кавычка, открытая в строке 2, не закрыта").arg(open));
    const QString empty = Write(QStringLiteral("e.csv"), QByteArray("\r\n;;\r\n"));
    EXPECT_EQ(ErrorOf(empty), QStringLiteral("Список группы «%1»: в списке нет ни одной строки").arg(empty));
    QByteArray many = "ФИО\n";
    for (int i = 0; i <= 10000; ++i)
        many += "Иванов\n";
    const QString tooLong = Write(QStringLiteral("many.csv"), many);
    EXPECT_EQ(ErrorOf(tooLong), QStringLiteral("Список группы «%1»: больше 10000 строк учеников").arg(tooLong));
}

// A book written by a spreadsheet library: two sheets, shared strings,
// numbers (a grade's position, a СНИЛС typed as a number), a date cell and a
// bare date serial; the sheet asked for is read, the first by default; a
// title above the table is skipped.
TEST_F(GroupListTest, XlsxBook)
{
    const QString path = Folder.filePath(QStringLiteral("group.xlsx"));
    lxw_workbook *book = workbook_new(path.toUtf8().constData());
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd.mm.yyyy");
    lxw_worksheet *first = workbook_add_worksheet(book, "Группа 7");
    lxw_worksheet *second = workbook_add_worksheet(book, "Запас");
    const char *headers[] = {"ФИО", "Дата рождения", "Оценка 1", "Первая помощь", "СНИЛС", "Пол", "Окончание обучения"};
    worksheet_write_string(second, 0, 0, "Запасной состав", nullptr);
    for (int c = 0; c < 7; ++c) {
        worksheet_write_string(first, 0, c, headers[c], nullptr);
        worksheet_write_string(second, 1, c, headers[c], nullptr);
    }
    worksheet_write_string(first, 1, 0, " Белов Борис Борисович ", nullptr);
    lxw_datetime born = {2001, 12, 31, 0, 0, 0};
    worksheet_write_datetime(first, 1, 1, &born, date);
    worksheet_write_number(first, 1, 2, 3, nullptr);
    worksheet_write_string(first, 1, 3, "Зачтено", nullptr);
    worksheet_write_number(first, 1, 4, 12345678964.0, nullptr);
    worksheet_write_string(first, 1, 5, "Ж", nullptr);
    worksheet_write_number(first, 1, 6, 45000, nullptr);
    worksheet_write_string(first, 3, 0, "Глебов Глеб", nullptr);
    worksheet_write_string(first, 3, 2, "Хорошо", nullptr);
    worksheet_write_string(first, 3, 3, "Незачтено", nullptr);
    worksheet_write_string(second, 2, 0, "Запасов Иван", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    const TGroupList list = readGroupList(path, Options);
    EXPECT_EQ(list.Sheets, (QStringList{QStringLiteral("Группа 7"), QStringLiteral("Запас")}));
    EXPECT_EQ(names(list), (QStringList{QStringLiteral("2:Белов Борис Борисович"), QStringLiteral("4:Глебов Глеб")}));
    const TGroupTrainee &belov = list.Trainees[0];
    EXPECT_EQ(belov.BirthDate, QDate(2001, 12, 31));
    EXPECT_EQ(belov.Grades[0], QStringLiteral("Удовлетворительно"));
    EXPECT_EQ(belov.Grades[9], QStringLiteral("Зачтено"));
    EXPECT_EQ(belov.Snils, QStringLiteral("123-456-789 64"));
    EXPECT_EQ(belov.Sex, QStringLiteral("Ж"));
    EXPECT_EQ(belov.TrainingEnd, QDate(2023, 3, 15));
    EXPECT_EQ(list.Trainees[1].Grades[0], QStringLiteral("Хорошо"));
    EXPECT_EQ(list.Problems, QStringList{QStringLiteral("Строка 4: оценка «Незачтено» по предмету 10 не из списка")});

    Options.Sheet = QStringLiteral("Запас");
    EXPECT_EQ(names(readGroupList(path, Options)), QStringList{QStringLiteral("3:Запасов Иван")});
    Options.Sheet = QStringLiteral("Нет");
    EXPECT_EQ(ErrorOf(path), QStringLiteral("Список группы «%1»: в книге нет листа «Нет» (есть: Группа 7, Запас)").arg(path));
    Options.Sheet.clear();

    // Damaged: cut short; a zip whose workbook part is renamed is no book.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString cut = Write(QStringLiteral("cut.xlsx"), bytes.left(bytes.size() / 2));
    EXPECT_EQ(ErrorOf(cut), QStringLiteral("Список группы «%1»: книга XLSX повреждена (архив не открывается)").arg(cut));
    QByteArray renamed = bytes;
    renamed.replace("xl/workbook.xml", "xl/workbooX.xml");
    const QString other = Write(QStringLiteral("other.xlsx"), renamed);
    EXPECT_EQ(ErrorOf(other), QStringLiteral("Список группы «%1»: это архив, но не книга XLSX").arg(other));
}

} // namespace
