#include "app/CertificateReport.h"

#include "app/TemplateLocation.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <QFileInfo>

namespace {

// Month names in the genitive, as a date is written on the blank.
const char *const Mes[12] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                             "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

// The marks of the subject table: Latin letters, not the Cyrillic Ha of the
// grade lists. A zero hours value prints as the small one; the total's grade
// is the capital one.
const QString zeroHoursMark = QStringLiteral("x");
const QString totalGradeMark = QStringLiteral("X");

QString numbered(const char *prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

// Writes Value as the whole text of the memo Name. The text is printed as it
// stands: the memo stops treating bracketed parts as expressions, so a name
// the operator typed with brackets in it can neither fail the print nor run
// anything. The template's other objects keep their own settings.
void setMemoText(TfrxReport *Report, const QString &Name, const QString &Value)
{
    TfrxComponent *object = Report->FindObject(Name);
    if (!object)
        throw EGeneralError(QStringLiteral("В шаблоне печати %1 нет поля %2.\n"
                                           "Восстановите его командой «Настройка шаблона печати».")
                                .arg(QFileInfo(Report->FileName()).absoluteFilePath(), Name));
    auto *memo = qobject_cast<TfrxMemoView *>(object);
    if (!memo)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    memo->SetText(Value);
    memo->SetAllowExpressions(false);
}

} // namespace

QString Monthstr(const QString &nbr, TDateTime myDate)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(myDate, year, month, day);
    if (nbr == QLatin1String("day"))
        return (day < 10 ? QStringLiteral("0") : QString()) + QString::number(day);
    if (nbr == QLatin1String("month"))
        return QString::fromUtf8(Mes[month - 1]);
    if (nbr == QLatin1String("year"))
        return QString::number(year).mid(3);
    return QString();
}

void loadPrintTemplate(TfrxReport *Report, const QString &UserCopy, const QString &Shipped)
{
    // A missing file would leave the report empty; say which file is meant
    // instead of complaining about its first memo.
    const QString path = provideUserTemplate(UserCopy, Shipped);
    if (!QFileInfo(path).isFile())
        throw EInOutError(QStringLiteral("Не найден файл шаблона печати:\n%1").arg(QFileInfo(path).absoluteFilePath()));
    Report->LoadFromFile(path);
}

void fillCertificateReport(TfrxReport *Report, const TCertificate &Certificate)
{
    auto set = [Report](const QString &Name, const QString &Value) { setMemoText(Report, Name, Value); };
    const QString *edits = Certificate.Edits;
    const TDateTime *dates = Certificate.Dates;
    for (int i = 1; i <= 5; ++i)
        set(numbered("Memo", i), edits[i - 1]);
    set(QStringLiteral("Memo6"), Monthstr(QStringLiteral("day"), dates[0]));
    set(QStringLiteral("Memo7"), Monthstr(QStringLiteral("month"), dates[0]));
    set(QStringLiteral("Memo8"), Monthstr(QStringLiteral("year"), dates[0]));
    set(QStringLiteral("Memo9"), Monthstr(QStringLiteral("day"), dates[1]));
    set(QStringLiteral("Memo10"), Monthstr(QStringLiteral("month"), dates[1]));
    set(QStringLiteral("Memo11"), Monthstr(QStringLiteral("year"), dates[1]));
    set(QStringLiteral("Memo12"), edits[5]);
    for (int i = 1; i <= 10; ++i) {
        const QString &hours = Certificate.Hours[i - 1];
        set(numbered("Memo", 12 + i), hours == QLatin1String("0") ? zeroHoursMark : hours);
    }
    set(QStringLiteral("Memo23"), Certificate.Hours[10]);
    // The full-year memos carry the whole year: the blank leaves no digits
    // of it printed, unlike behind the one-digit short years.
    int year = 0, month = 0, day = 0;
    set(QStringLiteral("Memo24"), Monthstr(QStringLiteral("day"), dates[2]));
    set(QStringLiteral("Memo25"), Monthstr(QStringLiteral("month"), dates[2]));
    DecodeDate(dates[2], year, month, day);
    set(QStringLiteral("Memo26"), QString::number(year));
    set(QStringLiteral("Memo27"), edits[8]);
    set(QStringLiteral("Memo_day"), Monthstr(QStringLiteral("day"), dates[3]));
    set(QStringLiteral("Memo_month"), Monthstr(QStringLiteral("month"), dates[3]));
    DecodeDate(dates[3], year, month, day);
    set(QStringLiteral("Memo_year"), QString::number(year));
    for (int i = 1; i <= 10; ++i)
        set(numbered("Memo", 27 + i), Certificate.GradeText(i - 1));
    set(QStringLiteral("Memo38"), totalGradeMark);
    // The category is printed three times more in the subject table.
    for (int i = 39; i <= 41; ++i)
        set(numbered("Memo", i), edits[7]);
    set(QStringLiteral("Memo42"), Certificate.TransmissionText());
    set(QStringLiteral("Memo_prot"), edits[9]);
    set(QStringLiteral("Memo_cat"), edits[7]);
    set(QStringLiteral("Memo_kval"), edits[6]);
}

bool TCertificateHost::FillReport()
{
    const TCertificate certificate = Certificate();
    if (const QString fault = certificateEntryFault(certificate); !fault.isEmpty()) {
        showMessage(fault);
        return false;
    }
    LoadTemplate();
    fillCertificateReport(Report(), certificate);
    return true;
}
