// The rules of series and numbers as the operator types them.

#include "records/Register_p.h"

QString registerRules::CheckedSeries(const QString &Series)
{
    const QString series = Series.trimmed();
    if (series.isEmpty())
        throw ERegisterError(QStringLiteral("Не указана серия бланков."));
    if (series.size() > MaxSeriesLength)
        throw ERegisterError(
            QStringLiteral("Серия «%1» длиннее %2 знаков.").arg(series).arg(MaxSeriesLength));
    for (const QChar c : series)
        if (c.category() == QChar::Other_Control)
            throw ERegisterError(QStringLiteral("Серия «%1» содержит недопустимый знак.").arg(series));
    return series;
}

std::optional<TBlankNumber> registerRules::ParseNumber(const QString &Text)
{
    const QString text = Text.trimmed();
    if (text.isEmpty() || text.size() > MaxNumberDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return TBlankNumber{value, int(text.size())};
}

QString registerRules::FormatNumber(qint64 Value, int Width)
{
    return QString::number(Value).rightJustified(Width, u'0');
}

QString registerRules::BlankName(const QString &Series, const QString &Number)
{
    return Series.isEmpty() ? Number : Series + u' ' + Number;
}
