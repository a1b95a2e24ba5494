#include "report/render/rudPageNumbers.h"

#include "base/NumberFormat.h"

#include <algorithm>

void rudParsePageNumbers(const QString &Text, QList<int> &List, int Total)
{
    List.clear();
    QString text = Text;
    text.remove(QLatin1Char(' '));
    if (text.isEmpty())
        return;
    if (text.endsWith(QLatin1Char('-')))
        text += QString::number(Total);
    const QStringList items = text.split(QLatin1Char(','));
    for (const QString &item : items) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            const int page = StrToInt(item);
            if (page >= 1 && page <= Total)
                List.append(page);
            continue;
        }
        const int first = StrToInt(item.left(dash));
        const int last = StrToInt(item.mid(dash + 1));
        for (int page = std::max(first, 1); page <= std::min(last, Total); ++page)
            List.append(page);
    }
}
