#pragma once
// The system module: built-in types, constants, exception variables, element
// helpers and functions every script can use without declaring them.

#include "script/fs_iitems.h"

// The first registration module of the global module list.
class TfsSysFunctions : public TfsRTTIModule {
public:
    explicit TfsSysFunctions(TfsScript *script);

private:
    TfsVariant CallMethod(QObject *instance, TfsClassVariable *classType, const QString &methodName,
                          TfsCustomVariable &caller);
};

// The category names of built-in functions, in registration order.
QStringList fsFunctionCategories();
