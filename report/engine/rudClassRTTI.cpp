// The report-object module of the script engine.

#include "report/engine/rudClassRTTI.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudEnums.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"

namespace {

[[noreturn]] void raiseNil(const QString &member)
{
    throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                          QStringLiteral("Access to member '%1' of a nil object").arg(member));
}

TfrxComponent *componentOf(QObject *instance, const QString &member)
{
    auto *component = qobject_cast<TfrxComponent *>(instance);
    if (!component)
        raiseNil(member);
    return component;
}

// A component argument: an object of a report class, or nil.
TfrxComponent *componentArg(const TfsVariant &value, const QString &what)
{
    if (value.IsNull() || value.IsEmpty() || (value.IsOrdinal() && value.ToInt64() == 0))
        return nullptr;
    auto *component = value.IsObject() ? qobject_cast<TfrxComponent *>(value.ToObject()) : nullptr;
    if (!component)
        throw EfsRuntimeError(QStringLiteral("EConvertError"), QStringLiteral("%1 must be a report object").arg(what));
    return component;
}

TfsVariant object(QObject *o)
{
    return TfsVariant(o);
}

// While a report is prepared the engine walks its tree (pages, bands,
// objects) through lists and pointers it keeps until the run ends, so a
// script running then (main block, events, expressions) may change the
// properties of the report's objects but not the tree: it may not free,
// remove, move or add objects, nor Clear or Assign one (both free the
// children and reload the object). Call names the refused call.
void refuseWhilePrepared(const TfrxComponent *Obj, const QString &Call)
{
    const TfrxReport *report = Obj ? Obj->Report() : nullptr;
    if (report && report->Preparing())
        throw EfsRuntimeError(QStringLiteral("EInvalidOperation"),
                              QStringLiteral("Cannot call %1 while the report is being prepared").arg(Call));
}

// "Page1.Clear", or "TfrxReport.Clear" for an object without a name.
QString callName(const TfrxComponent *Obj, const char *Member)
{
    const QString owner = Obj->Name().isEmpty() ? QString::fromLatin1(Obj->metaObject()->className()) : Obj->Name();
    return owner + QLatin1Char('.') + QLatin1String(Member);
}

TfsVariant callComponent(QObject *instance, TfsClassVariable *cls, const QString &name, TfsCustomVariable &caller)
{
    // Free of nil does nothing, as for any object.
    if (!instance && name == QLatin1String("FREE"))
        return TfsVariant::Null();
    TfrxComponent *c = componentOf(instance, name);
    if (name == QLatin1String("FINDOBJECT"))
        return object(c->FindObject(caller.ParamValue(0).ToString()));
    if (name == QLatin1String("CLEAR")) {
        refuseWhilePrepared(c, callName(c, "Clear"));
        c->Clear();
    } else if (name == QLatin1String("SETBOUNDS")) {
        c->SetBounds(caller.ParamValue(0).ToDouble(), caller.ParamValue(1).ToDouble(), caller.ParamValue(2).ToDouble(),
                     caller.ParamValue(3).ToDouble());
    } else if (name == QLatin1String("ASSIGN")) {
        refuseWhilePrepared(c, callName(c, "Assign"));
        if (TfrxComponent *source = componentArg(caller.ParamValue(0), QStringLiteral("Source")))
            c->Assign(source);
    } else if (name == QLatin1String("FREE")) {
        refuseWhilePrepared(c, callName(c, "Free"));
        fsFreeScriptObject(cls->FScript, c);
    }
    return TfsVariant::Null();
}

TfsVariant getComponent(QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &)
{
    TfrxComponent *c = componentOf(instance, name);
    if (name == QLatin1String("LEFT"))
        return TfsVariant(c->Left());
    if (name == QLatin1String("TOP"))
        return TfsVariant(c->Top());
    if (name == QLatin1String("WIDTH"))
        return TfsVariant(c->Width());
    if (name == QLatin1String("HEIGHT"))
        return TfsVariant(c->Height());
    if (name == QLatin1String("VISIBLE"))
        return TfsVariant(c->Visible());
    if (name == QLatin1String("ABSLEFT"))
        return TfsVariant(c->AbsLeft());
    if (name == QLatin1String("ABSTOP"))
        return TfsVariant(c->AbsTop());
    if (name == QLatin1String("PARENT"))
        return object(c->Parent());
    if (name == QLatin1String("OWNER"))
        return object(c->Owner());
    if (name == QLatin1String("PAGE"))
        return object(c->Page());
    if (name == QLatin1String("REPORT"))
        return object(c->Report());
    return TfsVariant::Null();
}

void setComponent(QObject *instance, TfsClassVariable *cls, const QString &name, const TfsVariant &value,
                  TfsCustomVariable &)
{
    TfrxComponent *c = componentOf(instance, name);
    if (name == QLatin1String("LEFT"))
        c->SetLeft(value.ToDouble());
    else if (name == QLatin1String("TOP"))
        c->SetTop(value.ToDouble());
    else if (name == QLatin1String("WIDTH"))
        c->SetWidth(value.ToDouble());
    else if (name == QLatin1String("HEIGHT"))
        c->SetHeight(value.ToDouble());
    else if (name == QLatin1String("VISIBLE"))
        c->SetVisible(value.ToBool());
    else if (name == QLatin1String("PARENT")) {
        TfrxComponent *parent = componentArg(value, QStringLiteral("Parent"));
        refuseWhilePrepared(c, callName(c, "Parent"));
        refuseWhilePrepared(parent, callName(c, "Parent"));
        // A parent inside the object's own subtree would make a cycle.
        for (TfrxComponent *p = parent; p; p = p->Parent())
            if (p == c)
                throw EfsRuntimeError(QStringLiteral("EConvertError"),
                                      QStringLiteral("An object cannot be placed inside itself"));
        c->SetParent(parent);
        // The tree owns what is placed in it; what a script takes out of the
        // tree is the script's, freed by Free or with the script.
        TfsScript *script = cls->FScript;
        if (!parent)
            script->AdoptObject(c, true);
        else if (script->IsAdopted(c))
            script->AdoptObject(c, false);
    }
}

// The script's parent class of a registered report class.
QString ancestorOf(TfsScript &s, const QMetaObject *cls)
{
    if (cls == &TfrxPersistent::staticMetaObject)
        return QStringLiteral("TPersistent");
    if (cls == &TfrxComponent::staticMetaObject)
        return QStringLiteral("TComponent");
    TfsClassVariable *parent = s.ClassOfMeta(cls->superClass());
    return parent ? parent->FName : QString();
}

// The outline's methods. ShiftItems takes the position of an item among the
// current item's children: the items after it move to the next page.
TfsVariant callOutline(QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &caller)
{
    auto *outline = qobject_cast<TfrxOutline *>(instance);
    if (!outline)
        raiseNil(name);
    if (name == QLatin1String("ADDITEM"))
        outline->AddItem(caller.ParamValue(0).ToText(), caller.ParamValue(1).ToInt());
    else if (name == QLatin1String("LEVELDOWN"))
        outline->LevelDown(caller.ParamValue(0).ToInt());
    else if (name == QLatin1String("LEVELROOT"))
        outline->LevelRoot();
    else if (name == QLatin1String("LEVELUP"))
        outline->LevelUp();
    else if (name == QLatin1String("SHIFTITEMS")) {
        TfrxXMLItem *current = outline->CurItem() ? outline->CurItem() : outline->Root();
        const int index = caller.ParamValue(0).ToInt();
        if (index >= 0 && index < current->Count())
            outline->ShiftItems(current->Items(index), caller.ParamValue(1).ToInt());
    }
    return TfsVariant::Null();
}

} // namespace

TfrxClassRTTI::TfrxClassRTTI(TfsScript *script) : TfsRTTIModule(script)
{
    TfsScript &s = *script;
    rudEnsureClassesRegistered();
    for (int i = 0; i < rudEnums::staticMetaObject.enumeratorCount(); ++i)
        s.AddEnumerator(rudEnums::staticMetaObject.enumerator(i));

    for (const QString &name : rudRegisteredClassNames()) {
        const TfrxClassEntry entry = rudFindClass(name);
        if (!entry.Class)
            continue;
        TfsClassVariable *cls = s.AddClass(name, ancestorOf(s, entry.Class), entry.Class);
        if (!entry.Create)
            continue;
        const TfrxComponentFactory create = entry.Create;
        cls->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"),
                            [create](QObject *, TfsClassVariable *classType, const QString &, TfsCustomVariable &caller) {
                                TfrxComponent *owner = componentArg(caller.ParamValue(0), QStringLiteral("AOwner"));
                                refuseWhilePrepared(owner, classType->FName + QStringLiteral(".Create"));
                                TfrxComponent *created = create(owner);
                                classType->FScript->AdoptObject(created, owner == nullptr);
                                return TfsVariant(static_cast<QObject *>(created));
                            });
    }

    TfsClassVariable *component = s.FindClass(QStringLiteral("TfrxComponent"));
    if (component) {
        component->AddMethod(QStringLiteral("function FindObject(const AName: String): Variant"), callComponent);
        component->AddMethod(QStringLiteral("procedure Clear"), callComponent);
        component->AddMethod(QStringLiteral("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)"),
                             callComponent);
        component->AddMethod(QStringLiteral("procedure Assign(Source: TfrxComponent)"), callComponent);
        component->AddMethod(QStringLiteral("procedure Free"), callComponent);
        for (const char *prop : {"Left", "Top", "Width", "Height"})
            component->AddProperty(QLatin1String(prop), QStringLiteral("Extended"), getComponent, setComponent);
        component->AddProperty(QStringLiteral("Visible"), QStringLiteral("Boolean"), getComponent, setComponent);
        component->AddProperty(QStringLiteral("Parent"), QStringLiteral("TfrxComponent"), getComponent, setComponent);
        for (const char *prop : {"AbsLeft", "AbsTop"})
            component->AddProperty(QLatin1String(prop), QStringLiteral("Extended"), getComponent);
        component->AddProperty(QStringLiteral("Owner"), QStringLiteral("TfrxComponent"), getComponent);
        component->AddProperty(QStringLiteral("Page"), QStringLiteral("TfrxPage"), getComponent);
        component->AddProperty(QStringLiteral("Report"), QStringLiteral("TfrxReport"), getComponent);
    }
    if (TfsClassVariable *report = s.FindClass(QStringLiteral("TfrxReport")))
        report->AddMethod(QStringLiteral("function Calc(const Expr: String): Variant"),
                          [](QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &caller) {
                              auto *r = qobject_cast<TfrxReport *>(instance);
                              if (!r)
                                  raiseNil(name);
                              return r->Calc(caller.ParamValue(0).ToText(), nullptr, TfrxCalcCaller::Script);
                          });
    if (TfsClassVariable *outline = s.ClassOfMeta(&TfrxOutline::staticMetaObject)) {
        outline->AddMethod(QStringLiteral("procedure AddItem(const Text: String; Top: Integer)"), callOutline);
        outline->AddMethod(QStringLiteral("procedure LevelDown(Index: Integer)"), callOutline);
        outline->AddMethod(QStringLiteral("procedure LevelRoot"), callOutline);
        outline->AddMethod(QStringLiteral("procedure LevelUp"), callOutline);
        outline->AddMethod(QStringLiteral("procedure ShiftItems(From, NewTop: Integer)"), callOutline);
    }
    if (TfsClassVariable *memo = s.FindClass(QStringLiteral("TfrxCustomMemoView")))
        memo->AddProperty(
            QStringLiteral("Text"), QStringLiteral("String"),
            [](QObject *instance, TfsClassVariable *, const QString &name, TfsCustomVariable &) {
                auto *m = qobject_cast<TfrxCustomMemoView *>(instance);
                if (!m)
                    raiseNil(name);
                return TfsVariant(m->Text());
            },
            [](QObject *instance, TfsClassVariable *, const QString &name, const TfsVariant &value, TfsCustomVariable &) {
                auto *m = qobject_cast<TfrxCustomMemoView *>(instance);
                if (!m)
                    raiseNil(name);
                m->SetText(value.ToString());
            });
}

void rudRegisterClassRTTI()
{
    static const bool registered = [] {
        fsRegisterClassesRTTI();
        fsRTTIModules().push_back([](TfsScript *script) { return std::make_unique<TfrxClassRTTI>(script); });
        return true;
    }();
    (void)registered;
}
