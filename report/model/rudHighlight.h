#pragma once
// The memo's collections: display formats (TfrxFormat) and conditional
// highlights (TfrxHighlight), and the small owning collection they live in.

#include "report/model/rudEnums.h"
#include "report/model/rudFill.h"
#include "report/model/rudFont.h"
#include "report/model/rudFrame.h"

#include <memory>
#include <vector>

// An ordered collection that owns its items.
template <class T>
class TfrxCollection {
public:
    int Count() const { return int(FItems.size()); }
    T *Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    T *operator[](int Index) const { return Items(Index); }
    // Appends a new item with its constructor defaults.
    T *Add()
    {
        FItems.push_back(std::make_unique<T>());
        return FItems.back().get();
    }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    void Clear() { FItems.clear(); }
    // Replaces the items by copies of Source's.
    void Assign(const TfrxCollection &Source)
    {
        if (&Source == this)
            return;
        Clear();
        for (int i = 0; i < Source.Count(); ++i)
            Add()->Assign(*Source.Items(i));
    }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

// How a memo formats the values of its expressions.
class TfrxFormat : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString DecimalSeparator READ DecimalSeparator WRITE SetDecimalSeparator)
    Q_PROPERTY(QString ThousandSeparator READ ThousandSeparator WRITE SetThousandSeparator)
    Q_PROPERTY(QString FormatStr READ FormatStr WRITE SetFormatStr)
    Q_PROPERTY(rudEnums::TfrxFormatKind Kind READ Kind WRITE SetKind)
public:
    static TfrxPropDescs PropDescs();
    void Assign(const TfrxFormat &Source);
    bool operator==(const TfrxFormat &Other) const;

    const QString &DecimalSeparator() const { return FDecimalSeparator; }
    void SetDecimalSeparator(const QString &Value) { FDecimalSeparator = Value; }
    const QString &ThousandSeparator() const { return FThousandSeparator; }
    void SetThousandSeparator(const QString &Value) { FThousandSeparator = Value; }
    const QString &FormatStr() const { return FFormatStr; }
    void SetFormatStr(const QString &Value) { FFormatStr = Value; }
    TfrxFormatKind Kind() const { return FKind; }
    void SetKind(TfrxFormatKind Value) { FKind = Value; }

private:
    QString FDecimalSeparator, FThousandSeparator, FFormatStr;
    TfrxFormatKind FKind = fkText;
};

// A conditional look of a memo: when Condition holds, its font, fill and
// frame replace the memo's (as far as the Apply flags say).
class TfrxHighlight : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive STORED false)
    Q_PROPERTY(bool ApplyFont READ ApplyFont WRITE SetApplyFont)
    Q_PROPERTY(bool ApplyFill READ ApplyFill WRITE SetApplyFill)
    Q_PROPERTY(bool ApplyFrame READ ApplyFrame WRITE SetApplyFrame)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(int Color READ Color WRITE SetColor STORED false)
    Q_PROPERTY(QString Condition READ Condition WRITE SetCondition)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    TfrxHighlight();
    ~TfrxHighlight() override;
    static TfrxPropDescs PropDescs();
    // Copies the apply flags, font, fill (its kind first), frame, condition and Visible.
    void Assign(const TfrxHighlight &Source);

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    bool ApplyFont() const { return FApplyFont; }
    void SetApplyFont(bool Value) { FApplyFont = Value; }
    bool ApplyFill() const { return FApplyFill; }
    void SetApplyFill(bool Value) { FApplyFill = Value; }
    bool ApplyFrame() const { return FApplyFrame; }
    void SetApplyFrame(bool Value) { FApplyFrame = Value; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);
    // The brush fill's back colour; clTransparent for other fills.
    TColor Color() const;
    void SetColor(TColor Value);
    const QString &Condition() const { return FCondition; }
    void SetCondition(const QString &Value) { FCondition = Value; }
    TfrxFillType FillType() const { return FFill->FillType(); }
    void SetFillType(TfrxFillType Value);
    TfrxCustomFill *Fill() const { return FFill.get(); }
    void SetFill(TfrxCustomFill *Value);
    TfrxFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TfrxFrame *Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }

private:
    bool FActive = false;
    bool FApplyFont = true;
    bool FApplyFill = true;
    bool FApplyFrame = false;
    std::unique_ptr<TFont> FFont;
    QString FCondition;
    std::unique_ptr<TfrxCustomFill> FFill;
    std::unique_ptr<TfrxFrame> FFrame;
    bool FVisible = true;
};

using TfrxFormatCollection = TfrxCollection<TfrxFormat>;
using TfrxHighlightCollection = TfrxCollection<TfrxHighlight>;
