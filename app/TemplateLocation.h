#pragma once
// Where the print template is read and written: the school's own copy in the
// user's data folder, made from the template shipped with the program the
// first time it is edited or printed. The shipped file is never written.

#include <QString>

// The print template's file name, in the user's template folder (the user's
// copy) and in the program's data folder (the shipped one).
extern const QString PrintTemplateFileName;

// The shipped print template: dataFolder() + "/shablon.fr3".
QString shippedTemplatePath();
// The folder of the user's own print template (the user's data folder).
QString userTemplateFolder();

// Makes sure UserCopy exists: when it does not and Shipped does, Shipped's
// bytes are saved there (folder made, atomic save). Returns the file to read:
// UserCopy when it exists now, else Shipped (a user folder that cannot be
// written leaves the shipped template in use), else UserCopy (neither exists).
QString provideUserTemplate(const QString &UserCopy, const QString &Shipped);
