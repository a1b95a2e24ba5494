#pragma once
// What the register's source files share: the open connection, running
// statements and transactions with their failures turned into the
// operator's messages, the schema, and the rules of series and numbers.

#include "records/Register.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>

// A blank's number: its value and the width it is printed with.
struct TBlankNumber {
    qint64 Value = 0;
    int Width = 0;
};

namespace registerRules {
// Longest series and number, most blanks in one range.
constexpr int MaxSeriesLength = 4;
constexpr int MaxNumberDigits = 9;
constexpr qint64 MaxRangeSize = 100000;
// How long a change waits for another program holding an SQLite file.
constexpr int BusyTimeoutMs = 5000;

// The series trimmed; throws when it is empty, too long or holds a control
// character.
QString CheckedSeries(const QString &Series);
// The number as typed (trimmed): digits only, 1 to 9 of them; nothing else.
std::optional<TBlankNumber> ParseNumber(const QString &Text);
// Value printed with Width digits, leading zeros kept.
QString FormatNumber(qint64 Value, int Width);
// "АБ 000123" for messages.
QString BlankName(const QString &Series, const QString &Number);
} // namespace registerRules

// One open connection to a register's database.
struct TRegisterDb {
    TRegisterDb();
    ~TRegisterDb();
    TRegisterDb(const TRegisterDb &) = delete;
    TRegisterDb &operator=(const TRegisterDb &) = delete;

    QString ConnectionName;
    QSqlDatabase Db;
    QString Where;          // for messages, never with a password
    bool Postgres = false;
    bool ReadOnly = false;  // an SQLite file without write permission
    mutable bool InTransaction = false;

    // Prepares Sql, binds Arguments in order and runs it; throws the
    // operator's message when the database refuses.
    QSqlQuery Exec(const QString &Sql, const QVariantList &Arguments = {}) const;
    // Like Exec, but gives the failure back instead of throwing (for the
    // statements whose failure is expected and handled).
    bool TryExec(QSqlQuery &Query, const QString &Sql, const QVariantList &Arguments, QSqlError *Error) const;
    // The one value of the first row of Sql; an invalid QVariant when there
    // is no row.
    QVariant Value(const QString &Sql, const QVariantList &Arguments = {}) const;

    // Runs Body in one transaction (on SQLite one that takes the write lock
    // at once, so that two programs never both read and then both write);
    // commits, or rolls back and rethrows when Body throws.
    void Transaction(const std::function<void()> &Body);
    // Ends the running transaction, if any, undoing it.
    void RollBack() const;
    // Throws when the register cannot take changes.
    void CheckWritable() const;

    // The operator's message for a failure of the database.
    [[noreturn]] void Fail(const QSqlError &Error) const;
    [[noreturn]] void Fail(const QString &Message) const;
    // Whether Error is a second record on a blank already taken.
    bool IsUniqueViolation(const QSqlError &Error) const;
};

namespace registerSchema {
// The newest schema version this program knows.
constexpr int CurrentVersion = 4;
// Brings the schema of an open register up to CurrentVersion, one
// transaction per version; refuses a newer one, a database of something
// else, and an old one that is read-only, before writing anything.
void Upgrade(TRegisterDb &Register);
} // namespace registerSchema

struct TRegister::TPrivate : TRegisterDb {};
