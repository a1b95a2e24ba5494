#pragma once
// The shape object: a rectangle, rounded rectangle, ellipse, triangle,
// diamond or diagonal drawn with the frame's pen and filled with its fill.

#include "report/model/rudView.h"

// A geometric figure filling the object's rectangle.
class TfrxShapeView : public TfrxView {
    Q_OBJECT
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(int Curve READ Curve WRITE SetCurve)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(TfrxShapeKind Shape READ Shape WRITE SetShape)
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr)
    Q_PROPERTY(QString URL READ URL WRITE SetURL STORED false)
public:
    // The figures; the diagonals run from top-left and from bottom-left.
    enum TfrxShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2 };
    Q_ENUM(TfrxShapeKind)

    explicit TfrxShapeView(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    // Corner rounding of skRoundRectangle in tenths of the smaller side; 0
    // for the default rounding.
    int Curve() const { return FCurve; }
    void SetCurve(int Value) { FCurve = Value; }
    TfrxShapeKind Shape() const { return FShape; }
    void SetShape(TfrxShapeKind Value) { FShape = Value; }

private:
    int FCurve = 0;
    TfrxShapeKind FShape = skRectangle;
};
