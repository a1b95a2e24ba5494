#pragma once
// The classes module: the root classes every host class descends from
// (TObject, TPersistent, TComponent) and the string lists (TStrings,
// TStringList, fs_istrings.h).
//
// Members a script finds on them:
//  - TObject: constructor Create, procedure Free, function ClassName.
//    Free frees only what a script constructor made; freeing a host's object
//    (a report object, a sub-object) raises an error, because the host
//    still owns it and would free it again. Free of nil does nothing.
//  - TComponent: Name (the object's name) and Owner (its parent object).
//  - TStrings: Add, Insert, Delete, Clear, IndexOf, Assign, AddStrings,
//    Count, Text, CommaText, and Strings[Index] as the default property (L[0]).
//  - TStringList: constructor Create, Sort, Sorted, Duplicates
//    (dupIgnore, dupAccept, dupError), CaseSensitive.
// A host's QStringList property reads as a TStrings bound to it.

#include "script/fs_iitems.h"

class QObject;

// The second registration module of the global module list.
class TfsClassesRTTI : public TfsRTTIModule {
public:
    explicit TfsClassesRTTI(TfsScript *script);
};

// The script's Free of an object: frees an object a script constructor made;
// raises "Cannot free an object of class X: it belongs to its host" for any
// other. Nothing happens for nil.
void fsFreeScriptObject(TfsScript *script, QObject *instance);

// Appends the classes module to fsRTTIModules() once; the system module is
// created first by the list itself. Called at start-up, before any script
// registers its built-ins.
void fsRegisterClassesRTTI();
