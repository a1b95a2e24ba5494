#pragma once
// Classes by name: the template reader creates report objects from element
// names through this registry, and every registered class's property
// descriptors join the published-property lists (rudPropInfo.h).

#include "report/model/rudComponent.h"
#include "report/model/rudPropInfo.h"

#include <QString>
#include <type_traits>

// Creates a component of one class with its owner (see TfrxComponent).
using TfrxComponentFactory = TfrxComponent *(*)(TfrxComponent *AOwner);

// One registered class.
struct TfrxClassEntry {
    const QMetaObject *Class = nullptr;
    TfrxComponentFactory Create = nullptr; // nullptr for classes that are not components
    QObject *(*New)() = nullptr;           // a new object without owner; nullptr when the class needs arguments
};

// Registers a class by its meta-object's class name with its descriptors.
void rudRegisterClassEntry(const QMetaObject *cls, TfrxComponentFactory create, TfrxPropDescs descs,
                           QObject *(*makeNew)() = nullptr);

// Registers T: its name, its property descriptors (T::PropDescs() when the
// class declares its own) and, for concrete components, its factory.
template <class T>
void rudRegisterClass()
{
    TfrxPropDescs descs;
    // An inherited PropDescs() is harmless: descriptors only apply to the
    // properties the class itself declares.
    if constexpr (requires { T::PropDescs(); })
        descs = T::PropDescs();
    TfrxComponentFactory create = nullptr;
    QObject *(*makeNew)() = nullptr;
    if constexpr (std::is_base_of_v<TfrxComponent, T> && !std::is_abstract_v<T>) {
        create = [](TfrxComponent *AOwner) -> TfrxComponent * { return new T(AOwner); };
        makeNew = []() -> QObject * { return new T(nullptr); };
    } else if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        makeNew = []() -> QObject * { return new T; };
    }
    rudRegisterClassEntry(&T::staticMetaObject, create, std::move(descs), makeNew);
}

// The class registered under name (ignoring case); Class is nullptr when none.
TfrxClassEntry rudFindClass(const QString &name);
// Names of all registered classes, in registration order.
QStringList rudRegisteredClassNames();

// Registers every class of the report engine (rudClass.cpp); later rooms'
// classes join through rudRegisterClass as they start up.
void rudRegisterClasses();
// Runs rudRegisterClasses once; every lookup calls it first.
void rudEnsureClassesRegistered();
