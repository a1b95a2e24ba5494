#include "records/FrdoSettings.h"

#include "base/IniFile.h"

namespace {

// Every setting with its key, in the order the file keeps them.
QList<QPair<QString, QString TFrdoSettings::*>> settingKeys()
{
    return {{QStringLiteral("DocumentKind"), &TFrdoSettings::DocumentKind},
            {QStringLiteral("ProgrammeKind"), &TFrdoSettings::ProgrammeKind},
            {QStringLiteral("ProgrammeName"), &TFrdoSettings::ProgrammeName},
            {QStringLiteral("Profession"), &TFrdoSettings::Profession},
            {QStringLiteral("StudyForm"), &TFrdoSettings::StudyForm},
            {QStringLiteral("Financing"), &TFrdoSettings::Financing},
            {QStringLiteral("EducationForm"), &TFrdoSettings::EducationForm}};
}

} // namespace

QList<QString> frdoStudyForms()
{
    return {QStringLiteral("Очная"), QStringLiteral("Заочная"), QStringLiteral("Очно-заочная")};
}

TFrdoSettings readFrdoSettings(const TIniFile &Settings)
{
    TFrdoSettings values;
    for (const auto &[key, member] : settingKeys()) {
        const QString text = Settings.ReadString(FrdoSettingsSection, key, QString()).trimmed();
        if (!text.isEmpty())
            values.*member = text;
    }
    return values;
}

void writeFrdoSettings(TIniFile &Settings, const TFrdoSettings &Values)
{
    for (const auto &[key, member] : settingKeys())
        Settings.WriteString(FrdoSettingsSection, key, (Values.*member).trimmed());
}
