#pragma once
// The JScript language: functions and var declarations without types.

#include <QString>

// The grammar document of JScript.
QString fsJScriptGrammar();
// Registers "JScript" with the language registry.
void fsRegisterJScript();
