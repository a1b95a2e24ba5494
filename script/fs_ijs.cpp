// JScript: the grammar is a resource of the program.

#include "script/fs_ijs.h"

#include "script/fs_igrammar.h"
#include "script/fs_igrammarfile.h"

QString fsJScriptGrammar()
{
    return fsGrammarResource(QStringLiteral("JScript.xml"));
}

void fsRegisterJScript()
{
    fsRegisterLanguage(QStringLiteral("JScript"), &fsJScriptGrammar);
}
