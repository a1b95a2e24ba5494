#pragma once
// Qt's own texts (standard buttons of message boxes, the file dialogs, the
// calendar) in the language of the program's home locale.

class QTranslator;

// Makes homeLocale() Qt's default locale and installs Qt's translations for
// it into the application. Returns the translator installed (owned by the
// application), or nullptr when Qt has no translations for that language.
// Call once after the application object exists.
QTranslator *installQtTranslations();
