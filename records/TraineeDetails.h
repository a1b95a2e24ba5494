#pragma once
// What the register keeps of a trainee beyond the name the booklet prints:
// the name in its three parts, birth date, sex, СНИЛС and citizenship. The
// booklet never prints them; the federal register export needs them.

#include <QDate>
#include <QString>

// A full name in its parts: the first word is the surname, the second the
// name, the rest the patronymic (none for a name of two words).
struct TPersonName {
    QString Surname, Name, Patronymic;
};
TPersonName splitFullName(const QString &FullName);

// The trainee's details as entered. Empty texts are "not entered"; the
// surname, name and patronymic, when all three are empty, follow the full
// name (splitFullName).
struct TTraineeDetails {
    // The country code of a Russian citizen (ОКСМ), given unless another is entered.
    static inline const QString DefaultCitizenship = QStringLiteral("643");

    QString Surname, Name, Patronymic;
    QDate BirthDate;
    QString Sex;         // "М", "Ж", or "" when not entered
    QString Snils;       // "000-000-000 00", or "" when not entered
    QString Citizenship = DefaultCitizenship;

    // Nothing entered: no name parts, birth date, sex or СНИЛС, and the
    // default citizenship.
    bool IsEmpty() const;
    // The name parts entered, else those of FullName.
    TPersonName NameOf(const QString &FullName) const;
    bool operator==(const TTraineeDetails &) const = default;
};

// The digits of a СНИЛС written with or without separators ("112-233-445 95",
// "11223344595"); "" for a text with anything else than 11 digits, spaces
// and hyphens.
QString snilsDigits(const QString &Text);
// The digits written as 000-000-000 00.
QString formatSnils(const QString &Digits);
// Why a СНИЛС cannot be taken, in Russian ("" when it can, an empty one
// included): not 11 digits, or a wrong check number. The check number is
// the sum of the first nine digits weighted 9 down to 1, taken modulo 101
// (100 and 101 give 00); numbers up to 001-001-998 were issued before the
// check number and carry none.
QString snilsFault(const QString &Text);

// The earliest birth date taken: a date before it is a typing error.
inline const QDate EarliestBirthDate{1900, 1, 1};
// Why a birth date cannot be taken, in Russian ("" when it can or is not
// entered): before 1900 or after Today.
QString birthDateFault(const QDate &BirthDate, const QDate &Today);

// Why a citizenship cannot be taken, in Russian ("" when it can or is not
// entered): not a three-digit country code.
QString citizenshipFault(const QString &Code);
