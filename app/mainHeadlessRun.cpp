// The print and group commands without the window on screen.

#include "app/mainHeadless.h"

#include "app/HeadlessCertificate.h"
#include "app/PrintRecorder.h"
#include "designer/rudDesgnInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"

int runHeadlessCommand(const THeadlessCommand &Command)
{
    if (Command.Kind == THeadlessCommand::Pdf)
        return runPdfCommand(Command);
    if (Command.Kind == THeadlessCommand::Batch)
        return runConsoleCommand(Command, [&] { return runBatchCommand(Command); });
    return runConsoleCommand(Command, [&] {
        // The same services as the window's report.
        THeadlessCertificate certificate(rudSharedDesignerServices());
        int code = 1;
        if (prepareCertificateReport(certificate, Command, code)) {
            TfrxPrintOptions *options = certificate.Report()->PrintOptions();
            options->SetShowDialog(false);
            if (!Command.Printer.isEmpty())
                options->SetPrinter(Command.Printer);
            if (Command.Copies > 0)
                options->SetCopies(Command.Copies);
            // The recorder gives the blank back when the job fails.
            TPrintRecorder recorder(certificate, false, Command.Number);
            code = certificate.Report()->PreviewPages()->Print() && !recorder.Records().isEmpty() ? 0 : 1;
        }
        return code;
    });
}
