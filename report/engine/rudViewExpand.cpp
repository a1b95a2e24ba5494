// Expansion of views while a report is prepared: TagStr and hyperlinks of
// every view, the memo's text (expressions, data fields, highlights,
// repeated values, text flowing on into another memo), and the picture's
// file name and data field.

#include "report/engine/rudViewExpand.h"

#include "report/engine/rudBrackets.h"
#include "report/engine/rudDataFields.h"
#include "report/engine/rudValueHelpers.h"
#include "report/model/rudExpansion.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudReport.h"
#include "report/model/rudServices.h"
#include "script/fs_ivariant.h"

#include <algorithm>

namespace {

// A text as a string constant of the script language.
QString quotedForScript(const QString &text, const QString &language)
{
    if (language.compare(QLatin1String("PascalScript"), Qt::CaseInsensitive) == 0 || language.isEmpty())
        return QLatin1Char('\'') + QString(text).replace(QLatin1String("'"), QLatin1String("''")) + QLatin1Char('\'');
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\\\"")) + QLatin1Char('"');
}

// The opening delimiter of a memo's expressions: the text before the first
// comma of ExpressionDelimiters (none without a comma).
QStringView openDelimiter(const QString &delimiters)
{
    const qsizetype comma = delimiters.indexOf(u',');
    return comma < 0 ? QStringView() : QStringView(delimiters).left(comma);
}

// The closing delimiter: at most 255 characters after the first comma (the
// whole text without a comma).
QString closeDelimiter(const QString &delimiters)
{
    const qsizetype comma = delimiters.indexOf(u',');
    return delimiters.mid(comma + 1, 255);
}

// Whether the memo's text holds the delimiter, without joining its lines
// when the delimiter cannot span them.
bool memoContains(const TfrxCustomMemoView *memo, QStringView open)
{
    if (std::any_of(open.begin(), open.end(), [](QChar c) { return c == u'\r' || c == u'\n'; }))
        return memo->Text().contains(open);
    if (open.size() == 1) {
        const QChar c = open[0];
        return std::any_of(memo->Memo().begin(), memo->Memo().end(),
                           [c](const QString &line) { return line.contains(c); });
    }
    return std::any_of(memo->Memo().begin(), memo->Memo().end(),
                       [open](const QString &line) { return line.contains(open); });
}

void showDataField(TfrxCustomMemoView *memo)
{
    TfrxDataFieldSource *source = rudNeedService(rudServicesOf(memo).DataFieldSource, "data field").get();
    const std::optional<TfrxFieldData> data = source->GetField(memo->DataSet(), memo->DataField());
    if (!data)
        return;
    if (data->Kind == TfrxFieldKind::Memo) {
        memo->SetText(data->Value.ToText());
        return;
    }
    memo->SetValue(data->Value.ToQVariant());
    TfrxFormat *format = memo->DisplayFormat();
    QString text = format->Kind() != fkText ? memo->FormatData(data->Value, format) : data->DisplayText;
    if (memo->HideZeros() && rudIsZero(data->Value))
        text.clear();
    memo->SetText(text);
}

// Most memos hold no delimiter: that is found out on the memo's own texts,
// without copying any of them.
void expandText(TfrxCustomMemoView *memo)
{
    const QString &delimiters = memo->ExpressionDelimiters();
    const QStringView openView = openDelimiter(delimiters);
    if (openView.isEmpty() || !memoContains(memo, openView))
        return;
    const QString open = openView.toString();
    const QString close = closeDelimiter(delimiters);
    TfrxFormatCollection &formats = memo->Formats();
    memo->SetText(rudExpandBrackets(memo->Text(), open, close, [memo, &formats](const QString &expr, int n) {
        return memo->CalcAndFormat(expr, formats[std::min(n, formats.Count() - 1)]);
    }));
}

void applyHighlights(TfrxCustomMemoView *memo, TfrxReport *report)
{
    TfrxHighlightCollection &highlights = memo->Highlights();
    for (int i = 0; i < highlights.Count(); ++i) {
        TfrxHighlight *highlight = highlights[i];
        if (highlight->Condition().isEmpty())
            continue;
        if (rudIsTrue(report->Calc(highlight->Condition()))) {
            memo->ApplyHighlight(*highlight);
            highlight->SetActive(true);
            return;
        }
    }
}

// The engine's side of the model's expansion seam.
class TfrxReportExpansion final : public TfrxExpansionEngine {
public:
    void BeforePrint(TfrxView *Sender) override
    {
        if (TfrxReport *report = Sender->Report())
            report->SetSelfValue(Sender);
    }

    // Every output view comes here, most with neither tag nor hyperlink:
    // the report is looked up only when there is something to evaluate
    // (without one nothing is).
    void GetViewData(TfrxView *Sender) override
    {
        if (Sender->TagStr().contains(u'[')) {
            if (!Sender->Report())
                return;
            QString text = Sender->TagStr();
            Sender->ExpandVariables(text);
            Sender->SetTagStr(text);
        }
        TfrxHyperlink *link = Sender->ExistingHyperlink();
        if (!link)
            return;
        if (link->Value().contains(u'[')) {
            if (!Sender->Report())
                return;
            QString text = link->Value();
            Sender->ExpandVariables(text);
            link->SetValue(text);
        }
        if (!link->Expression().isEmpty()) {
            TfrxReport *report = Sender->Report();
            if (!report)
                return;
            const TfsVariant value = report->Calc(link->Expression());
            link->SetValue(value.IsString() ? quotedForScript(value.AsString(), report->ScriptLanguage())
                                            : value.ToText());
        }
    }

    void GetMemoData(TfrxCustomMemoView *Sender) override
    {
        TfrxReport *report = Sender->Report();
        if (!report)
            return;
        if (Sender->Formats().Count() == 0)
            Sender->Formats().Add();
        if (Sender->IsDataField())
            showDataField(Sender);
        else if (Sender->AllowExpressions())
            expandText(Sender);
        report->SetLocalValue(TfsVariant::FromQVariant(Sender->Value()));
        applyHighlights(Sender, report);

        if (Sender->SuppressRepeated()) {
            const QString text = Sender->Text();
            QVariant &last = Sender->LastValue();
            if (last.typeId() == QMetaType::QString && last.toString() == text)
                Sender->SetText(QString());
            else
                last = text;
        }
        // The text that does not fit goes on in the FlowTo memo, as it is.
        if (TfrxCustomMemoView *next = Sender->FlowTo()) {
            bool paraBreak = false;
            next->SetText(Sender->GetOutBoundsText(paraBreak));
            next->SetAllowExpressions(false);
        }
    }
};

// The engine's side of the picture object's seam: file names with
// expressions, binary data fields and the prepared pages' picture cache.
class TfrxReportPictureEngine final : public TfrxPictureEngine {
public:
    QString ExpandExpressions(TfrxPictureView *Sender, const QString &Text) override
    {
        QString result = Text;
        Sender->ExpandVariables(result);
        return result;
    }

    // A binary field holds bytes; a field of any other kind is not one.
    std::optional<QByteArray> BinaryFieldData(TfrxPictureView *Sender) override
    {
        auto *dataSet = qobject_cast<TfrxDataSet *>(Sender->DataSet());
        if (!dataSet || Sender->DataField().isEmpty() || !dataSet->HasField(Sender->DataField()))
            return std::nullopt;
        const QVariant value = dataSet->GetValue(Sender->DataField());
        if (value.typeId() != QMetaType::QByteArray)
            return std::nullopt;
        return value.toByteArray();
    }

    void AddPicture(TfrxPictureView *Sender) override
    {
        TfrxReport *report = Sender->Report();
        if (TfrxCustomPreviewPages *pages = report ? report->PreviewPages() : nullptr)
            pages->AddPicture(Sender);
    }
};

} // namespace

void TfrxView::ExpandVariables(QString &Expr)
{
    TfrxReport *report = Report();
    if (!report)
        return;
    static const QString open = QStringLiteral("["), close = QStringLiteral("]");
    Expr = rudExpandBrackets(Expr, open, close,
                             [report](const QString &expr, int) { return report->Calc(expr).ToText(); });
}

std::shared_ptr<TfrxExpansionEngine> rudMakeExpansionEngine()
{
    return std::make_shared<TfrxReportExpansion>();
}

std::shared_ptr<TfrxPictureEngine> rudMakePictureEngine()
{
    return std::make_shared<TfrxReportPictureEngine>();
}
