#pragma once
// Global hooks of the expression side, shared by every report of the
// process: a host may add script items to every report, answer names before
// the reports do, and answer names no report knows.

#include "script/fs_ivariant.h"

#include <QString>
#include <functional>

class TfrxReport;

// The global events object; see the file comment.
class TfrxFR2Events {
public:
    // Called by PrepareScript after the report's own items are registered.
    std::function<void(TfrxReport *Report)> OnPrepareScript;
    // Asked first by DoGetValue; answers with a value that is neither Null
    // nor empty.
    std::function<TfsVariant(const QString &VarName)> OnGetValue;
    // When set, replaces the lookup of script variables in DoGetValue and
    // answers "Get" for names nothing else knows.
    std::function<TfsVariant(const QString &VarName)> OnGetScriptValue;
};

// The process's global events object.
TfrxFR2Events &rudFR2Events();
