#pragma once
// Where the program's own read-only data (the shipped print template, string
// tables) lies: found relative to the running binary, so that the build folder
// and an installed prefix work alike.

#include <QString>

// The name of the program's data folder under an installed prefix's share/.
extern const QString DataFolderName;

// The folder holding the program's shipped data: "<bin>/../share/quorvel-a5"
// when the binary runs from an installed prefix (that folder exists), else
// the binary's own folder (the build folder, where the files are copied).
QString dataFolder();
