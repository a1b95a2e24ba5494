// The register's records as the operator reads them: state names and CSV.

#include "records/Register.h"

namespace {

// A field as RFC 4180 wants it: quoted when it holds a comma, a quote, CR
// or LF, its quotes doubled.
QString csvField(const QString &Field)
{
    if (!Field.contains(u',') && !Field.contains(u'"') && !Field.contains(u'\r') && !Field.contains(u'\n'))
        return Field;
    QString quoted = Field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString localTime(const QDateTime &Time)
{
    return Time.isValid() ? Time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString();
}

} // namespace

QString recordStateName(TRecordState State)
{
    switch (State) {
    case TRecordState::rsSpoiled: return QStringLiteral("Испорчен");
    case TRecordState::rsPrinted: return QStringLiteral("Напечатан");
    case TRecordState::rsIssued: break;
    }
    return QStringLiteral("Выдан");
}

QByteArray registerCsv(const QList<TCertificateRecord> &Records)
{
    QString csv = QStringLiteral(
        "Серия,Номер,Состояние,ФИО,Дата выдачи,Напечатано,Принтер,Причина,Испорчен,Дубликат записи,Запись\n");
    for (const TCertificateRecord &r : Records) {
        const QStringList fields{
            r.Series,
            r.Number,
            recordStateName(r.State),
            r.FullName,
            r.IssueDate.isValid() ? r.IssueDate.toString(QStringLiteral("dd.MM.yyyy")) : QString(),
            localTime(r.PrintedAt),
            r.Printer,
            r.VoidReason,
            localTime(r.VoidedAt),
            r.OriginalId ? QString::number(*r.OriginalId) : QString(),
            QString::number(r.Id),
        };
        for (int i = 0; i < fields.size(); ++i) {
            if (i)
                csv += u',';
            csv += csvField(fields[i]);
        }
        csv += u'\n';
    }
    return csv.toUtf8();
}
