#pragma once
// The BasicScript language: line-oriented statements, Sub and Function blocks.

#include <QString>

// The grammar document of BasicScript.
QString fsBasicScriptGrammar();
// Registers "BasicScript" with the language registry.
void fsRegisterBasicScript();
