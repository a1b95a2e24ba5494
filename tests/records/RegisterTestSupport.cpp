#include "RegisterTestSupport.h"

#include "support/ServerTestCount.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>

namespace {

// The PostgreSQL tests' count.
TServerTestCount *const databaseCount = addServerTestCount(
    QStringLiteral("Database tests against the private PostgreSQL server"), QStringLiteral("RUD-DATABASE-SKIPPED"),
    [] { return pgTest::Dir() + QStringLiteral("/database-tests-%1.txt").arg(QCoreApplication::applicationName()); });

int rawCounter = 0;

} // namespace

QString pgTest::Dir()
{
    const QString dir = qEnvironmentVariable("RUD_POSTGRES_DIR");
    return dir.isEmpty() ? QStringLiteral(RUD_DEFAULT_POSTGRES_DIR) : dir;
}

bool pgTest::Available(QString *Reason)
{
    static int state = -1; // -1 unknown, 0 unavailable, 1 running
    static QString reason;
    if (state < 0) {
        const QString script = qEnvironmentVariableIsEmpty("RUD_POSTGRES_SCRIPT")
                                   ? QStringLiteral(RUD_DEFAULT_POSTGRES_SCRIPT)
                                   : qEnvironmentVariable("RUD_POSTGRES_SCRIPT");
        QProcess process;
        process.start(QStringLiteral("bash"), {script, QStringLiteral("start"), Dir()});
        const bool finished = process.waitForFinished(180000);
        QFile why(Dir() + QStringLiteral("/unavailable"));
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            reason = QStringLiteral("the server's start script failed: ") +
                     QString::fromUtf8(process.readAllStandardError()).trimmed();
        else if (why.open(QIODevice::ReadOnly))
            reason = QString::fromUtf8(why.readAll()).trimmed();
        else if (Url().isEmpty())
            reason = QStringLiteral("the server's start script named no database");
        state = reason.isEmpty() ? 1 : 0;
    }
    if (Reason)
        *Reason = reason;
    return state == 1;
}

QString pgTest::Url()
{
    QFile file(Dir() + QStringLiteral("/url"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

TRawConnection::TRawConnection(const QString &Location)
    : FName(QStringLiteral("test_raw_%1").arg(++rawCounter))
{
    if (Location.startsWith(QLatin1String("postgresql://"))) {
        const QUrl url(Location);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), FName);
        db.setDatabaseName(url.path().mid(1));
        db.setUserName(url.userName());
        db.setHostName(QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded));
        if (url.port() > 0)
            db.setPort(url.port());
        EXPECT_TRUE(db.open()) << qPrintable(db.lastError().text());
        QSqlQuery(db).exec(QStringLiteral("SET client_min_messages = WARNING"));
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
        db.setDatabaseName(Location);
        EXPECT_TRUE(db.open()) << qPrintable(db.lastError().text());
    }
}

TRawConnection::~TRawConnection()
{
    QSqlDatabase::database(FName, false).close();
    QSqlDatabase::removeDatabase(FName);
}

void TRawConnection::Exec(const QString &Sql)
{
    QSqlQuery query(QSqlDatabase::database(FName, false));
    EXPECT_TRUE(query.exec(Sql)) << qPrintable(Sql) << ": " << qPrintable(query.lastError().text());
}

QVariant TRawConnection::Value(const QString &Sql)
{
    QSqlQuery query(QSqlDatabase::database(FName, false));
    EXPECT_TRUE(query.exec(Sql)) << qPrintable(Sql) << ": " << qPrintable(query.lastError().text());
    return query.next() ? query.value(0) : QVariant();
}

void RegisterBackendTest::SetUp()
{
    if (GetParam() == TBackend::Sqlite) {
        ASSERT_TRUE(Folder.isValid());
        Location = Folder.filePath(QStringLiteral("register.sqlite"));
        return;
    }
    QString reason;
    if (!pgTest::Available(&reason))
        GTEST_SKIP() << "no private PostgreSQL server: " << qPrintable(reason);
    Location = pgTest::Url();
    TRawConnection raw(Location);
    raw.Exec(QStringLiteral("DROP SCHEMA public CASCADE"));
    raw.Exec(QStringLiteral("CREATE SCHEMA public"));
}

void RegisterBackendTest::TearDown()
{
    if (GetParam() != TBackend::Postgres)
        return;
    databaseCount->CountCurrentTest();
}

std::string backendName(const ::testing::TestParamInfo<TBackend> &Info)
{
    return Info.param == TBackend::Sqlite ? "Sqlite" : "Postgres";
}

QStringList firstSchemaVersion(TBackend Backend)
{
    const QString key = Backend == TBackend::Postgres ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                                      : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    return {
        QStringLiteral("CREATE TABLE register_schema (version INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE blank_range (id %1, series TEXT NOT NULL, first_number BIGINT NOT NULL, "
                       "last_number BIGINT NOT NULL, width INTEGER NOT NULL, received_at TEXT NOT NULL)")
            .arg(key),
        QStringLiteral("CREATE INDEX blank_range_series ON blank_range (series, first_number)"),
        QStringLiteral("CREATE TABLE certificate (id %1, series TEXT NOT NULL, number BIGINT, width INTEGER, "
                       "state INTEGER NOT NULL, original_id BIGINT REFERENCES certificate (id), "
                       "full_name TEXT NOT NULL, issue_date TEXT, printed_at TEXT NOT NULL, printer TEXT NOT NULL, "
                       "void_reason TEXT, voided_at TEXT, field_values TEXT NOT NULL, UNIQUE (series, number))")
            .arg(key),
        QStringLiteral("INSERT INTO register_schema (version) VALUES (1)"),
    };
}

QByteArray fileBytes(const QString &Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
