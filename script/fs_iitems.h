#pragma once
// Items of a script's symbol table: variables, constants, parameters, script
// procedures, host methods and properties, host classes, types and the
// element helpers. Every item is a TfsCustomVariable.

#include "script/fs_itypes.h"
#include "script/fs_ivariant.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class QObject;
class QMetaObject;
class TfsScript;
class TfsClassVariable;
class TfsCustomVariable;
class TfsParamItem;

// Host callback of a method: instance (null for global functions), the class,
// the method name in upper case and the calling item, whose parameters hold
// the argument values (var parameters are written back from them).
using TfsCallMethodEvent = std::function<TfsVariant(QObject *instance, TfsClassVariable *classType,
                                                    const QString &methodName, TfsCustomVariable &caller)>;
// Host callback reading a property (indexed properties read their index
// arguments from caller's parameters).
using TfsGetValueEvent = std::function<TfsVariant(QObject *instance, TfsClassVariable *classType,
                                                  const QString &propName, TfsCustomVariable &caller)>;
// Host callback writing a property.
using TfsSetValueEvent = std::function<void(QObject *instance, TfsClassVariable *classType,
                                            const QString &propName, const TfsVariant &value,
                                            TfsCustomVariable &caller)>;

// Broad kind of an item, for fast dispatch in designators.
enum class TfsItemKind { Constant, Variable, Param, Proc, Method, Property, Class, Type, Helper };

// A list of parameters (every item is one).
class TfsItemList {
public:
    virtual ~TfsItemList();
    int ParamCount() const { return int(FParams.size()); }
    TfsParamItem *GetParam(int index) const { return FParams[size_t(index)]; }
    // Adds an owned parameter.
    TfsParamItem *AddParam(std::unique_ptr<TfsParamItem> param);
    // Adds a parameter owned elsewhere (a procedure's locals).
    void AddParamRef(TfsParamItem *param) { FParams.push_back(param); }
    std::vector<TfsParamItem *> FParams;

private:
    std::vector<std::unique_ptr<TfsParamItem>> FOwnedParams;
};

// Base of all items; as such a constant: read gives the value, write stores
// it unless the item is read-only.
class TfsCustomVariable : public TfsItemList {
public:
    TfsCustomVariable(const QString &name, TfsVarType typ, const QString &typeName);
    ~TfsCustomVariable() override;

    virtual TfsItemKind Kind() const { return TfsItemKind::Constant; }
    virtual TfsVariant GetValue();
    virtual void SetValue(const TfsVariant &value);
    // The declared type name, or the kind's name when none was given.
    virtual QString GetFullTypeName() const;
    // Parameters without default values.
    int GetNumberOfRequiredParams() const;
    // Value of a parameter (by index).
    TfsVariant ParamValue(int index) const;
    // Writes a var parameter's slot (used by host methods).
    void SetParamValue(int index, const TfsVariant &value);

    QString FName, FUppercaseName;
    TfsVarType FTyp;
    QString FTypeName;
    TfsVariant FValue = TfsVariant::Null();
    bool FIsReadOnly = false;
    bool FIsMacro = false;
    bool FNeedResult = true;
    TfsCustomVariable *FRefItem = nullptr;
    const void *FAddedBy = nullptr;
    QString FSourcePos, FSourceUnit;
    TfsScript *FScript = nullptr; // the script holding the item
};

// A declared or registered variable; writes convert to the declared type.
class TfsVariable : public TfsCustomVariable {
public:
    using TfsCustomVariable::TfsCustomVariable;
    TfsItemKind Kind() const override { return TfsItemKind::Variable; }
    // Final: calls through a variable or parameter pointer need no dispatch.
    TfsVariant GetValue() final;
    void SetValue(const TfsVariant &value) final;
    // Converts a value to a declared type (no conversion for other kinds).
    static TfsVariant Convert(TfsVarType typ, const TfsVariant &value);
};

// A string variable (character access goes through the string helper).
class TfsStringVariable : public TfsVariable {
public:
    using TfsVariable::TfsVariable;
};

// A parameter of a procedure or method.
class TfsParamItem : public TfsVariable {
public:
    TfsParamItem(const QString &name, TfsVarType typ, const QString &typeName, bool isOptional,
                 bool isVarParam);
    TfsItemKind Kind() const override { return TfsItemKind::Param; }
    TfsVariant FDefValue = TfsVariant::Null();
    bool FIsOptional, FIsVarParam;
};

class TfsStatement;

// A procedure or function of the script; owns the script of its locals and body.
class TfsProcVariable : public TfsCustomVariable {
public:
    TfsProcVariable(const QString &name, TfsVarType typ, const QString &typeName, TfsScript *parent,
                    bool isFunc);
    ~TfsProcVariable() override;
    TfsItemKind Kind() const override { return TfsItemKind::Proc; }
    // Runs the procedure with the values already in its parameters.
    TfsVariant GetValue() override;
    TfsScript *Program() const { return FProgram.get(); }

    bool FIsFunc;
    bool FExecuting = false;
    bool FDefined = false;   // its body has been built
    // Variables saved around a recursive call (parameters, locals, Result).
    std::vector<TfsCustomVariable *> FLocals;
    // Declared local variables and their initial values, restored on every call.
    std::vector<std::pair<TfsCustomVariable *, TfsVariant>> FLocalInits;

private:
    std::unique_ptr<TfsScript> FProgram;
};

// A host function or method registered with a declaration text and a callback.
class TfsMethodHelper : public TfsCustomVariable {
public:
    TfsMethodHelper(const QString &syntax, TfsScript *script);
    TfsItemKind Kind() const override { return TfsItemKind::Method; }
    TfsVariant GetValue() override;

    QString FSyntax, FCategory, FDescription;
    TfsCallMethodEvent FOnCall;
    TfsClassVariable *FClassRef = nullptr;
    QObject *FInstance = nullptr;   // set by the caller right before GetValue
    bool FIsConstructor = false;
};

class TfsPropertyStrings;

// A property of a host class: callbacks, or the object's own Qt property
// (read and written as fs_ihostprops.h says; a string list property reads as
// one TStrings per object, bound to it and kept here).
class TfsPropertyHelper : public TfsCustomVariable {
public:
    TfsPropertyHelper(const QString &name, TfsVarType typ, const QString &typeName);
    ~TfsPropertyHelper() override;
    TfsItemKind Kind() const override { return TfsItemKind::Property; }
    TfsVariant GetValue() override;
    void SetValue(const TfsVariant &value) override;

    TfsGetValueEvent FOnGetValue;
    TfsSetValueEvent FOnSetValue;
    TfsClassVariable *FClassRef = nullptr;
    QObject *FInstance = nullptr;
    int FMetaPropertyIndex = -1;   // >= 0: read and written through the meta-object

private:
    TfsPropertyStrings *BoundList(QObject *instance);
    std::unordered_map<const QObject *, std::unique_ptr<TfsPropertyStrings>> FBoundLists;
};

// A host class with its members and parent class; read gives the class itself.
class TfsClassVariable : public TfsCustomVariable {
public:
    TfsClassVariable(const QString &className, const QString &ancestor, const QMetaObject *meta);
    ~TfsClassVariable() override;
    TfsItemKind Kind() const override { return TfsItemKind::Class; }
    TfsVariant GetValue() override { return TfsVariant::Null(); }

    // Registration of members.
    TfsMethodHelper *AddMethod(const QString &syntax, TfsCallMethodEvent callEvent);
    TfsMethodHelper *AddConstructor(const QString &syntax, TfsCallMethodEvent callEvent);
    TfsPropertyHelper *AddProperty(const QString &name, const QString &typeName, TfsGetValueEvent getter,
                                   TfsSetValueEvent setter = nullptr);
    // The property reached by indexing an instance ("List[0]"); params like "Index: Integer".
    TfsPropertyHelper *AddDefaultProperty(const QString &name, const QString &params, const QString &typeName,
                                          TfsGetValueEvent getter, TfsSetValueEvent setter = nullptr);
    // A member by name: own members, then the Qt properties of the class, then the parent's.
    TfsCustomVariable *Find(const QString &name);
    TfsPropertyHelper *DefaultProperty();
    // Whether the object is an instance of this class or a descendant (by its
    // Qt class, or by the script class registered for it).
    bool IsInstance(const QObject *object) const;
    // Whether this class is cls or descends from it.
    bool DescendsFrom(const TfsClassVariable *cls) const;

    QString FAncestor;
    TfsClassVariable *FParentClass = nullptr;
    const QMetaObject *FMetaObject;

private:
    QHash<QString, TfsCustomVariable *> FMembers; // upper-case name -> member
    std::vector<std::unique_ptr<TfsCustomVariable>> FOwned;
    TfsPropertyHelper *FDefProperty = nullptr;
    void AddMember(std::unique_ptr<TfsCustomVariable> member);
};

// A type name mapped to a value kind ("Integer" -> fvtInt).
class TfsTypeVariable : public TfsCustomVariable {
public:
    using TfsCustomVariable::TfsCustomVariable;
    TfsItemKind Kind() const override { return TfsItemKind::Type; }
};

// Element access of strings and arrays (registered as "__StringHelper" and "__ArrayHelper").
class TfsStringHelper : public TfsCustomVariable {
public:
    TfsStringHelper();
    TfsItemKind Kind() const override { return TfsItemKind::Helper; }
};
class TfsArrayHelper : public TfsCustomVariable {
public:
    TfsArrayHelper();
    TfsItemKind Kind() const override { return TfsItemKind::Helper; }
};

// A registration module: registers a group of built-in items into a script.
class TfsRTTIModule {
public:
    explicit TfsRTTIModule(TfsScript *script) : FScript(script) {}
    virtual ~TfsRTTIModule() = default;
    TfsScript *Script() const { return FScript; }

private:
    TfsScript *FScript;
};

// Factory of a registration module (the global module list holds these).
using TfsRTTIModuleFactory = std::function<std::unique_ptr<TfsRTTIModule>(TfsScript *)>;
// The global module list, created on first use holding the system module.
std::vector<TfsRTTIModuleFactory> &fsRTTIModules();

// Parses a declaration text ("function Get(Name: String): Variant") into the
// item's name, parameters and result type; type names are resolved in script.
// Raises EfsCompileError when the text is not a declaration.
void fsParseDeclaration(TfsCustomVariable &item, const QString &syntax, TfsScript *script,
                        bool *isFunction = nullptr, bool *isConstructor = nullptr);
// The value kind of a type name as seen from a script (unknown names: fvtClass).
TfsVarType fsResolveType(TfsScript *script, const QString &typeName);
