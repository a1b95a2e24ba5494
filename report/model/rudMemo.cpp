#include "report/model/rudMemo.h"

#include "report/model/rudExpansion.h"

#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudStyles.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include "base/CodePages.h"

QStringList rudSplitLines(const QString &Text, bool withLineSeparator)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = Text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || (withLineSeparator && c == QChar(0x2028))) {
            lines.append(Text.mid(start, i - start));
            // Only CR LF is one break; LF CR is two.
            if (c == QLatin1Char('\r') && i + 1 < n && Text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(Text.mid(start));
    return lines;
}

// The look a highlight replaced, kept until AfterPrint.
struct TfrxCustomMemoView::TSavedLook {
    TFont Font;
    bool ParentFont = false;
    std::unique_ptr<TfrxCustomFill> Fill;
    TfrxFrame Frame;
    bool Visible = true;
};

TfrxCustomMemoView::TfrxCustomMemoView(TfrxComponent *AOwner) : TfrxStretcheable(AOwner)
{
    SetComponentStyle(TfrxComponentStyles(csPreviewVisible | csHandlesNestedProperties));
}

QString TfrxCustomMemoView::GetDescription() const
{
    return rudResources().Get(QStringLiteral("obText"));
}

TfrxCustomMemoView::~TfrxCustomMemoView() = default;

const TfrxCustomMemoView::TRunState &TfrxCustomMemoView::Run() const
{
    static const TRunState none;
    return FRun ? *FRun : none;
}

TfrxCustomMemoView::TRunState &TfrxCustomMemoView::RunState()
{
    if (!FRun)
        FRun = std::make_unique<TRunState>();
    return *FRun;
}

void TfrxCustomMemoView::BeforePrint()
{
    TfrxStretcheable::BeforePrint();
    if (!IsDataField())
        RunState().TempMemo = Text();
}

void TfrxCustomMemoView::GetData()
{
    TfrxStretcheable::GetData();
    if (TfrxExpansionEngine *expansion = rudExpansionOf(this))
        expansion->GetMemoData(this);
}

void TfrxCustomMemoView::AfterPrint()
{
    if (!IsDataField())
        SetText(Run().TempMemo);
    RestoreHighlight();
    TfrxStretcheable::AfterPrint();
}

void TfrxCustomMemoView::ApplyHighlight(const TfrxHighlight &Highlight)
{
    if (!FSavedLook) {
        FSavedLook = std::make_unique<TSavedLook>();
        FSavedLook->Font.Assign(*Font());
        FSavedLook->ParentFont = FParentFont;
        FSavedLook->Fill = TfrxCustomFill::Create(FillType());
        FSavedLook->Fill->Assign(*Fill());
        FSavedLook->Frame.Assign(*Frame());
        FSavedLook->Visible = Visible();
    }
    if (Highlight.ApplyFont())
        SetFont(Highlight.Font());
    if (Highlight.ApplyFill())
        SetFill(Highlight.Fill());
    if (Highlight.ApplyFrame())
        SetFrame(Highlight.Frame());
    SetVisible(Highlight.Visible());
}

void TfrxCustomMemoView::ApplyPreviewHighlight()
{
    for (int i = 0; i < FHighlights.Count(); ++i)
        if (FHighlights[i]->Active()) {
            ApplyHighlight(*FHighlights[i]);
            // Nothing restores a rebuilt memo: the look it replaced is not kept.
            FSavedLook.reset();
            return;
        }
}

void TfrxCustomMemoView::RestoreHighlight()
{
    for (int i = 0; i < FHighlights.Count(); ++i)
        FHighlights[i]->SetActive(false);
    if (!FSavedLook)
        return;
    const std::unique_ptr<TSavedLook> saved = std::move(FSavedLook);
    Font()->Assign(saved->Font);
    FParentFont = saved->ParentFont;
    SetFill(saved->Fill.get());
    SetFrame(&saved->Frame);
    SetVisible(saved->Visible);
}

QString TfrxCustomMemoView::Text() const
{
    QString result;
    for (const QString &line : FMemo) {
        result += line;
        result += QLatin1String("\r\n");
    }
    return result;
}

void TfrxCustomMemoView::SetStyle(const QString &Value)
{
    FStyle = Value;
    TfrxReport *report = Report();
    if (!report)
        return;
    if (const TfrxStyleItem *style = report->Styles()->Find(Value)) {
        SetColor(style->Color());
        SetFont(style->Font());
        Frame()->Assign(*style->Frame());
    }
}

void TfrxCustomMemoView::SetText(const QString &Value)
{
    FMemo = rudSplitLines(Value, true);
}

QByteArray TfrxCustomMemoView::AnsiText() const
{
    return encodeCodePage(Text(), codePageOfCharset(Font()->Charset()));
}

void TfrxCustomMemoView::SetAnsiText(const QByteArray &Value)
{
    SetText(decodeCodePage(Value, codePageOfCharset(Font()->Charset())));
}

TfrxFormat *TfrxCustomMemoView::DisplayFormat()
{
    if (FFormats.Count() == 0)
        FFormats.Add();
    return FFormats.Items(0);
}

void TfrxCustomMemoView::SetDisplayFormat(TfrxFormat *Value)
{
    if (Value && Value != DisplayFormat())
        DisplayFormat()->Assign(*Value);
}

TfrxHighlight *TfrxCustomMemoView::Highlight()
{
    if (FHighlights.Count() == 0)
        FHighlights.Add();
    return FHighlights.Items(0);
}

void TfrxCustomMemoView::SetHighlight(TfrxHighlight *Value)
{
    if (Value && Value != Highlight())
        Highlight()->Assign(*Value);
}

void TfrxCustomMemoView::WriteNestedProperties(TfrxXMLItem *Item, TfrxComponent *)
{
    TfrxXMLSerializer serializer(nullptr);
    if (FFormats.Count() > 1) {
        TfrxXMLItem *list = Item->Add(QStringLiteral("Formats"));
        for (int i = 0; i < FFormats.Count(); ++i)
            list->Add(QStringLiteral("item"))->SetText(serializer.ObjToXML(FFormats[i]));
    }
    if (FHighlights.Count() > 1) {
        TfrxXMLItem *list = Item->Add(QStringLiteral("Highlights"));
        for (int i = 0; i < FHighlights.Count(); ++i)
            list->Add(QStringLiteral("item"))->SetText(serializer.ObjToXML(FHighlights[i]));
    }
}

bool TfrxCustomMemoView::ReadNestedProperty(TfrxXMLItem *Item)
{
    const bool formats = Item->Name().compare(QLatin1String("Formats"), Qt::CaseInsensitive) == 0;
    const bool highlights = Item->Name().compare(QLatin1String("Highlights"), Qt::CaseInsensitive) == 0;
    if (!formats && !highlights)
        return false;
    // Attribute errors go to the serializer that reads the report, when there is one.
    TfrxXMLSerializer local(nullptr);
    TfrxReport *report = Report();
    TfrxXMLSerializer *serializer = report && report->Serializer() ? report->Serializer() : &local;
    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem *child = Item->Items(i);
        if (child->Name().compare(QLatin1String("item"), Qt::CaseInsensitive) != 0)
            continue;
        QObject *obj = formats ? static_cast<QObject *>(FFormats.Add()) : FHighlights.Add();
        serializer->XMLToObj(child->Text(), obj);
    }
    return true;
}

void TfrxCustomMemoView::WriteUnpublished(QString &Out, const QString &Add, const TfrxPersistent *Ancestor) const
{
    auto *ancestor = qobject_cast<const TfrxCustomMemoView *>(Ancestor);
    if (ancestor && ancestor->FMemo == FMemo)
        return;
    Out += QLatin1Char(' ');
    Out += Add;
    Out += QLatin1String("Text=\"");
    Out += rudLinesToAttr(FMemo);
    Out += QLatin1Char('"');
}

bool TfrxCustomMemoView::ReadUnpublished(QStringView Name, const QString &Value)
{
    const bool text = Name.size() == 1 ? Name[0] == u'x' || Name[0] == u'u'
                                       : Name.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0;
    if (!text)
        return TfrxStretcheable::ReadUnpublished(Name, Value);
    SetMemo(rudXMLToLines(Value, true));
    return true;
}

namespace {

const TfrxCustomMemoView *memo(const QObject *obj) { return static_cast<const TfrxCustomMemoView *>(obj); }

bool displayFormatStored(const QObject *obj)
{
    return const_cast<TfrxCustomMemoView *>(memo(obj))->Formats().Count() == 1;
}

bool highlightStored(const QObject *obj)
{
    auto &highlights = const_cast<TfrxCustomMemoView *>(memo(obj))->Highlights();
    return highlights.Count() == 1 && !highlights[0]->Condition().trimmed().isEmpty();
}

bool fontStored(const QObject *obj) { return !memo(obj)->ParentFont(); }

} // namespace

TfrxMemoView::TfrxMemoView(TfrxComponent *AOwner) : TfrxCustomMemoView(AOwner) {}

TfrxPropDescs TfrxMemoView::PropDescs()
{
    TfrxPropDescs descs{{"FirstParaBreak", false},
                        {"LastParaBreak", false},
                        {"Cursor", 0},
                        {"AutoWidth", false},
                        {"AllowExpressions", true},
                        {"AllowHTMLTags", false},
                        {"CharSpacing", 0.0},
                        {"Clipped", true},
                        {"DisplayFormat", {}, &displayFormatStored},
                        {"ExpressionDelimiters", QStringLiteral("[,]")},
                        {"Font", {}, &fontStored},
                        {"FillType", int(ftBrush)},
                        {"GapX", 2.0},
                        {"GapY", 1.0},
                        {"HAlign", int(haLeft)},
                        {"HideZeros", false},
                        {"Highlight", {}, &highlightStored},
                        {"LineSpacing", 2.0},
                        {"Memo", {}, nullptr, TfrxPropKind::WideStringList},
                        {"ParagraphGap", 0.0},
                        {"ParentFont", true},
                        {"Rotation", 0},
                        {"RTLReading", false},
                        {"SuppressRepeated", false},
                        {"Underlines", false},
                        {"UseDefaultCharset", false},
                        {"WordBreak", false},
                        {"WordWrap", true},
                        {"Wysiwyg", true},
                        {"VAlign", int(vaTop)}};
    rudAddTypeName(descs, "TCursor", {"Cursor"});
    rudAddTypeName(descs, "TColor", {"Color"});
    return descs;
}
