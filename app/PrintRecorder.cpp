#include "app/PrintRecorder.h"

#include "app/CertificateFile.h"
#include "app/PdfArchive.h"
#include "app/RegisterDialogs.h"
#include "app/CertificateReport.h"
#include "base/DateTime.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"

#include <QApplication>

TPrintRecorder::TPrintRecorder(TCertificateHost &Host, bool AskForBlank, const QString &Number)
    : FHost(Host), FReport(Host.Report()), FAskForBlank(AskForBlank), FNumber(Number)
{
    FReport->OnPrintReport = [this](TfrxReport *) { BeforeJob(); };
    FReport->OnAfterPrintReport = [this](TfrxReport *) { AfterJob(); };
    FReport->OnPrintPage = [this](TfrxReportPage *, int) { ++FPagesOut; };
}

TPrintRecorder::~TPrintRecorder()
{
    FReport->OnPrintReport = nullptr;
    FReport->OnAfterPrintReport = nullptr;
    FReport->OnPrintPage = nullptr;
    WithdrawPending();
}

// Runs after the Print window, before the job starts. A job that failed
// with an error left its record pending (the after-print event did not
// run): its blank is given back first. A register that cannot record
// stops the print with its message; a cancelled blank dialog stops it
// silently.
void TPrintRecorder::BeforeJob()
{
    WithdrawPending();
    const TCertificate printed = FHost.Certificate();
    TNewCertificate certificate;
    certificate.Series = printed.Edits[3].trimmed();
    certificate.Number = FNumber;
    certificate.OriginalId = FHost.DuplicateOf();
    certificate.FullName = printed.Edits[4].trimmed();
    certificate.IssueDate = dateTimeToQDate(printed.Dates[2]);
    certificate.Printer = rudPrinters().Printer()->Name();
    certificate.Values = certificateValues(printed);
    certificate.Details = printed.Details;
    try {
        TRegister &reg = FHost.Register();
        if (FAskForBlank && reg.HasStock(certificate.Series)) {
            const std::optional<QString> next = reg.NextFree(certificate.Series);
            if (!next)
                throw ERegisterError(QStringLiteral("Свободных бланков серии %1 в реестре нет.\n"
                                                    "Внесите поступившие бланки: «Реестр» — «Поступление бланков...».")
                                         .arg(certificate.Series));
            // Over the preview the operator prints from.
            QWidget *over = QApplication::activeModalWidget();
            TBlankDialog dialog(certificate.Series, *next, over ? over : FHost.DialogWindow());
            if (userInterface().ExecDialog(&dialog) != 1)
                throw EPrintCancelled();
            certificate.Number = dialog.Number();
        }
        FPending = reg.Record(certificate);
    } catch (const ERegisterError &error) {
        throw ERegisterError(QStringLiteral("Свидетельство не напечатано: реестр не может его записать.\n%1")
                                 .arg(error.Message()));
    }
    FPagesOut = 0;
}

// A job that sent no page (no valid printer, no page in the range asked
// for) or was stopped (its pages are then discarded) gives the blank back.
void TPrintRecorder::AfterJob()
{
    if (!FPending)
        return;
    if (FPagesOut == 0 || FReport->Terminated()) {
        WithdrawPending();
        return;
    }
    QList<TArchivedPrint> prints{{*FPending, 0, FReport->PreviewPages()->Count()}};
    FPending.reset();
    FHost.SetDuplicateOf(nullptr);
    archivePrintsAndReport(FHost.Register(), FReport, prints);
    FRecords << prints[0].Record;
}

void showWithdrawFailed(const QString &Why)
{
    userInterface().MessageBox(
        QStringLiteral("Печать не состоялась, но запись о ней не удалось снять с реестра:\n%1").arg(Why),
        applicationTitle(), TMsgIcon::Error, TMsgButtons::Ok);
}

void TPrintRecorder::WithdrawPending() noexcept
{
    if (!FPending)
        return;
    const qint64 id = FPending->Id;
    FPending.reset();
    try {
        FHost.Register().Withdraw(id);
    } catch (const std::exception &error) {
        showWithdrawFailed(QString::fromUtf8(error.what()));
    }
}
