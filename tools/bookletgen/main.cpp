// bookletgen: draws the two booklet pages of the entry window and writes them
// as PNG files. Usage: bookletgen <output folder> (writes left.png, right.png).

#include "BookletPages.h"
#include "report/render/SystemFonts.h"

#include "base/Errors.h"
#include "base/SafeSave.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    registerSystemFonts();
    if (argc != 2) {
        std::fprintf(stderr, "usage: bookletgen <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "bookletgen: cannot create %s\n", argv[1]);
        return 1;
    }
    const struct {
        const char *Name;
        QImage Image;
    } pages[] = {{"left.png", drawLeftPage()}, {"right.png", drawRightPage()}};
    for (const auto &page : pages) {
        const QString path = folder.filePath(QString::fromLatin1(page.Name));
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        if (!page.Image.save(&png, "PNG")) {
            std::fprintf(stderr, "bookletgen: cannot encode %s\n", qPrintable(path));
            return 1;
        }
        try {
            saveFileAtomically(path, png.data());
        } catch (const Exception &e) {
            std::fprintf(stderr, "bookletgen: %s\n", e.what());
            return 1;
        }
    }
    return 0;
}
