// The print command without the window on screen.

#include "app/mainHeadless.h"

#include "app/Calibration.h"
#include "app/FitCheck.h"
#include "app/HeadlessCertificate.h"
#include "app/PrintRecorder.h"
#include "app/RegisterLocation.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"
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

int runHeadlessCommand(const THeadlessCommand &Command)
{
    // Every message of a run without windows goes to stderr.
    TConsoleUserInterface ui;
    fsSetTimeLimit(qint64(Command.TimeLimit) * 1000);
    int code = 1;
    try {
        setRegisterLocationOverride(Command.Database);
        if (Command.Kind == THeadlessCommand::Batch) {
            return runBatchCommand(Command);
        }
        // No window is built: the certificate file is read into its values
        // and the print template filled from them.
        THeadlessCertificate certificate;
        certificate.Open(Command.CertificateFile);
        // The series given replaces the file's for this print only, so
        // that what is printed is what is recorded.
        if (!Command.Series.isEmpty())
            certificate.SetSeries(Command.Series);
        if (certificate.FillReport() && checkFitHeadless(certificate.Report(), Command, code)) {
            TfrxReport *report = certificate.Report();
            // The command prepares once and ends: the template is not kept
            // to be put back after the run (a copy of every object saved and
            // read again), as a window that prepares it again must.
            report->EngineOptions()->SetDestroyForms(false);
            // Errors of preparing reach stderr through the message seam.
            if (report->PrepareReport(true)) {
                if (Command.Kind == THeadlessCommand::Pdf) {
                    rudSaveReportToPdf(report, Command.PdfFile,
                                       Command.WithBackground ? TfrxPdfBackground::Always
                                                              : TfrxPdfBackground::Printable,
                                       printerCalibration(Command.CalibrationQueue));
                    code = 0;
                } else {
                    TfrxPrintOptions *options = report->PrintOptions();
                    options->SetShowDialog(false);
                    if (!Command.Printer.isEmpty())
                        options->SetPrinter(Command.Printer);
                    if (Command.Copies > 0)
                        options->SetCopies(Command.Copies);
                    // The recorder gives the blank back when the job fails.
                    TPrintRecorder recorder(certificate, false, Command.Number);
                    code = report->PreviewPages()->Print() && !recorder.Records().isEmpty() ? 0 : 1;
                }
            }
        }
    } catch (const Exception &error) {
        printError(error.Message());
    } catch (const std::exception &error) {
        printError(QString::fromLocal8Bit(error.what()));
    }
    return code;
}
