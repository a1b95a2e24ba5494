// The memo's expression side: one bracketed expression evaluated and
// formatted (CalcAndFormat, FormatData) and the placeholders resolved when a
// prepared page is drawn (ExtractMacros).

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "report/engine/rudGlobalVariables.h"
#include "report/engine/rudValueHelpers.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <algorithm>
#include <optional>

bool rudIsTrue(const TfsVariant &Value)
{
    if (Value.Kind() == TfsVarKind::Bool)
        return Value.AsBool();
    try {
        return fsVarEquals(Value, TfsVariant(true));
    } catch (const Exception &) {
        // A value that does not compare with a Boolean (an array, an object)
        // is not true: the test it stands in simply fails.
        return false;
    }
}

bool rudIsZero(const TfsVariant &Value)
{
    if (Value.IsString() || Value.IsNull() || Value.IsEmpty() || Value.IsArray() || Value.IsObject())
        return false;
    try {
        return fsVarEquals(Value, TfsVariant(0));
    } catch (const Exception &) {
        // As in rudIsTrue: a value that does not compare with 0 is not zero.
        return false;
    }
}

namespace {

// The kind an inline format's first letter selects.
TfrxFormatKind inlineKind(QChar first)
{
    switch (first.toUpper().unicode()) {
    case u'N': return fkNumeric;
    case u'D':
    case u'T': return fkDateTime;
    case u'B': return fkBoolean;
    default: return fkText;
    }
}

QString formatNumeric(const TfsVariant &Value, const TfrxFormat &AFormat)
{
    const QString &picture = AFormat.FormatStr();
    QString result;
    if (picture.contains(u'#') || picture.startsWith(u'0'))
        result = FormatFloat(picture, Value.ToDouble());
    else if (picture.contains(u'd') || picture.contains(u'u'))
        result = Format(picture, {QVariant(Value.ToInt64())});
    else
        result = Format(picture, {QVariant(Value.ToDouble())});

    // The format's own separators take the place of the system's.
    const TFormatSettings &system = FormatSettings();
    const QString &decimal = AFormat.DecimalSeparator();
    const QString &thousand = AFormat.ThousandSeparator();
    qsizetype decimalAt = -1;
    if (decimal.size() == 1 && decimal[0] != system.DecimalSeparator)
        decimalAt = result.lastIndexOf(system.DecimalSeparator);
    if (thousand.size() == 1 && thousand[0] != system.ThousandSeparator)
        result.replace(system.ThousandSeparator, thousand[0]);
    if (decimalAt >= 0)
        result[decimalAt] = decimal[0];
    return result;
}

QString formatBoolean(const TfsVariant &Value, const QString &picture)
{
    const qsizetype comma = picture.indexOf(u',');
    if (rudIsTrue(Value))
        return comma < 0 ? QString() : picture.left(comma);
    return picture.mid(comma + 1, 255);
}

} // namespace

QString TfrxCustomMemoView::FormatData(const TfsVariant &Value, TfrxFormat *AFormat)
{
    if (!AFormat)
        AFormat = DisplayFormat();
    if (Value.IsNull() || Value.IsEmpty())
        return QString();
    try {
        switch (AFormat->Kind()) {
        case fkText: return Value.ToText();
        case fkNumeric: return formatNumeric(Value, *AFormat);
        case fkDateTime:
            return FormatDateTime(AFormat->FormatStr(),
                                  Value.IsString() ? StrToDateTime(Value.AsString()) : Value.ToDouble());
        case fkBoolean: return formatBoolean(Value, AFormat->FormatStr());
        }
    } catch (const Exception &) {
        // A value the format does not fit prints as its text.
    }
    try {
        return Value.ToText();
    } catch (const Exception &) {
        // A value without a text (an object, an array) prints as nothing.
        return QString();
    }
}

QString TfrxCustomMemoView::CalcAndFormat(const QString &Expr, TfrxFormat *AFormat)
{
    QString expr = Expr;
    // Made only for an inline format: a format object is costly to create
    // for every expression of every memo.
    std::optional<TfrxFormat> inlineFormat;
    const qsizetype p = Expr.indexOf(QStringView(u" #"));
    if (p >= 0) {
        QString text = Expr.mid(p + 2);
        if (!text.contains(u')')) {
            expr = Expr.left(p);
            const TfrxFormatKind kind = text.isEmpty() ? fkText : inlineKind(text[0]);
            inlineFormat.emplace();
            inlineFormat->SetKind(kind);
            if (kind == fkNumeric)
                for (QChar &c : text)
                    if (c == u',' || c == u'-' || c == u'.') {
                        inlineFormat->SetDecimalSeparator(QString(c));
                        c = u'.';
                    }
            inlineFormat->SetFormatStr(text.mid(1, 255));
            AFormat = &*inlineFormat;
        }
    }

    TfsVariant value;
    if (expr.compare(QLatin1String("TOTALPAGES#"), Qt::CaseInsensitive) == 0)
        value = TfsVariant(QStringLiteral("[TotalPages#]"));
    else if (expr.compare(QLatin1String("COPYNAME#"), Qt::CaseInsensitive) == 0)
        value = TfsVariant(QStringLiteral("[CopyName#]"));
    else if (TfrxReport *report = Report())
        value = report->Calc(expr);
    else
        value = TfsVariant::Null();
    SetValue(value.ToQVariant());

    if (FHideZeros && rudIsZero(value))
        return QString();
    return FormatData(value, AFormat);
}

void TfrxCustomMemoView::ExtractMacros()
{
    if (!FAllowExpressions)
        return;
    // Both macros end in '#': a text without one, as most are, stays as it is.
    if (std::none_of(FMemo.cbegin(), FMemo.cend(), [](const QString &Line) { return Line.contains(u'#'); }))
        return;
    QString text = Text();
    bool changed = false;
    static const QString totalPages = QStringLiteral("[TOTALPAGES#]");
    for (qsizetype at = 0; (at = text.indexOf(totalPages, at, Qt::CaseInsensitive)) >= 0; changed = true) {
        const QString number = QString::number(FTotalPages);
        text.replace(at, totalPages.size(), number);
        at += number.size();
    }
    static const QString copyName = QStringLiteral("[COPYNAME#]");
    for (qsizetype at = 0; (at = text.indexOf(copyName, at, Qt::CaseInsensitive)) >= 0; changed = true) {
        const int index = rudGlobalVariables().IndexOf(QStringLiteral("CopyName") + QString::number(FCopyNo));
        const QString name = index < 0 ? QString()
                                       : TfsVariant::FromQVariant(rudGlobalVariables().Items(index)->Value()).ToText();
        text.replace(at, copyName.size(), name);
        at += name.size();
    }
    if (changed)
        SetText(text);
}
