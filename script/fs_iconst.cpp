// Message table and run-time errors of the script engine.

#include "script/fs_iconst.h"

#include <pthread.h>

#include <algorithm>

namespace {

struct TResourceEntry {
    const char *Key;
    const char *Text;
};

const TResourceEntry kDefaults[] = {
    {"SLangNotFound", "Language '%s' not found"},
    {"SInvalidLanguage", "Invalid language definition"},
    {"SIdRedeclared", "Identifier redeclared: "},
    {"SUnknownType", "Unknown type: "},
    {"SIncompatibleTypes", "Incompatible types"},
    {"SIdUndeclared", "Undeclared identifier: "},
    {"SClassRequired", "Class type required"},
    {"SIndexRequired", "Index required"},
    {"SStringError", "Strings do not have properties or methods"},
    {"SClassError", "Class %s does not have a default property"},
    {"SArrayRequired", "Array type required"},
    {"SVarRequired", "Variable required"},
    {"SNotEnoughParams", "Not enough actual parameters"},
    {"STooManyParams", "Too many actual parameters"},
    {"SLeftCantAssigned", "Left side cannot be assigned to"},
    {"SForError", "For loop variable must be numeric variable"},
    {"SEventError", "Event handler must be a procedure"},
};

QMap<QString, QString> &table()
{
    static QMap<QString, QString> texts = [] {
        QMap<QString, QString> t;
        for (const auto &e : kDefaults)
            t.insert(QString::fromLatin1(e.Key), QString::fromLatin1(e.Text));
        return t;
    }();
    return texts;
}

} // namespace

QString fsResource(const QString &key)
{
    const auto &t = table();
    const auto found = t.constFind(key);
    return found == t.constEnd() ? key : found.value();
}

void fsSetResources(const QMap<QString, QString> &texts)
{
    auto &t = table();
    for (auto it = texts.constBegin(); it != texts.constEnd(); ++it)
        if (t.contains(it.key()))
            t[it.key()] = it.value();
}

void fsResetResources()
{
    auto &t = table();
    for (const auto &e : kDefaults)
        t[QString::fromLatin1(e.Key)] = QString::fromLatin1(e.Text);
}

QStringList fsResourceKeys()
{
    QStringList keys;
    for (const auto &e : kDefaults)
        keys << QString::fromLatin1(e.Key);
    return keys;
}

EfsRuntimeError::EfsRuntimeError(const QString &className, const QString &message)
    : Exception(message), FClassName(className)
{
}

EfsStopped::EfsStopped(const QString &message) : EfsRuntimeError(QStringLiteral("EAbort"), message) {}

QString fsExceptionClassName(const Exception &error)
{
    if (auto *e = dynamic_cast<const EfsRuntimeError *>(&error))
        return e->ClassName();
    if (dynamic_cast<const EConvertError *>(&error))
        return QStringLiteral("EConvertError");
    if (dynamic_cast<const EInOutError *>(&error))
        return QStringLiteral("EInOutError");
    if (dynamic_cast<const EOutOfMemory *>(&error))
        return QStringLiteral("EOutOfMemory");
    return QStringLiteral("Exception");
}

EfsCompileError::EfsCompileError(const QString &message, const QString &pos, const QString &unit)
    : Exception(message), Pos(pos), Unit(unit)
{
}

void fsRaiseVariantCast(const QString &from, const QString &to)
{
    throw EfsRuntimeError(QStringLiteral("EVariantTypeCastError"),
                          QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                              .arg(from, to));
}

void fsRaiseStackOverflow()
{
    throw EfsRuntimeError(QStringLiteral("EStackOverflow"), QStringLiteral("Stack overflow"));
}

thread_local constinit const char *fsStackFloor = nullptr;

// Lowest usable address of the calling thread's stack, plus a reserve kept
// free for the error path, exception unwinding and host callbacks. When the
// bounds cannot be read, the lowest address: no frame lies below it.
void fsFindStackFloor()
{
    const char *floor = nullptr;
    pthread_attr_t attr;
    void *base = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        if (pthread_attr_getstack(&attr, &base, &size) == 0 && base) {
            // A quarter of the stack, at least 256 KiB and at most 2 MiB, stays in reserve.
            size_t reserve = std::clamp<size_t>(size / 4, 256 * 1024, 2 * 1024 * 1024);
            if (reserve < size)
                floor = static_cast<const char *>(base) + reserve;
        }
        pthread_attr_destroy(&attr);
    }
    fsStackFloor = floor ? floor : reinterpret_cast<const char *>(1);
}
