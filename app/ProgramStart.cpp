#include "app/ProgramStart.h"

#include "app/QtTranslations.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "report/engine/rudEngineInit.h"
#include "report/render/SystemFonts.h"
#include "report/render/rudRenderInit.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

bool isCommandLineFace(int argc, char **argv)
{
    if (argc < 2)
        return false;
    for (const char *option : {"--print", "--pdf", "--help", "--register", "--batch", "--frdo", "--calibration",
                               "--calibration-sheet"})
        if (std::strcmp(argv[1], option) == 0)
            return true;
    return false;
}

void initProgram()
{
    registerSystemFonts();
    installQtTranslations();
    setFormatSettings(systemFormatSettings());
    rudEngineInit();
    rudRenderInit();
}

bool readProgramArguments(std::optional<THeadlessCommand> &Command)
{
    try {
        Command = parseHeadlessCommand(QCoreApplication::arguments().mid(1));
        return true;
    } catch (const Exception &error) {
        QTextStream(stderr) << error.Message() << '\n';
        return false;
    }
}
