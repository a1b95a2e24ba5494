// PascalScript: the grammar is a resource of the program.

#include "script/fs_ipascal.h"

#include "script/fs_igrammar.h"

#include <QFile>

static void initGrammarResources()
{
    // The resource lives in a static library: it must be initialised by hand.
    Q_INIT_RESOURCE(fs_grammars);
}

QString fsPascalScriptGrammar()
{
    initGrammarResources();
    QFile file(QStringLiteral(":/grammars/PascalScript.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void fsRegisterPascalScript()
{
    fsRegisterLanguage(QStringLiteral("PascalScript"), &fsPascalScriptGrammar);
}
