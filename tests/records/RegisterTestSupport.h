#pragma once
// The register's tests run on a real SQLite file in a temporary folder and
// on a private PostgreSQL server kept under the build folder
// (scripts/postgres-test-server.sh). Tests of suites named Pg* use the
// server: they skip, saying why, where the machine cannot run it, and the
// run ends with a line counting the database tests run.

#include "records/Register.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

enum class TBackend { Sqlite, Postgres };

namespace pgTest {
// The server's folder (build folder's "postgres").
QString Dir();
// Starts the server when it does not answer; false (and the reason) when
// this machine cannot run it.
bool Available(QString *Reason = nullptr);
// The location of the server's test database.
QString Url();
} // namespace pgTest

// A connection of the test's own to the register at Location, beside the
// program's (to make an old schema, hold a lock, look at what is stored).
class TRawConnection {
public:
    explicit TRawConnection(const QString &Location);
    ~TRawConnection();
    TRawConnection(const TRawConnection &) = delete;
    TRawConnection &operator=(const TRawConnection &) = delete;
    // Runs Sql; fails the test when the database refuses.
    void Exec(const QString &Sql);
    // The first value of the first row of Sql.
    QVariant Value(const QString &Sql);

private:
    QString FName;
};

// A test run on one back end: a fresh register location per test (a file
// in a new temporary folder, or the server's database emptied).
class RegisterBackendTest : public ::testing::TestWithParam<TBackend> {
protected:
    void SetUp() override;
    // Counts the PostgreSQL tests as run or skipped.
    void TearDown() override;
    std::unique_ptr<TRegister> OpenRegister() const { return TRegister::Open(Location); }

    QTemporaryDir Folder;
    QString Location;
};

// The test's name suffix of a back end ("Sqlite", "Postgres").
std::string backendName(const ::testing::TestParamInfo<TBackend> &Info);

// The v1 statements a register of the first schema version was made with.
QStringList firstSchemaVersion(TBackend Backend);

// The message of the ERegisterError Call raises; empty when none.
template <class F>
QString errorOf(F &&Call)
{
    try {
        Call();
    } catch (const ERegisterError &e) {
        return e.Message();
    }
    return QString();
}

// The bytes of a file.
QByteArray fileBytes(const QString &Path);
