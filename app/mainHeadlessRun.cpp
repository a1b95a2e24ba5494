// The print command without the window on screen.

#include "app/mainHeadless.h"

#include "app/Calibration.h"
#include "app/FitCheck.h"
#include "app/PrintRecorder.h"
#include "app/RegisterLocation.h"
#include "app/main.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
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
    if (problems.isEmpty() || Command.Force)
        return true;
    if (Command.Shrink) {
        const QList<TFitProblem> left = shrinkToFit(problems);
        if (left.isEmpty())
            return true;
        printError(QStringLiteral("Не помещаются и при шрифте 6 пт (--force напечатает как есть):\n")
                   + fitProblemsText(left));
        Code = 3;
        return false;
    }
    printError(QStringLiteral("Не помещаются на бланке (--shrink уменьшит шрифт, --force напечатает как есть):\n")
               + fitProblemsText(problems));
    Code = 3;
    return false;
}

} // namespace

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
        TfmMain window;
        window.OpenCertificate(Command.CertificateFile);
        // The series given replaces the file's for this print only, so
        // that what is printed is what is recorded.
        if (!Command.Series.isEmpty()) {
            window.Edit_4->setText(Command.Series);
            if (window.Edit_4->text() != Command.Series)
                throw EConvertError(QStringLiteral("Серия «%1» длиннее %2 знаков: на бланке для неё нет места.")
                                        .arg(Command.Series)
                                        .arg(window.Edit_4->maxLength()));
        }
        if (window.FillReport() && checkFitHeadless(window.rudReport1, Command, code)) {
            TfrxReport *report = window.rudReport1;
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
                    TPrintRecorder recorder(window, false, Command.Number);
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
