#pragma once
// Line objects: a straight line along the object's rectangle (horizontal,
// vertical or, when diagonal, corner to corner), drawn with the frame's
// pen, optionally with arrow heads.

#include "report/model/rudView.h"

// The line without arrows: its geometry and pen.
class TfrxCustomLineView : public TfrxStretcheable {
    Q_OBJECT
    Q_PROPERTY(bool Diagonal READ Diagonal WRITE SetDiagonal)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
public:
    explicit TfrxCustomLineView(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    // False: the line runs along the rectangle's zero side (width 0:
    // vertical, height 0: horizontal); True: from the top-left corner to the
    // opposite one (negative sizes turn it).
    bool Diagonal() const { return FDiagonal; }
    void SetDiagonal(bool Value) { FDiagonal = Value; }

    bool ArrowEnd() const { return FArrowEnd; }
    void SetArrowEnd(bool Value) { FArrowEnd = Value; }
    // Arrow head size in pixels along and across the line.
    int ArrowLength() const { return FArrowLength; }
    void SetArrowLength(int Value) { FArrowLength = Value; }
    bool ArrowSolid() const { return FArrowSolid; }
    void SetArrowSolid(bool Value) { FArrowSolid = Value; }
    bool ArrowStart() const { return FArrowStart; }
    void SetArrowStart(bool Value) { FArrowStart = Value; }
    int ArrowWidth() const { return FArrowWidth; }
    void SetArrowWidth(int Value) { FArrowWidth = Value; }

private:
    bool FDiagonal = false;
    bool FArrowEnd = false;
    int FArrowLength = 20;
    bool FArrowSolid = false;
    bool FArrowStart = false;
    int FArrowWidth = 5;
};

// The line object of the designer: arrows, cursor and tag published.
class TfrxLineView : public TfrxCustomLineView {
    Q_OBJECT
    Q_PROPERTY(bool ArrowEnd READ ArrowEnd WRITE SetArrowEnd)
    Q_PROPERTY(int ArrowLength READ ArrowLength WRITE SetArrowLength)
    Q_PROPERTY(bool ArrowSolid READ ArrowSolid WRITE SetArrowSolid)
    Q_PROPERTY(bool ArrowStart READ ArrowStart WRITE SetArrowStart)
    Q_PROPERTY(int ArrowWidth READ ArrowWidth WRITE SetArrowWidth)
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString TagStr READ TagStr WRITE SetTagStr)
    Q_PROPERTY(QString URL READ URL WRITE SetURL STORED false)
public:
    explicit TfrxLineView(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();
};
