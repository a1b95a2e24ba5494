#include "records/TraineeDetails.h"

#include <QRegularExpression>
#include <QStringList>

TPersonName splitFullName(const QString &FullName)
{
    const QStringList words = FullName.simplified().split(u' ', Qt::SkipEmptyParts);
    return {words.value(0), words.value(1), words.mid(2).join(u' ')};
}

bool TTraineeDetails::IsEmpty() const
{
    return Surname.isEmpty() && Name.isEmpty() && Patronymic.isEmpty() && !BirthDate.isValid() && Sex.isEmpty()
        && Snils.isEmpty() && (Citizenship.isEmpty() || Citizenship == DefaultCitizenship);
}

TPersonName TTraineeDetails::NameOf(const QString &FullName) const
{
    if (Surname.isEmpty() && Name.isEmpty() && Patronymic.isEmpty())
        return splitFullName(FullName);
    return {Surname, Name, Patronymic};
}

QString snilsDigits(const QString &Text)
{
    QString digits;
    for (const QChar c : Text) {
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
        else if (c != u' ' && c != u'-')
            return QString();
    }
    return digits.size() == 11 ? digits : QString();
}

QString formatSnils(const QString &Digits)
{
    return QStringLiteral("%1-%2-%3 %4").arg(Digits.mid(0, 3), Digits.mid(3, 3), Digits.mid(6, 3), Digits.mid(9, 2));
}

QString snilsFault(const QString &Text)
{
    if (Text.trimmed().isEmpty())
        return QString();
    const QString digits = snilsDigits(Text);
    if (digits.isEmpty())
        return QStringLiteral("СНИЛС «%1» записан неверно: нужно 11 цифр, 000-000-000 00.").arg(Text.trimmed());
    // Numbers up to 001-001-998 were given out without a check number.
    if (digits.left(9).toLongLong() <= 1001998)
        return QString();
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += digits[i].digitValue() * (9 - i);
    int check = sum % 101;
    if (check == 100)
        check = 0;
    if (digits.right(2).toInt() != check)
        return QStringLiteral("СНИЛС %1 неверен: не сходится контрольное число (должно быть %2).")
            .arg(formatSnils(digits))
            .arg(check, 2, 10, QLatin1Char('0'));
    return QString();
}

QString citizenshipFault(const QString &Code)
{
    static const QRegularExpression threeDigits(QStringLiteral("^[0-9]{3}$"));
    if (Code.isEmpty() || threeDigits.match(Code).hasMatch())
        return QString();
    return QStringLiteral("Гражданство «%1» — не трёхзначный код страны по ОКСМ.").arg(Code);
}

QString birthDateFault(const QDate &BirthDate, const QDate &Today)
{
    if (!BirthDate.isValid())
        return QString();
    if (BirthDate < EarliestBirthDate)
        return QStringLiteral("Дата рождения %1 раньше 1900 года.").arg(BirthDate.toString(QStringLiteral("dd.MM.yyyy")));
    if (BirthDate > Today)
        return QStringLiteral("Дата рождения %1 ещё не наступила.").arg(BirthDate.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}
