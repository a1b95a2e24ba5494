#include "app/FrdoSettingsDialog.h"

#include "app/RegisterLocation.h"
#include "base/IniFile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TFrdoSettings savedFrdoSettings()
{
    return readFrdoSettings(TIniFile(programSettingsFile()));
}

void saveFrdoSettings(const TFrdoSettings &Settings)
{
    const QString file = programSettingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile settings(file);
    writeFrdoSettings(settings, Settings);
    settings.UpdateFile();
}

TFrdoSettingsDialog::TFrdoSettingsDialog(const TFrdoSettings &Settings, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Настройки выгрузки в ФИС ФРДО"));
    setMinimumWidth(640);
    auto *form = new QFormLayout(this);
    const auto field = [this, form](const char *Name, const QString &Caption, const QString &Text) {
        auto *edit = new QLineEdit(Text, this);
        edit->setObjectName(QLatin1String(Name));
        form->addRow(Caption, edit);
        return edit;
    };
    DocumentKindE = field("DocumentKindE", QStringLiteral("&Вид документа:"), Settings.DocumentKind);
    ProgrammeKindE = field("ProgrammeKindE", QStringLiteral("&Программа:"), Settings.ProgrammeKind);
    ProgrammeNameE = field("ProgrammeNameE", QStringLiteral("&Наименование программы:"), Settings.ProgrammeName);
    ProgrammeNameE->setPlaceholderText(ProgrammeNameStart + QStringLiteral(" … (по строке программы свидетельства)"));
    ProfessionE = field("ProfessionE", QStringLiteral("П&рофессия:"), Settings.Profession);
    StudyFormCB = new QComboBox(this);
    StudyFormCB->setObjectName(QStringLiteral("StudyFormCB"));
    StudyFormCB->addItems(frdoStudyForms());
    StudyFormCB->setEditable(true);
    StudyFormCB->setCurrentText(Settings.StudyForm);
    form->addRow(QStringLiteral("&Форма обучения:"), StudyFormCB);
    FinancingE = field("FinancingE", QStringLiteral("&Источник финансирования:"), Settings.Financing);
    EducationFormE = field("EducationFormE", QStringLiteral("Форма &получения образования:"), Settings.EducationForm);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

// A value emptied by the operator takes its default again.
TFrdoSettings TFrdoSettingsDialog::Settings() const
{
    const TFrdoSettings defaults;
    const auto value = [](const QString &Text, const QString &Default) {
        const QString text = Text.simplified();
        return text.isEmpty() ? Default : text;
    };
    TFrdoSettings s;
    s.DocumentKind = value(DocumentKindE->text(), defaults.DocumentKind);
    s.ProgrammeKind = value(ProgrammeKindE->text(), defaults.ProgrammeKind);
    s.ProgrammeName = ProgrammeNameE->text().simplified();
    s.Profession = value(ProfessionE->text(), defaults.Profession);
    s.StudyForm = value(StudyFormCB->currentText(), defaults.StudyForm);
    s.Financing = value(FinancingE->text(), defaults.Financing);
    s.EducationForm = value(EducationFormE->text(), defaults.EducationForm);
    return s;
}
