#pragma once
// The rulers of the design workspace: a strip along the top or the left of
// the page with marks in the designer's units, zero at the corner of the
// printable area, following the scale and the scroll position. Dragging
// out of a ruler makes a guide line.

#include "designer/rudCustomDesigner.h"

#include <QWidget>

// See the file comment.
class TfrxRuler : public QWidget {
    Q_OBJECT
public:
    // Thickness of a ruler, pixels.
    static constexpr int Thickness = 20;

    // Qt::Horizontal: the ruler above the page (marks across).
    explicit TfrxRuler(Qt::Orientation Orientation, QWidget *Parent = nullptr);

    Qt::Orientation Orientation() const { return FOrientation; }
    TfrxDesignerUnits Units() const { return FUnits; }
    void SetUnits(TfrxDesignerUnits Value);
    double Scale() const { return FScale; }
    void SetScale(double Value);
    // The ruler's pixel (along it) where the printable area begins.
    double Offset() const { return FOffset; }
    void SetOffset(double Value);
    // Page units from zero to the end of the printable area (drawn white).
    double Size() const { return FSize; }
    void SetSize(double Value);
    // The page position the ruler shows at its pixel Pos (along it).
    double PageAt(double Pos) const { return (Pos - FOffset) / FScale; }
    // Page units between two marks of the unit, and the marks counted
    // between two numbers: 1 mm and 10, 1/8 in and 8, 10 px and 10, one
    // character and 10.
    double MarkStep() const;
    int MarksPerNumber() const;

    QSize sizeHint() const override;

signals:
    // The mouse pressed on the ruler is dragged (Drop false) or released
    // (Drop true) at GlobalPos: a guide across for the top ruler
    // (HorizontalGuide), down for the left one.
    void GuideDragged(bool HorizontalGuide, const QPoint &GlobalPos, bool Drop);

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;

private:
    Qt::Orientation FOrientation;
    TfrxDesignerUnits FUnits = duCM;
    double FScale = 1;
    double FOffset = 0;
    double FSize = 0;
    bool FDragging = false;
};
