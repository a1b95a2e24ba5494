#include "app/GroupPrint.h"

#include "app/CertificateFile.h"
#include "app/FitCheck.h"
#include "app/PdfArchive.h"
#include "app/PrintRecorder.h"
#include "app/CertificateReport.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/model/rudXML.h"
#include "report/render/rudPrinter.h"

#include <algorithm>

namespace {

// Puts Trainee into Certificate, a copy of the common values: the own name,
// each grade given (an empty one keeps the common one) and the training
// dates given. The fault that keeps the trainee's values out ("" when none).
QString apply(TCertificate &Certificate, const TGroupTrainee &Trainee)
{
    if (Trainee.FullName.size() > CertificateMaxText)
        return QStringLiteral("ФИО длиннее %1 знаков: на бланке для него нет места.").arg(CertificateMaxText);
    Certificate.Edits[4] = Trainee.FullName;
    for (int i = 0; i < 10; ++i) {
        const QString &grade = Trainee.Grades[i];
        if (grade.isEmpty())
            continue;
        // As the grade box finds an item's text: letter case ignored.
        const QStringList texts = certificateGradeTexts(i);
        const auto found = std::find_if(texts.begin(), texts.end(), [&grade](const QString &text) {
            return text.compare(grade, Qt::CaseInsensitive) == 0;
        });
        if (found == texts.end())
            return QStringLiteral("оценка «%1» по предмету %2 не из списка.").arg(grade).arg(i + 1);
        Certificate.Grades[i] = int(found - texts.begin());
    }
    if (Trainee.TrainingStart.isValid())
        Certificate.Dates[0] = qDateToDateTime(Trainee.TrainingStart);
    if (Trainee.TrainingEnd.isValid())
        Certificate.Dates[1] = qDateToDateTime(Trainee.TrainingEnd);
    return QString();
}

QString rowFault(const TGroupTrainee &Trainee, const QString &Fault)
{
    const QString name = Trainee.FullName.trimmed();
    return name.isEmpty() ? QStringLiteral("Строка %1: %2").arg(Trainee.Row).arg(Fault)
                          : QStringLiteral("Строка %1 (%2): %3").arg(Trainee.Row).arg(name, Fault);
}

} // namespace

QStringList groupSubjectNames()
{
    return {QStringLiteral("Основы законодательства в сфере дорожного движения"),
            QStringLiteral("Психофизиологические основы деятельности водителя"),
            QStringLiteral("Основы управления транспортными средствами"),
            QStringLiteral("Первая помощь при дорожно-транспортном происшествии"),
            QStringLiteral("Устройство и техническое обслуживание транспортных средств"),
            QStringLiteral("Основы управления транспортными средствами категории"),
            QStringLiteral("Вождение транспортных средств"),
            QStringLiteral("Организация и выполнение грузовых перевозок автомобильным транспортом"),
            QStringLiteral("Организация и выполнение пассажирских перевозок автомобильным транспортом"),
            QStringLiteral("Квалификационный экзамен")};
}

TGroupListOptions groupListOptions()
{
    TGroupListOptions options;
    options.SubjectNames = groupSubjectNames();
    for (int i = 0; i < 10; ++i)
        options.GradeTexts << certificateGradeTexts(i);
    return options;
}

QStringList checkGroup(const TCertificateHost &Host, const QList<TGroupTrainee> &Trainees)
{
    const TCertificate common = Host.Certificate();
    QStringList faults;
    for (const TGroupTrainee &trainee : Trainees) {
        TCertificate certificate = common;
        QString fault = apply(certificate, trainee);
        if (fault.isEmpty())
            fault = certificateEntryFault(certificate);
        if (fault.isEmpty())
            fault = snilsFault(trainee.Snils);
        if (fault.isEmpty())
            fault = birthDateFault(trainee.BirthDate, QDate::currentDate());
        if (fault.isEmpty())
            fault = citizenshipFault(trainee.Citizenship);
        if (!fault.isEmpty())
            faults << rowFault(trainee, fault);
    }
    return faults;
}

namespace {

// Fills the template with the common values and Trainee's own, and gives
// that certificate; a row the certificate cannot take raises its fault.
TCertificate fillForTrainee(TfrxReport *Report, const TCertificate &Common, const TGroupTrainee &Trainee)
{
    TCertificate certificate = Common;
    const QString fault = apply(certificate, Trainee);
    if (!fault.isEmpty())
        throw EGeneralError(rowFault(Trainee, fault));
    fillCertificateReport(Report, certificate);
    return certificate;
}

} // namespace

TGroupFit checkGroupFit(TCertificateHost &Host, const QList<TGroupTrainee> &Trainees)
{
    const TCertificate common = Host.Certificate();
    TfrxReport *report = Host.Report();
    Host.LoadTemplate();
    TGroupFit fit;
    for (const TGroupTrainee &trainee : Trainees) {
        fillForTrainee(report, common, trainee);
        const QList<TFitProblem> problems = checkFit(report);
        if (problems.isEmpty())
            continue;
        const TFitFonts fonts(report, problems);
        for (const TFitProblem &problem : problems)
            fit.Problems << rowFault(trainee, fitProblemsText({problem}));
        for (const TFitProblem &problem : shrinkToFit(problems))
            fit.Left << rowFault(trainee, fitProblemsText({problem}));
    }
    return fit;
}

bool prepareGroup(TCertificateHost &Host, const QList<TGroupTrainee> &Trainees, QList<TGroupCertificate> &Certificates,
                  bool Shrink)
{
    Certificates.clear();
    const TCertificate common = Host.Certificate();
    Host.LoadTemplate();
    TfrxReport *report = Host.Report();
    TfrxCustomPreviewPages *pages = report->PreviewPages();
    pages->Clear();
    for (const TGroupTrainee &trainee : Trainees) {
        const TCertificate certificate = fillForTrainee(report, common, trainee);
        // Shrunk on this certificate only: the fonts are the template's
        // again for the next trainee.
        const QList<TFitProblem> problems = Shrink ? checkFit(report) : QList<TFitProblem>();
        const TFitFonts fonts(report, problems);
        shrinkToFit(problems);
        const int first = pages->Count();
        if (!report->PrepareReport(false))
            return false;
        // The page list names the trainee at the first page of the certificate.
        TfrxOutline *outline = pages->Outline();
        outline->LevelRoot();
        outline->AddItem(trainee.FullName, 0);
        outline->CurItem()->SetProp(QStringLiteral("page"), QString::number(first));
        outline->LevelRoot();
        Certificates << TGroupCertificate{trainee, certificateValues(certificate), first};
    }
    return true;
}

TGroupRecorder::TGroupRecorder(TCertificateHost &Host, const QList<TGroupCertificate> &Certificates, bool Issued)
    : FHost(Host), FReport(Host.Report()), FCertificates(Certificates), FIssued(Issued)
{
    FReport->OnPrintReport = [this](TfrxReport *) { BeforeJob(); };
    FReport->OnAfterPrintReport = [this](TfrxReport *) { AfterJob(); };
    FReport->OnPrintPage = [this](TfrxReportPage *, int) { ++FPagesOut; };
}

TGroupRecorder::~TGroupRecorder()
{
    FReport->OnPrintReport = nullptr;
    FReport->OnAfterPrintReport = nullptr;
    FReport->OnPrintPage = nullptr;
    WithdrawPending();
}

// Every blank is taken before the first page goes out, in print order, so
// that the numbers follow the order of the sheets in the printer's tray.
void TGroupRecorder::BeforeJob()
{
    WithdrawPending();
    const QString printer = rudPrinters().Printer()->Name();
    try {
        TRegister &reg = FHost.Register();
        for (const TGroupCertificate &certificate : FCertificates) {
            TNewCertificate record;
            record.Series = certificate.Values.value(QStringLiteral("edit_4")).trimmed();
            record.FullName = certificate.Trainee.FullName.trimmed();
            TDateTime issued = 0;
            if (readCertificateDate(certificate.Values.value(QStringLiteral("date3")), issued))
                record.IssueDate = dateTimeToQDate(issued);
            record.Printer = printer;
            record.Values = certificate.Values;
            const TGroupTrainee &t = certificate.Trainee;
            record.Details = {t.Surname, t.Name, t.Patronymic, t.BirthDate, t.Sex, t.Snils, t.Citizenship};
            record.Unconfirmed = !FIssued;
            FPending << reg.Record(record);
        }
    } catch (const ERegisterError &error) {
        WithdrawPending();
        throw ERegisterError(QStringLiteral("Группа не напечатана: реестр не может записать свидетельства.\n%1")
                                 .arg(error.Message()));
    }
    FPagesOut = 0;
}

void TGroupRecorder::AfterJob()
{
    if (FPending.isEmpty())
        return;
    if (FPagesOut == 0 || FReport->Terminated()) {
        WithdrawPending();
        return;
    }
    // Each certificate's pages run from its first page to the next one's.
    QList<TArchivedPrint> prints;
    const int pageCount = FReport->PreviewPages()->Count();
    for (int i = 0; i < FPending.size(); ++i) {
        const int first = FCertificates[i].FirstPage;
        const int next = i + 1 < FCertificates.size() ? FCertificates[i + 1].FirstPage : pageCount;
        prints << TArchivedPrint{FPending[i], first, next - first};
    }
    FPending.clear();
    archivePrintsAndReport(FHost.Register(), FReport, prints);
    for (const TArchivedPrint &print : prints)
        FRecords << print.Record;
}

void TGroupRecorder::WithdrawPending() noexcept
{
    const QList<TCertificateRecord> pending = FPending;
    FPending.clear();
    for (const TCertificateRecord &record : pending) {
        try {
            FHost.Register().Withdraw(record.Id);
        } catch (const std::exception &error) {
            showWithdrawFailed(QString::fromUtf8(error.what()));
        }
    }
}
