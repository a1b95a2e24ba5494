// The program with its windows: the entry window and its message loop, and
// every command of the command line but --pdf. It is a library of its own,
// loaded by the program's entry (Quorvel_A5.cpp) when a run needs it.

#include "app/ErrorBox.h"
#include "app/ProgramStart.h"
#include "app/mainHeadless.h"
#include "app/main.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "designer/rudDesgnInit.h"
#include "report/render/QtUserInterface.h"

#include <QApplication>
#include <QTextStream>

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

// The library's one exported function: runs the program as main() would
// with Argc and Argv (which outlive the run); the exit code.
extern "C" __attribute__((visibility("default"))) int quorvelWindowsProgram(int &argc, char **argv)
{
    // The command line face prints without a screen unless a platform is chosen.
    if (isCommandLineFace(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    initProgram();
    rudDesignerInit();
    std::optional<THeadlessCommand> command;
    if (!readProgramArguments(command))
        return 2;
    if (command && command->Kind == THeadlessCommand::Help) {
        QTextStream(stdout) << headlessUsage() << '\n';
        return 0;
    }
    if (command && command->Kind == THeadlessCommand::Register)
        return runRegisterCommand(*command);
    if (command && command->Kind == THeadlessCommand::Frdo)
        return runFrdoCommand(*command);
    if (command && (command->Kind == THeadlessCommand::Calibration || command->Kind == THeadlessCommand::CalibrationSheet))
        return runCalibrationCommand(*command);
    if (command && command->Kind != THeadlessCommand::Open)
        return runHeadlessCommand(*command);
    TQtUserInterface ui;
    setUserInterface(&ui);

    // The entry window is the main window and owns the taskbar entry;
    // closing it ends the program.
    TfmMain fmMain;
    setApplicationTitle(fmMain.windowTitle());
    fmMain.show();
    // A certificate file given to the program (by a file manager, say)
    // opens in the shown window, so that a failure's message has it behind.
    if (command)
        fmMain.OpenAtStart(command->CertificateFile);
    const int code = application.exec();
    setUserInterface(nullptr);
    return code;
}
