// What a school does with its register, on both databases: receiving
// blanks, printing on them, voiding, duplicates, lists, and an old schema.

#include "RegisterTestSupport.h"

#include <QStringList>

namespace {

TNewCertificate certificate(const QString &Series, const QString &Name, const QString &Number = QString())
{
    TNewCertificate c;
    c.Series = Series;
    c.Number = Number;
    c.FullName = Name;
    c.IssueDate = QDate(2026, 6, 15);
    c.Printer = QStringLiteral("PDF");
    c.Values = {{QStringLiteral("edit_1"), Name}, {QStringLiteral("date1"), QStringLiteral("15.06.2026")}};
    return c;
}

QStringList numbers(const QList<TCertificateRecord> &Records)
{
    QStringList list;
    for (const TCertificateRecord &r : Records)
        list << r.Series + u' ' + r.Number;
    return list;
}

QStringList names(const QList<TCertificateRecord> &Records)
{
    QStringList list;
    for (const TCertificateRecord &r : Records)
        list << r.FullName;
    return list;
}

// A filter set by Set; designated initializers would leave members
// without initializers, which the build warns of.
template <class F>
TRegisterFilter filtered(F &&Set)
{
    TRegisterFilter filter;
    Set(filter);
    return filter;
}

} // namespace

using RegisterOps = RegisterBackendTest;

TEST_P(RegisterOps, ReceivesBlankRangesAndRefusesBadOnes)
{
    auto reg = OpenRegister();
    EXPECT_FALSE(reg->HasStock(QStringLiteral("АБ")));
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), std::nullopt);
    reg->AddBlanks(QStringLiteral(" АБ "), QStringLiteral("000001"), QStringLiteral("000010"));
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000011"), QStringLiteral("000020"));
    reg->AddBlanks(QStringLiteral("ВГ"), QStringLiteral("100"), QStringLiteral("199"));
    EXPECT_TRUE(reg->HasStock(QStringLiteral("АБ")));
    EXPECT_FALSE(reg->HasStock(QStringLiteral("аб")));
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), QStringLiteral("000001"));
    EXPECT_EQ(reg->NextFree(QStringLiteral("ВГ")), QStringLiteral("100"));

    const struct {
        const char *Series, *First, *Last, *Message;
    } refused[] = {
        {"АБ", "000005", "000030", "Бланки АБ 000005 — 000030 пересекаются с уже полученными АБ 000001 — 000010."},
        {"АБ", "000000", "000001", "Бланки АБ 000000 — 000001 пересекаются с уже полученными АБ 000001 — 000010."},
        {"АБ", "000100", "00200", "Первый и последний номера бланков должны быть одной длины: «000100» — «00200»."},
        {"АБ", "000200", "000100", "Первый номер бланков больше последнего: 000200 — 000100."},
        {"АБ", "00A1", "0099", "Номера бланков — от 1 до 9 цифр: «00A1» — «0099»."},
        {"АБ", "0000000001", "0000000002", "Номера бланков — от 1 до 9 цифр: «0000000001» — «0000000002»."},
        {"АБ", "100000", "200000", "В одной партии не больше 100000 бланков: АБ 100000 — 200000."},
        {"АБВГД", "1", "2", "Серия «АБВГД» длиннее 4 знаков."},
        {"  ", "1", "2", "Не указана серия бланков."},
    };
    for (const auto &r : refused)
        EXPECT_EQ(errorOf([&] { reg->AddBlanks(QString::fromUtf8(r.Series), QString::fromUtf8(r.First), QString::fromUtf8(r.Last)); }),
                  QString::fromUtf8(r.Message));

    const QList<TBlankStock> stock = reg->Stock();
    ASSERT_EQ(stock.size(), 2);
    EXPECT_EQ(stock[0].Series, QStringLiteral("АБ"));
    EXPECT_EQ(stock[0].Received, 20);
    EXPECT_EQ(stock[0].Free, 20);
    EXPECT_EQ(stock[1].Series, QStringLiteral("ВГ"));
    EXPECT_EQ(stock[1].Received, 100);
}

TEST_P(RegisterOps, RecordTakesTheNextFreeBlankAndWithdrawFreesIt)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000003"));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    const TCertificateRecord first = reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Иванов Иван")));
    EXPECT_EQ(first.Number, QStringLiteral("000001"));
    EXPECT_EQ(first.State, TRecordState::rsIssued);
    EXPECT_EQ(first.IssueDate, QDate(2026, 6, 15));
    EXPECT_EQ(first.Printer, QStringLiteral("PDF"));
    EXPECT_EQ(first.Values.value(QStringLiteral("edit_1")), QStringLiteral("Иванов Иван"));
    EXPECT_EQ(first.Values.size(), 2);
    EXPECT_GE(first.PrintedAt, before);
    EXPECT_LE(first.PrintedAt, QDateTime::currentDateTimeUtc());
    EXPECT_FALSE(first.OriginalId);

    const TCertificateRecord second = reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Петров")));
    EXPECT_EQ(second.Number, QStringLiteral("000002"));
    reg->Withdraw(first.Id);
    EXPECT_EQ(reg->Find(first.Id), std::nullopt);
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), QStringLiteral("000001"));
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Сидоров"))).Number, QStringLiteral("000001"));
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Козлов"))).Number, QStringLiteral("000003"));
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), std::nullopt);
    EXPECT_EQ(errorOf([&] { reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Лишний"))); }),
              QStringLiteral("Свободных бланков серии «АБ» не осталось."));
    EXPECT_EQ(errorOf([&] { reg->Withdraw(first.Id); }),
              QStringLiteral("В реестре %1 нет записи %2.").arg(reg->Where()).arg(first.Id));

    // Without a stock of the series, or without a series, there is no number.
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("ЯЯ"), QStringLiteral("Без бланка"))).Number, QString());
    EXPECT_EQ(reg->Record(certificate(QString(), QStringLiteral("Без серии"))).Number, QString());
    EXPECT_EQ(reg->List().size(), 5);
}

TEST_P(RegisterOps, RecordTakesAnAskedNumberOnlyWhenItIsAFreeBlank)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000010"));
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Иванов"), QStringLiteral("000007"))).Number,
              QStringLiteral("000007"));
    // Typed without its zeros it is the same blank.
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Петров"), QStringLiteral("8"))).Number,
              QStringLiteral("000008"));
    EXPECT_EQ(errorOf([&] { reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Сидоров"), QStringLiteral("000007"))); }),
              QStringLiteral("Бланк АБ 000007 уже занят."));
    EXPECT_EQ(errorOf([&] { reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Сидоров"), QStringLiteral("000011"))); }),
              QStringLiteral("Бланка АБ 000011 нет среди полученных."));
    EXPECT_EQ(errorOf([&] { reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Сидоров"), QStringLiteral("12x"))); }),
              QStringLiteral("Бланка АБ 12x нет среди полученных."));
    EXPECT_EQ(errorOf([&] { reg->Record(certificate(QStringLiteral("ВГ"), QStringLiteral("Сидоров"), QStringLiteral("000001"))); }),
              QStringLiteral("Бланков серии «ВГ» нет в реестре: номер ВГ 000001 взять неоткуда."));
    // The refused ones took nothing; the next free one is still the lowest.
    EXPECT_EQ(reg->List().size(), 2);
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), QStringLiteral("000001"));
}

TEST_P(RegisterOps, VoidedBlanksAreNeverOfferedAgain)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000005"));
    const TCertificateRecord printed = reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Иванов")));
    reg->Void(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("замятие бумаги"));
    reg->Void(QStringLiteral("АБ"), QStringLiteral("000002"), QStringLiteral("порван"));

    const std::optional<TCertificateRecord> spoiled = reg->Find(printed.Id);
    ASSERT_TRUE(spoiled);
    EXPECT_EQ(spoiled->State, TRecordState::rsSpoiled);
    EXPECT_EQ(spoiled->VoidReason, QStringLiteral("замятие бумаги"));
    EXPECT_TRUE(spoiled->VoidedAt.isValid());
    EXPECT_EQ(spoiled->FullName, QStringLiteral("Иванов"));

    // The certificate is reprinted on the next free blank.
    EXPECT_EQ(reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Иванов"))).Number, QStringLiteral("000003"));
    const QList<TCertificateRecord> voided = reg->List(filtered([&](TRegisterFilter &f) { f.State = TRecordState::rsSpoiled; }));
    EXPECT_EQ(numbers(voided), (QStringList{"АБ 000001", "АБ 000002"}));
    EXPECT_EQ(voided[1].FullName, QString());
    EXPECT_EQ(voided[1].VoidReason, QStringLiteral("порван"));
    EXPECT_EQ(voided[1].PrintedAt, voided[1].VoidedAt);

    EXPECT_EQ(errorOf([&] { reg->Void(QStringLiteral("АБ"), QStringLiteral("000002"), QStringLiteral("ещё раз")); }),
              QStringLiteral("Бланк АБ 000002 уже испорчен."));
    EXPECT_EQ(errorOf([&] { reg->Void(QStringLiteral("АБ"), QStringLiteral("000009"), QStringLiteral("нет такого")); }),
              QStringLiteral("Бланка АБ 000009 нет среди полученных."));
    EXPECT_EQ(errorOf([&] { reg->Void(QStringLiteral("АБ"), QStringLiteral("000004"), QStringLiteral(" ")); }),
              QStringLiteral("Не указана причина, по которой испорчен бланк АБ 000004."));
    EXPECT_EQ(errorOf([&] { reg->Withdraw(printed.Id); }),
              QStringLiteral("Запись %1 — испорченный бланк, её нельзя отменить.").arg(printed.Id));

    const QList<TBlankStock> stock = reg->Stock();
    ASSERT_EQ(stock.size(), 1);
    EXPECT_EQ(stock[0].Received, 5);
    EXPECT_EQ(stock[0].Issued, 1);
    EXPECT_EQ(stock[0].Spoiled, 2);
    EXPECT_EQ(stock[0].Free, 2);
}

// A group's certificates wait as printed until the operator confirms them:
// their blanks are neither issued nor free; a spoiled one is voided, one
// never printed is withdrawn; confirming is all or nothing.
TEST_P(RegisterOps, PrintedCertificatesWaitForConfirmation)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000010"));
    const TCertificateRecord issued = reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Выданов")));
    QList<qint64> group;
    for (const char *name : {"Первов", "Второв", "Третьев", "Четвёртов"}) {
        TNewCertificate c = certificate(QStringLiteral("АБ"), QString::fromUtf8(name));
        c.Unconfirmed = true;
        group << reg->Record(c).Id;
    }
    EXPECT_EQ(reg->Find(group[0])->State, TRecordState::rsPrinted);
    EXPECT_EQ(names(reg->List(filtered([&](TRegisterFilter &f) { f.State = TRecordState::rsPrinted; }))),
              (QStringList{"Первов", "Второв", "Третьев", "Четвёртов"}));
    TBlankStock stock = reg->Stock().value(0);
    EXPECT_EQ((QList<int>{stock.Issued, stock.Printed, stock.Spoiled, stock.Free}), (QList<int>{1, 4, 0, 5}));

    EXPECT_EQ(errorOf([&] { reg->Confirm({group[0], issued.Id}); }),
              QStringLiteral("Запись %1 не ждёт подтверждения: она уже в состоянии «Выдан».").arg(issued.Id));
    EXPECT_EQ(errorOf([&] { reg->Confirm({group[0], 999999}); }),
              QStringLiteral("В реестре %1 нет записи 999999.").arg(reg->Where()));
    EXPECT_EQ(reg->Find(group[0])->State, TRecordState::rsPrinted);

    reg->Confirm({group[0], group[1], group[0]});
    reg->Void(QStringLiteral("АБ"), reg->Find(group[2])->Number, QStringLiteral("замятие"));
    reg->Withdraw(group[3]);
    EXPECT_EQ(reg->Find(group[1])->State, TRecordState::rsIssued);
    EXPECT_EQ(reg->Find(group[2])->State, TRecordState::rsSpoiled);
    EXPECT_FALSE(reg->Find(group[3]));
    stock = reg->Stock().value(0);
    EXPECT_EQ((QList<int>{stock.Issued, stock.Printed, stock.Spoiled, stock.Free}), (QList<int>{3, 0, 1, 6}));
    EXPECT_EQ(reg->NextFree(QStringLiteral("АБ")), QStringLiteral("000005"));
    EXPECT_EQ(recordStateName(TRecordState::rsPrinted), QStringLiteral("Напечатан"));
}

TEST_P(RegisterOps, ADuplicatePointsAtItsOriginal)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000005"));
    const TCertificateRecord original = reg->Record(certificate(QStringLiteral("АБ"), QStringLiteral("Иванов")));
    TNewCertificate again = certificate(QStringLiteral("АБ"), QStringLiteral("Иванов"));
    again.OriginalId = original.Id;
    const TCertificateRecord duplicate = reg->Record(again);
    EXPECT_EQ(duplicate.Number, QStringLiteral("000002"));
    EXPECT_EQ(duplicate.OriginalId, original.Id);
    EXPECT_EQ(reg->Find(duplicate.Id)->OriginalId, original.Id);
    const QList<TCertificateRecord> duplicates = reg->List(filtered([&](TRegisterFilter &f) { f.DuplicatesOnly = true; }));
    ASSERT_EQ(duplicates.size(), 1);
    EXPECT_EQ(duplicates[0].Id, duplicate.Id);

    again.OriginalId = duplicate.Id + 100;
    EXPECT_EQ(errorOf([&] { reg->Record(again); }),
              QStringLiteral("В реестре %1 нет записи %2, дубликат которой печатается.")
                  .arg(reg->Where())
                  .arg(duplicate.Id + 100));
}

TEST_P(RegisterOps, ListsFilterByNameNumberDayAndStateInTheOrderPrinted)
{
    auto reg = OpenRegister();
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000009"));
    reg->AddBlanks(QStringLiteral("ВГ"), QStringLiteral("000001"), QStringLiteral("000009"));
    for (const char *name : {"ИВАНОВА Мария", "Петров Иван", "Сидоров Пётр"})
        reg->Record(certificate(QStringLiteral("АБ"), QString::fromUtf8(name)));
    reg->Record(certificate(QStringLiteral("ВГ"), QStringLiteral("O'Brien, 50% Smith_")));
    reg->Void(QStringLiteral("АБ"), QStringLiteral("000002"), QStringLiteral("брак"));

    EXPECT_EQ(names(reg->List()),
              (QStringList{"ИВАНОВА Мария", "Петров Иван", "Сидоров Пётр", "O'Brien, 50% Smith_"}));
    EXPECT_EQ(reg->List().first().Values.size(), 2);
    const QList<TCertificateRecord> columnsOnly = reg->List(filtered([&](TRegisterFilter &f) { f.WithoutValues = true; }));
    EXPECT_EQ(names(columnsOnly), names(reg->List()));
    EXPECT_TRUE(columnsOnly.first().Values.isEmpty());
    const auto text = [&](const char *Text) { return names(reg->List(filtered([&](TRegisterFilter &f) { f.Text = QString::fromUtf8(Text); }))); };
    EXPECT_EQ(text("иван"), (QStringList{"ИВАНОВА Мария", "Петров Иван"}));
    EXPECT_EQ(text(" ПЁТР "), (QStringList{"Сидоров Пётр"}));
    EXPECT_EQ(text("50%"), (QStringList{"O'Brien, 50% Smith_"}));
    EXPECT_EQ(text("%"), (QStringList{"O'Brien, 50% Smith_"}));
    EXPECT_EQ(text("h_"), (QStringList{"O'Brien, 50% Smith_"}));
    EXPECT_EQ(text("АБ 000003"), (QStringList{"Сидоров Пётр"}));
    EXPECT_EQ(text("000001"), (QStringList{"ИВАНОВА Мария", "O'Brien, 50% Smith_"}));
    EXPECT_EQ(text("3"), (QStringList{"Сидоров Пётр"}));
    EXPECT_EQ(text("ВГ"), (QStringList{"O'Brien, 50% Smith_"}));
    EXPECT_EQ(text("Козлов"), QStringList());

    const QDate today = QDate::currentDate();
    EXPECT_EQ(reg->List(filtered([&](TRegisterFilter &f) { f.From = today; f.To = today; })).size(), 4);
    EXPECT_EQ(reg->List(filtered([&](TRegisterFilter &f) { f.From = today.addDays(1); })).size(), 0);
    EXPECT_EQ(reg->List(filtered([&](TRegisterFilter &f) { f.To = today.addDays(-1); })).size(), 0);
    EXPECT_EQ(names(reg->List(filtered([&](TRegisterFilter &f) { f.Text = QStringLiteral("ов"); f.State = TRecordState::rsIssued; }))),
              (QStringList{"ИВАНОВА Мария", "Сидоров Пётр"}));
}

TEST_P(RegisterOps, AFirstVersionRegisterIsBroughtUpToDateAndKeepsTraineeDetails)
{
    {
        TRawConnection raw(Location);
        for (const QString &statement : firstSchemaVersion(GetParam()))
            raw.Exec(statement);
        raw.Exec(QStringLiteral("INSERT INTO blank_range (series, first_number, last_number, width, received_at) "
                                "VALUES ('АБ', 1, 10, 6, '2026-01-10T08:00:00.000Z')"));
        raw.Exec(QStringLiteral("INSERT INTO certificate (series, number, width, state, full_name, issue_date, "
                                "printed_at, printer, field_values) VALUES ('АБ', 1, 6, 0, 'ЁЛКИН Пётр', "
                                "'2026-01-09', '2026-01-10T09:00:00.000Z', 'PDF', '{\"edit_1\":\"ЁЛКИН\"}')"));
    }
    auto reg = OpenRegister();
    const QList<TCertificateRecord> found = reg->List(filtered([&](TRegisterFilter &f) { f.Text = QStringLiteral("ёлкин"); }));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].Number, QStringLiteral("000001"));
    EXPECT_EQ(found[0].IssueDate, QDate(2026, 1, 9));
    EXPECT_EQ(found[0].PrintedAt, QDateTime(QDate(2026, 1, 10), QTime(9, 0), Qt::UTC));
    EXPECT_EQ(found[0].Values.value(QStringLiteral("edit_1")), QStringLiteral("ЁЛКИН"));
    EXPECT_EQ(found[0].Details, TTraineeDetails());
    TNewCertificate withDetails = certificate(QStringLiteral("АБ"), QStringLiteral("Новый"));
    withDetails.Details = {QStringLiteral("Новый"), QStringLiteral("Иван"), QString(), QDate(1990, 2, 3),
                           QStringLiteral("М"), QStringLiteral("112-233-445 95"), QStringLiteral("112")};
    const TCertificateRecord recorded = reg->Record(withDetails);
    EXPECT_EQ(recorded.Number, QStringLiteral("000002"));
    EXPECT_EQ(reg->Find(recorded.Id)->Details, withDetails.Details);
    EXPECT_TRUE(found[0].ArchivePath.isEmpty());
    reg->SetArchive(found[0].Id, QStringLiteral("/archive/2026/АБ-000001 ЁЛКИН.pdf"), QStringLiteral("0f"));
    EXPECT_EQ(reg->Find(found[0].Id)->ArchivePath, QStringLiteral("/archive/2026/АБ-000001 ЁЛКИН.pdf"));
    EXPECT_EQ(reg->Find(found[0].Id)->ArchiveSha256, QStringLiteral("0f"));
    reg.reset();
    TRawConnection raw(Location);
    EXPECT_EQ(raw.Value(QStringLiteral("SELECT version FROM register_schema")).toInt(), 4);
    EXPECT_EQ(raw.Value(QStringLiteral("SELECT count(*) FROM register_schema")).toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, RegisterOps, ::testing::Values(TBackend::Sqlite), backendName);
INSTANTIATE_TEST_SUITE_P(Pg, RegisterOps, ::testing::Values(TBackend::Postgres), backendName);

TEST(RegisterCsv, QuotesWhatNeedsItAndShowsNumbersAsPrinted)
{
    TCertificateRecord issued;
    issued.Id = 7;
    issued.Series = QStringLiteral("АБ");
    issued.Number = QStringLiteral("000123");
    issued.FullName = QStringLiteral("Иванов, \"Иван\"\nИванович");
    issued.IssueDate = QDate(2026, 6, 5);
    issued.PrintedAt = QDateTime(QDate(2026, 6, 5), QTime(10, 20, 30)).toUTC();
    issued.Printer = QStringLiteral("PDF");
    TCertificateRecord voided;
    voided.Id = 8;
    voided.Series = QStringLiteral("АБ");
    voided.Number = QStringLiteral("000124");
    voided.State = TRecordState::rsSpoiled;
    voided.OriginalId = 7;
    voided.VoidReason = QStringLiteral("замятие\r");
    voided.PrintedAt = voided.VoidedAt = QDateTime(QDate(2026, 6, 6), QTime(8, 0, 1)).toUTC();
    EXPECT_EQ(QString::fromUtf8(registerCsv({issued, voided})),
              QStringLiteral("Серия,Номер,Состояние,ФИО,Дата выдачи,Напечатано,Принтер,Причина,Испорчен,"
                             "Дубликат записи,Запись\n"
                             "АБ,000123,Выдан,\"Иванов, \"\"Иван\"\"\nИванович\",05.06.2026,05.06.2026 10:20:30,PDF,,,,7\n"
                             "АБ,000124,Испорчен,,,06.06.2026 08:00:01,,\"замятие\r\",06.06.2026 08:00:01,7,8\n"));
    EXPECT_EQ(recordStateName(TRecordState::rsIssued), QStringLiteral("Выдан"));
}
