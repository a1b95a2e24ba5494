#include "base/InputFile.h"

#include "base/Errors.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

QByteArray readUpTo(QFile &file, qint64 limit)
{
    const qint64 expected = std::clamp<qint64>(file.size() - file.pos(), 0, limit);
    QByteArray bytes = file.read(expected + 1);
    // A file that grew since its size was taken, or one of no known size.
    if (bytes.size() > expected && bytes.size() <= limit)
        bytes += file.read(limit + 1 - bytes.size());
    return bytes;
}

QByteArray readWholeFile(QFile &file, qint64 maxSize)
{
    const QString name = QDir::toNativeSeparators(file.fileName());
    const auto tooLarge = [&] {
        return EInOutError(QStringLiteral("Cannot open file \"%1\": it is larger than %2 bytes").arg(name).arg(maxSize));
    };
    if (file.size() - file.pos() > maxSize)
        throw tooLarge();
    QByteArray bytes = readUpTo(file, maxSize);
    if (bytes.size() > maxSize)
        throw tooLarge();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("Cannot read file \"%1\". %2").arg(name, file.errorString()));
    return bytes;
}
