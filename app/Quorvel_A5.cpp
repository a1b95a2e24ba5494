// The program's entry: start-up, the entry window, the message loop.

#include "app/main.h"
#include "base/UserInterface.h"
#include "report/render/QtUserInterface.h"
#include "report/render/SystemFonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    registerSystemFonts();
    TQtUserInterface ui;
    setUserInterface(&ui);

    TfmMain fmMain;
    setApplicationTitle(fmMain.windowTitle());
    fmMain.move(0, 0);
    fmMain.show();
    const int code = application.exec();
    setUserInterface(nullptr);
    return code;
}
