// Opening a register (an SQLite file or a PostgreSQL database), running its
// statements and transactions, and the operator's messages for what the
// database refuses.

#include "records/Register_p.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>
#include <QUrlQuery>

namespace {

QAtomicInteger<quint64> connectionCounter;

bool isPostgresLocation(const QString &Location)
{
    return Location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           Location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// The location as shown: no password, neither in the user part nor among
// the options.
QString shownLocation(const QUrl &Url)
{
    QUrl shown(Url);
    shown.setPassword(QString());
    QUrlQuery query(shown);
    query.removeAllQueryItems(QStringLiteral("password"));
    shown.setQuery(query);
    return shown.toString(QUrl::RemovePassword);
}

// SQLite's primary result codes the messages tell apart.
enum : int {
    sqliteBusy = 5,
    sqliteLocked = 6,
    sqliteReadOnly = 8,
    sqliteIoErr = 10,
    sqliteCorrupt = 11,
    sqliteFull = 13,
    sqliteCantOpen = 14,
    sqliteConstraint = 19,
    sqliteNotADb = 26,
};

// Free space below which an I/O error is taken for a full disk.
constexpr qint64 fullDiskBytes = 256 * 1024;

} // namespace

TRegisterDb::TRegisterDb()
    : ConnectionName(QStringLiteral("rud_register_%1").arg(++connectionCounter))
{
}

TRegisterDb::~TRegisterDb()
{
    if (Db.isValid())
        Db.close();
    Db = QSqlDatabase();
    QSqlDatabase::removeDatabase(ConnectionName);
}

bool TRegisterDb::TryExec(QSqlQuery &Query, const QString &Sql, const QVariantList &Arguments,
                                  QSqlError *Error) const
{
    Query = QSqlQuery(Db);
    Query.setForwardOnly(true);
    // PostgreSQL's driver prepares every prepared query on the server,
    // where BEGIN, SET and DDL cannot be prepared: statements without
    // arguments run as they are.
    if (Arguments.isEmpty()) {
        const bool ok = Query.exec(Sql);
        if (!ok && Error)
            *Error = Query.lastError();
        return ok;
    }
    bool ok = Query.prepare(Sql);
    if (ok) {
        for (const QVariant &argument : Arguments)
            Query.addBindValue(argument);
        ok = Query.exec();
    }
    if (!ok && Error)
        *Error = Query.lastError();
    return ok;
}

QSqlQuery TRegisterDb::Exec(const QString &Sql, const QVariantList &Arguments) const
{
    QSqlQuery query;
    QSqlError error;
    if (!TryExec(query, Sql, Arguments, &error))
        Fail(error);
    return query;
}

QVariant TRegisterDb::Value(const QString &Sql, const QVariantList &Arguments) const
{
    QSqlQuery query = Exec(Sql, Arguments);
    QVariant value;
    if (query.next())
        value = query.value(0);
    query.finish();
    return value;
}

void TRegisterDb::CheckWritable() const
{
    if (ReadOnly)
        Fail(QStringLiteral("Файл реестра %1 защищён от записи: изменения не сохранены.").arg(Where));
}

void TRegisterDb::Transaction(const std::function<void()> &Body)
{
    CheckWritable();
    Exec(Postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    try {
        Body();
        Exec(QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(Db);
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

bool TRegisterDb::IsUniqueViolation(const QSqlError &Error) const
{
    if (Postgres)
        return Error.nativeErrorCode() == QLatin1String("23505");
    return (Error.nativeErrorCode().toInt() & 0xff) == sqliteConstraint &&
           Error.databaseText().contains(QLatin1String("UNIQUE"));
}

void TRegisterDb::Fail(const QString &Message) const
{
    throw ERegisterError(Message);
}

void TRegisterDb::Fail(const QSqlError &Error) const
{
    const QString code = Error.nativeErrorCode();
    const QString detail = Error.databaseText().isEmpty() ? Error.text() : Error.databaseText();
    if (Postgres) {
        if (code == QLatin1String("53100"))
            Fail(QStringLiteral("На сервере реестра %1 нет места на диске: изменения не сохранены.").arg(Where));
        if (code == QLatin1String("25006"))
            Fail(QStringLiteral("Реестр %1 доступен только для чтения: изменения не сохранены.").arg(Where));
        if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")) ||
            Error.type() == QSqlError::ConnectionError || !Db.isOpen())
            Fail(QStringLiteral("Нет связи с сервером реестра %1: %2").arg(Where, detail));
        Fail(QStringLiteral("Ошибка реестра %1: %2").arg(Where, detail));
    }
    switch (code.toInt() & 0xff) {
    case sqliteBusy:
    case sqliteLocked:
        Fail(QStringLiteral("Файл реестра %1 занят другой программой дольше %2 с: изменения не сохранены, "
                            "повторите позже.")
                 .arg(Where)
                 .arg(registerRules::BusyTimeoutMs / 1000));
    case sqliteReadOnly:
        Fail(QStringLiteral("Файл реестра %1 защищён от записи: изменения не сохранены.").arg(Where));
    case sqliteIoErr:
    case sqliteCantOpen:
        // A full disk shows in write-ahead mode as an I/O error of the
        // shared-memory file rather than as "full".
        if (QStorageInfo(QFileInfo(Db.databaseName()).absolutePath()).bytesAvailable() < fullDiskBytes)
            Fail(QStringLiteral("Нет места на диске для файла реестра %1: изменения не сохранены.").arg(Where));
        if ((code.toInt() & 0xff) == sqliteCantOpen)
            Fail(QStringLiteral("Не удаётся открыть файл реестра %1: %2").arg(Where, detail));
        Fail(QStringLiteral("Ошибка чтения или записи файла реестра %1: %2").arg(Where, detail));
    case sqliteFull:
        Fail(QStringLiteral("Нет места на диске для файла реестра %1: изменения не сохранены.").arg(Where));
    case sqliteNotADb:
    case sqliteCorrupt:
        Fail(QStringLiteral("Файл %1 не является базой данных реестра или повреждён; файл оставлен как есть.")
                 .arg(Where));
    default:
        Fail(QStringLiteral("Ошибка реестра %1: %2").arg(Where, detail));
    }
}

TRegister::TRegister(std::unique_ptr<TPrivate> Private)
    : d(std::move(Private))
{
}

TRegister::~TRegister() = default;

QString TRegister::Where() const
{
    return d->Where;
}

std::unique_ptr<TRegister> TRegister::Open(const QString &Location)
{
    auto p = std::make_unique<TPrivate>();
    if (isPostgresLocation(Location)) {
        const QUrl url(Location, QUrl::StrictMode);
        p->Postgres = true;
        p->Where = url.isValid() ? shownLocation(url) : QStringLiteral("postgresql://...");
        if (!url.isValid() || url.path().size() < 2)
            p->Fail(QStringLiteral("Неверный адрес реестра %1: нужен вид postgresql://пользователь@сервер:порт/база.")
                        .arg(p->Where));
        p->Db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), p->ConnectionName);
        if (!p->Db.isValid())
            p->Fail(QStringLiteral("Не установлен драйвер PostgreSQL для Qt (libqt6sql6-psql): реестр %1 не открыт.")
                        .arg(p->Where));
        p->Db.setDatabaseName(url.path().mid(1));
        if (!url.userName().isEmpty())
            p->Db.setUserName(url.userName());
        if (!url.password().isEmpty())
            p->Db.setPassword(url.password());
        if (!url.host().isEmpty())
            p->Db.setHostName(url.host());
        if (url.port() > 0)
            p->Db.setPort(url.port());
        // libpq's own options; an unreachable server is given up after a
        // while rather than never.
        QStringList options;
        bool timeout = false;
        for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
            options << key + QLatin1Char('=') + value;
            timeout = timeout || key == QLatin1String("connect_timeout");
        }
        if (!timeout)
            options << QStringLiteral("connect_timeout=10");
        p->Db.setConnectOptions(options.join(QLatin1Char(';')));
        if (!p->Db.open())
            p->Fail(QStringLiteral("Не удаётся подключиться к реестру %1: %2")
                        .arg(p->Where, p->Db.lastError().databaseText().trimmed()));
        p->Exec(QStringLiteral("SET client_min_messages = WARNING"));
    } else {
        QString path = Location;
        if (path.isEmpty()) {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
            if (folder.isEmpty() || !QDir().mkpath(folder))
                p->Fail(QStringLiteral("Не удаётся создать папку данных программы %1 для реестра.")
                            .arg(QDir::toNativeSeparators(folder)));
            path = folder + QStringLiteral("/register.sqlite");
        }
        const QFileInfo info(path);
        p->Where = QDir::toNativeSeparators(info.absoluteFilePath());
        if (!info.absoluteDir().exists())
            p->Fail(QStringLiteral("Папка %1 для файла реестра не существует.")
                        .arg(QDir::toNativeSeparators(info.absolutePath())));
        if (info.exists() && !info.isFile())
            p->Fail(QStringLiteral("%1 не является файлом: реестр не открыт.").arg(p->Where));
        // The permission bits decide, whoever runs the program: a file the
        // school marked read-only is never written, not even by root.
        const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        p->ReadOnly = info.exists() && !(info.permissions() & writable);
        p->Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), p->ConnectionName);
        if (!p->Db.isValid())
            p->Fail(QStringLiteral("Не установлен драйвер SQLite для Qt (libqt6sql6-sqlite): реестр %1 не открыт.")
                        .arg(p->Where));
        p->Db.setDatabaseName(info.absoluteFilePath());
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(registerRules::BusyTimeoutMs);
        if (p->ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        p->Db.setConnectOptions(options);
        if (!p->Db.open())
            p->Fail(p->Db.lastError());
        p->Exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    }
    registerSchema::Upgrade(*p);
    if (!p->Postgres && !p->ReadOnly) {
        // Write-ahead logging: a change costs one sync instead of the
        // rollback journal's several, and the register window keeps reading
        // while another program records. Set only once the schema is known
        // to be this program's (it changes the file's header); where the
        // file system cannot have it the file keeps its journal.
        QSqlQuery wal(p->Db);
        wal.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    }
    return std::unique_ptr<TRegister>(new TRegister(std::move(p)));
}
