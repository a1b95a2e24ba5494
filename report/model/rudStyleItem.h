#pragma once
// A named style of the report's style sheet: a font, fill and frame that
// memos naming the style take over (as far as its Apply flags say).

#include "report/model/rudFill.h"
#include "report/model/rudFont.h"
#include "report/model/rudFrame.h"
#include "report/model/rudPropInfo.h"

#include <memory>

// One style of the report's Styles collection.
class TfrxStyleItem : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Color READ Color WRITE SetColor STORED false)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(bool ApplyFont READ ApplyFont WRITE SetApplyFont)
    Q_PROPERTY(bool ApplyFill READ ApplyFill WRITE SetApplyFill)
    Q_PROPERTY(bool ApplyFrame READ ApplyFrame WRITE SetApplyFrame)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
public:
    // A style without a name: default font, transparent brush fill, no frame.
    TfrxStyleItem();
    ~TfrxStyleItem() override;
    static TfrxPropDescs PropDescs();
    // Copies name, font, frame, fill (its kind first) and the Apply flags.
    void Assign(const TfrxStyleItem &Source);

    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    // The brush fill's back colour, a gradient's start colour, a glass
    // fill's colour; writing changes only a brush fill.
    TColor Color() const;
    void SetColor(TColor Value);
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);
    TfrxFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TfrxFrame *Value);
    bool ApplyFont() const { return FApplyFont; }
    void SetApplyFont(bool Value) { FApplyFont = Value; }
    bool ApplyFill() const { return FApplyFill; }
    void SetApplyFill(bool Value) { FApplyFill = Value; }
    bool ApplyFrame() const { return FApplyFrame; }
    void SetApplyFrame(bool Value) { FApplyFrame = Value; }
    TfrxFillType FillType() const { return FFill->FillType(); }
    // Replaces the fill by a new one of that kind (nothing when it is the current kind).
    void SetFillType(TfrxFillType Value);
    TfrxCustomFill *Fill() const { return FFill.get(); }
    // Sets FillType to Value's kind, then copies Value's values.
    void SetFill(TfrxCustomFill *Value);

private:
    QString FName;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TfrxFrame> FFrame;
    std::unique_ptr<TfrxCustomFill> FFill;
    bool FApplyFont = true;
    bool FApplyFill = true;
    bool FApplyFrame = true;
};
