// Totals over the rows of a data band: the aggregate items of the memos,
// found before a run, fed with every output row and read back when the memo
// that holds the call is printed.

#include "report/engine/rudAggregate.h"

#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"

#include <algorithm>

namespace {
constexpr int kColumnSlots = 1001;

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// Orders two values: numbers as numbers, anything else as text.
int compareValues(const QVariant &a, const QVariant &b)
{
    if (isNumeric(a) && isNumeric(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('#');
}

// The one scanner of argument lists. From the character after an opening
// "(" it walks Text, passing over quoted strings ('...' or "...", where
// nothing counts) and nested parentheses, and reports every comma at the
// list's own level to Comma. Returns the index of the ")" that closes the
// list, or Text.size() when the list is never closed.
template <class TOnComma>
qsizetype scanArgumentList(QStringView Text, qsizetype From, TOnComma &&Comma)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = From; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (depth == 0)
                return i;
            --depth;
        } else if (c == QLatin1Char(',') && depth == 0) {
            Comma(i);
        }
    }
    return Text.size();
}

// Index just past the ")" closing the "(" at Open; -1 when it is never closed.
qsizetype closingParen(QStringView s, qsizetype Open)
{
    const qsizetype close = scanArgumentList(s, Open + 1, [](qsizetype) {});
    return close < s.size() ? close + 1 : -1;
}

// True for a data field written as Alias."Field".
bool isDataField(const QString &s)
{
    const QString t = s.trimmed();
    const qsizetype p = t.indexOf(QLatin1String(".\""));
    return p > 0 && t.size() > p + 2 && t.endsWith(QLatin1Char('"'));
}

bool isAggregateName(const QString &Word)
{
    static const QStringList names = {QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                      QStringLiteral("AVG"), QStringLiteral("COUNT")};
    return names.contains(Word.toUpper());
}

// The bracketed expressions of a memo text, found as the text expansion
// finds them (quotes inside an expression hide delimiters; nested brackets
// belong to the outer expression).
QStringList bracketedExpressions(const QString &s, const QString &open, const QString &close)
{
    QStringList result;
    if (open.isEmpty() || close.isEmpty())
        return result;
    qsizetype i = 0;
    while (true) {
        i = s.indexOf(open, i);
        if (i < 0)
            return result;
        int depth = 0;
        bool single = false, dbl = false;
        qsizetype j = i;
        for (; j < s.size(); ++j) {
            if (!single && !dbl) {
                if (QStringView(s).mid(j).startsWith(open))
                    ++depth;
                else if (QStringView(s).mid(j).startsWith(close))
                    --depth;
            }
            if (!single && s[j] == QLatin1Char('"'))
                dbl = !dbl;
            if (!dbl && s[j] == QLatin1Char('\''))
                single = !single;
            if (depth == 0)
                break;
        }
        if (j >= s.size()) {
            // Never closed: the rest of the text without its last character.
            if (i + open.size() < s.size())
                result.append(s.mid(i + open.size(), s.size() - i - open.size() - 1));
            return result;
        }
        result.append(s.mid(i + open.size(), j - i - open.size()));
        i = j + close.size();
    }
}
} // namespace

TfrxAggregateFunction rudAggregateFunction(const QString &Name)
{
    const QString n = Name.trimmed().toUpper();
    if (n == QLatin1String("SUM"))
        return agSum;
    if (n == QLatin1String("AVG"))
        return agAvg;
    if (n == QLatin1String("MIN"))
        return agMin;
    if (n == QLatin1String("MAX"))
        return agMax;
    return agCount;
}

QStringList rudSplitArguments(const QString &Args)
{
    QStringList parts;
    qsizetype start = 0;
    scanArgumentList(Args, 0, [&](qsizetype Comma) {
        parts.append(Args.mid(start, Comma - start).trimmed());
        start = Comma + 1;
    });
    // A stray ")" ends the scan, not the text: the last part runs to the end.
    const QString last = Args.mid(start).trimmed();
    if (!last.isEmpty() || !parts.isEmpty())
        parts.append(last);
    return parts;
}

void TfrxAggregateItem::Merge(QVariant &Acc, const QVariant &V) const
{
    if (V.isNull())
        return;
    if (Acc.isNull()) {
        Acc = V;
        return;
    }
    switch (FAggregateFunction) {
    case agSum:
    case agAvg:
        if (isNumeric(Acc) && isNumeric(V))
            Acc = Acc.toDouble() + V.toDouble();
        else
            Acc = Acc.toString() + V.toString();
        break;
    case agMin:
        if (compareValues(V, Acc) < 0)
            Acc = V;
        break;
    case agMax:
        if (compareValues(V, Acc) > 0)
            Acc = V;
        break;
    case agCount:
        break;
    }
}

QVariant TfrxAggregateItem::RowValue(const TEvaluator &Eval, bool &Counts) const
{
    QVariant value;
    if (FAggregateFunction != agCount && Eval)
        value = Eval(FExpression);
    if (value.typeId() == QMetaType::Bool)
        value = value.toBool() ? 1 : 0;
    Counts = FAggregateFunction != agAvg || !value.isNull();
    return value;
}

void TfrxAggregateItem::Calc(TfrxReport *Report, const TEvaluator &Eval)
{
    if (FBand && !FBand->Visible() && !FCountInvisibleBands)
        return;
    if (Report)
        Report->SetCurObject(FMemoName);
    bool counts = false;
    const QVariant value = RowValue(Eval, counts);
    if (FVColumn >= 1 && FVColumn < kColumnSlots) {
        if (FItemsArray.empty()) {
            FItemsArray.assign(kColumnSlots, QVariant());
            FItemsCountArray.assign(kColumnSlots, 0);
        }
        if (counts)
            ++FItemsCountArray[size_t(FVColumn)];
        Merge(FItemsArray[size_t(FVColumn)], value);
    } else if (FKeeping) {
        if (counts)
            ++FTempItemsCount;
        Merge(FTempItemsValue, value);
    } else {
        FLastCount = FItemsCount;
        FLastValue = FItemsValue;
        if (counts)
            ++FItemsCount;
        Merge(FItemsValue, value);
        FHasLastRow = true;
        FLastRowValue = value;
        FLastRowCounted = counts;
    }
}

void TfrxAggregateItem::CalcColumn(int VColumn, const TEvaluator &Eval)
{
    if (VColumn < 1 || VColumn >= kColumnSlots || (FBand && !FBand->Visible() && !FCountInvisibleBands))
        return;
    bool counts = false;
    const QVariant value = RowValue(Eval, counts);
    if (FItemsArray.empty()) {
        FItemsArray.assign(kColumnSlots, QVariant());
        FItemsCountArray.assign(kColumnSlots, 0);
    }
    for (const size_t slot : {size_t(VColumn), size_t(0)}) {
        if (counts)
            ++FItemsCountArray[slot];
        Merge(FItemsArray[slot], value);
    }
}

void TfrxAggregateItem::KeepLastRow()
{
    if (!FIsPageFooter || !FKeeping || !FHasLastRow)
        return;
    FItemsCount = FLastCount;
    FItemsValue = FLastValue;
    if (FLastRowCounted)
        ++FTempItemsCount;
    Merge(FTempItemsValue, FLastRowValue);
    FHasLastRow = false;
}

void TfrxAggregateItem::DeleteValue()
{
    FItemsCount = FLastCount;
    FItemsValue = FLastValue;
}

void TfrxAggregateItem::Reset(bool Force)
{
    if (FDontReset && FItemsCount != 0 && !Force)
        return;
    FItemsCount = 0;
    FItemsValue = QVariant();
    FLastCount = 0;
    FLastValue = QVariant();
    FItemsArray.clear();
    FItemsCountArray.clear();
    FHasLastRow = false;
}

void TfrxAggregateItem::StartKeep()
{
    if (!FIsPageFooter || FKeeping)
        return;
    FKeeping = true;
    FTempItemsCount = 0;
    FTempItemsValue = QVariant();
}

void TfrxAggregateItem::EndKeep()
{
    if (!FIsPageFooter || !FKeeping)
        return;
    FKeeping = false;
    FItemsCount += FTempItemsCount;
    Merge(FItemsValue, FTempItemsValue);
}

QVariant TfrxAggregateItem::Value() const
{
    QVariant value;
    int count = FItemsCount;
    value = FItemsValue;
    if (!FItemsArray.empty() && FVColumn >= 0 && FVColumn < kColumnSlots) {
        value = FItemsArray[size_t(FVColumn)];
        count = FItemsCountArray[size_t(FVColumn)];
        const int last = std::min(FVColumnLast, kColumnSlots - 1);
        for (int column = FVColumn + 1; column <= last; ++column) {
            Merge(value, FItemsArray[size_t(column)]);
            count += FItemsCountArray[size_t(column)];
        }
    }
    QVariant result;
    switch (FAggregateFunction) {
    case agAvg:
        if (!value.isNull() && count > 0)
            result = value.toDouble() / count;
        break;
    case agCount:
        result = count;
        break;
    default:
        result = value;
        break;
    }
    return result.isNull() ? QVariant(0) : result;
}

TfrxAggregateList::TfrxAggregateList(TfrxReport *Report) : FReport(Report) {}

TfrxAggregateList::~TfrxAggregateList() = default;

void TfrxAggregateList::Clear()
{
    FItems.clear();
}

void TfrxAggregateList::AddItems(TfrxReportPage *Page, const QList<TfrxBand *> &FirstLevel,
                                 const QList<TfrxBand *> &VFirstLevel)
{
    TfrxDataBand *first = nullptr;
    for (TfrxBand *b : FirstLevel) {
        auto *d = qobject_cast<TfrxDataBand *>(b);
        if (!d)
            continue;
        if (!first)
            first = d;
        ScanBand(d, d, FirstLevel);
    }
    for (TfrxBand *b : VFirstLevel)
        if (auto *d = qobject_cast<TfrxDataBand *>(b))
            ScanBand(d, d, FirstLevel);
    if (!first || !Page)
        return;
    for (TfrxComponent *c : Page->Objects())
        if (qobject_cast<TfrxPageFooter *>(c) || qobject_cast<TfrxColumnFooter *>(c) ||
            qobject_cast<TfrxReportSummary *>(c))
            ScanChain(static_cast<TfrxBand *>(c), first);
}

void TfrxAggregateList::ScanChain(TfrxBand *Band, TfrxDataBand *DefaultBand)
{
    for (TfrxBand *b = Band; b; b = b->Child())
        for (TfrxComponent *c : b->Objects())
            AddMemoItems(c, b, DefaultBand);
}

void TfrxAggregateList::ScanBand(TfrxBand *Band, TfrxDataBand *DefaultBand, const QList<TfrxBand *> &FirstLevel)
{
    auto *d = qobject_cast<TfrxDataBand *>(Band);
    if (!d)
        return;
    ScanChain(d->Footer(), d);
    for (TfrxBand *g : d->Group())
        if (auto *gh = qobject_cast<TfrxGroupHeader *>(g))
            ScanChain(gh->GroupFooter(), d);
    // The cells of a vertical data band count, by default, the rows of the
    // horizontal data band whose footer they came from.
    if (d->Vertical())
        for (TfrxBand *b = d; b; b = b->Child())
            for (TfrxComponent *c : b->Objects()) {
                TfrxBand *original = FOriginalBand ? FOriginalBand(c) : nullptr;
                TfrxDataBand *byDefault = HorizontalDefault(original, FirstLevel);
                AddMemoItems(c, b, byDefault ? byDefault : DefaultBand);
            }
    for (TfrxBand *sub : d->SubBands())
        ScanBand(sub, qobject_cast<TfrxDataBand *>(sub), FirstLevel);
}

TfrxDataBand *TfrxAggregateList::HorizontalDefault(TfrxBand *Original, const QList<TfrxBand *> &FirstLevel) const
{
    if (!Original)
        return nullptr;
    if (qobject_cast<TfrxPageFooter *>(Original) || qobject_cast<TfrxColumnFooter *>(Original) ||
        qobject_cast<TfrxReportSummary *>(Original))
        return FirstLevel.isEmpty() ? nullptr : qobject_cast<TfrxDataBand *>(FirstLevel.first());
    for (TfrxBand *b : FirstLevel) {
        auto *d = qobject_cast<TfrxDataBand *>(b);
        if (!d)
            continue;
        if (d->Footer() == Original)
            return d;
        for (TfrxBand *g : d->Group())
            if (auto *gh = qobject_cast<TfrxGroupHeader *>(g); gh && gh->GroupFooter() == Original)
                return d;
        if (TfrxDataBand *inner = HorizontalDefault(Original, d->SubBands()))
            return inner;
    }
    return nullptr;
}

void TfrxAggregateList::AddMemoItems(TfrxComponent *Memo, TfrxBand *ParentBand, TfrxDataBand *DefaultBand)
{
    auto *memo = qobject_cast<TfrxCustomMemoView *>(Memo);
    if (!memo || !memo->AllowExpressions())
        return;
    const QString delims = memo->ExpressionDelimiters();
    const qsizetype comma = delims.indexOf(QLatin1Char(','));
    if (comma < 0)
        return;
    const QString open = delims.left(comma), close = delims.mid(comma + 1);
    for (const QString &expr : bracketedExpressions(memo->Text(), open, close))
        Search(expr, memo, ParentBand, DefaultBand, 0);
}

void TfrxAggregateList::Search(const QString &Text, TfrxComponent *Memo, TfrxBand *ParentBand,
                               TfrxDataBand *DefaultBand, int Depth)
{
    // Variables may name each other; a cycle ends here.
    if (Depth > 32)
        return;
    if (FReport) {
        const int v = FReport->Variables()->IndexOf(Text.trimmed());
        if (!Text.trimmed().isEmpty() && v >= 0) {
            Search(FReport->Variables()->Items(v)->Value().toString(), Memo, ParentBand, DefaultBand, Depth + 1);
            return;
        }
    }
    if (isDataField(Text))
        return;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = Text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = Text.indexOf(c, i + 1);
            i = end < 0 ? n : end + 1;
        } else if (c == QLatin1Char('(')) {
            const qsizetype end = closingParen(Text, i);
            const qsizetype stop = end < 0 ? n : end - 1;
            Search(Text.mid(i + 1, stop - i - 1), Memo, ParentBand, DefaultBand, Depth + 1);
            i = end < 0 ? n : end;
        } else if (c == QLatin1Char('<')) {
            const qsizetype end = Text.indexOf(QLatin1Char('>'), i + 1);
            const qsizetype stop = end < 0 ? n : end;
            Search(Text.mid(i + 1, stop - i - 1), Memo, ParentBand, DefaultBand, Depth + 1);
            i = stop + 1;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(Text[j]))
                ++j;
            const QString word = Text.mid(i, j - i);
            if (!isAggregateName(word)) {
                if (FReport && FReport->Variables()->IndexOf(word) >= 0)
                    Search(word, Memo, ParentBand, DefaultBand, Depth + 1);
                i = j;
            } else if (j < n && Text[j] == QLatin1Char('(')) {
                const qsizetype end = closingParen(Text, j);
                const qsizetype stop = end < 0 ? n : end;
                AddItem(Text.mid(i, stop - i), Memo, ParentBand, DefaultBand);
                i = stop;
            } else {
                i = j;
            }
        } else {
            ++i;
        }
    }
}

void TfrxAggregateList::AddItem(const QString &Call, TfrxComponent *Memo, TfrxBand *ParentBand,
                                TfrxDataBand *DefaultBand)
{
    auto item = std::make_unique<TfrxAggregateItem>();
    const QString call = Call.trimmed();
    const qsizetype open = call.indexOf(QLatin1Char('('));
    item->FAggregateFunction = rudAggregateFunction(call.left(open));
    QString args = call.mid(open + 1);
    if (args.endsWith(QLatin1Char(')')))
        args.chop(1);
    const QStringList parts = rudSplitArguments(args);
    const qsizetype first = item->FAggregateFunction == agCount ? 0 : 1;
    if (first == 1 && !parts.isEmpty())
        item->FExpression = parts[0];
    QString bandName, flags;
    if (parts.size() > first)
        bandName = parts[first];
    if (parts.size() > first + 1)
        flags = parts[first + 1];
    if (FReport && !bandName.isEmpty())
        item->FBand = qobject_cast<TfrxDataBand *>(FReport->FindObject(bandName));
    if (!item->FBand)
        item->FBand = DefaultBand;
    int f = 0;
    if (!flags.isEmpty()) {
        bool ok = false;
        f = flags.toInt(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(flags));
    }
    item->FCountInvisibleBands = f & 1;
    item->FDontReset = f & 2;
    // A memo on a vertical band prints on the band it came from.
    TfrxBand *original = FOriginalBand && Memo ? FOriginalBand(Memo) : nullptr;
    item->FParentBand = original ? original : ParentBand;
    item->FIsPageFooter = qobject_cast<TfrxPageFooter *>(item->FParentBand) != nullptr;
    auto *holder = Memo ? qobject_cast<TfrxBand *>(Memo->Parent()) : nullptr;
    item->FVerticalCell = holder && holder->Vertical();
    item->FVHolder = item->FVerticalCell ? holder : nullptr;
    item->FOriginalName = call;
    item->FMemoName = Memo ? Memo->Name() : QString();
    item->Reset(true);
    FItems.push_back(std::move(item));
}

void TfrxAggregateList::AddValue(TfrxBand *Band, int VColumn)
{
    for (auto &item : FItems)
        if (item->FBand == Band && !item->FVerticalCell) {
            item->FVColumn = VColumn;
            item->Calc(FReport, FEvaluator);
        }
}

void TfrxAggregateList::AddColumnValue(TfrxBand *Band, int VColumn)
{
    for (auto &item : FItems)
        if (item->FBand == Band && item->FVerticalCell) {
            if (FReport)
                FReport->SetCurObject(item->FMemoName);
            item->CalcColumn(VColumn, FEvaluator);
        }
}

void TfrxAggregateList::AddRowValue(TfrxBand *VBand, TfrxBand *ParentBand)
{
    for (auto &item : FItems)
        if (item->FBand == VBand && item->FParentBand == ParentBand) {
            item->FVColumn = 0;
            item->Calc(FReport, FEvaluator);
        }
}

void TfrxAggregateList::KeepLastRow(TfrxBand *Band)
{
    for (auto &item : FItems)
        if (item->FBand == Band)
            item->KeepLastRow();
}

void TfrxAggregateList::DeleteValue(TfrxBand *Band)
{
    for (auto &item : FItems)
        if (item->FBand == Band)
            item->DeleteValue();
}

void TfrxAggregateList::Reset(TfrxBand *ParentBand)
{
    for (auto &item : FItems)
        if (item->FParentBand == ParentBand)
            item->Reset();
}

void TfrxAggregateList::ResetCells(TfrxBand *ParentBand, TfrxBand *VHolder)
{
    for (auto &item : FItems)
        if (item->FParentBand == ParentBand && item->FVHolder == VHolder && item->FBand && item->FBand->Vertical())
            item->Reset();
}

void TfrxAggregateList::StartKeep()
{
    for (auto &item : FItems)
        item->StartKeep();
}

void TfrxAggregateList::EndKeep()
{
    for (auto &item : FItems)
        item->EndKeep();
}

void TfrxAggregateList::ClearValues()
{
    for (auto &item : FItems)
        item->Reset(true);
}

TfrxAggregateList::TValues TfrxAggregateList::Values() const
{
    TValues values;
    values.reserve(FItems.size());
    for (const auto &item : FItems)
        values.push_back(*item);
    return values;
}

void TfrxAggregateList::SetValues(const TValues &Values)
{
    if (Values.size() != FItems.size())
        return;
    for (size_t i = 0; i < FItems.size(); ++i)
        *FItems[i] = Values[i];
}

QVariant TfrxAggregateList::GetValue(TfrxBand *ParentBand, const QString &Name, int VColumn) const
{
    const QString name = Name.trimmed();
    for (const auto &item : FItems)
        if (item->FParentBand == ParentBand && name.compare(item->FOriginalName, Qt::CaseInsensitive) == 0) {
            item->FVColumn = VColumn;
            item->FVColumnLast = 0;
            return item->Value();
        }
    return QVariant();
}

QVariant TfrxAggregateList::GetValue(TfrxBand *ParentBand, int VColumn, int Flags, TfrxDataBand *Band,
                                     const QString &Expression, const QString &FunctionName, TfrxBand *VHolder,
                                     int VColumnLast) const
{
    const TfrxAggregateFunction fn = rudAggregateFunction(FunctionName);
    const QString expr = Expression.trimmed();
    for (const auto &item : FItems) {
        const int itemFlags = (item->FCountInvisibleBands ? 1 : 0) | (item->FDontReset ? 2 : 0);
        if (item->FParentBand == ParentBand && item->FAggregateFunction == fn &&
            expr.compare(item->FExpression.trimmed(), Qt::CaseInsensitive) == 0 && (!Band || item->FBand == Band) &&
            itemFlags == Flags && item->FVHolder == VHolder) {
            item->FVColumn = VColumn;
            item->FVColumnLast = VColumnLast;
            return item->Value();
        }
    }
    return QVariant();
}
