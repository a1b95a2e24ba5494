// The registry of component editors: which editor a double click opens
// for an object of a given class.

#include "designer/rudComponentEditors.h"

#include "report/model/rudComponent.h"

#include <QHash>

namespace {

QHash<const QMetaObject *, TfrxComponentEditorFactory> &editors()
{
    static QHash<const QMetaObject *, TfrxComponentEditorFactory> registry;
    return registry;
}

} // namespace

void rudRegisterComponentEditor(const QMetaObject *Class, TfrxComponentEditorFactory Factory)
{
    editors().insert(Class, std::move(Factory));
}

std::unique_ptr<TfrxComponentEditor> rudComponentEditorFor(TfrxComponent *Component, TfrxCustomDesigner *Designer)
{
    if (!Component)
        return nullptr;
    for (const QMetaObject *cls = Component->metaObject(); cls; cls = cls->superClass()) {
        auto it = editors().constFind(cls);
        if (it != editors().constEnd())
            return it.value()(Component, Designer);
    }
    return nullptr;
}
