#include "app/Certificate.h"

#include "base/NumberFormat.h"

namespace {

// The text of item Position of Items; "" for none.
QString itemText(const QStringList &Items, int Position)
{
    return Position >= 0 && Position < Items.size() ? Items[Position] : QString();
}

} // namespace

QStringList certificateGradeTexts(int Subject)
{
    if (Subject < 9)
        return {QStringLiteral("Зачтено"), QStringLiteral("Не Зачтено"), QStringLiteral("Х")};
    return {QStringLiteral("Отлично"), QStringLiteral("Хорошо"), QStringLiteral("Удовл."),
            QStringLiteral("Х"),       QStringLiteral("-"),      QString()};
}

QStringList certificateTransmissionTexts()
{
    return {QStringLiteral("механической"), QStringLiteral("автоматической")};
}

QString TCertificate::GradeText(int Subject) const
{
    return itemText(certificateGradeTexts(Subject), Grades[Subject]);
}

QString TCertificate::TransmissionText() const { return itemText(certificateTransmissionTexts(), Transmission); }

double certificateHoursSum(const TCertificate &Certificate)
{
    double sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += StrToFloat(Certificate.Hours[i]);
    return sum;
}

QString certificateEntryFault(const TCertificate &Certificate)
{
    // Only an empty text is missing; a text of spaces passes.
    const QString *edits = Certificate.Edits;
    const struct {
        bool Missing;
        const char *Message;
    } checks[] = {
        {edits[0].isEmpty(), "Введите наименование организации!"},
        {edits[2].isEmpty(), "Введите наименование населенного пункта!"},
        {edits[3].isEmpty(), "Введите серию свидетельства!"},
        {edits[4].isEmpty(), "Введите ФИО обучающегося!"},
        {edits[5].isEmpty(), "Введите название образовательной программы!"},
        {edits[6].isEmpty(), "Введите присвоенную квалификацию!"},
        {Certificate.Dates[0] == Certificate.Dates[1], "Даты начала и окончания обучения совпадают!"},
        {edits[7].isEmpty(), "Введите категорию ТС!"},
        {edits[8].isEmpty(), "Введите ФИО руководителя образовательной организации!"},
        {edits[9].isEmpty(), "Введите номер протокола!"},
    };
    for (const auto &check : checks)
        if (check.Missing)
            return QString::fromUtf8(check.Message);
    return QString();
}
