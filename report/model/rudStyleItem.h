#pragma once
// A named style of the report's style sheet: the colour, font and frame that
// a memo naming the style takes over.

#include "report/model/rudFont.h"
#include "report/model/rudFrame.h"
#include "report/model/rudPropInfo.h"

#include <memory>

class TfrxStyles;

// One style of the report's Styles collection.
class TfrxStyleItem : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(QString InheritedName READ InheritedName WRITE SetInheritedName STORED false)
public:
    // A style without a name: transparent, default font, no frame. Collection
    // (when given) is the style sheet that keeps the names unique.
    explicit TfrxStyleItem(TfrxStyles *Collection = nullptr);
    ~TfrxStyleItem() override;
    static TfrxPropDescs PropDescs();
    // Copies name, colour, font and frame.
    void Assign(const TfrxStyleItem &Source);

    const QString &Name() const { return FName; }
    // Renames; raises EGeneralError "Duplicate name" when another style of
    // the collection has that name (case ignored).
    void SetName(const QString &Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);
    TfrxFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TfrxFrame *Value);
    // The name under which an inherited report knows the style: its name.
    const QString &InheritedName() const { return FName; }
    void SetInheritedName(const QString &Value) { SetName(Value); }
    // Names the style "Style" + the first number no style of the collection has.
    void CreateUniqueName();
    TfrxStyles *Collection() const { return FCollection; }

private:
    TfrxStyles *FCollection;
    QString FName;
    TColor FColor = clTransparent;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TfrxFrame> FFrame;
};
