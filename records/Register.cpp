// The register's operations: blank stock, taking a blank for a
// certificate, withdrawing and voiding, lists.

#include "records/Register_p.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

using namespace registerRules;

namespace {

QString timeText(const QDateTime &Time)
{
    return Time.toUTC().toString(Qt::ISODateWithMs);
}

// Times as the register writes them, "yyyy-MM-ddTHH:mm:ss.zzzZ", read
// without the general ISO parser: a list of ten thousand records reads
// twenty thousand of them.
QDateTime timeFromText(const QVariant &Value)
{
    if (Value.isNull())
        return QDateTime();
    const QString text = Value.toString();
    const auto digits = [&text](int From, int Count) {
        int n = 0;
        for (int i = From; i < From + Count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    if (text.size() == 24 && text[4] == u'-' && text[7] == u'-' && text[10] == u'T' && text[13] == u':' &&
        text[16] == u':' && text[19] == u'.' && text[23] == u'Z') {
        const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
        const QTime time(digits(11, 2), digits(14, 2), digits(17, 2), digits(20, 3));
        if (date.isValid() && time.isValid())
            return QDateTime(date, time, Qt::UTC);
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs).toUTC();
}

// Now, to the millisecond the database keeps.
QDateTime now()
{
    const QDateTime time = QDateTime::currentDateTimeUtc();
    return QDateTime::fromMSecsSinceEpoch(time.toMSecsSinceEpoch(), Qt::UTC);
}

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

// A text column that is never NULL: Qt binds a null QString as NULL.
QVariant text(const QString &Text)
{
    return Text.isNull() ? QVariant(QStringLiteral("")) : QVariant(Text);
}

QVariant nullNumber()
{
    return QVariant(QMetaType::fromType<qint64>());
}

QString valuesText(const QMap<QString, QString> &Values)
{
    QJsonObject object;
    for (auto it = Values.cbegin(); it != Values.cend(); ++it)
        object.insert(it.key(), it.value());
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QMap<QString, QString> valuesFromText(const QString &Text)
{
    QMap<QString, QString> values;
    const QJsonObject object = QJsonDocument::fromJson(Text.toUtf8()).object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        values.insert(it.key(), it.value().toString());
    return values;
}

// A stored state; a value this program does not know reads as issued.
TRecordState stateOf(const QVariant &Value)
{
    switch (Value.toInt()) {
    case int(TRecordState::rsSpoiled): return TRecordState::rsSpoiled;
    case int(TRecordState::rsPrinted): return TRecordState::rsPrinted;
    default: return TRecordState::rsIssued;
    }
}

const QString recordColumns = QStringLiteral(
    "SELECT id, series, number, width, state, original_id, full_name, issue_date, printed_at, printer, "
    "void_reason, voided_at, surname, given_name, patronymic, birth_date, sex, snils, citizenship, archive_path, "
    "archive_sha256, field_values FROM certificate");

TCertificateRecord recordFromRow(const QSqlQuery &q)
{
    TCertificateRecord r;
    r.Id = q.value(0).toLongLong();
    r.Series = q.value(1).toString();
    if (!q.value(2).isNull())
        r.Number = FormatNumber(q.value(2).toLongLong(), q.value(3).toInt());
    r.State = stateOf(q.value(4));
    if (!q.value(5).isNull())
        r.OriginalId = q.value(5).toLongLong();
    r.FullName = q.value(6).toString();
    if (!q.value(7).isNull())
        r.IssueDate = QDate::fromString(q.value(7).toString(), Qt::ISODate);
    r.PrintedAt = timeFromText(q.value(8));
    r.Printer = q.value(9).toString();
    r.VoidReason = q.value(10).toString();
    r.VoidedAt = timeFromText(q.value(11));
    r.Details.Surname = q.value(12).toString();
    r.Details.Name = q.value(13).toString();
    r.Details.Patronymic = q.value(14).toString();
    if (!q.value(15).isNull())
        r.Details.BirthDate = QDate::fromString(q.value(15).toString(), Qt::ISODate);
    r.Details.Sex = q.value(16).toString();
    r.Details.Snils = q.value(17).toString();
    // A record made before the details were kept has no citizenship stored.
    if (const QString citizenship = q.value(18).toString(); !citizenship.isEmpty())
        r.Details.Citizenship = citizenship;
    r.ArchivePath = q.value(19).toString();
    r.ArchiveSha256 = q.value(20).toString();
    r.Values = valuesFromText(q.value(21).toString());
    return r;
}

// The start of a local day, as the database keeps times.
QString dayStart(const QDate &Day)
{
    return timeText(QDateTime(Day, QTime(0, 0)));
}

// Text for a LIKE pattern with '!' as the escape character.
QString likeEscaped(const QString &Text)
{
    QString escaped;
    escaped.reserve(Text.size());
    for (const QChar c : Text) {
        if (c == u'!' || c == u'%' || c == u'_')
            escaped += u'!';
        escaped += c;
    }
    return escaped;
}

// The range of Series holding Number: its width; nothing when the number
// is not among the blanks received.
std::optional<int> rangeWidth(const TRegisterDb &d, const QString &Series, qint64 Number)
{
    const QVariant width = d.Value(QStringLiteral("SELECT width FROM blank_range WHERE series = ? AND ? BETWEEN "
                                                  "first_number AND last_number"),
                                   {Series, Number});
    if (!width.isValid())
        return std::nullopt;
    return width.toInt();
}

// The lowest free blank of Series. Per range, in number order: a range
// used without gaps up to its highest number gives the next one; only a
// range with gaps (withdrawn records) is searched for the first gap.
std::optional<TBlankNumber> nextFree(const TRegisterDb &d, const QString &Series)
{
    struct TRange {
        qint64 First, Last;
        int Width;
    };
    QList<TRange> ranges;
    QSqlQuery q = d.Exec(
        QStringLiteral("SELECT first_number, last_number, width FROM blank_range WHERE series = ? ORDER BY first_number"),
        {Series});
    while (q.next())
        ranges.append({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toInt()});
    q.finish();
    for (const TRange &range : ranges) {
        QSqlQuery used = d.Exec(QStringLiteral("SELECT count(*), max(number) FROM certificate WHERE series = ? AND "
                                               "number BETWEEN ? AND ?"),
                                {Series, range.First, range.Last});
        used.next();
        const qint64 count = used.value(0).toLongLong();
        const qint64 highest = used.value(1).isNull() ? range.First - 1 : used.value(1).toLongLong();
        used.finish();
        if (count == highest - range.First + 1) {
            if (highest < range.Last)
                return TBlankNumber{highest + 1, range.Width};
            continue;
        }
        if (!d.Value(QStringLiteral("SELECT id FROM certificate WHERE series = ? AND number = ?"), {Series, range.First})
                 .isValid())
            return TBlankNumber{range.First, range.Width};
        const QVariant gap = d.Value(
            QStringLiteral("SELECT min(c.number) + 1 FROM certificate c WHERE c.series = ? AND c.number BETWEEN ? AND ? "
                           "AND NOT EXISTS (SELECT 1 FROM certificate n WHERE n.series = c.series AND "
                           "n.number = c.number + 1)"),
            {Series, range.First, range.Last});
        if (gap.isValid() && !gap.isNull() && gap.toLongLong() <= range.Last)
            return TBlankNumber{gap.toLongLong(), range.Width};
    }
    return std::nullopt;
}

bool hasStock(const TRegisterDb &d, const QString &Series)
{
    return d.Value(QStringLiteral("SELECT id FROM blank_range WHERE series = ?"), {Series}).isValid();
}

} // namespace

void TRegister::AddBlanks(const QString &Series, const QString &First, const QString &Last)
{
    const QString series = CheckedSeries(Series);
    const std::optional<TBlankNumber> first = ParseNumber(First), last = ParseNumber(Last);
    if (!first || !last)
        d->Fail(QStringLiteral("Номера бланков — от 1 до %1 цифр: «%2» — «%3».")
                    .arg(MaxNumberDigits)
                    .arg(First.trimmed(), Last.trimmed()));
    if (first->Width != last->Width)
        d->Fail(QStringLiteral("Первый и последний номера бланков должны быть одной длины: «%1» — «%2».")
                    .arg(First.trimmed(), Last.trimmed()));
    if (first->Value > last->Value)
        d->Fail(QStringLiteral("Первый номер бланков больше последнего: %1 — %2.")
                    .arg(First.trimmed(), Last.trimmed()));
    if (last->Value - first->Value + 1 > MaxRangeSize)
        d->Fail(QStringLiteral("В одной партии не больше %1 бланков: %2 %3 — %4.")
                    .arg(MaxRangeSize)
                    .arg(series, First.trimmed(), Last.trimmed()));
    d->Transaction([&] {
        QSqlQuery q = d->Exec(QStringLiteral("SELECT first_number, last_number, width FROM blank_range WHERE series = "
                                             "? AND first_number <= ? AND last_number >= ? ORDER BY first_number"),
                              {series, last->Value, first->Value});
        if (q.next()) {
            const QString had = FormatNumber(q.value(0).toLongLong(), q.value(2).toInt()) + QStringLiteral(" — ") +
                                FormatNumber(q.value(1).toLongLong(), q.value(2).toInt());
            d->Fail(QStringLiteral("Бланки %1 %2 — %3 пересекаются с уже полученными %1 %4.")
                        .arg(series, First.trimmed(), Last.trimmed(), had));
        }
        q.finish();
        d->Exec(QStringLiteral("INSERT INTO blank_range (series, first_number, last_number, width, received_at) "
                               "VALUES (?, ?, ?, ?, ?)"),
                {series, first->Value, last->Value, first->Width, timeText(now())});
    });
}

QList<TBlankStock> TRegister::Stock() const
{
    QMap<QString, TBlankStock> stock;
    QSqlQuery q = d->Exec(
        QStringLiteral("SELECT series, sum(last_number - first_number + 1) FROM blank_range GROUP BY series"));
    while (q.next()) {
        TBlankStock &s = stock[q.value(0).toString()];
        s.Series = q.value(0).toString();
        s.Received = q.value(1).toInt();
    }
    q = d->Exec(QStringLiteral(
        "SELECT series, state, count(*) FROM certificate WHERE number IS NOT NULL GROUP BY series, state"));
    while (q.next()) {
        const auto it = stock.find(q.value(0).toString());
        if (it == stock.end())
            continue;
        switch (stateOf(q.value(1))) {
        case TRecordState::rsSpoiled: it->Spoiled += q.value(2).toInt(); break;
        case TRecordState::rsPrinted: it->Printed += q.value(2).toInt(); break;
        case TRecordState::rsIssued: it->Issued += q.value(2).toInt(); break;
        }
    }
    q.finish();
    QList<TBlankStock> list;
    for (TBlankStock &s : stock) {
        s.Free = s.Received - s.Issued - s.Printed - s.Spoiled;
        list.append(s);
    }
    return list;
}

bool TRegister::HasStock(const QString &Series) const
{
    return hasStock(*d, Series.trimmed());
}

std::optional<QString> TRegister::NextFree(const QString &Series) const
{
    const std::optional<TBlankNumber> number = nextFree(*d, Series.trimmed());
    if (!number)
        return std::nullopt;
    return FormatNumber(number->Value, number->Width);
}

TCertificateRecord TRegister::Record(const TNewCertificate &Certificate)
{
    const QString series = Certificate.Series.trimmed();
    if (!series.isEmpty())
        CheckedSeries(series);
    const QDateTime printedAt = now();
    const TTraineeDetails &details = Certificate.Details;
    qint64 id = 0;
    d->Transaction([&] {
        if (Certificate.OriginalId &&
            !d->Value(QStringLiteral("SELECT id FROM certificate WHERE id = ?"), {*Certificate.OriginalId}).isValid())
            d->Fail(QStringLiteral("В реестре %1 нет записи %2, дубликат которой печатается.")
                        .arg(d->Where)
                        .arg(*Certificate.OriginalId));
        const bool stock = !series.isEmpty() && hasStock(*d, series);
        std::optional<TBlankNumber> asked;
        if (!Certificate.Number.trimmed().isEmpty()) {
            const QString shown = BlankName(series, Certificate.Number.trimmed());
            if (!stock)
                d->Fail(QStringLiteral("Бланков серии «%1» нет в реестре: номер %2 взять неоткуда.").arg(series, shown));
            asked = ParseNumber(Certificate.Number);
            std::optional<int> width;
            if (asked)
                width = rangeWidth(*d, series, asked->Value);
            if (!width)
                d->Fail(QStringLiteral("Бланка %1 нет среди полученных.").arg(shown));
            asked->Width = *width;
        }
        // Kept beyond a failed insert: PostgreSQL's driver frees the
        // statement on the server when the query goes, which an aborted
        // transaction refuses until it is rolled back (to the savepoint).
        QSqlQuery q;
        const auto insert = [&](const std::optional<TBlankNumber> &Number, QSqlError *Error) {
            const bool ok = d->TryExec(
                q,
                QStringLiteral("INSERT INTO certificate (series, number, width, state, original_id, full_name, "
                               "name_folded, issue_date, printed_at, printer, field_values, surname, given_name, "
                               "patronymic, birth_date, sex, snils, citizenship) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                {text(series), Number ? QVariant(Number->Value) : nullNumber(),
                 Number ? QVariant(Number->Width) : QVariant(QMetaType::fromType<int>()),
                 int(Certificate.Unconfirmed ? TRecordState::rsPrinted : TRecordState::rsIssued),
                 Certificate.OriginalId ? QVariant(*Certificate.OriginalId) : nullNumber(), text(Certificate.FullName),
                 text(Certificate.FullName.toLower()),
                 Certificate.IssueDate.isValid() ? QVariant(Certificate.IssueDate.toString(Qt::ISODate)) : nullText(),
                 timeText(printedAt), text(Certificate.Printer), valuesText(Certificate.Values),
                 text(details.Surname), text(details.Name), text(details.Patronymic),
                 details.BirthDate.isValid() ? QVariant(details.BirthDate.toString(Qt::ISODate)) : nullText(),
                 text(details.Sex), text(details.Snils), text(details.Citizenship)},
                Error);
            if (ok && q.next())
                id = q.value(0).toLongLong();
            q.finish();
            return ok;
        };
        QSqlError error;
        if (!stock) {
            if (!insert(std::nullopt, &error))
                d->Fail(error);
            return;
        }
        if (asked) {
            if (d->Value(QStringLiteral("SELECT id FROM certificate WHERE series = ? AND number = ?"),
                         {series, asked->Value})
                    .isValid())
                d->Fail(QStringLiteral("Бланк %1 уже занят.")
                            .arg(BlankName(series, FormatNumber(asked->Value, asked->Width))));
            if (!insert(asked, &error))
                d->IsUniqueViolation(error)
                    ? d->Fail(QStringLiteral("Бланк %1 уже занят.")
                                  .arg(BlankName(series, FormatNumber(asked->Value, asked->Width))))
                    : d->Fail(error);
            return;
        }
        // Another office may take the same blank between the look-up and the
        // insert; the database's uniqueness refuses the second, which then
        // takes the next one. SQLite never gets here: its transaction holds
        // the write lock from the start.
        for (int attempt = 0; attempt < 1000; ++attempt) {
            const std::optional<TBlankNumber> number = nextFree(*d, series);
            if (!number)
                d->Fail(QStringLiteral("Свободных бланков серии «%1» не осталось.").arg(series));
            if (d->Postgres)
                d->Exec(QStringLiteral("SAVEPOINT take_blank"));
            if (insert(number, &error))
                return;
            if (!d->Postgres || !d->IsUniqueViolation(error))
                d->Fail(error);
            d->Exec(QStringLiteral("ROLLBACK TO SAVEPOINT take_blank"));
        }
        d->Fail(QStringLiteral("Не удалось взять свободный бланк серии «%1»: его всякий раз занимали раньше.")
                    .arg(series));
    });
    return *Find(id);
}

void TRegister::Withdraw(qint64 Id)
{
    d->Transaction([&] {
        const QVariant state = d->Value(QStringLiteral("SELECT state FROM certificate WHERE id = ?"), {Id});
        if (!state.isValid())
            d->Fail(QStringLiteral("В реестре %1 нет записи %2.").arg(d->Where).arg(Id));
        if (stateOf(state) == TRecordState::rsSpoiled)
            d->Fail(QStringLiteral("Запись %1 — испорченный бланк, её нельзя отменить.").arg(Id));
        d->Exec(QStringLiteral("DELETE FROM certificate WHERE id = ?"), {Id});
    });
}

void TRegister::SetArchive(qint64 Id, const QString &Path, const QString &Sha256)
{
    d->Transaction([&] {
        if (!d->Value(QStringLiteral("SELECT id FROM certificate WHERE id = ?"), {Id}).isValid())
            d->Fail(QStringLiteral("В реестре %1 нет записи %2.").arg(d->Where).arg(Id));
        d->Exec(QStringLiteral("UPDATE certificate SET archive_path = ?, archive_sha256 = ? WHERE id = ?"),
                {Path, Sha256, Id});
    });
}

void TRegister::Confirm(const QList<qint64> &Ids)
{
    QList<qint64> ids = Ids;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    if (ids.isEmpty())
        return;
    d->Transaction([&] {
        for (const qint64 id : ids) {
            const QVariant state = d->Value(QStringLiteral("SELECT state FROM certificate WHERE id = ?"), {id});
            if (!state.isValid())
                d->Fail(QStringLiteral("В реестре %1 нет записи %2.").arg(d->Where).arg(id));
            if (stateOf(state) != TRecordState::rsPrinted)
                d->Fail(QStringLiteral("Запись %1 не ждёт подтверждения: она уже в состоянии «%2».")
                            .arg(id)
                            .arg(recordStateName(stateOf(state))));
            d->Exec(QStringLiteral("UPDATE certificate SET state = ? WHERE id = ?"), {int(TRecordState::rsIssued), id});
        }
    });
}

void TRegister::Void(const QString &Series, const QString &Number, const QString &Reason)
{
    const QString series = CheckedSeries(Series);
    const QString reason = Reason.trimmed();
    const QString shown = BlankName(series, Number.trimmed());
    if (reason.isEmpty())
        d->Fail(QStringLiteral("Не указана причина, по которой испорчен бланк %1.").arg(shown));
    const std::optional<TBlankNumber> number = ParseNumber(Number);
    d->Transaction([&] {
        std::optional<int> width;
        if (number)
            width = rangeWidth(*d, series, number->Value);
        if (!width)
            d->Fail(QStringLiteral("Бланка %1 нет среди полученных.").arg(shown));
        const QString voidedAt = timeText(now());
        QSqlQuery q = d->Exec(QStringLiteral("SELECT id, state FROM certificate WHERE series = ? AND number = ?"),
                              {series, number->Value});
        if (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            const bool spoiled = q.value(1).toInt() == int(TRecordState::rsSpoiled);
            q.finish();
            if (spoiled)
                d->Fail(QStringLiteral("Бланк %1 уже испорчен.").arg(BlankName(series, FormatNumber(number->Value, *width))));
            d->Exec(QStringLiteral("UPDATE certificate SET state = ?, void_reason = ?, voided_at = ? WHERE id = ?"),
                    {int(TRecordState::rsSpoiled), reason, voidedAt, id});
            return;
        }
        q.finish();
        d->Exec(QStringLiteral("INSERT INTO certificate (series, number, width, state, full_name, name_folded, "
                               "printed_at, printer, void_reason, voided_at, field_values) "
                               "VALUES (?, ?, ?, ?, '', '', ?, '', ?, ?, '{}')"),
                {series, number->Value, *width, int(TRecordState::rsSpoiled), voidedAt, reason, voidedAt});
    });
}

QList<TCertificateRecord> TRegister::List(const TRegisterFilter &Filter) const
{
    QStringList where;
    QVariantList arguments;
    const QString text = Filter.Text.trimmed();
    if (!text.isEmpty()) {
        QStringList either{QStringLiteral("name_folded LIKE ? ESCAPE '!'")};
        arguments << QStringLiteral("%") + likeEscaped(text.toLower()) + QStringLiteral("%");
        static const QRegularExpression seriesAndNumber(QStringLiteral("^(\\S{1,4})\\s+(\\d{1,9})$"));
        static const QRegularExpression numberOnly(QStringLiteral("^\\d{1,9}$"));
        if (const QRegularExpressionMatch m = seriesAndNumber.match(text); m.hasMatch()) {
            either << QStringLiteral("(series = ? AND number = ?)");
            arguments << m.captured(1) << m.captured(2).toLongLong();
        } else if (numberOnly.match(text).hasMatch()) {
            either << QStringLiteral("number = ?");
            arguments << text.toLongLong();
        }
        if (text.size() <= MaxSeriesLength && !text.contains(u' ')) {
            either << QStringLiteral("series = ?");
            arguments << text;
        }
        where << QLatin1Char('(') + either.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    if (Filter.From.isValid()) {
        where << QStringLiteral("printed_at >= ?");
        arguments << dayStart(Filter.From);
    }
    if (Filter.To.isValid()) {
        where << QStringLiteral("printed_at < ?");
        arguments << dayStart(Filter.To.addDays(1));
    }
    if (Filter.State) {
        where << QStringLiteral("state = ?");
        arguments << int(*Filter.State);
    }
    if (Filter.DuplicatesOnly)
        where << QStringLiteral("original_id IS NOT NULL");
    QString sql = recordColumns;
    if (Filter.WithoutValues)
        sql.replace(QStringLiteral(", field_values FROM"), QStringLiteral(", '{}' FROM"));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY printed_at, id");
    QList<TCertificateRecord> records;
    QSqlQuery q = d->Exec(sql, arguments);
    while (q.next())
        records.append(recordFromRow(q));
    q.finish();
    return records;
}

std::optional<TCertificateRecord> TRegister::Find(qint64 Id) const
{
    QSqlQuery q = d->Exec(recordColumns + QStringLiteral(" WHERE id = ?"), {Id});
    std::optional<TCertificateRecord> record;
    if (q.next())
        record = recordFromRow(q);
    q.finish();
    return record;
}
