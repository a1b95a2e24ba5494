#pragma once
// Where the program finds the school's register: the location kept in the
// program's settings file, unless the command line names another (--db).

#include <QString>

// The program's settings file in the user's config folder.
QString programSettingsFile();

// The register's location as TRegister::Open reads it: the command line's
// choice when there is one, else the settings' ("" for the default file).
QString registerLocation();
// The location kept in the settings file ("" when none is kept).
QString savedRegisterLocation();
// Keeps Location in the settings file (saved at once, atomically).
void saveRegisterLocation(const QString &Location);
// The command line's choice, for this run only; an empty string clears it.
void setRegisterLocationOverride(const QString &Location);
