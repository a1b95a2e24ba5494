#include "report/render/SystemFonts.h"

#include <QDir>
#include <QFontDatabase>

int registerSystemFonts()
{
    // Tahoma and its bold face come with the Wine font package.
    static const char *const files[] = {
        "/usr/share/wine/fonts/tahoma.ttf",
        "/usr/share/wine/fonts/tahomabd.ttf",
    };
    static int added = -1;
    if (added >= 0)
        return added;
    added = 0;
    for (const char *file : files) {
        if (QFile::exists(QString::fromLatin1(file)) &&
            QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0)
            ++added;
    }
    return added;
}
