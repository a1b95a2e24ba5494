// The print command of the entry window: check the entries, load the print
// template from the program's folder, write the certificate into its 48
// memos and show the report.

#include "app/main.h"

#include "app/FitCheck.h"
#include "app/PrintRecorder.h"
#include "app/TemplateLocation.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

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

// The selected item's text, or "" with nothing selected.
QString selectedText(const QComboBox *box) { return box->currentIndex() < 0 ? QString() : box->currentText(); }

} // namespace

const QString PrintTemplateFileName = QStringLiteral("shablon.fr3");

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

QString TfmMain::TemplatePath() const { return TemplateFolder + QLatin1Char('/') + PrintTemplateFileName; }

void TfmMain::Button3Click()
{
    // The designer's prints are not the school's certificates.
    FRecorder.reset();
    rudReport1->LoadFromFile(provideUserTemplate(TemplatePath(), ShippedTemplate));
    rudReport1->SetFileName(TemplatePath());
    rudReport1->DesignReport(true, false);
}

// Every print from this preview is recorded in the register. The preview
// is modal, so the recorder ends with it; one left from a preview that is
// not modal ends with the next print command.
void TfmMain::N7Click()
{
    FRecorder.reset();
    if (!FillReport() || !confirmFit(rudReport1, this))
        return;
    FRecorder = std::make_unique<TPrintRecorder>(*this, true);
    rudReport1->ShowReport(true);
    if (rudReport1->PreviewOptions()->Modal())
        FRecorder.reset();
}

bool TfmMain::FillReport()
{
    if (!CorrectAll())
        return false;
    LoadTemplate();
    preprint();
    return true;
}

void TfmMain::LoadTemplate()
{
    // A missing file would leave the report empty; say which file is meant
    // instead of complaining about its first memo.
    const QString path = provideUserTemplate(TemplatePath(), ShippedTemplate);
    if (!QFileInfo(path).isFile())
        throw EInOutError(QStringLiteral("Не найден файл шаблона печати:\n%1").arg(QFileInfo(path).absoluteFilePath()));
    rudReport1->LoadFromFile(path);
}

// Writes Value as the whole text of the memo Name. The text is printed as it
// stands: the memo stops treating bracketed parts as expressions, so a name
// the operator typed with brackets in it can neither fail the print nor run
// anything. The template's other objects keep their own settings.
void TfmMain::SetMemoText(const QString &Name, const QString &Value)
{
    TfrxComponent *object = rudReport1->FindObject(Name);
    if (!object)
        throw EGeneralError(QStringLiteral("В шаблоне печати %1 нет поля %2.\n"
                                           "Восстановите его командой «Настройка шаблона печати».")
                                .arg(QFileInfo(rudReport1->FileName()).absoluteFilePath(), Name));
    auto *memo = qobject_cast<TfrxMemoView *>(object);
    if (!memo)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    memo->SetText(Value);
    memo->SetAllowExpressions(false);
}

void TfmMain::preprint()
{
    for (int i = 1; i <= 5; ++i)
        SetMemoText(numbered("Memo", i), Component<TEdit>(numbered("Edit_", i))->text());
    SetMemoText(QStringLiteral("Memo6"), Monthstr(QStringLiteral("day"), DateTimePicker1->Date()));
    SetMemoText(QStringLiteral("Memo7"), Monthstr(QStringLiteral("month"), DateTimePicker1->Date()));
    SetMemoText(QStringLiteral("Memo8"), Monthstr(QStringLiteral("year"), DateTimePicker1->Date()));
    SetMemoText(QStringLiteral("Memo9"), Monthstr(QStringLiteral("day"), DateTimePicker2->Date()));
    SetMemoText(QStringLiteral("Memo10"), Monthstr(QStringLiteral("month"), DateTimePicker2->Date()));
    SetMemoText(QStringLiteral("Memo11"), Monthstr(QStringLiteral("year"), DateTimePicker2->Date()));
    SetMemoText(QStringLiteral("Memo12"), Edit_6->text());
    for (int i = 1; i <= 10; ++i) {
        const QString hours = Component<TEdit>(numbered("edt_", i))->text();
        SetMemoText(numbered("Memo", 12 + i), hours == QLatin1String("0") ? zeroHoursMark : hours);
    }
    SetMemoText(QStringLiteral("Memo23"), edt_11->text());
    // The full-year memos carry the whole year: the blank leaves no digits
    // of it printed, unlike behind the one-digit short years.
    int year = 0, month = 0, day = 0;
    SetMemoText(QStringLiteral("Memo24"), Monthstr(QStringLiteral("day"), DateTimePicker3->Date()));
    SetMemoText(QStringLiteral("Memo25"), Monthstr(QStringLiteral("month"), DateTimePicker3->Date()));
    DecodeDate(DateTimePicker3->Date(), year, month, day);
    SetMemoText(QStringLiteral("Memo26"), QString::number(year));
    SetMemoText(QStringLiteral("Memo27"), Edit_9->text());
    SetMemoText(QStringLiteral("Memo_day"), Monthstr(QStringLiteral("day"), DateTimePicker4->Date()));
    SetMemoText(QStringLiteral("Memo_month"), Monthstr(QStringLiteral("month"), DateTimePicker4->Date()));
    DecodeDate(DateTimePicker4->Date(), year, month, day);
    SetMemoText(QStringLiteral("Memo_year"), QString::number(year));
    for (int i = 1; i <= 10; ++i)
        SetMemoText(numbered("Memo", 27 + i), selectedText(Component<QComboBox>(numbered("cmb_", i))));
    SetMemoText(QStringLiteral("Memo38"), totalGradeMark);
    for (int i = 39; i <= 41; ++i)
        SetMemoText(numbered("Memo", i), Label1->text());
    SetMemoText(QStringLiteral("Memo42"), selectedText(cmb_kpp));
    SetMemoText(QStringLiteral("Memo_prot"), Edit_10->text());
    SetMemoText(QStringLiteral("Memo_cat"), Edit_8->text());
    SetMemoText(QStringLiteral("Memo_kval"), Edit_7->text());
}
