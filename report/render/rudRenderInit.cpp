#include "report/render/rudRenderInit.h"

#include "report/render/SystemFonts.h"

#include <QFont>
#include <QGuiApplication>

void rudRenderInit()
{
    static bool fontsDone = false;
    if (fontsDone || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    fontsDone = true;
    registerSystemFonts();
    // fontconfig maps these names already; stating it here keeps the
    // layout independent of a machine's fontconfig rules.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}
