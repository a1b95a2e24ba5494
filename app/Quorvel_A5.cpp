// The program's entry: start-up, the entry window, the message loop.

#include "app/ErrorBox.h"
#include "app/main.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "base/UserInterface.h"
#include "report/engine/rudEngineInit.h"
#include "report/render/QtUserInterface.h"
#include "report/render/SystemFonts.h"
#include "report/render/rudRenderInit.h"

#include <QApplication>

namespace {

// The application object; a failure that slips past every handler reaches
// the standard error box here and the program goes on.
class TApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Exception &error) {
            showException(error);
        } catch (const std::exception &error) {
            showException(error);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    TApplication application(argc, argv);
    registerSystemFonts();
    setFormatSettings(systemFormatSettings());
    rudEngineInit();
    rudRenderInit();
    TQtUserInterface ui;
    setUserInterface(&ui);

    // The entry window is the main window and owns the taskbar entry;
    // closing it ends the program.
    TfmMain fmMain;
    setApplicationTitle(fmMain.windowTitle());
    fmMain.show();
    const int code = application.exec();
    setUserInterface(nullptr);
    return code;
}
