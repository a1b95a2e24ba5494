#pragma once
// Visible objects: TfrxView with its frame, fill and hyperlink, and
// TfrxStretcheable, the base of objects that can grow.

#include "report/model/rudComponent.h"
#include "report/model/rudFill.h"
#include "report/model/rudFrame.h"
#include "report/model/rudHyperlink.h"

#include <QPointer>

class TfrxCanvas;

// A printable object that is drawn: frame, fill, hyperlink, data binding and
// the script events of the preview.
class TfrxView : public TfrxReportComponent {
    Q_OBJECT
    Q_PROPERTY(rudEnums::TfrxAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Printable READ Printable WRITE SetPrintable STORED false)
    Q_PROPERTY(rudEnums::TfrxShiftMode ShiftMode READ ShiftMode WRITE SetShiftMode)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(rudEnums::TfrxRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QString OnAfterData READ OnAfterData WRITE SetOnAfterData)
    Q_PROPERTY(QString OnAfterPrint READ OnAfterPrint WRITE SetOnAfterPrint)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)
    Q_PROPERTY(QString OnMouseEnter READ OnMouseEnter WRITE SetOnMouseEnter)
    Q_PROPERTY(QString OnMouseLeave READ OnMouseLeave WRITE SetOnMouseLeave)
    Q_PROPERTY(QString OnMouseDown READ OnMouseDown WRITE SetOnMouseDown)
    Q_PROPERTY(QString OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
    Q_PROPERTY(QString OnMouseUp READ OnMouseUp WRITE SetOnMouseUp)
    Q_PROPERTY(QString OnPreviewClick READ OnPreviewClick WRITE SetOnPreviewClick)
    Q_PROPERTY(QString OnPreviewDblClick READ OnPreviewDblClick WRITE SetOnPreviewDblClick)
    Q_PROPERTY(TfrxHyperlink *Hyperlink READ Hyperlink WRITE SetHyperlink)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(rudEnums::TfrxVisibilityTypes Visibility READ Visibility WRITE SetVisibility)
public:
    explicit TfrxView(TfrxComponent *AOwner);
    ~TfrxView() override;
    static TfrxPropDescs PropDescs();

    TfrxAlign Align() const { return FAlign; }
    void SetAlign(TfrxAlign Value) { FAlign = Value; }
    // vsPrint in Visibility.
    bool Printable() const { return FVisibility & vsPrint; }
    void SetPrintable(bool Value);
    TfrxShiftMode ShiftMode() const { return FShiftMode; }
    void SetShiftMode(TfrxShiftMode Value) { FShiftMode = Value; }
    TfrxVisibilityTypes Visibility() const { return FVisibility; }
    void SetVisibility(TfrxVisibilityTypes Value) { FVisibility = Value; }
    const QString &Hint() const { return FHint; }
    void SetHint(const QString &Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

#define RUD_VIEW_EVENT(N)                                                                                            \
    const QString &N() const { return FEvents ? FEvents->N : NoHandler(); }                                         \
    void Set##N(const QString &Value)                                                                                \
    {                                                                                                                \
        if (FEvents || !Value.isEmpty())                                                                             \
            Events().N = Value;                                                                                      \
    }
    RUD_VIEW_EVENT(OnAfterData)
    RUD_VIEW_EVENT(OnAfterPrint)
    RUD_VIEW_EVENT(OnBeforePrint)
    RUD_VIEW_EVENT(OnMouseEnter)
    RUD_VIEW_EVENT(OnMouseLeave)
    RUD_VIEW_EVENT(OnMouseDown)
    RUD_VIEW_EVENT(OnMouseMove)
    RUD_VIEW_EVENT(OnMouseUp)
    RUD_VIEW_EVENT(OnPreviewClick)
    RUD_VIEW_EVENT(OnPreviewDblClick)
#undef RUD_VIEW_EVENT

    // The hyperlink record, made on the first call: most views never have
    // one, and a view's memory is what long reports are made of.
    TfrxHyperlink *Hyperlink() const;
    // The hyperlink record when one was made, else null (no hyperlink).
    TfrxHyperlink *ExistingHyperlink() const { return FHyperlink.get(); }
    void SetHyperlink(TfrxHyperlink *Value);
    // The frame, made on the first call with no lines drawn: most views keep
    // that, and long reports are made of views.
    TfrxFrame *Frame() const;
    // The frame when one was made, else null (no lines drawn).
    TfrxFrame *ExistingFrame() const { return FFrame.get(); }
    // Copies into the view's own frame.
    void SetFrame(TfrxFrame *Value);
    // The fill, made on the first call as the default brush (which paints
    // nothing): most views keep it, and long reports are made of views.
    TfrxCustomFill *Fill() const;
    // The fill when one was made, else null (the default brush).
    TfrxCustomFill *ExistingFill() const { return FFill.get(); }
    // Sets FillType to Value's kind, then copies Value's values.
    void SetFill(TfrxCustomFill *Value);
    TfrxFillType FillType() const { return FFill ? FFill->FillType() : ftBrush; }
    // Replaces the fill by a new one of that kind (nothing when it is the current kind).
    void SetFillType(TfrxFillType Value);
    // The brush's back colour, a gradient's mixed colour, else clTransparent;
    // writing changes only a brush fill.
    TColor Color() const;
    void SetColor(TColor Value);
    // The brush's style; bsClear for other fills; writing changes only a brush fill.
    TBrushStyle BrushStyle() const;
    void SetBrushStyle(TBrushStyle Value);
    int Cursor() const { return FCursor; }
    void SetCursor(int Value) { FCursor = Value; }
    const QString &DataField() const { return FDataField; }
    void SetDataField(const QString &Value) { FDataField = Value; }
    TfrxComponent *DataSet() const { return FDataSet; }
    void SetDataSet(TfrxComponent *Value) { FDataSet = Value; }
    const QString &DataSetName() const { return FDataSetName; }
    void SetDataSetName(const QString &Value) { FDataSetName = Value; }
    const QString &TagStr() const { return FTagStr; }
    void SetTagStr(const QString &Value) { FTagStr = Value; }
    // Always empty on reading; writing sets Hyperlink: "@n" a page number,
    // "#name" an anchor, anything else a URL.
    QString URL() const { return QString(); }
    void SetURL(const QString &Value);
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool Value) { FPlainText = Value; }

    // Draws the object on Canvas through the view painter of its report
    // (EMissingService without one); page units are scaled by ScaleX/ScaleY and the
    // page's margin corner lies at device point (OffsetX, OffsetY).
    virtual void Draw(TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY);
    // Also saves TagStr and the hyperlink's value and makes this object "Self".
    void BeforePrint() override;
    // Expands TagStr and the hyperlink (through the preparation engine).
    void GetData() override;
    // Restores TagStr, the hyperlink's value and the bounds.
    void AfterPrint() override;
    // Replaces every part of Expr enclosed in "[" and "]" by the text of its
    // value. Defined with the preparation engine (report/engine/rudViewExpand.cpp).
    void ExpandVariables(QString &Expr);
    // The base part, then Align, the frame, Cursor, Visibility, TagStr,
    // FillType, the fill and the hyperlink where they differ.
    QString Diff(TfrxComponent *AComponent) override;

private:
    TfrxAlign FAlign = baNone;
    TfrxShiftMode FShiftMode = smAlways;
    TfrxVisibilityTypes FVisibility = TfrxVisibilityTypes(vsPreview | vsExport | vsPrint);
    QString FHint;
    bool FShowHint = false;
    // The script events' handler names, made when the first one is set: few
    // views have any, and a view's memory is what long reports are made of.
    struct TEvents {
        QString OnAfterData, OnAfterPrint, OnBeforePrint, OnMouseEnter, OnMouseLeave, OnMouseDown, OnMouseMove,
            OnMouseUp, OnPreviewClick, OnPreviewDblClick;
    };
    TEvents &Events();
    static const QString &NoHandler();

    std::unique_ptr<TEvents> FEvents;
    mutable std::unique_ptr<TfrxHyperlink> FHyperlink;
    mutable std::unique_ptr<TfrxFrame> FFrame;
    mutable std::unique_ptr<TfrxCustomFill> FFill;
    int FCursor = 0;
    QString FDataField;
    QPointer<TfrxComponent> FDataSet;
    QString FDataSetName;
    QString FTagStr;
    bool FPlainText = false;
    QString FTempTag, FTempHyperlink;
};

// A view that can grow with its content while the report is prepared.
class TfrxStretcheable : public TfrxView {
    Q_OBJECT
    Q_PROPERTY(rudEnums::TfrxStretchMode StretchMode READ StretchMode WRITE SetStretchMode)
public:
    explicit TfrxStretcheable(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    TfrxStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TfrxStretchMode Value) { FStretchMode = Value; }
    // Height the object needs for its content; a memo measures its text.
    virtual double CalcHeight() { return Height(); }

private:
    TfrxStretchMode FStretchMode = smDontStretch;
};
