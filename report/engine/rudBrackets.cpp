// The scan that finds bracketed expressions in a text.

#include "report/engine/rudBrackets.h"

#include <QStringView>
#include <algorithm>

QString rudGetBrackedVariableW(const QString &Str, const QString &OpenBracket, const QString &CloseBracket, int &i,
                               int &j)
{
    j = i;
    if (Str.isEmpty() || j >= Str.size() || OpenBracket.isEmpty())
        return QString();
    const QStringView s(Str);
    bool outsideSingle = true, outsideDouble = true;
    int depth = 0;
    // The first characters decide before the whole delimiters are compared
    // (a one-character delimiter needs nothing more).
    const QChar open = OpenBracket[0];
    const QChar close = CloseBracket.isEmpty() ? QChar() : CloseBracket[0];
    const bool openLong = OpenBracket.size() > 1, closeLong = CloseBracket.size() > 1;
    --j;
    do {
        ++j;
        if (outsideSingle && outsideDouble) {
            if (s[j] == open && (!openLong || s.mid(j).startsWith(OpenBracket))) {
                if (depth == 0)
                    i = j;
                ++depth;
            } else if (!CloseBracket.isEmpty() && s[j] == close && (!closeLong || s.mid(j).startsWith(CloseBracket))) {
                --depth;
            }
        }
        if (outsideSingle && s[j] == u'"')
            outsideDouble = !outsideDouble;
        if (outsideDouble && s[j] == u'\'')
            outsideSingle = !outsideSingle;
    } while (depth != 0 && j < Str.size() - 1);
    const int start = i + int(OpenBracket.size());
    const QString result = Str.mid(start, std::max(0, j - start));
    if (i != j)
        j += int(CloseBracket.size()) - 1;
    return result;
}

QString rudExpandBrackets(QString Text, const QString &OpenBracket, const QString &CloseBracket,
                          const std::function<QString(const QString &Expr, int Index)> &Evaluate)
{
    if (OpenBracket.isEmpty())
        return Text;
    int i = 0, n = 0;
    for (;;) {
        // Up to the next opening bracket, or to the last character.
        if (i < Text.size() - 1) {
            const int found = int(Text.indexOf(OpenBracket, i));
            i = found >= 0 ? std::min(found, int(Text.size()) - 1) : int(Text.size()) - 1;
        }
        int j = 0;
        const QString expr = rudGetBrackedVariableW(Text, OpenBracket, CloseBracket, i, j);
        if (i == j)
            break;
        Text.remove(i, std::min(j, int(Text.size()) - 1) - i + 1);
        const QString value = Evaluate(expr, n++);
        Text.insert(i, value);
        i += int(value.size());
    }
    return Text;
}
