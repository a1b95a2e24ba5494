// String lists of scripts.

#include "script/fs_istrings.h"

#include "script/fs_iconst.h"

#include <QMetaProperty>
#include <algorithm>

void TStrings::RaiseIndexError(int index)
{
    throw EfsRuntimeError(QStringLiteral("EStringListError"), QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TStrings::RaiseSortedError()
{
    throw EfsRuntimeError(QStringLiteral("EStringListError"), QStringLiteral("Operation not allowed on sorted list"));
}

QString TStrings::Get(int index) const
{
    const QStringList lines = Lines();
    if (index < 0 || index >= lines.size())
        RaiseIndexError(index);
    return lines[index];
}

void TStrings::Put(int index, const QString &s)
{
    QStringList lines = Lines();
    if (index < 0 || index >= lines.size())
        RaiseIndexError(index);
    lines[index] = s;
    SetLines(lines);
}

int TStrings::Add(const QString &s)
{
    QStringList lines = Lines();
    lines.append(s);
    SetLines(lines);
    return int(lines.size()) - 1;
}

void TStrings::Insert(int index, const QString &s)
{
    QStringList lines = Lines();
    // Inserting at Count appends.
    if (index < 0 || index > lines.size())
        RaiseIndexError(index);
    lines.insert(index, s);
    SetLines(lines);
}

void TStrings::Delete(int index)
{
    QStringList lines = Lines();
    if (index < 0 || index >= lines.size())
        RaiseIndexError(index);
    lines.removeAt(index);
    SetLines(lines);
}

int TStrings::IndexOf(const QString &s) const
{
    const QStringList lines = Lines();
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TStrings::AddStrings(const TStrings &source)
{
    // Through Add, so that a sorted list keeps its order and duplicate rule.
    const QStringList lines = source.Lines();
    for (const QString &s : lines)
        Add(s);
}

QString TStrings::Text() const
{
    QString text;
    for (const QString &s : Lines()) {
        text += s;
        text += QLatin1String("\r\n");
    }
    return text;
}

void TStrings::SetText(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    SetLines(lines);
}

namespace {

bool needsQuotes(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() <= ' ' || c == QLatin1Char('"') || c == QLatin1Char(','))
            return true;
    return false;
}

} // namespace

QString TStrings::CommaText() const
{
    const QStringList lines = Lines();
    if (lines.size() == 1 && lines[0].isEmpty())
        return QStringLiteral("\"\"");
    QStringList parts;
    for (const QString &s : lines) {
        if (needsQuotes(s))
            parts.append(QLatin1Char('"') + QString(s).replace(QLatin1String("\""), QLatin1String("\"\"")) +
                         QLatin1Char('"'));
        else
            parts.append(s);
    }
    return parts.join(QLatin1Char(','));
}

void TStrings::SetCommaText(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype p = 0;
    auto blank = [&](qsizetype i) { return i < n && text[i].unicode() >= 1 && text[i].unicode() <= ' '; };
    while (blank(p))
        ++p;
    while (p < n) {
        QString s;
        if (text[p] == QLatin1Char('"')) {
            ++p;
            while (p < n) {
                if (text[p] == QLatin1Char('"')) {
                    if (p + 1 < n && text[p + 1] == QLatin1Char('"')) {
                        s += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                s += text[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && text[p].unicode() > ' ' && text[p] != QLatin1Char(','))
                ++p;
            s = text.mid(start, p - start);
        }
        lines.append(s);
        while (blank(p))
            ++p;
        if (p < n && text[p] == QLatin1Char(',')) {
            // A comma at the very end stands for one more, empty line.
            if (p + 1 == n)
                lines.append(QString());
            do
                ++p;
            while (blank(p));
        }
    }
    SetLines(lines);
}

// ---------------------------------------------------------------------------

void TStringList::SetLines(const QStringList &lines)
{
    if (!FSorted) {
        FList = lines;
        return;
    }
    // A sorted list takes the lines one by one: order and duplicate rule hold.
    FList.clear();
    for (const QString &s : lines)
        Add(s);
}

int TStringList::Compare(const QString &a, const QString &b) const
{
    return a.compare(b, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

bool TStringList::Find(const QString &s, int &index) const
{
    int lo = 0, hi = int(FList.size()) - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(FList[mid], s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            // Keep going left: the first of equal lines.
            if (c == 0)
                found = true;
        }
    }
    index = lo;
    return found;
}

void TStringList::Put(int index, const QString &s)
{
    if (FSorted)
        RaiseSortedError();
    if (index < 0 || index >= FList.size())
        RaiseIndexError(index);
    FList[index] = s;
}

int TStringList::Add(const QString &s)
{
    if (!FSorted) {
        FList.append(s);
        return int(FList.size()) - 1;
    }
    int index = 0;
    if (Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EfsRuntimeError(QStringLiteral("EStringListError"),
                                  QStringLiteral("String list does not allow duplicates"));
    }
    FList.insert(index, s);
    return index;
}

void TStringList::Insert(int index, const QString &s)
{
    if (FSorted)
        RaiseSortedError();
    if (index < 0 || index > FList.size())
        RaiseIndexError(index);
    FList.insert(index, s);
}

int TStringList::IndexOf(const QString &s) const
{
    if (!FSorted) {
        for (int i = 0; i < FList.size(); ++i)
            if (Compare(FList[i], s) == 0)
                return i;
        return -1;
    }
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool value)
{
    if (value && !FSorted)
        Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    FCaseSensitive = value;
    if (FSorted)
        Sort();
}

void TStringList::Sort()
{
    std::stable_sort(FList.begin(), FList.end(), [this](const QString &a, const QString &b) { return Compare(a, b) < 0; });
}

// ---------------------------------------------------------------------------

TfsPropertyStrings::TfsPropertyStrings(QObject *owner, int propertyIndex)
    : FOwner(owner), FPropertyIndex(propertyIndex)
{
}

QObject *TfsPropertyStrings::CheckedOwner() const
{
    QObject *owner = FOwner.data();
    if (!owner)
        throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                              QStringLiteral("The object of this string list no longer exists"));
    return owner;
}

QStringList TfsPropertyStrings::Lines() const
{
    QObject *owner = CheckedOwner();
    return owner->metaObject()->property(FPropertyIndex).read(owner).toStringList();
}

void TfsPropertyStrings::SetLines(const QStringList &lines)
{
    QObject *owner = CheckedOwner();
    const QMetaProperty prop = owner->metaObject()->property(FPropertyIndex);
    if (!prop.write(owner, lines))
        throw EfsRuntimeError(QStringLiteral("EPropertyConvertError"),
                              QStringLiteral("Invalid value for property '%1'").arg(QLatin1String(prop.name())));
}
