#pragma once
// The school's register: the blank forms it received (series and number
// ranges) and every certificate it printed on them, kept in a database
// (an SQLite file by default, a PostgreSQL database when several offices
// share one register). This room owns the schema, its migrations and every
// statement; nothing else in the program talks SQL.
//
// Numbers: a blank's number is kept as an integer plus the width of the range
// it belongs to ("000001" ... "000500" has width 6) and given back as printed.
// A range is at most 9 digits wide, both ends equally wide, and holds at most
// 100,000 blanks. A series is trimmed, 1 to 4 characters, compared exactly.

#include "base/Errors.h"
#include "records/TraineeDetails.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

// A failure of the register: it cannot be opened, is damaged, locked, read-
// only or newer than this program, a server cannot be reached, or a request
// breaks its rules (an overlapping range, a number that is not free). The
// message is the one the operator reads, in Russian.
class ERegisterError : public Exception {
public:
    using Exception::Exception;
};

// What became of a blank or of the certificate printed on it. A group's
// certificates are rsPrinted until the operator confirms each one came out
// of the printer well (Confirm makes it rsIssued) or voids it. The values
// are stored: new states go at the end.
enum class TRecordState { rsIssued, rsSpoiled, rsPrinted };

// A certificate printed, or a blank voided without one.
struct TCertificateRecord {
    qint64 Id = 0;
    // The blank: the series as printed; the number as printed on the blank,
    // leading zeros kept ("000123"), empty when the series has no stock.
    QString Series;
    QString Number;
    TRecordState State = TRecordState::rsIssued;
    // A duplicate (reissue of a lost certificate) points at its original.
    std::optional<qint64> OriginalId;
    QString FullName;         // the trainee, as printed
    QDate IssueDate;          // as printed
    QDateTime PrintedAt;      // UTC; for a blank voided unused: when it was voided
    QString Printer;          // the print queue
    QString VoidReason;       // for a spoiled blank
    QDateTime VoidedAt;       // UTC, for a spoiled blank
    // Every value of the certificate as printed, under the keys of the
    // certificate file (edit_1 ... edit_10, date1 ... date4, edt_1 ...,
    // cmb_1 ..., cmb_kpp); empty for a blank voided unused.
    QMap<QString, QString> Values;
    // The trainee's details for the federal register export; empty for a
    // blank voided unused and for certificates recorded without them.
    TTraineeDetails Details;
    // The PDF copy of the printed certificate in the archive folder and the
    // SHA-256 of its bytes (lower-case hex); empty when none was written.
    QString ArchivePath, ArchiveSha256;
};

// The stock of one series.
struct TBlankStock {
    QString Series;
    // Printed: blanks taken by certificates not yet confirmed (neither
    // issued nor free). Free = Received - Issued - Printed - Spoiled.
    int Received = 0, Issued = 0, Printed = 0, Spoiled = 0, Free = 0;
};

// Which records a list shows; empty members do not filter.
struct TRegisterFilter {
    // Part of the name without regard to case, or a series and/or number
    // ("АБ 000123", "АБ", "000123" or "123"): a record matching either shows.
    QString Text;
    QDate From, To; // the day printed (voided, for a blank voided unused), local time, inclusive
    std::optional<TRecordState> State;
    bool DuplicatesOnly = false;
    // Leaves every record's Values empty: for a list that shows only the
    // columns (reading the values is most of a long list's time; Find
    // gives them for one record).
    bool WithoutValues = false;
};

// A certificate about to be printed: Record takes its blank and keeps it.
struct TNewCertificate {
    // The series as printed. When the register has a stock of it the
    // certificate takes a blank of it; otherwise it is recorded without a number.
    QString Series;
    // Empty: the next free number of Series; else that number, which must be
    // a free blank of the stock (an error when the series has no stock).
    QString Number;
    std::optional<qint64> OriginalId; // set for a duplicate
    QString FullName;
    QDate IssueDate;
    QString Printer;
    QMap<QString, QString> Values;
    TTraineeDetails Details;
    // Recorded as printed, not yet issued: the operator confirms it later
    // (TRegister::Confirm) or voids it.
    bool Unconfirmed = false;
};

// One open register. Every change is one transaction: a failure leaves the
// register as it was and raises ERegisterError.
class TRegister {
public:
    // Opens the register at Location, creating it when it does not exist and
    // bringing an older schema up to date:
    //   ""                               the default file, register.sqlite in
    //                                    the user's data folder (AppDataLocation),
    //                                    the folder made here on first use
    //   "postgresql://user@host:port/db" a PostgreSQL database ("postgres://"
    //   [?option=value&...]              too); the options are libpq's
    //                                    (host=/socket/folder, sslmode=...);
    //                                    the password comes from PGPASSWORD or
    //                                    ~/.pgpass; one written in the URL is
    //                                    used but never shown (Where, messages)
    //   anything else                    the path of an SQLite file, whose
    //                                    folder must exist
    // A schema newer than this program knows is refused, the file untouched;
    // so is a file that is not a database, or an SQLite database with tables
    // of something else: nothing is ever replaced or re-created. An SQLite
    // file without write permission opens read-only (lists work, changes are
    // refused), whoever runs the program. A change waits up to a few seconds
    // for another program that holds the file, then fails saying so. An
    // SQLite register runs with a write-ahead log ("-wal" and "-shm" files
    // beside it while it is open), so it belongs on a local disk; offices
    // that share one register use PostgreSQL.
    static std::unique_ptr<TRegister> Open(const QString &Location);
    ~TRegister();
    TRegister(const TRegister &) = delete;
    TRegister &operator=(const TRegister &) = delete;

    // Where the register is, for messages ("/home/.../register.sqlite",
    // "postgresql://user@host:5432/db", never a password).
    QString Where() const;

    // Blank stock. Adds the blanks First ... Last (inclusive, the numbers as
    // printed: their width fixes the leading zeros) of Series; a range that
    // overlaps one already received is refused.
    void AddBlanks(const QString &Series, const QString &First, const QString &Last);
    // Per series, in the order of series.
    QList<TBlankStock> Stock() const;
    // True when Series has blanks received.
    bool HasStock(const QString &Series) const;
    // The lowest free number of Series; nothing when none is left.
    std::optional<QString> NextFree(const QString &Series) const;

    // Takes the blank (the next free one of the series, or the one asked
    // for) and records the certificate, in one transaction; when another
    // office takes the same number first, the next free one is taken. A
    // series with stock but no free blank left is an error. The record as
    // stored (Id, Number, PrintedAt).
    TCertificateRecord Record(const TNewCertificate &Certificate);
    // Removes the record Id made by Record when its print never started;
    // its blank is free again. Only an issued or a printed (unconfirmed)
    // certificate can be withdrawn.
    void Withdraw(qint64 Id);
    // Confirms the printed certificates Ids as issued, all in one
    // transaction: a record that does not exist or is not printed-unconfirmed
    // is an error and confirms none.
    void Confirm(const QList<qint64> &Ids);
    // Voids the blank Series/Number with Reason (not empty): a certificate on
    // it (issued or printed-unconfirmed) becomes spoiled, a free blank is recorded as spoiled; never offered
    // again. A blank voided already is an error.
    void Void(const QString &Series, const QString &Number, const QString &Reason);

    // Keeps the archive copy of record Id: its file's path and SHA-256.
    void SetArchive(qint64 Id, const QString &Path, const QString &Sha256);

    // The records in the order printed.
    QList<TCertificateRecord> List(const TRegisterFilter &Filter = {}) const;
    // One record; nothing when there is none with that Id.
    std::optional<TCertificateRecord> Find(qint64 Id) const;

private:
    struct TPrivate;
    explicit TRegister(std::unique_ptr<TPrivate> Private);
    std::unique_ptr<TPrivate> d;
};

// The Russian name of a state, as lists show it: "Выдан", "Испорчен",
// "Напечатан" (printed, not yet confirmed as issued).
QString recordStateName(TRecordState State);

// The records as CSV (UTF-8, comma-separated, quoted where needed), a header
// line first: Серия,Номер,Состояние,ФИО,Дата выдачи,Напечатано,Принтер,
// Причина,Испорчен,Дубликат записи,Запись. Lines end with LF; a field with a
// comma, a quote, CR or LF is quoted, its quotes doubled. Dates dd.MM.yyyy,
// times (Напечатано, Испорчен) local dd.MM.yyyy HH:mm:ss; "Дубликат записи"
// is the original's Запись (Id).
QByteArray registerCsv(const QList<TCertificateRecord> &Records);
