// The federal register export of a group printed into the register: the
// XLSX read back cell by cell, and rows that fail kept out of the file.

#include "RegisterTestSupport.h"

#include "records/GroupList_p.h"
#include "records/Register.h"
#include "report/render/CupsSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString Kind = QStringLiteral("Свидетельство о профессии рабочего, должности служащего");
const QString EducationForm = QStringLiteral("В организации, осуществляющей образовательную деятельность");

// The list a school keeps: the name in three columns, the details, the grades.
void writeGroup(const QString &Path)
{
    const QString grades = QStringLiteral("Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;");
    const QStringList lines{
        QStringLiteral("Фамилия;Имя;Отчество;Дата рождения;Пол;СНИЛС;Оценка 1;Оценка 2;Оценка 3;Оценка 4;Оценка 5;"
                       "Оценка 6;Оценка 7;Оценка 8;Оценка 9;Квалификационный экзамен"),
        QStringLiteral("Сидоров;Пётр;Ильич;14.02.1990;М;112-233-445 95;") + grades + QStringLiteral("Отлично"),
        QStringLiteral("Ким;Анна;Сергеевна;05.11.1985;Ж;087-654-303 00;") + grades + QStringLiteral("Хорошо"),
        QStringLiteral("Орлов;Олег;;01.01.1980;м;11223345800;") + grades + QStringLiteral("Удовл."),
    };
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

QStringList cells(const TSheetRow &Row)
{
    QStringList c = Row.Cells;
    while (c.size() < 35)
        c << QString();
    return c;
}

} // namespace

// Three trainees printed as a group on blanks 000001-000003, the second
// blank voided, a duplicate of the first on 000004: the export holds the
// template's header and the three certificates issued, the duplicate with
// its original's values; a certificate without the trainee's details
// stops the export until only the valid rows are asked for.
TEST_F(CupsPrinting, FrdoExportOfAPrintedGroupReadsBackCellByCell)
{
    TRegisterFolder folder;
    TRegister::Open(folder.Database)->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000009"));
    const QString list = folder.Path(QStringLiteral("group.csv"));
    writeGroup(list);
    TRun run = runQuorvel({QStringLiteral("--batch"), list, QStringLiteral("--vod"), folder.Certificate,
                           QStringLiteral("--print"), QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    run = runQuorvel({QStringLiteral("--register"), QStringLiteral("void"), QStringLiteral("АБ"),
                      QStringLiteral("000002"), QStringLiteral("--reason"), QStringLiteral("замятие"),
                      QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    TNewCertificate again;
    {
        const auto reg = TRegister::Open(folder.Database);
        const TCertificateRecord original = *reg->Find(1);
        ASSERT_EQ(original.Number, QStringLiteral("000001"));
        again = {QStringLiteral("АБ"), QString(), original.Id, original.FullName, QDate(2016, 3, 1),
                 QStringLiteral("PDF"), original.Values, original.Details};
        EXPECT_EQ(reg->Record(again).Number, QStringLiteral("000004"));
    }

    const QString xlsx = folder.Path(QStringLiteral("frdo.xlsx"));
    run = runQuorvel({QStringLiteral("--frdo"), xlsx, QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Err.trimmed(), QStringLiteral("В файл %1 выгружено свидетельств: 3.").arg(xlsx));
    const TSheetTable sheet = readXlsxTable(xlsx, QStringLiteral("Шаблон"));
    EXPECT_EQ(sheet.Sheets, QStringList{QStringLiteral("Шаблон")});
    ASSERT_EQ(sheet.Rows.size(), 4);
    EXPECT_EQ(sheet.Rows[0].Cells.join(u'|'),
              QStringLiteral(
                  "Вид документа|Статус документа|Подтверждение утраты|Подтверждение обмена|"
                  "Подтверждение уничтожения|Серия документа|Номер документа|Дата выдачи документа|"
                  "Регистрационный номер|Программа ПО, направление подготовки|Наименование программы ПО|"
                  "Наименование профессий рабочих, должностей служащих|Присвоенный разряд, класс, категория|"
                  "Год начала обучения|Год окончания обучения|Срок обучения, часов|Фамилия получателя|"
                  "Имя получателя|Отчество получателя|Дата рождения получателя|Пол получателя|СНИЛС|"
                  "Гражданство (код по ОКСМ)|Форма обучения|Источник финансирования обучения|"
                  "Форма получения образования на момент прекращения образовательных отношений|"
                  "Наименование документа об образовании (оригинала)|Серия (оригинала)|Номер (оригинала)|"
                  "Регистрационный N (оригинала)|Дата выдачи (оригинала)|Фамилия получателя (оригинала)|"
                  "Имя получателя (оригинала)|Отчество получателя (оригинала)|Номер документа для изменения"));
    EXPECT_EQ(cells(sheet.Rows[1]).mid(5, 3), (QStringList{"АБ", "000001", "01.09.2015"}));
    const QStringList common{QStringLiteral("Программа профессиональной подготовки по профессиям рабочих, должностям служащих"),
                             QStringLiteral("Профессиональная подготовка водителей транспортных средств категории В"),
                             QStringLiteral("Водитель автомобиля"), QStringLiteral("B"), QStringLiteral("2015"),
                             QStringLiteral("2015"), QStringLiteral("72")};
    const QStringList school{QStringLiteral("643"), QStringLiteral("Очная"), QStringLiteral("Платное обучение"),
                             EducationForm};
    EXPECT_EQ(cells(sheet.Rows[2]),
              (QStringList({Kind, "Оригинал", "Нет", "Нет", "Нет", "АБ", "000003", "01.09.2015", "3"}) + common
                  + QStringList{"Орлов", "Олег", "", "01.01.1980", "Муж", "112-233-458 00"} + school
                  + QStringList(9)));
    EXPECT_EQ(cells(sheet.Rows[3]),
              (QStringList({Kind, "Дубликат", "Да", "Нет", "Нет", "АБ", "000004", "01.03.2016", "4"}) + common
                  + QStringList{"Сидоров", "Пётр", "Ильич", "14.02.1990", "Муж", "112-233-445 95"} + school
                  + QStringList{Kind, "АБ", "000001", "1", "01.09.2015", "Сидоров", "Пётр", "Ильич", ""}));

    // A certificate printed without the trainee's details.
    again = {QStringLiteral("АБ"), QString(), std::nullopt, QStringLiteral("Лесной Иван"), QDate(2016, 3, 2),
             QStringLiteral("PDF"), again.Values, TTraineeDetails()};
    TRegister::Open(folder.Database)->Record(again);
    const QString refused = folder.Path(QStringLiteral("refused.xlsx"));
    run = runQuorvel({QStringLiteral("--frdo"), refused, QStringLiteral("--db"), folder.Database});
    EXPECT_EQ(run.Code, 1);
    const QString row = QStringLiteral("Запись 5 (Лесной Иван, АБ 000005): ");
    EXPECT_EQ(run.Err.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("Файл %1 не записан: исправьте строки с ошибками (1) или выгрузите только "
                                          "верные (--valid-only).").arg(refused),
                           row + QStringLiteral("столбец «Дата рождения получателя»: не заполнен"),
                           row + QStringLiteral("столбец «Пол получателя»: не заполнен"),
                           row + QStringLiteral("столбец «СНИЛС»: не заполнен")}));
    EXPECT_FALSE(QFile::exists(refused));
    run = runQuorvel({QStringLiteral("--frdo"), refused, QStringLiteral("--valid-only"), QStringLiteral("--from"),
                      QStringLiteral("01.03.2016"), QStringLiteral("--db"), folder.Database});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    const TSheetTable valid = readXlsxTable(refused, QStringLiteral("Шаблон"));
    ASSERT_EQ(valid.Rows.size(), 2);
    EXPECT_EQ(cells(valid.Rows[1])[6], QStringLiteral("000004"));
}
