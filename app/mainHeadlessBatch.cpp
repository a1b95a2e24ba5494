// A group printed from the command line: the list's trainees over the
// common values of a certificate file, as one PDF or one print job.

#include "app/GroupPrint.h"
#include "app/HeadlessCertificate.h"
#include "app/mainHeadless.h"
#include "designer/rudDesgnInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/rudPdfOutput.h"

#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

namespace {

// The group's fit check: true to go on, as the print command decides.
bool fitGroup(TCertificateHost &Host, const QList<TGroupTrainee> &Trainees, const THeadlessCommand &Command, int &Code)
{
    if (Command.Force)
        return true;
    const TGroupFit fit = checkGroupFit(Host, Trainees);
    return fitVerdict(fit.Problems.join(QLatin1Char('\n')), fit.Left.join(QLatin1Char('\n')), Command, Code);
}

} // namespace

int runBatchCommand(const THeadlessCommand &Command)
{
    // The same services as the window's report: the group may be printed.
    THeadlessCertificate common(rudSharedDesignerServices());
    common.Open(Command.CertificateFile);
    if (!Command.Series.isEmpty())
        common.SetSeries(Command.Series);
    const TGroupList list = readGroupList(Command.ListFile, groupListOptions());
    // Every failing row is told before anything is printed, once: a row
    // the reader found fault with is not checked again.
    QStringList faults = list.Problems;
    if (list.Trainees.isEmpty())
        faults << QStringLiteral("В списке группы %1 нет ни одного обучающегося.").arg(Command.ListFile);
    QSet<int> told;
    const QRegularExpression rowNumber(QStringLiteral("^Строка (\\d+)"));
    for (const QString &problem : list.Problems)
        if (const QRegularExpressionMatch m = rowNumber.match(problem); m.hasMatch())
            told << m.captured(1).toInt();
    QList<TGroupTrainee> unchecked;
    for (const TGroupTrainee &trainee : list.Trainees)
        if (!told.contains(trainee.Row))
            unchecked << trainee;
    faults << checkGroup(common, unchecked);
    if (!faults.isEmpty()) {
        QTextStream err(stderr);
        err << QStringLiteral("Группа не напечатана: исправьте строки списка %1.\n").arg(Command.ListFile);
        for (const QString &fault : faults)
            err << fault << '\n';
        return 1;
    }
    int code = 1;
    if (!fitGroup(common, list.Trainees, Command, code))
        return code;
    QList<TGroupCertificate> certificates;
    if (!prepareGroup(common, list.Trainees, certificates, Command.Shrink))
        return 1;
    TfrxReport *report = common.Report();
    if (Command.Kind == THeadlessCommand::Batch && !Command.PdfFile.isEmpty()) {
        rudSaveReportToPdf(report, Command.PdfFile, TfrxPdfBackground::Printable);
        return 0;
    }
    TfrxPrintOptions *options = report->PrintOptions();
    options->SetShowDialog(false);
    if (!Command.Printer.isEmpty())
        options->SetPrinter(Command.Printer);
    TGroupRecorder recorder(common, certificates, true);
    return report->PreviewPages()->Print() && recorder.Records().size() == certificates.size() ? 0 : 1;
}
