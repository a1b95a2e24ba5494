// Message table and run-time errors of the script engine.

#include "script/fs_iconst.h"

#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

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

namespace {

// The main thread's stack, read without the list of mappings that the
// thread library reads for it (a text of every mapping of the process,
// made by the kernel on each read): its top is just above the program's
// file name, the highest string the kernel puts on it, and it may grow down
// by the stack limit. False when that does not hold (a limit unlimited or
// above 1 GiB, which other mappings may cut short; this frame elsewhere).
bool mainThreadStack(void *&Base, size_t &Size)
{
    const auto *name = reinterpret_cast<const char *>(getauxval(AT_EXECFN));
    rlimit limit{};
    if (!name || getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur > (rlim_t(1) << 30))
        return false;
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t top =
        (reinterpret_cast<uintptr_t>(name) + strlen(name) + 1 + sizeof(void *) + page - 1) & ~(page - 1);
    const auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (limit.rlim_cur >= top || frame >= top || frame < top - limit.rlim_cur)
        return false;
    Size = size_t(limit.rlim_cur);
    Base = reinterpret_cast<void *>(top - Size);
    return true;
}

} // namespace

// Lowest usable address of the calling thread's stack, plus a reserve kept
// free for the error path, exception unwinding and host callbacks. When the
// bounds cannot be read, the lowest address: no frame lies below it.
void fsFindStackFloor()
{
    const char *floor = nullptr;
    void *base = nullptr;
    size_t size = 0;
    bool known = getpid() == pid_t(gettid()) && mainThreadStack(base, size);
    pthread_attr_t attr;
    if (!known && pthread_getattr_np(pthread_self(), &attr) == 0) {
        known = pthread_attr_getstack(&attr, &base, &size) == 0 && base;
        pthread_attr_destroy(&attr);
    }
    if (known) {
        // A quarter of the stack, at least 256 KiB and at most 2 MiB, stays in reserve.
        const size_t reserve = std::clamp<size_t>(size / 4, 256 * 1024, 2 * 1024 * 1024);
        if (reserve < size)
            floor = static_cast<const char *>(base) + reserve;
    }
    fsStackFloor = floor ? floor : reinterpret_cast<const char *>(1);
}
