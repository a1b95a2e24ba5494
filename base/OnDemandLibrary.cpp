#include "base/OnDemandLibrary.h"

#include "base/Errors.h"

TOnDemandLibrary::TOnDemandLibrary(const QString &Name, int Version, const QString &Package)
    : FLibrary(Name, Version), FPackage(Package)
{
}

QFunctionPointer TOnDemandLibrary::Address(const char *Symbol)
{
    if (!FLibrary.isLoaded() && !FLibrary.load())
        throw EInOutError(QStringLiteral("Не загружается библиотека %1 (пакет %2): %3")
                              .arg(FLibrary.fileName(), FPackage, FLibrary.errorString()));
    const QFunctionPointer address = FLibrary.resolve(Symbol);
    if (!address)
        throw EInOutError(QStringLiteral("В библиотеке %1 (пакет %2) нет функции %3: нужна другая версия пакета.")
                              .arg(FLibrary.fileName(), FPackage, QString::fromLatin1(Symbol)));
    return address;
}
