#pragma once
// The start every face of the program shares, the windows' and the command
// line's: which face the arguments ask for, and what is set up once the
// application object exists.

#include "app/mainHeadless.h"

#include <optional>

// True when the arguments ask for a command of the command line (--print,
// --pdf, --help, --register, --batch, --frdo, --calibration,
// --calibration-sheet): such a run uses no screen unless a platform is chosen.
bool isCommandLineFace(int argc, char **argv);

// Sets up what everything after the application object relies on: the
// system fonts, Qt's translations, the number and date formats, the engine
// and the drawing room.
void initProgram();

// Reads the application's arguments into Command (parseHeadlessCommand);
// false, with the usage on stderr, when they cannot be read: the program
// then ends with exit code 2.
bool readProgramArguments(std::optional<THeadlessCommand> &Command);
