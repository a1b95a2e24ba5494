#include "base/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const QString DataFolderName = QStringLiteral("quorvel-a5");

QString dataFolder()
{
    const QString binary = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(binary + QStringLiteral("/../share/") + DataFolderName);
    return QFileInfo(installed).isDir() ? installed : binary;
}
