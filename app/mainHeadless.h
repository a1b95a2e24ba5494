#pragma once
// The print command without the window on screen, for printing saved
// certificates from a shell or a file manager:
//   Quorvel_A5 --print FILE.vod [--printer NAME] [--copies N]
//   Quorvel_A5 --pdf FILE.vod OUT.pdf
// Either takes --time-limit SECONDS (0: none): the template's script stops
// after that long and the command fails.

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks for.
struct THeadlessCommand {
    enum TKind { Print, Pdf } Kind = Print;
    QString CertificateFile;
    QString Printer;   // empty: the report's own choice
    int Copies = 0;    // 0: the report's own number
    QString PdfFile;
    int TimeLimit = 300; // seconds a script of the template may run; 0: no limit
};

// Reads the arguments after the program's name: nothing when they hold no
// headless command (the window starts as usual). Raises EConvertError with
// a usage text for arguments it cannot read.
std::optional<THeadlessCommand> parseHeadlessCommand(const QStringList &Arguments);

// Runs the command with the entry window hidden: opens the certificate as
// the file menu does, checks and fills as the print command does, prepares
// the report and prints it or writes the PDF. Every message goes to stderr;
// the result is the exit code (0, or 1 at the first failure).
int runHeadlessCommand(const THeadlessCommand &Command);

// The usage text printed for arguments that cannot be read.
QString headlessUsage();
