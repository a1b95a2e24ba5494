// The trainee's details: the СНИЛС and its check number, the name's parts,
// the birth dates taken.

#include "records/TraineeDetails.h"

#include <gtest/gtest.h>

TEST(Snils, CheckNumberIsVerifiedAboveTheNumbersIssuedWithoutOne)
{
    for (const char *valid : {"112-233-445 95", "11223344595", "112 233 445 95", "112-233-458 00" /* sum 100 */,
                              "087-654-303 00" /* sum 202 */, "001-001-998 00", "001-001-998 47", "000-000-001 99", ""})
        EXPECT_EQ(snilsFault(QString::fromUtf8(valid)), QString()) << valid;
    EXPECT_EQ(snilsFault(QStringLiteral("112-233-445 96")),
              QStringLiteral("СНИЛС 112-233-445 96 неверен: не сходится контрольное число (должно быть 95)."));
    EXPECT_EQ(snilsFault(QStringLiteral("001-001-999 00")),
              QStringLiteral("СНИЛС 001-001-999 00 неверен: не сходится контрольное число (должно быть 65)."));
    for (const char *malformed : {"112-233-445", "112-233-445 955", "112-233-445 9O", "１１２２３３４４５９５"})
        EXPECT_EQ(snilsFault(QString::fromUtf8(malformed)),
                  QStringLiteral("СНИЛС «%1» записан неверно: нужно 11 цифр, 000-000-000 00.").arg(QString::fromUtf8(malformed)))
            << malformed;
    EXPECT_EQ(formatSnils(snilsDigits(QStringLiteral(" 11223344595 "))), QStringLiteral("112-233-445 95"));
}

TEST(TraineeDetails, NamesSplitWithOrWithoutPatronymicAndBirthDatesBefore1900AreRefused)
{
    const auto parts = [](const TPersonName &n) { return QStringList{n.Surname, n.Name, n.Patronymic}; };
    EXPECT_EQ(parts(splitFullName(QStringLiteral(" Ким  Анна "))), (QStringList{"Ким", "Анна", ""}));
    EXPECT_EQ(parts(splitFullName(QStringLiteral("Алиев Рашид Мамед оглы"))),
              (QStringList{"Алиев", "Рашид", "Мамед оглы"}));
    TTraineeDetails details;
    EXPECT_TRUE(details.IsEmpty());
    EXPECT_EQ(parts(details.NameOf(QStringLiteral("Ким Анна"))), (QStringList{"Ким", "Анна", ""}));
    details.Surname = QStringLiteral("Ким-Ли");
    details.Name = QStringLiteral("Анна");
    EXPECT_FALSE(details.IsEmpty());
    EXPECT_EQ(parts(details.NameOf(QStringLiteral("Ким Анна"))), (QStringList{"Ким-Ли", "Анна", ""}));

    const QDate today(2026, 12, 10);
    EXPECT_EQ(birthDateFault(QDate(1899, 12, 31), today), QStringLiteral("Дата рождения 31.12.1899 раньше 1900 года."));
    EXPECT_EQ(birthDateFault(QDate(2026, 12, 11), today), QStringLiteral("Дата рождения 11.12.2026 ещё не наступила."));
    for (const QDate &taken : {QDate(1900, 1, 1), today, QDate()})
        EXPECT_EQ(birthDateFault(taken, today), QString()) << taken.toString().toStdString();
}
