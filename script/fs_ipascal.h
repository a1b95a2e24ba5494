#pragma once
// The PascalScript language: its grammar text, compiled into the program.

#include <QString>

// The grammar document of PascalScript.
QString fsPascalScriptGrammar();
// Registers "PascalScript" with the language registry.
void fsRegisterPascalScript();
