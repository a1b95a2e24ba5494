#pragma once
// The text object: TfrxCustomMemoView holds the lines and every text
// setting; TfrxMemoView publishes them.

#include "report/model/rudHighlight.h"
#include "report/model/rudView.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <memory>

class TfsVariant;

// A rectangle with frame and fill that shows lines of text, which may hold
// bracketed expressions expanded when the report is prepared.
class TfrxCustomMemoView : public TfrxStretcheable {
    Q_OBJECT
public:
    explicit TfrxCustomMemoView(TfrxComponent *AOwner);
    ~TfrxCustomMemoView() override;
    // "Text object".
    QString GetDescription() const override;

    // The lines, each followed by carriage return + line feed ("" without lines).
    QString Text() const;
    // Replaces the lines: Value is split at CR, LF, CR LF and U+2028; a final
    // break adds no empty line.
    void SetText(const QString &Value);
    // Text in the code page of the font's charset.
    QByteArray AnsiText() const;
    void SetAnsiText(const QByteArray &Value);
    // The lines themselves.
    QStringList &Memo() { return FMemo; }
    const QStringList &Memo() const { return FMemo; }
    void SetMemo(const QStringList &Value) { FMemo = Value; }

    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool Value) { FAutoWidth = Value; }
    bool AllowExpressions() const { return FAllowExpressions; }
    void SetAllowExpressions(bool Value) { FAllowExpressions = Value; }
    bool AllowHTMLTags() const { return FAllowHTMLTags; }
    void SetAllowHTMLTags(bool Value) { FAllowHTMLTags = Value; }
    double CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(double Value) { FCharSpacing = Value; }
    bool Clipped() const { return FClipped; }
    void SetClipped(bool Value) { FClipped = Value; }
    // The first display format; an empty one is created when there is none.
    TfrxFormat *DisplayFormat();
    // Copies Value into the first display format.
    void SetDisplayFormat(TfrxFormat *Value);
    const QString &ExpressionDelimiters() const { return FExpressionDelimiters; }
    void SetExpressionDelimiters(const QString &Value) { FExpressionDelimiters = Value; }
    // The memo the text flows on into; none once that memo is destroyed.
    TfrxCustomMemoView *FlowTo() const { return FFlowTo; }
    void SetFlowTo(TfrxCustomMemoView *Value) { FFlowTo = Value; }
    double GapX() const { return FGapX; }
    void SetGapX(double Value) { FGapX = Value; }
    double GapY() const { return FGapY; }
    void SetGapY(double Value) { FGapY = Value; }
    TfrxHAlign HAlign() const { return FHAlign; }
    void SetHAlign(TfrxHAlign Value) { FHAlign = Value; }
    bool HideZeros() const { return FHideZeros; }
    void SetHideZeros(bool Value) { FHideZeros = Value; }
    // The first highlight; an empty one is created when there is none.
    TfrxHighlight *Highlight();
    // Copies Value into the first highlight.
    void SetHighlight(TfrxHighlight *Value);
    double LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(double Value) { FLineSpacing = Value; }
    double ParagraphGap() const { return FParagraphGap; }
    void SetParagraphGap(double Value) { FParagraphGap = Value; }
    int Rotation() const { return FRotation; }
    // Stores Value modulo 360 with Value's sign (450 -> 90, -90 stays).
    void SetRotation(int Value) { FRotation = Value % 360; }
    bool RTLReading() const { return FRTLReading; }
    void SetRTLReading(bool Value) { FRTLReading = Value; }
    const QString &Style() const { return FStyle; }
    // Stores the name of a report style and, when the memo's report has a
    // style of that name, takes its colour (brush fill only), font and frame.
    void SetStyle(const QString &Value);
    bool SuppressRepeated() const { return FSuppressRepeated; }
    void SetSuppressRepeated(bool Value) { FSuppressRepeated = Value; }
    bool Underlines() const { return FUnderlines; }
    void SetUnderlines(bool Value) { FUnderlines = Value; }
    bool UseDefaultCharset() const { return FUseDefaultCharset; }
    void SetUseDefaultCharset(bool Value) { FUseDefaultCharset = Value; }
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool Value) { FWordBreak = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    bool Wysiwyg() const { return FWysiwyg; }
    void SetWysiwyg(bool Value) { FWysiwyg = Value; }
    TfrxVAlign VAlign() const { return FVAlign; }
    void SetVAlign(TfrxVAlign Value) { FVAlign = Value; }
    bool FirstParaBreak() const { return FFirstParaBreak; }
    void SetFirstParaBreak(bool Value) { FFirstParaBreak = Value; }
    bool LastParaBreak() const { return FLastParaBreak; }
    void SetLastParaBreak(bool Value) { FLastParaBreak = Value; }

    TfrxFormatCollection &Formats() { return FFormats; }
    TfrxHighlightCollection &Highlights() { return FHighlights; }
    // The value the engine printed last (for SuppressRepeated).
    QVariant &LastValue() { return RunState().LastValue; }

    // Layout with real fonts, through the view painter of the memo's
    // report (EMissingService without one).
    // Height the text needs with gaps and frame, rounded page units.
    double CalcHeight() override;
    // Width of the widest line with gaps and frame, rounded page units.
    virtual double CalcWidth();
    // The part of the text that fits the memo's height.
    virtual QString GetInBoundsText();
    // The part that does not fit; ParaBreak tells whether the cut falls
    // inside a paragraph.
    virtual QString GetOutBoundsText(bool &ParaBreak);
    // The text laid out at scale 1: wrapped lines joined by CR LF when
    // WrapWords, else the text without tags.
    QString WrapText(bool WrapWords);
    // Starts splitting the memo over pages: the whole text is the part left.
    void InitPart();
    // Keeps the part of the remaining text that fits as the memo's text and
    // the rest for the next call; returns the space left unused below it,
    // or the memo's height when that is 0.
    double DrawPart();
    const QString &PartMemo() const { return Run().PartMemo; }

    // Preparation (see TfrxReportComponent). BeforePrint also keeps the
    // design text (unless the memo shows a data field); GetData expands it
    // through the preparation engine; AfterPrint puts the design text back
    // and undoes an applied highlight.
    void BeforePrint() override;
    void GetData() override;
    void AfterPrint() override;
    // True when DataSet and DataField are both set: the memo shows a field.
    bool IsDataField() const { return DataSet() && !DataField().isEmpty(); }
    // The design text kept by BeforePrint.
    const QString &TempMemo() const { return Run().TempMemo; }
    // The value of the memo's last evaluated expression.
    const QVariant &Value() const { return Run().Value; }
    void SetValue(const QVariant &Value)
    {
        if (FRun || Value.isValid())
            RunState().Value = Value;
    }
    // Set by the prepared pages store before the memo is drawn: the page
    // count and the copy number that "[TotalPages#]" and "[CopyName#]" show.
    int TotalPages() const { return FTotalPages; }
    void SetTotalPages(int Value) { FTotalPages = Value; }
    int CopyNo() const { return FCopyNo; }
    void SetCopyNo(int Value) { FCopyNo = Value; }
    // Set by the store too: the printer's font scale for drawing.
    double PrintScale() const { return FPrintScale; }
    void SetPrintScale(double Value) { FPrintScale = Value; }
    // Saves the memo's font, fill, frame and visibility, then takes the
    // highlight's (as its Apply flags say) and its Visible.
    void ApplyHighlight(const TfrxHighlight &Highlight);
    // Puts back what ApplyHighlight saved (nothing when none was applied)
    // and clears every highlight's Active flag.
    void RestoreHighlight();
    // For a memo rebuilt on a prepared page: takes the look of its first
    // highlight marked Active (the one in force when the memo was output, or
    // one switched on for the preview); nothing when none is marked.
    void ApplyPreviewHighlight();

    // Expression side, defined with the preparation engine
    // (report/engine/rudMemoExpand.cpp; link rud_engine to use them):
    // the text of one bracketed expression, with an inline format
    // ("Sum #n%2,2f") taking the place of Format.
    QString CalcAndFormat(const QString &Expr, TfrxFormat *Format);
    // Value as text by Format (DisplayFormat when none).
    QString FormatData(const TfsVariant &Value, TfrxFormat *Format = nullptr);
    // Replaces "[TotalPages#]" and "[CopyName#]" before the memo is drawn.
    void ExtractMacros();
    // The view part, then the memo's settings and its text as "u" (always).
    // Hands LastParaBreak over to FirstParaBreak afterwards: a memo split
    // over pages continues with the paragraph state its part ended with.
    QString Diff(TfrxComponent *AComponent) override;

    // Formats and Highlights as child elements when there are two or more.
    void WriteNestedProperties(TfrxXMLItem *Item, TfrxComponent *AAncestor) override;
    bool ReadNestedProperty(TfrxXMLItem *Item) override;
    // The text as the attribute Text (unless the ancestor's is the same).
    void WriteUnpublished(QString &Out, const QString &Add, const TfrxPersistent *Ancestor) const override;
    // Text, x and u replace the lines; the reader has already decoded every
    // value by its own bytes (old ANSI documents' UTF-8 texts included).
    bool ReadUnpublished(QStringView Name, const QString &Value) override;

private:
    QStringList FMemo;
    bool FAutoWidth = false;
    bool FAllowExpressions = true;
    bool FAllowHTMLTags = false;
    double FCharSpacing = 0;
    bool FClipped = true;
    QString FExpressionDelimiters = QStringLiteral("[,]");
    QPointer<TfrxCustomMemoView> FFlowTo;
    double FGapX = 2;
    double FGapY = 1;
    TfrxHAlign FHAlign = haLeft;
    bool FHideZeros = false;
    double FLineSpacing = 2;
    double FParagraphGap = 0;
    int FRotation = 0;
    bool FRTLReading = false;
    QString FStyle;
    bool FSuppressRepeated = false;
    bool FUnderlines = false;
    bool FUseDefaultCharset = false;
    bool FWordBreak = false;
    bool FWordWrap = true;
    bool FWysiwyg = true;
    TfrxVAlign FVAlign = vaTop;
    bool FFirstParaBreak = false;
    bool FLastParaBreak = false;
    TfrxFormatCollection FFormats;
    TfrxHighlightCollection FHighlights;
    // What preparation keeps between the steps of one memo, made by the
    // first step that keeps something: a memo that is only loaded, or
    // rebuilt from a prepared page to be drawn, has none.
    struct TRunState {
        QVariant LastValue, Value;
        QString PartMemo, TempMemo;
    };
    const TRunState &Run() const;
    TRunState &RunState();
    std::unique_ptr<TRunState> FRun;
    double FPrintScale = 1;
    int FTotalPages = 0;
    int FCopyNo = 0;
    struct TSavedLook;
    std::unique_ptr<TSavedLook> FSavedLook;
};

// The published properties of a memo in template order, declared once for
// every class that publishes the whole memo (TfrxMemoView, TfrxSysMemoView);
// moc expands the macro like the compiler.
#define RUD_MEMO_PUBLISHED_PROPERTIES \
    Q_PROPERTY(bool FirstParaBreak READ FirstParaBreak WRITE SetFirstParaBreak) \
    Q_PROPERTY(bool LastParaBreak READ LastParaBreak WRITE SetLastParaBreak) \
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor) \
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr) \
    Q_PROPERTY(QString URL READ URL WRITE SetURL STORED false) \
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth) \
    Q_PROPERTY(bool AllowExpressions READ AllowExpressions WRITE SetAllowExpressions) \
    Q_PROPERTY(bool AllowHTMLTags READ AllowHTMLTags WRITE SetAllowHTMLTags) \
    Q_PROPERTY(rudEnums::TBrushStyle BrushStyle READ BrushStyle WRITE SetBrushStyle STORED false) \
    Q_PROPERTY(double CharSpacing READ CharSpacing WRITE SetCharSpacing) \
    Q_PROPERTY(bool Clipped READ Clipped WRITE SetClipped) \
    Q_PROPERTY(int Color READ Color WRITE SetColor STORED false) \
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField) \
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet) \
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName) \
    Q_PROPERTY(TfrxFormat *DisplayFormat READ DisplayFormat WRITE SetDisplayFormat) \
    Q_PROPERTY(QString ExpressionDelimiters READ ExpressionDelimiters WRITE SetExpressionDelimiters) \
    Q_PROPERTY(TfrxCustomMemoView *FlowTo READ FlowTo WRITE SetFlowTo) \
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont) \
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame) \
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType) \
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill) \
    Q_PROPERTY(double GapX READ GapX WRITE SetGapX) \
    Q_PROPERTY(double GapY READ GapY WRITE SetGapY) \
    Q_PROPERTY(rudEnums::TfrxHAlign HAlign READ HAlign WRITE SetHAlign) \
    Q_PROPERTY(bool HideZeros READ HideZeros WRITE SetHideZeros) \
    Q_PROPERTY(TfrxHighlight *Highlight READ Highlight WRITE SetHighlight) \
    Q_PROPERTY(double LineSpacing READ LineSpacing WRITE SetLineSpacing) \
    Q_PROPERTY(QStringList Memo READ Memo WRITE SetMemo STORED false) \
    Q_PROPERTY(double ParagraphGap READ ParagraphGap WRITE SetParagraphGap) \
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont) \
    Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation) \
    Q_PROPERTY(bool RTLReading READ RTLReading WRITE SetRTLReading) \
    Q_PROPERTY(QString Style READ Style WRITE SetStyle) \
    Q_PROPERTY(bool SuppressRepeated READ SuppressRepeated WRITE SetSuppressRepeated) \
    Q_PROPERTY(bool Underlines READ Underlines WRITE SetUnderlines) \
    Q_PROPERTY(bool UseDefaultCharset READ UseDefaultCharset WRITE SetUseDefaultCharset) \
    Q_PROPERTY(bool WordBreak READ WordBreak WRITE SetWordBreak) \
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap) \
    Q_PROPERTY(bool Wysiwyg READ Wysiwyg WRITE SetWysiwyg) \
    Q_PROPERTY(rudEnums::TfrxVAlign VAlign READ VAlign WRITE SetVAlign)

// The memo as templates and the designer know it: every setting published.
class TfrxMemoView : public TfrxCustomMemoView {
    Q_OBJECT
    RUD_MEMO_PUBLISHED_PROPERTIES
public:
    explicit TfrxMemoView(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();
};

// Splits a text into lines at CR, LF and CR LF (and U+2028 when
// withLineSeparator); a final break adds no empty line.
QStringList rudSplitLines(const QString &Text, bool withLineSeparator);
