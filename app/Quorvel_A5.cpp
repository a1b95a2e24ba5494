// The program's entry. A certificate's PDF (--pdf) is written right here,
// with Qt's core and painting only. The windows and every other command live
// in the windows library (WindowsProgram.cpp), loaded when a run needs them:
// loading the widget and printing libraries with all they pull in would
// otherwise be a large part of a short command's time.

#include "app/ProgramStart.h"
#include "app/mainHeadless.h"

#include <QGuiApplication>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

// The certificate PDF command without the windows library.
int runPdfProgram(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    initProgram();
    std::optional<THeadlessCommand> command;
    if (!readProgramArguments(command))
        return 2;
    // An argument list that starts with --pdf reads as a PDF command or not at all.
    if (!command || command->Kind != THeadlessCommand::Pdf)
        return 2;
    return runPdfCommand(*command);
}

// Loads the windows library and runs the program in it. It lies beside
// the program in the build folder and at RUD_WINDOWS_LIBRARY (relative to
// the program's folder) in an installed tree.
int runWindowsProgram(int &argc, char **argv)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    std::string tried;
    for (const std::filesystem::path &path : {folder / "quorvel-a5-windows.so", folder / RUD_WINDOWS_LIBRARY}) {
        void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            tried += std::string("\n  ") + dlerror();
            continue;
        }
        using TProgram = int (*)(int &, char **);
        if (const auto program = reinterpret_cast<TProgram>(dlsym(library, "quorvelWindowsProgram")))
            return program(argc, argv);
        tried += "\n  " + path.string() + ": no quorvelWindowsProgram";
    }
    std::cerr << "Quorvel_A5: the program's windows library cannot be loaded:" << tried << std::endl;
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--pdf") == 0)
        return runPdfProgram(argc, argv);
    return runWindowsProgram(argc, argv);
}
