#pragma once
// The program's command line: a certificate file to open in the window, or
// the print command without the window on screen, for printing saved
// certificates from a shell or a file manager:
//   Quorvel_A5 FILE.vod
//   Quorvel_A5 --help
//   Quorvel_A5 --print FILE.vod [--printer NAME] [--copies N] [--series S] [--number N] [--db URL]
//   Quorvel_A5 --pdf FILE.vod OUT.pdf [--with-background]
//   Quorvel_A5 --register blanks-add SERIES FIRST LAST [--db URL]
//   Quorvel_A5 --register list [--from DATE] [--to DATE] [--db URL]
//   Quorvel_A5 --register void SERIES NUMBER --reason TEXT [--db URL]
//   Quorvel_A5 --batch LIST --vod COMMON.vod --pdf OUT.pdf
//   Quorvel_A5 --batch LIST --vod COMMON.vod --print [--printer NAME] [--series S] [--db URL]
//   Quorvel_A5 --frdo OUT.xlsx [--from DATE] [--to DATE] [--valid-only] [--db URL]
//   Quorvel_A5 --calibration QUEUE [--offset X,Y] [--scale SX,SY]
//   Quorvel_A5 --calibration-sheet QUEUE
// --print, --pdf and --batch take --shrink or --force for values that would be cut.
// Printing and the PDF take --time-limit SECONDS (0: none): the template's
// script stops after that long and the command fails. A print is recorded
// in the register (the settings' one, or --db).

#include <QDate>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What the command line asks for.
struct THeadlessCommand {
    // Open: no headless work; the window starts with CertificateFile loaded.
    // Help: the usage text on stdout.
    // Register: one of the register's commands (RegisterVerb).
    // Batch: a group list (ListFile) over the common values of CertificateFile,
    // into PdfFile when one is given, else printed.
    // Calibration: shows or sets a queue's calibration; CalibrationSheet prints its sheet.
    // Frdo: the federal register export into ExportFile, the certificates
    // issued From ... To.
    enum TKind { Open, Help, Print, Pdf, Register, Batch, Calibration, CalibrationSheet, Frdo } Kind = Print;
    QString ListFile;
    QString CertificateFile;
    QString Printer;   // empty: the report's own choice
    int Copies = 0;    // 0: the report's own number
    QString PdfFile;
    // The PDF holds the page's background picture even when it is not
    // printable (to check the alignment on screen).
    bool WithBackground = false;
    int TimeLimit = 300; // seconds a script of the template may run; 0: no limit
    QString Database;    // --db: the register for this run; empty: the settings' one
    // Print: the series printed and recorded instead of the file's; the blank asked for.
    QString Series, Number;
    // Register: "blanks-add", "list" or "void", with the arguments it takes.
    QString RegisterVerb;
    QStringList RegisterArguments; // blanks-add: series, first, last; void: series, number
    QDate From, To;                // list: the days printed, inclusive; null: open
    QString Reason;                // void
    // Frdo: the file written; the rows that pass are written even when
    // others fail (ValidOnly).
    QString ExportFile;
    bool ValidOnly = false;
    // Calibration, CalibrationSheet: the queue; --pdf --calibrated: the
    // queue whose calibration the PDF takes (empty: none).
    QString CalibrationQueue;
    // Print, Pdf, Batch: a value that would be cut gets a smaller font (Shrink;
    // still cut at 6 pt: nothing printed, exit 3) or is printed cut (Force);
    // with neither nothing is printed (exit 3).
    bool Shrink = false, Force = false;
    // Calibration: the values to set (absent: shown, or kept).
    std::optional<QPointF> Offset, Scale;
};

// Reads the arguments after the program's name: nothing when there are
// none (the window starts as usual). Raises EConvertError with a usage
// text for arguments it cannot read.
std::optional<THeadlessCommand> parseHeadlessCommand(const QStringList &Arguments);

// Runs a Print, Pdf or Batch command with the entry window hidden: opens the
// certificate as the file menu does, checks and fills as the print command
// does, prepares the report and prints it or writes the PDF. Every message
// goes to stderr; the result is the exit code (0, or 1 at the first failure,
// or 3 when a value would be cut: the list on stderr, nothing printed).
int runHeadlessCommand(const THeadlessCommand &Command);

// Runs a Pdf command: as runHeadlessCommand, without any window or
// printer (the report has the drawing room's services only).
int runPdfCommand(const THeadlessCommand &Command);

// The frame of a command run without windows: messages on stderr through
// the console user interface, the script time limit and register of
// Command set; Body's result, or 1 when it throws (the error on stderr).
int runConsoleCommand(const THeadlessCommand &Command, const std::function<int()> &Body);

class THeadlessCertificate;

// Opens Command's certificate in Certificate, fills its report, checks the
// fit (fitVerdict) and prepares the report; false when nothing is to be
// output (Code 3 when a value would be cut). Raises what reading raises.
bool prepareCertificateReport(THeadlessCertificate &Certificate, const THeadlessCommand &Command, int &Code);

// The command's answer to the fit check: Problems are the values that
// would be cut (one a line, "" when all fit), Left those that still would
// be at 6 pt (asked for with --shrink only). True to go on (all fit,
// --force, or --shrink and nothing left); otherwise the list is on stderr
// and Code is 3.
bool fitVerdict(const QString &Problems, const QString &Left, const THeadlessCommand &Command, int &Code);

// The Batch part of runHeadlessCommand, with its user interface in place:
// reads the list, checks every row (all failing rows on stderr, exit 1,
// nothing printed), prepares the group and writes its PDF or prints it as
// one job, each certificate recorded as issued.
int runBatchCommand(const THeadlessCommand &Command);
// Reads a --calibration or --calibration-sheet command into Command.
void parseCalibrationCommand(const QStringList &Arguments, THeadlessCommand &Command);
// Runs a Calibration or CalibrationSheet command; the exit code.
int runCalibrationCommand(const THeadlessCommand &Command);

// Runs a Frdo command: the failing rows and the result on stderr; the exit
// code (1 when the file was not written: a row fails without ValidOnly, or
// the register or the file cannot be used).
int runFrdoCommand(const THeadlessCommand &Command);

// Runs a Register command; messages on stderr, the list on stdout; the exit code.
int runRegisterCommand(const THeadlessCommand &Command);

// The usage text printed for arguments that cannot be read.
QString headlessUsage();
