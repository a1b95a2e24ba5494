// The register's schema and its migrations. Both databases get the same
// tables and columns; only the key column's type differs. Times are kept as
// UTC text "yyyy-MM-ddTHH:mm:ss.zzzZ" and days as "yyyy-MM-dd", which sort as
// they read on both.

#include "records/Register_p.h"

namespace {

// Version 1: the version itself, the blank ranges received, and the
// certificates with the blank each took. UNIQUE(series, number) is what
// keeps two offices from taking one blank; a certificate without stock has
// no number, and any number of those may share a series.
const char *const version1[] = {
    "CREATE TABLE register_schema (version INTEGER NOT NULL)",
    "CREATE TABLE blank_range ("
    " id %KEY%,"
    " series TEXT NOT NULL,"
    " first_number BIGINT NOT NULL,"
    " last_number BIGINT NOT NULL,"
    " width INTEGER NOT NULL,"
    " received_at TEXT NOT NULL)",
    "CREATE INDEX blank_range_series ON blank_range (series, first_number)",
    "CREATE TABLE certificate ("
    " id %KEY%,"
    " series TEXT NOT NULL,"
    " number BIGINT,"
    " width INTEGER,"
    " state INTEGER NOT NULL,"
    " original_id BIGINT REFERENCES certificate (id),"
    " full_name TEXT NOT NULL,"
    " issue_date TEXT,"
    " printed_at TEXT NOT NULL,"
    " printer TEXT NOT NULL,"
    " void_reason TEXT,"
    " voided_at TEXT,"
    " field_values TEXT NOT NULL,"
    " UNIQUE (series, number))",
    "INSERT INTO register_schema (version) VALUES (1)",
};

// Version 2, for the register window's search and lists: a lower-cased copy
// of the name (the databases' own lower() and LIKE know no Cyrillic case),
// filled below, and indexes for the order printed and for duplicates.
const char *const version2[] = {
    "ALTER TABLE certificate ADD COLUMN name_folded TEXT NOT NULL DEFAULT ''",
    "CREATE INDEX certificate_printed ON certificate (printed_at, id)",
    "CREATE INDEX certificate_original ON certificate (original_id)",
};

// Version 3, for the federal register export: the trainee's details
// (TTraineeDetails), empty for the records made before.
const char *const version3[] = {
    "ALTER TABLE certificate ADD COLUMN surname TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE certificate ADD COLUMN given_name TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE certificate ADD COLUMN patronymic TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE certificate ADD COLUMN birth_date TEXT",
    "ALTER TABLE certificate ADD COLUMN sex TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE certificate ADD COLUMN snils TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE certificate ADD COLUMN citizenship TEXT NOT NULL DEFAULT ''",
    "UPDATE register_schema SET version = 3",
};

// Version 4: the PDF copy of each printed certificate in the archive
// folder, and the SHA-256 of its bytes.
const char *const version4[] = {
    "ALTER TABLE certificate ADD COLUMN archive_path TEXT",
    "ALTER TABLE certificate ADD COLUMN archive_sha256 TEXT",
    "UPDATE register_schema SET version = 4",
};

template <size_t N>
void run(TRegisterDb &r, const char *const (&Statements)[N])
{
    const QString key = r.Postgres ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                   : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    for (const char *statement : Statements)
        r.Exec(QString::fromLatin1(statement).replace(QLatin1String("%KEY%"), key));
}

void foldNames(TRegisterDb &r)
{
    QList<QPair<qint64, QString>> names;
    QSqlQuery query = r.Exec(QStringLiteral("SELECT id, full_name FROM certificate"));
    while (query.next())
        names.append({query.value(0).toLongLong(), query.value(1).toString()});
    query.finish();
    for (const auto &[id, name] : names)
        r.Exec(QStringLiteral("UPDATE certificate SET name_folded = ? WHERE id = ?"), {name.toLower(), id});
}

// The version of the open register: 0 for an empty database. Reads only.
int readVersion(TRegisterDb &r)
{
    if (!r.Db.tables().contains(QStringLiteral("register_schema"))) {
        // QSqlDatabase::tables() hides the failure of a file that is not a
        // database; a statement shows it.
        if (!r.Postgres)
            r.Value(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        return 0;
    }
    const QVariant version = r.Value(QStringLiteral("SELECT max(version) FROM register_schema"));
    return version.isNull() ? 0 : version.toInt();
}

} // namespace

void registerSchema::Upgrade(TRegisterDb &r)
{
    int version = readVersion(r);
    if (version == 0 && !r.Postgres) {
        const QStringList tables = r.Db.tables();
        for (const QString &table : tables)
            if (!table.startsWith(QLatin1String("sqlite_")))
                r.Fail(QStringLiteral("Файл %1 — база данных другой программы, а не реестр; файл оставлен как есть.")
                           .arg(r.Where));
    }
    const auto checkNotNewer = [&r](int Version) {
        if (Version > CurrentVersion)
            r.Fail(QStringLiteral("Реестр %1 создан более новой версией программы (версия схемы %2, эта программа "
                                  "знает версии до %3); реестр не изменён, обновите программу.")
                       .arg(r.Where)
                       .arg(Version)
                       .arg(CurrentVersion));
    };
    checkNotNewer(version);
    if (version == CurrentVersion)
        return;
    if (r.ReadOnly)
        r.Fail(QStringLiteral("Файл реестра %1 защищён от записи, а его нужно обновить до версии этой программы.")
                   .arg(r.Where));
    while (version < CurrentVersion) {
        r.Transaction([&] {
            // Another program may be upgrading the same register: the
            // version is read again under the write lock.
            if (r.Postgres)
                r.Exec(QStringLiteral("SELECT pg_advisory_xact_lock(830517)"));
            version = readVersion(r);
            checkNotNewer(version);
            switch (version) {
            case 0:
                run(r, version1);
                break;
            case 1:
                run(r, version2);
                foldNames(r);
                r.Exec(QStringLiteral("UPDATE register_schema SET version = 2"));
                break;
            case 2:
                run(r, version3);
                break;
            case 3:
                run(r, version4);
                break;
            default:
                return;
            }
            ++version;
        });
    }
}
