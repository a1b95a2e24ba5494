#include "app/TemplateLocation.h"

#include "base/DataFolder.h"
#include "base/Errors.h"
#include "base/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

const QString PrintTemplateFileName = QStringLiteral("shablon.fr3");

QString shippedTemplatePath() { return dataFolder() + QLatin1Char('/') + PrintTemplateFileName; }

QString userTemplateFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString provideUserTemplate(const QString &UserCopy, const QString &Shipped)
{
    if (QFileInfo(UserCopy).isFile())
        return UserCopy;
    QFile shipped(Shipped);
    if (!shipped.open(QIODevice::ReadOnly))
        return UserCopy;
    const QByteArray bytes = shipped.readAll();
    try {
        if (!QDir().mkpath(QFileInfo(UserCopy).absolutePath()))
            return Shipped;
        saveFileAtomically(UserCopy, bytes);
    } catch (const Exception &) {
        return Shipped;
    }
    return UserCopy;
}
