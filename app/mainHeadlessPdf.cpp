// The command line's certificate commands up to the prepared report, and the
// PDF command. Nothing here needs a window or a printer: the program writes
// a certificate's PDF without loading its windows (Quorvel_A5.cpp).

#include "app/mainHeadless.h"

#include "app/Calibration.h"
#include "app/FitCheck.h"
#include "app/HeadlessCertificate.h"
#include "app/RegisterLocation.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"
#include "report/render/rudDrawingServices.h"
#include "report/render/rudPdfOutput.h"
#include "script/fs_iinterpreter.h"

#include <QTextStream>

namespace {

void printError(const QString &text)
{
    QTextStream err(stderr);
    err << text << '\n';
}

// The fit check of a command: true to go on (everything fits, --shrink
// made it fit, or --force); otherwise the list is on stderr and Code is 3.
bool checkFitHeadless(TfrxReport *Report, const THeadlessCommand &Command, int &Code)
{
    const QList<TFitProblem> problems = checkFit(Report);
    const bool shrink = Command.Shrink && !problems.isEmpty();
    return fitVerdict(fitProblemsText(problems), shrink ? fitProblemsText(shrinkToFit(problems)) : QString(),
                      Command, Code);
}

} // namespace

bool fitVerdict(const QString &Problems, const QString &Left, const THeadlessCommand &Command, int &Code)
{
    if (Problems.isEmpty() || Command.Force || (Command.Shrink && Left.isEmpty()))
        return true;
    if (Command.Shrink)
        printError(QStringLiteral("Не помещаются и при шрифте 6 пт (--force напечатает как есть):\n") + Left);
    else
        printError(QStringLiteral("Не помещаются на бланке (--shrink уменьшит шрифт, --force напечатает как есть):\n")
                   + Problems);
    Code = 3;
    return false;
}

int runConsoleCommand(const THeadlessCommand &Command, const std::function<int()> &Body)
{
    // Every message of a run without windows goes to stderr.
    TConsoleUserInterface ui;
    fsSetTimeLimit(qint64(Command.TimeLimit) * 1000);
    try {
        setRegisterLocationOverride(Command.Database);
        return Body();
    } catch (const Exception &error) {
        printError(error.Message());
    } catch (const std::exception &error) {
        printError(QString::fromLocal8Bit(error.what()));
    }
    return 1;
}

bool prepareCertificateReport(THeadlessCertificate &Certificate, const THeadlessCommand &Command, int &Code)
{
    // No window is built: the certificate file is read into its values
    // and the print template filled from them.
    Certificate.Open(Command.CertificateFile);
    // The series given replaces the file's for this print only, so
    // that what is printed is what is recorded.
    if (!Command.Series.isEmpty())
        Certificate.SetSeries(Command.Series);
    if (!Certificate.FillReport() || !checkFitHeadless(Certificate.Report(), Command, Code))
        return false;
    TfrxReport *report = Certificate.Report();
    // The command prepares once and ends: the template is not kept to be
    // put back after the run (a copy of every object saved and read
    // again), as a window that prepares it again must.
    report->EngineOptions()->SetDestroyForms(false);
    // Errors of preparing reach stderr through the message seam.
    return report->PrepareReport(true);
}

int runPdfCommand(const THeadlessCommand &Command)
{
    return runConsoleCommand(Command, [&] {
        THeadlessCertificate certificate(rudSharedDrawingServices());
        int code = 1;
        if (prepareCertificateReport(certificate, Command, code)) {
            rudSaveReportToPdf(certificate.Report(), Command.PdfFile,
                               Command.WithBackground ? TfrxPdfBackground::Always : TfrxPdfBackground::Printable,
                               printerCalibration(Command.CalibrationQueue));
            code = 0;
        }
        return code;
    });
}
