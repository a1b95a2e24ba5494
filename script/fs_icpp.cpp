// C++Script: the grammar is a resource of the program.

#include "script/fs_icpp.h"

#include "script/fs_igrammar.h"
#include "script/fs_igrammarfile.h"

QString fsCPlusScriptGrammar()
{
    return fsGrammarResource(QStringLiteral("CPlusScript.xml"));
}

void fsRegisterCPlusScript()
{
    fsRegisterLanguage(QStringLiteral("C++Script"), &fsCPlusScriptGrammar);
}
