#include "report/model/rudClassRegistry.h"

#include "base/TextCase.h"

#include <QHash>
#include <QMutex>
#include <mutex>

namespace {

struct TClassTable {
    QMutex Lock;
    QHash<QString, TfrxClassEntry> ByName; // lower-case name
    QStringList Names;
};

TClassTable &classTable()
{
    static TClassTable t;
    return t;
}

} // namespace

void rudRegisterClassEntry(const QMetaObject *cls, TfrxComponentFactory create, TfrxPropDescs descs,
                           QObject *(*makeNew)())
{
    const QString name = QString::fromLatin1(cls->className());
    {
        TClassTable &t = classTable();
        QMutexLocker locker(&t.Lock);
        if (!t.ByName.contains(lowerCased(name)))
            t.Names.append(name);
        t.ByName.insert(lowerCased(name), TfrxClassEntry{cls, create, makeNew});
    }
    rudRegisterPropDescs(cls, std::move(descs));
}

TfrxClassEntry rudFindClass(const QString &name)
{
    rudEnsureClassesRegistered();
    TClassTable &t = classTable();
    QMutexLocker locker(&t.Lock);
    const auto found = t.ByName.constFind(lowerCased(name));
    return found == t.ByName.constEnd() ? TfrxClassEntry{} : found.value();
}

QStringList rudRegisteredClassNames()
{
    rudEnsureClassesRegistered();
    TClassTable &t = classTable();
    QMutexLocker locker(&t.Lock);
    return t.Names;
}

void rudEnsureClassesRegistered()
{
    static std::once_flag once;
    std::call_once(once, rudRegisterClasses);
}
