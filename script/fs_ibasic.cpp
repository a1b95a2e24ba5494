// BasicScript: the grammar is a resource of the program.

#include "script/fs_ibasic.h"

#include "script/fs_igrammar.h"
#include "script/fs_igrammarfile.h"

QString fsBasicScriptGrammar()
{
    return fsGrammarResource(QStringLiteral("BasicScript.xml"));
}

void fsRegisterBasicScript()
{
    fsRegisterLanguage(QStringLiteral("BasicScript"), &fsBasicScriptGrammar);
}
