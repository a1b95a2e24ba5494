#pragma once
// The report-object module of the script engine: every class of the report
// class registry with its published properties and its parent class, the
// enumerations of the report objects, and the members a report author uses
// on components beyond their published properties:
//  - every component class: constructor Create(AOwner), placing the new
//    object under AOwner (a script that gives no owner owns the object and
//    frees it with Free, or the script frees it at the end). Setting Parent
//    moves ownership the same way: into the tree, or to the script for nil;
//  - TfrxComponent: FindObject(Name) (the first descendant of that name, nil
//    when none; typed Variant, so that the found object's members resolve on
//    its own class when the script runs), Clear (destroys the children),
//    SetBounds, Assign, and the public Left, Top, Width, Height, Visible,
//    Parent, Owner, Page, Report, AbsLeft, AbsTop;
//  - TfrxReport: Calc(Expr), an expression's value; its errors are raised
//    to the script ("Error in Calc expression: ...");
//  - TfrxCustomMemoView: Text, the lines as one string.
// While the report is being prepared its tree stays as it is: Clear, Assign,
// Free, setting Parent and Create with an owner on the report's objects raise
// "Cannot call Page1.Clear while the report is being prepared" (naming the
// call); their properties may still change.
// In the script, TfrxPersistent descends from TPersistent and TfrxComponent
// from TComponent, so `is` tests against the root classes hold.

#include "script/fs_iitems.h"

// The report-object registration module.
class TfrxClassRTTI : public TfsRTTIModule {
public:
    explicit TfrxClassRTTI(TfsScript *script);
};

// Appends the report-object module to fsRTTIModules() once (after the
// classes module, which it registers first if needed).
void rudRegisterClassRTTI();
