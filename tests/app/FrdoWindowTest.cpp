// The federal register export from the windows: the school's settings kept
// through their dialog, and an export with a failing row that writes only
// when the operator asks for the valid rows.

#include "AppTestSupport.h"
#include "PrintTestSupport.h"
#include "RegisterTestSupport.h"

#include "app/CertificateFile.h"
#include "app/FrdoSettingsDialog.h"
#include "app/RegisterWindow.h"
#include "app/main.h"
#include "records/GroupList_p.h"
#include "records/Register.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(FrdoWindow, SettingsFeedTheExportAndAFailingRowWaitsForTheOperatorsChoice)
{
    TRegisterFolder folder;
    TRegisterOverride location(folder.Database);
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    TRecordingUserInterface &ui = shown.Ui;
    fillCertificate(w);
    w.Register().AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000009"));
    TNewCertificate c{QStringLiteral("АБ"), QString(), std::nullopt, QStringLiteral("Иванов Иван Иванович"),
                      QDate(2015, 9, 1), QStringLiteral("PDF"), certificateValues(w), TTraineeDetails()};
    c.Details.BirthDate = QDate(1990, 2, 14);
    c.Details.Sex = QStringLiteral("М");
    c.Details.Snils = QStringLiteral("112-233-445 95");
    w.Register().Record(c);
    c.FullName = QStringLiteral("Петров Пётр");
    c.Details.Snils = QStringLiteral("112-233-445 96");
    w.Register().Record(c);

    answer<TFrdoSettingsDialog>(ui, [](TFrdoSettingsDialog &d) {
        EXPECT_EQ(d.ProfessionE->text(), QStringLiteral("Водитель автомобиля"));
        d.ProfessionE->setText(QStringLiteral("Водитель транспортных средств"));
        d.StudyFormCB->setCurrentText(QStringLiteral("Очно-заочная"));
        d.FinancingE->clear();
    });
    w.N18->trigger();
    EXPECT_EQ(savedFrdoSettings().Profession, QStringLiteral("Водитель транспортных средств"));
    EXPECT_EQ(savedFrdoSettings().Financing, QStringLiteral("Платное обучение")) << "emptied: the default again";

    w.N13->trigger();
    const QString xlsx = folder.Path(QStringLiteral("frdo.xlsx"));
    ui.FileAnswers.push_back(TFileDialogResult{xlsx, 1});
    ui.Answers.push_back(TMsgResult::No);
    w.RegisterWindow()->FrdoB->click();
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages.back().Text,
              QStringLiteral("Строки с ошибками (1):\nЗапись 2 (Петров Пётр, АБ 000002): столбец «СНИЛС»: СНИЛС 112-233-445 96 "
                             "неверен: не сходится контрольное число (должно быть 95).\n\nФайл не записан. Выгрузить "
                             "только верные строки (1)?"));
    EXPECT_FALSE(QFile::exists(xlsx));

    ui.FileAnswers.push_back(TFileDialogResult{xlsx, 1});
    ui.Answers.push_back(TMsgResult::Yes);
    w.RegisterWindow()->FrdoB->click();
    EXPECT_EQ(ui.MessageTexts().last(), QStringLiteral("В файл %1 выгружено свидетельств: 1.").arg(xlsx));
    const TSheetTable sheet = readXlsxTable(xlsx, QString());
    ASSERT_EQ(sheet.Rows.size(), 2);
    EXPECT_EQ(sheet.Rows[1].Cells.value(16), QStringLiteral("Иванов"));
    EXPECT_EQ(sheet.Rows[1].Cells.value(11), QStringLiteral("Водитель транспортных средств"));
    EXPECT_EQ(sheet.Rows[1].Cells.value(23), QStringLiteral("Очно-заочная"));
}
