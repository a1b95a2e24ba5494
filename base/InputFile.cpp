#include "base/InputFile.h"

#include "base/Errors.h"

#include <QDir>
#include <QFileInfo>

void openRegularFile(QFile &file, const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        throw EInOutError(QStringLiteral("Cannot open file \"%1\": it is not a regular file")
                              .arg(QDir::toNativeSeparators(fileName)));
    file.setFileName(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}
