#include "app/RegisterLocation.h"

#include "base/IniFile.h"

#include <QDir>
#include <QStandardPaths>

#include <optional>

namespace {

const QString registerSection = QStringLiteral("Register");
const QString locationKey = QStringLiteral("Location");

std::optional<QString> &locationOverride()
{
    static std::optional<QString> value;
    return value;
}

} // namespace

QString programSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/settings.ini");
}

QString registerLocation()
{
    return locationOverride() ? *locationOverride() : savedRegisterLocation();
}

QString savedRegisterLocation()
{
    return TIniFile(programSettingsFile()).ReadString(registerSection, locationKey, QString());
}

void saveRegisterLocation(const QString &Location)
{
    const QString file = programSettingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile settings(file);
    settings.WriteString(registerSection, locationKey, Location);
    settings.UpdateFile();
}

void setRegisterLocationOverride(const QString &Location)
{
    if (Location.isEmpty())
        locationOverride().reset();
    else
        locationOverride() = Location;
}
