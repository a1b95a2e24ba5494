#pragma once
// The C++Script language: C-like blocks, declarations that begin with the type.

#include <QString>

// The grammar document of C++Script.
QString fsCPlusScriptGrammar();
// Registers "C++Script" with the language registry.
void fsRegisterCPlusScript();
