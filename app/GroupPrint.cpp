#include "app/GroupPrint.h"

#include "app/CertificateFile.h"
#include "app/FitCheck.h"
#include "app/PdfArchive.h"
#include "app/PrintRecorder.h"
#include "app/main.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/model/rudXML.h"
#include "report/render/rudPrinter.h"

#include <QComboBox>
#include <QScopeGuard>

namespace {

QString numbered(const char *prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

// What a trainee does not set: the entry window's values as they stand.
struct TCommon {
    explicit TCommon(const TfmMain &Window)
        : Values(certificateValues(Window)), Start(Window.DateTimePicker1->Date()),
          End(Window.DateTimePicker2->Date())
    {
        for (int i = 0; i < 10; ++i)
            Grades[i] = Window.Component<QComboBox>(numbered("cmb_", i + 1))->currentIndex();
    }
    QMap<QString, QString> Values;
    TDateTime Start, End;
    int Grades[10];
};

// Puts Trainee into the window over Common; the fault that keeps its
// values from the window ("" when none).
QString apply(TfmMain &Window, const TCommon &Common, const TGroupTrainee &Trainee)
{
    Window.Edit_5->setText(Trainee.FullName);
    if (Window.Edit_5->text() != Trainee.FullName)
        return QStringLiteral("ФИО длиннее %1 знаков: на бланке для него нет места.").arg(Window.Edit_5->maxLength());
    for (int i = 0; i < 10; ++i) {
        QComboBox *box = Window.Component<QComboBox>(numbered("cmb_", i + 1));
        const QString &grade = Trainee.Grades[i];
        const int position = grade.isEmpty() ? Common.Grades[i] : box->findText(grade, Qt::MatchFixedString);
        if (position < 0 && !grade.isEmpty())
            return QStringLiteral("оценка «%1» по предмету %2 не из списка.").arg(grade).arg(i + 1);
        box->setCurrentIndex(position);
    }
    Window.DateTimePicker1->SetDate(Trainee.TrainingStart.isValid() ? qDateToDateTime(Trainee.TrainingStart)
                                                                    : Common.Start);
    Window.DateTimePicker2->SetDate(Trainee.TrainingEnd.isValid() ? qDateToDateTime(Trainee.TrainingEnd)
                                                                  : Common.End);
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

TGroupListOptions groupListOptions(const TfmMain &Window)
{
    TGroupListOptions options;
    options.SubjectNames = groupSubjectNames();
    for (int i = 1; i <= 10; ++i) {
        const QComboBox *box = Window.Component<QComboBox>(numbered("cmb_", i));
        QStringList texts;
        for (int item = 0; item < box->count(); ++item)
            texts << box->itemText(item);
        options.GradeTexts << texts;
    }
    return options;
}

QStringList checkGroup(TfmMain &Window, const QList<TGroupTrainee> &Trainees)
{
    const TCommon common(Window);
    const auto restore = qScopeGuard([&] { loadCertificateValues(Window, common.Values); });
    QStringList faults;
    for (const TGroupTrainee &trainee : Trainees) {
        QString fault = apply(Window, common, trainee);
        if (fault.isEmpty())
            fault = Window.EntryFault();
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

TGroupFit checkGroupFit(TfmMain &Window, const QList<TGroupTrainee> &Trainees)
{
    const TCommon common(Window);
    const auto restore = qScopeGuard([&] { loadCertificateValues(Window, common.Values); });
    Window.LoadTemplate();
    TGroupFit fit;
    for (const TGroupTrainee &trainee : Trainees) {
        const QString fault = apply(Window, common, trainee);
        if (!fault.isEmpty())
            throw EGeneralError(rowFault(trainee, fault));
        Window.preprint();
        const QList<TFitProblem> problems = checkFit(Window.rudReport1);
        if (problems.isEmpty())
            continue;
        const TFitFonts fonts(Window.rudReport1, problems);
        for (const TFitProblem &problem : problems)
            fit.Problems << rowFault(trainee, fitProblemsText({problem}));
        for (const TFitProblem &problem : shrinkToFit(problems))
            fit.Left << rowFault(trainee, fitProblemsText({problem}));
    }
    return fit;
}

bool prepareGroup(TfmMain &Window, const QList<TGroupTrainee> &Trainees, QList<TGroupCertificate> &Certificates,
                  bool Shrink)
{
    Certificates.clear();
    const TCommon common(Window);
    const auto restore = qScopeGuard([&] { loadCertificateValues(Window, common.Values); });
    Window.LoadTemplate();
    TfrxReport *report = Window.rudReport1;
    TfrxCustomPreviewPages *pages = report->PreviewPages();
    pages->Clear();
    for (const TGroupTrainee &trainee : Trainees) {
        const QString fault = apply(Window, common, trainee);
        if (!fault.isEmpty())
            throw EGeneralError(rowFault(trainee, fault));
        Window.preprint();
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
        Certificates << TGroupCertificate{trainee, certificateValues(Window), first};
    }
    return true;
}

TGroupRecorder::TGroupRecorder(TfmMain &Window, const QList<TGroupCertificate> &Certificates, bool Issued)
    : FWindow(Window), FReport(Window.rudReport1), FCertificates(Certificates), FIssued(Issued)
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
        TRegister &reg = FWindow.Register();
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
    archivePrintsAndReport(FWindow.Register(), FReport, prints);
    for (const TArchivedPrint &print : prints)
        FRecords << print.Record;
}

void TGroupRecorder::WithdrawPending() noexcept
{
    const QList<TCertificateRecord> pending = FPending;
    FPending.clear();
    for (const TCertificateRecord &record : pending) {
        try {
            FWindow.Register().Withdraw(record.Id);
        } catch (const std::exception &error) {
            showWithdrawFailed(QString::fromUtf8(error.what()));
        }
    }
}
