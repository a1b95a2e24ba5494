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

QByteArray readWholeFile(QFile &file, qint64 maxSize)
{
    const QString name = QDir::toNativeSeparators(file.fileName());
    const auto tooLarge = [&] {
        return EInOutError(QStringLiteral("Cannot open file \"%1\": it is larger than %2 bytes").arg(name).arg(maxSize));
    };
    if (file.size() - file.pos() > maxSize)
        throw tooLarge();
    // One byte more than allowed tells a file of the very limit from one
    // that grew while it was read.
    QByteArray bytes = file.read(maxSize + 1);
    if (bytes.size() > maxSize)
        throw tooLarge();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(name, file.errorString()));
    return bytes;
}
