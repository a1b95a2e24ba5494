#pragma once
// The system text object: a memo meant for page numbers, dates, totals and
// other values of the engine ("[Page#]", "[SUM(...)]"), edited by the
// designer's system-text editor rather than typed.

#include "report/model/rudMemo.h"

// A memo for system values; it publishes every setting the memo publishes.
class TfrxSysMemoView : public TfrxCustomMemoView {
    Q_OBJECT
    Q_PROPERTY(bool FirstParaBreak READ FirstParaBreak WRITE SetFirstParaBreak)
    Q_PROPERTY(bool LastParaBreak READ LastParaBreak WRITE SetLastParaBreak)
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr)
    Q_PROPERTY(QString URL READ URL WRITE SetURL STORED false)
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth)
    Q_PROPERTY(bool AllowExpressions READ AllowExpressions WRITE SetAllowExpressions)
    Q_PROPERTY(bool AllowHTMLTags READ AllowHTMLTags WRITE SetAllowHTMLTags)
    Q_PROPERTY(rudEnums::TBrushStyle BrushStyle READ BrushStyle WRITE SetBrushStyle STORED false)
    Q_PROPERTY(double CharSpacing READ CharSpacing WRITE SetCharSpacing)
    Q_PROPERTY(bool Clipped READ Clipped WRITE SetClipped)
    Q_PROPERTY(int Color READ Color WRITE SetColor STORED false)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(TfrxFormat *DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString ExpressionDelimiters READ ExpressionDelimiters WRITE SetExpressionDelimiters)
    Q_PROPERTY(TfrxCustomMemoView *FlowTo READ FlowTo WRITE SetFlowTo)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(double GapX READ GapX WRITE SetGapX)
    Q_PROPERTY(double GapY READ GapY WRITE SetGapY)
    Q_PROPERTY(rudEnums::TfrxHAlign HAlign READ HAlign WRITE SetHAlign)
    Q_PROPERTY(bool HideZeros READ HideZeros WRITE SetHideZeros)
    Q_PROPERTY(TfrxHighlight *Highlight READ Highlight WRITE SetHighlight)
    Q_PROPERTY(double LineSpacing READ LineSpacing WRITE SetLineSpacing)
    Q_PROPERTY(QStringList Memo READ Memo WRITE SetMemo STORED false)
    Q_PROPERTY(double ParagraphGap READ ParagraphGap WRITE SetParagraphGap)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation)
    Q_PROPERTY(bool RTLReading READ RTLReading WRITE SetRTLReading)
    Q_PROPERTY(QString Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool SuppressRepeated READ SuppressRepeated WRITE SetSuppressRepeated)
    Q_PROPERTY(bool Underlines READ Underlines WRITE SetUnderlines)
    Q_PROPERTY(bool UseDefaultCharset READ UseDefaultCharset WRITE SetUseDefaultCharset)
    Q_PROPERTY(bool WordBreak READ WordBreak WRITE SetWordBreak)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Wysiwyg READ Wysiwyg WRITE SetWysiwyg)
    Q_PROPERTY(rudEnums::TfrxVAlign VAlign READ VAlign WRITE SetVAlign)
public:
    explicit TfrxSysMemoView(TfrxComponent *AOwner);
    // The memo's descriptors: the same properties with the same defaults.
    static TfrxPropDescs PropDescs();
};
