// The classes module.

#include "script/fs_iclassesrtti.h"

#include "script/fs_iconst.h"
#include "script/fs_ihostprops.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_istrings.h"

#include <QObject>

namespace {

[[noreturn]] void raiseNil(const QString &member)
{
    throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                          QStringLiteral("Access to member '%1' of a nil object").arg(member));
}

TStrings *stringsOf(QObject *instance, const QString &member)
{
    if (!instance)
        raiseNil(member);
    auto *list = qobject_cast<TStrings *>(instance);
    if (!list)
        fsRaiseVariantCast(QStringLiteral("Dispatch"), QStringLiteral("TStrings"));
    return list;
}

// The script's name of an object's class ("TStrings" for a bound list).
QString scriptClassName(const QObject *object)
{
    if (qobject_cast<const TfsPropertyStrings *>(object))
        return QStringLiteral("TStrings");
    if (object->metaObject() == &QObject::staticMetaObject)
        return QStringLiteral("TObject");
    return QString::fromLatin1(object->metaObject()->className());
}

TfsVariant callObject(QObject *instance, TfsClassVariable *cls, const QString &name, TfsCustomVariable &)
{
    TfsScript *script = cls->FScript;
    if (name == QLatin1String("CREATE")) {
        auto *object = new QObject;
        script->AdoptObject(object, true);
        return TfsVariant(object);
    }
    if (name == QLatin1String("FREE")) {
        fsFreeScriptObject(script, instance);
        return TfsVariant::Null();
    }
    if (name == QLatin1String("CLASSNAME"))
        return TfsVariant(instance ? scriptClassName(instance) : cls->FName);
    return TfsVariant::Null();
}

TfsVariant callStrings(QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &caller)
{
    TStrings *list = stringsOf(instance, name);
    const auto arg = [&caller](int i) { return caller.ParamValue(i); };
    if (name == QLatin1String("ADD"))
        return TfsVariant(list->Add(arg(0).ToString()));
    if (name == QLatin1String("INSERT")) {
        list->Insert(arg(0).ToInt(), arg(1).ToString());
    } else if (name == QLatin1String("DELETE")) {
        list->Delete(arg(0).ToInt());
    } else if (name == QLatin1String("CLEAR")) {
        list->Clear();
    } else if (name == QLatin1String("INDEXOF")) {
        return TfsVariant(list->IndexOf(arg(0).ToString()));
    } else if (name == QLatin1String("ASSIGN") || name == QLatin1String("ADDSTRINGS")) {
        QObject *source = arg(0).IsObject() ? arg(0).ToObject() : nullptr;
        auto *from = qobject_cast<TStrings *>(source);
        if (!from)
            throw EfsRuntimeError(QStringLiteral("EConvertError"),
                                  QStringLiteral("Cannot assign a %1 to a %2")
                                      .arg(source ? scriptClassName(source) : QStringLiteral("nil"),
                                           scriptClassName(list)));
        if (name == QLatin1String("ASSIGN"))
            list->Assign(*from);
        else
            list->AddStrings(*from);
    } else if (name == QLatin1String("SORT")) {
        auto *own = qobject_cast<TStringList *>(list);
        if (own)
            own->Sort();
    }
    return TfsVariant::Null();
}

TfsVariant getComponent(QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &)
{
    if (!instance)
        raiseNil(name);
    if (name == QLatin1String("NAME"))
        return TfsVariant(instance->objectName());
    return TfsVariant(instance->parent());
}

} // namespace

void fsFreeScriptObject(TfsScript *script, QObject *instance)
{
    if (instance && !script->FreeObject(instance))
        throw EfsRuntimeError(QStringLiteral("EInvalidOperation"),
                              QStringLiteral("Cannot free an object of class %1: it belongs to its host")
                                  .arg(scriptClassName(instance)));
}

TfsClassesRTTI::TfsClassesRTTI(TfsScript *script) : TfsRTTIModule(script)
{
    TfsScript &s = *script;
    TfsClassVariable *object = s.AddClass(QStringLiteral("TObject"), QString(), &QObject::staticMetaObject);
    object->AddConstructor(QStringLiteral("constructor Create"), callObject);
    object->AddMethod(QStringLiteral("procedure Free"), callObject);
    object->AddMethod(QStringLiteral("function ClassName: String"), callObject);

    s.AddClass(QStringLiteral("TPersistent"), QStringLiteral("TObject"));
    TfsClassVariable *component = s.AddClass(QStringLiteral("TComponent"), QStringLiteral("TPersistent"));
    component->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), getComponent,
                           [](QObject *instance, TfsClassVariable *, const QString &name, const TfsVariant &value,
                              TfsCustomVariable &) {
                               if (!instance)
                                   raiseNil(name);
                               instance->setObjectName(value.ToString());
                           });
    component->AddProperty(QStringLiteral("Owner"), QStringLiteral("TComponent"), getComponent);

    TfsClassVariable *strings =
        s.AddClass(QStringLiteral("TStrings"), QStringLiteral("TPersistent"), &TStrings::staticMetaObject);
    strings->AddMethod(QStringLiteral("function Add(const S: String): Integer"), callStrings);
    strings->AddMethod(QStringLiteral("procedure Insert(Index: Integer; const S: String)"), callStrings);
    strings->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), callStrings);
    strings->AddMethod(QStringLiteral("procedure Clear"), callStrings);
    strings->AddMethod(QStringLiteral("function IndexOf(const S: String): Integer"), callStrings);
    strings->AddMethod(QStringLiteral("procedure Assign(Source: TPersistent)"), callStrings);
    strings->AddMethod(QStringLiteral("procedure AddStrings(Strings: TStrings)"), callStrings);
    strings->AddDefaultProperty(
        QStringLiteral("Strings"), QStringLiteral("Index: Integer"), QStringLiteral("String"),
        [](QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &caller) {
            return TfsVariant(stringsOf(instance, name)->Get(caller.ParamValue(0).ToInt()));
        },
        [](QObject *instance, TfsClassVariable *, const QString &name, const TfsVariant &value,
           TfsCustomVariable &caller) { stringsOf(instance, name)->Put(caller.ParamValue(0).ToInt(), value.ToString()); });

    TfsClassVariable *list =
        s.AddClass(QStringLiteral("TStringList"), QStringLiteral("TStrings"), &TStringList::staticMetaObject);
    list->AddConstructor(QStringLiteral("constructor Create"),
                         [](QObject *, TfsClassVariable *cls, const QString &, TfsCustomVariable &) {
                             auto *created = new TStringList;
                             cls->FScript->AdoptObject(created, true);
                             return TfsVariant(static_cast<QObject *>(created));
                         });
    list->AddMethod(QStringLiteral("procedure Sort"), callStrings);
}

void fsRegisterClassesRTTI()
{
    static const bool registered = [] {
        fsRTTIModules().push_back([](TfsScript *script) { return std::make_unique<TfsClassesRTTI>(script); });
        return true;
    }();
    (void)registered;
}
