// Grammar texts compiled into the program as resources.

#include "script/fs_igrammarfile.h"

#include <QFile>

static void initGrammarFileResources()
{
    // The resource lives in a static library: it must be initialised by hand.
    Q_INIT_RESOURCE(fs_grammars);
}

QString fsGrammarResource(const QString &fileName)
{
    initGrammarFileResources();
    QFile file(QStringLiteral(":/grammars/") + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
