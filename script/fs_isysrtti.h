#pragma once
// The system module: built-in types, constants, exception variables, element
// helpers and functions every script can use without declaring them; and the
// ordered registration of the other modules of the global module list.

#include "script/fs_iitems.h"

#include <QStringList>

// The first registration module of the global module list.
class TfsSysFunctions : public TfsRTTIModule {
public:
    explicit TfsSysFunctions(TfsScript *script);

private:
    // One handler per function group; each selects by the upper-case name.
    TfsVariant CallConv(const QString &name, TfsCustomVariable &caller);
    TfsVariant CallFormat(const QString &name, TfsCustomVariable &caller);
    TfsVariant CallDate(const QString &name, TfsCustomVariable &caller);
    TfsVariant CallString(const QString &name, TfsCustomVariable &caller);
    TfsVariant CallMath(const QString &name, TfsCustomVariable &caller);
    TfsVariant CallOther(const QString &name, TfsCustomVariable &caller);
};

// The category names of built-in functions, in registration order: "ctConv",
// "ctFormat", "ctDate", "ctString", "ctMath", "ctOther", then any category a
// later module registered.
QStringList fsFunctionCategories();
// Adds a category name to the list once.
void fsRegisterCategory(const QString &category);

// Names of the registration modules that follow the system module, in the
// order they always take in the global list, whatever order their rooms
// start in.
inline constexpr const char *fsModuleClasses = "fs_iclassesrtti";
inline constexpr const char *fsModuleGraphics = "fs_igraphicsrtti";
inline constexpr const char *fsModuleForms = "fs_iformsrtti";
inline constexpr const char *fsModuleReport = "rudClassRTTI";
inline constexpr const char *fsModuleDialogs = "fs_idialogsrtti";
inline constexpr const char *fsModuleIni = "fs_iinirtti";

// Adds a module to the global module list under a name. A name already added
// is ignored (start-up code may run twice in tests). Known names (above) take
// their fixed place relative to each other; other names go to the end. Scripts
// that already ran AddRTTI keep the modules they had.
void fsRegisterRTTIModule(const QString &name, TfsRTTIModuleFactory factory);
// The names of the modules of the global list, in order ("TfsSysFunctions"
// first; modules appended without a name show as empty texts).
QStringList fsRTTIModuleNames();
