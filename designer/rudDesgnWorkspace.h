#pragma once
// The page editing surface, the generic base of the design workspace
// (TfrxDesignerWorkspace): one page of the report drawn at the current
// scale and edited with mouse and keyboard (selecting, moving and resizing
// with the grid, inserting, band heights, in-place memo text, alignment,
// grouping, deleting). Guides and pasting are added by rudGuidedWorkspace.h,
// scrolling and rulers by rudRulerScrollArea.h. It talks to the designer
// window through its signals and the shared selection model only; the
// window owns the object list and the selection it edits.
//
// Coordinates: objects keep page units (pixels at 96 per inch). A page point
// is measured from the corner of the page's printable area (inside the
// margins); the widget shows it at PageOrigin() + point x Scale().
//
// Note: TfrxDesignMode1's dmNone shares its name with the duplex mode of
// rudEnums.h: write TfrxDesignMode1::dmNone (and TfrxDuplexMode::dmNone)
// where this header is included. The page header, which names the duplex
// mode bare, is included before the name is declared twice.

#include "designer/rudCustomDesigner.h"
#include "designer/rudSelectionModel.h"
#include "report/model/rudEnums.h"
#include "report/model/rudPage.h"

#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>

class TfrxBand;
class TfrxCanvas;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxPage;
class TfrxView;

// How the grid is drawn: steps of points, centimetres or inches, the
// dialog grid, character cells, or no grid (and no snapping).
enum TfrxGridType { gt1pt, gt1cm, gt1in, gtDialog, gtChar, gtNone };

// What a mouse drag does.
enum TfrxDesignMode1 {
    dmNone, dmMove, dmSize, dmSizeBand, dmScale, dmInplaceEdit, dmSelectionRect, dmInsertObject, dmInsertLine,
    dmMoveGuide, dmContainer
};

// The object being inserted: its class, its rectangle in page units from
// the printable area's corner (filled in by the workspace) and its default
// size.
struct TfrxInsertion {
    // Flags bit: a line keeps its slant (a diagonal line tool).
    static constexpr int DiagonalLine = 1;
    const QMetaObject *ComponentClass = nullptr;
    double Left = 0, Top = 0, Width = 0, Height = 0, OriginalWidth = 0, OriginalHeight = 0;
    int Flags = 0;
};

// The editing core of the design workspace; see the file comment.
class TfrxDesignerWorkspace : public QWidget {
    Q_OBJECT
public:
    explicit TfrxDesignerWorkspace(QWidget *Parent = nullptr);
    ~TfrxDesignerWorkspace() override;

    // The page shown (a report page or a dialog page; not owned). Marks the
    // page's objects as being designed; a new page empties the selection to
    // the page itself.
    void SetPage(TfrxPage *Page);
    TfrxPage *Page() const { return FPage; }
    // The object list belongs to the designer window (its Objects()): the
    // workspace reads it and drops what it deletes. Without it (nullptr)
    // the workspace keeps a list of its own, refilled by SetPage.
    void SetObjects(QList<TfrxComponent *> *Objects);
    QList<TfrxComponent *> &Objects() const { return *FObjects; }
    // The selection shown and changed: the designer window's, shared with
    // the inspector and the report tree (set before the page); without it
    // (nullptr, or once it is gone) one of the workspace's own. Changes the
    // workspace makes are announced through it with the workspace as sender.
    void SetSelectionModel(TfrxSelectionModel *Selection);
    TfrxSelectionModel &Selection() const { return FSelection ? *FSelection : FOwnSelection; }

    // 1 is 100 %; the widget resizes to the page at this scale.
    double Scale() const { return FScale; }
    void SetScale(double Value);
    TfrxGridType GridType() const { return FGridType; }
    void SetGridType(TfrxGridType Value);
    // The grid steps across and down, page units.
    double GridX() const { return FGridX; }
    double GridY() const { return FGridY; }
    void SetGrid(double X, double Y);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool Value);
    bool GridAlign() const { return FGridAlign; }
    void SetGridAlign(bool Value) { FGridAlign = Value; }
    // The grid drawn as dotted lines instead of points.
    bool GridLCD() const { return FGridLCD; }
    void SetGridLCD(bool Value);
    // The designer's units: they give an inserted object its default size.
    TfrxDesignerUnits Units() const { return FUnits; }
    void SetUnits(TfrxDesignerUnits Value) { FUnits = Value; }
    // Band captions drawn above the bands (and counted in their layout).
    bool ShowBandCaptions() const { return FShowBandCaptions; }
    void SetShowBandCaptions(bool Value);
    // Page units left between bands by AdjustBands.
    double BandsGap() const { return FBandsGap; }
    void SetBandsGap(double Value) { FBandsGap = Value; }
    // Bands stay where they are put (AdjustBands leaves them alone).
    bool FreeBands() const { return FFreeBands; }
    void SetFreeBands(bool Value) { FFreeBands = Value; }
    // The colour around the paper.
    QColor WorkspaceColor() const { return FWorkspaceColor; }
    void SetWorkspaceColor(const QColor &Value);

    TfrxDesignMode1 Mode() const { return FMode; }
    // The armed or last insertion.
    TfrxInsertion &Insertion() { return FInsertion; }
    // Arms the insertion of ComponentClass (nullptr: the arrow tool). A
    // Width or Height of 0 or less takes the default size of the units
    // (a line: the default width and no height). A line tool stays armed
    // after each object; any other ends after one object is placed, unless
    // the Insert handler arms it again.
    void SetInsertion(const QMetaObject *ComponentClass, double Width, double Height, int Flags = 0);
    // The default size of an inserted object in Units: 2.5 x 0.5 cm,
    // 1 x 0.2 in, 80 x 16 px, 10 characters x 1 line; page units.
    static QSizeF DefaultInsertionSize(TfrxDesignerUnits Units);

    // Deletes the selection. Objects with rfDontDelete are skipped; an
    // object inherited from an ancestor report stops the command with an
    // error message box (userInterface()), the objects before it deleted.
    void DeleteObjects();
    // Gives the selection the smallest group number not used on the page.
    void GroupObjects();
    void UngroupObjects();
    // The alignment palette. The first selected object is the reference;
    // objects with rfDontMove are not moved, with rfDontSize not resized.
    // Centring in the band uses the printable area for objects that lie
    // on the page itself. Each command that runs emits Modified.
    void AlignLeft();
    void AlignRight();
    void AlignMiddle();
    void AlignTop();
    void AlignBottom();
    void AlignCenter();
    void SpaceHorizontally();
    void SpaceVertically();
    void CenterHorizontallyInBand();
    void CenterVerticallyInBand();
    void SameWidth();
    void SameHeight();

    // After changes made elsewhere (inspector, undo, insertion): marks new
    // objects as designed, drops vanished ones from the selection, resizes
    // and repaints.
    void UpdateView();
    // Re-lays out the bands of a report page: in order of their tops, one
    // under the other with the caption strip and the gap between them,
    // across the printable width (nothing with FreeBands).
    void AdjustBands();

    // Geometry. The widget point of the printable area's corner.
    QPointF PageOrigin() const;
    // The paper in widget pixels.
    QRectF PaperRect() const;
    // Page units of the printable area: size of a report page inside its
    // margins, else the page's own size.
    QSizeF PrintableSize() const;
    QPointF ToPage(const QPointF &WidgetPoint) const;
    QPointF ToWidget(const QPointF &PagePoint) const;
    // An object's rectangle from the printable area's corner (a band's
    // caption strip not included), normalised.
    static QRectF AbsRect(const TfrxComponent *Obj);
    // Height of a band's caption strip, page units (0 without captions).
    double BandCaptionHeight() const;

    // Hit tests, page units. The topmost object containing P, or nullptr.
    TfrxComponent *ObjectAt(const QPointF &P) const;
    // The size handle of the single selected object under P (1 to 10), or 0.
    int HandleAt(const QPointF &P) const;
    // The band whose bottom edge (right edge when vertical) lies under P.
    TfrxBand *BandEdgeAt(const QPointF &P) const;
    // True when P lies on the scaling corner of a multi-selection's frame.
    bool ScaleCornerAt(const QPointF &P) const;
    // The frame around the selected objects, page units (empty without).
    QRectF SelectionBounds() const;
    // The rubber band while it is dragged, page units, normalised.
    QRectF SelectionRect() const { return FSelectionRect.normalized(); }

    // In-place text editing of a memo: an edit box with its text and font
    // over it. Closing it with changed text replaces the memo's text.
    void EditInplace(TfrxCustomMemoView *Memo);
    bool InplaceEditing() const;
    // Closes the edit box; Apply false drops what was typed.
    void FinishInplaceEdit(bool Apply = true);
    QPlainTextEdit *InplaceEditor() const { return FInplaceEditor; }

    QSize sizeHint() const override;

signals:
    // The selection's position and size after a step (the single object's
    // Left, Top, Width, Height; a multi-selection's frame; the insertion
    // rectangle), page units; an empty rectangle for the page.
    void NotifyPosition(const QRectF &Rect);
    // A change was made: the window records an undo snapshot.
    void Modified();
    // An insertion rectangle is complete (Insertion() holds it): the window
    // creates the object.
    void Insert();
    // Double click or Enter on the selection: the window opens its editor.
    void EditRequested();
    void ContextPopup(const QPoint &GlobalPos);
    // Ctrl + wheel changed the scale (the window updates its zoom box).
    void ScaleChanged(double Scale);
    // Scale, page or size changed: rulers and scroll area follow.
    void ViewChanged();

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    bool focusNextPrevChild(bool Next) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

    // Hooks of the designer's own workspace.
    // Changes a drag step so that moving edges snap (XEdges and YEdges are
    // the absolute positions of the edges moving across and down, before
    // the step). The core leaves the step as it is.
    virtual QPointF AdjustStep(const QPointF &Step, const QList<double> &XEdges, const QList<double> &YEdges);
    // A drag ended (after the mouse up's changes).
    virtual void DragFinished() {}
    // Paints over everything else (guides); Dirty is the widget area being repainted.
    virtual void DrawOverlay(QPainter &Painter, const QRect &Dirty);

    void SetMode(TfrxDesignMode1 Value) { FMode = Value; }
    // Sets the mode and cursor for the mouse resting at P (no button held):
    // a size handle, the scaling corner, a band edge, Alt over a memo, or
    // the armed insertion following the mouse.
    virtual void UpdateHoverMode(const QPointF &P, Qt::KeyboardModifiers Modifiers);
    // The step of a drag from FLastPoint to P with the grid (Alt inverts
    // alignment); FLastPoint advances by what is returned.
    QPointF GridStep(const QPointF &P, Qt::KeyboardModifiers Modifiers);
    bool AlignsToGrid(Qt::KeyboardModifiers Modifiers) const;
    // P snapped to the nearest grid point when aligning.
    QPointF SnapPoint(const QPointF &P, Qt::KeyboardModifiers Modifiers) const;
    // Adds (Dx, Dy) to the selection as a drag does.
    void MoveSelection(double Dx, double Dy);
    // Rounds the selection's bounds to 8 decimals.
    void RoundSelection();
    // Repaints the area of the selection (before and after a change).
    void InvalidateSelection();
    void InvalidatePageRect(const QRectF &PageRect);
    // Emits NotifyPosition for the current selection.
    void NotifySelectionPosition();
    // The edges that move with a drag in the current mode, absolute.
    void MovingEdges(QList<double> &XEdges, QList<double> &YEdges) const;
    // Removes Obj and its descendants from the object list and the selection.
    void ForgetObject(TfrxComponent *Obj);

    QPointF FLastPoint;       // page point where the last drag step ended
    bool FMouseDown = false;  // the left button is held in the workspace
    bool FModifyFlag = false; // the drag changed something

private:
    void ResizeSelected(double Dx, double Dy);
    void ScaleSelection(double Dx, double Dy);
    void UpdateInsertionPosition(const QPointF &P, Qt::KeyboardModifiers Modifiers);
    void FinishInsertion();
    void SelectInRubberBand();
    void SaveAligns();
    void RestoreAligns();
    void MarkDesigning();
    void UpdateSize();
    void ArmedModeAfterInsert();
    bool InsertionIsLine() const;
    QRectF InsertionRect() const;

    // Keyboard (rudDesgnWorkspaceKeys.cpp).
    void SelectNearest(int Key);
    void MoveToNearest(int Key);
    void MoveByKey(int Key, double StepX, double StepY);
    void ResizeByKey(int Key);
    void SelectNextByTab();
    void FinishKeyChange();
    // The views in the strip ahead of Obj towards Key, with their gaps.
    QList<QPair<TfrxComponent *, double>> StripAhead(TfrxComponent *Obj, int Key) const;

    // The alignment palette (rudDesgnWorkspaceCommands.cpp).
    bool AlignCommand(int Needs, const std::function<void(TfrxComponent *Ref, TfrxComponent *Obj)> &Apply);
    void SpaceCommand(bool Horizontal);
    void CenterInBand(bool Horizontal);

    // Drawing (rudDesgnWorkspaceDraw.cpp).
    void DrawPaper(QPainter &Painter, const QRect &Dirty);
    void DrawGrid(QPainter &Painter, const QRect &Dirty);
    void DrawBand(QPainter &Painter, TfrxBand *Band);
    void DrawObjects(QPainter &Painter, const QRect &Dirty);
    void DrawSelection(QPainter &Painter);
    void DrawInsertion(QPainter &Painter);

    TfrxPage *FPage = nullptr;
    QList<TfrxComponent *> FOwnObjects;
    QList<TfrxComponent *> *FObjects = &FOwnObjects;
    QPointer<TfrxSelectionModel> FSelection;
    mutable TfrxSelectionModel FOwnSelection;
    double FScale = 1;
    TfrxGridType FGridType = gt1cm;
    double FGridX = 3.77953, FGridY = 3.77953;
    bool FShowGrid = true, FGridAlign = true, FGridLCD = false;
    TfrxDesignerUnits FUnits = duCM;
    bool FShowBandCaptions = true;
    double FBandsGap = 4;
    bool FFreeBands = false;
    QColor FWorkspaceColor;
    TfrxDesignMode1 FMode = TfrxDesignMode1::dmNone;
    int FSizeHandle = 0;
    TfrxInsertion FInsertion;
    int FInsertionGeneration = 0;
    QPointF FInsertStart;
    bool FInsertionVisible = false;
    QRectF FSelectionRect;
    QPointer<TfrxBand> FSizedBand;
    QList<QPair<QPointer<TfrxView>, TfrxAlign>> FSavedAligns;
    QList<TfrxComponent *> FSelectionBefore;
    QPointer<QPlainTextEdit> FInplaceEditor;
    QPointer<TfrxCustomMemoView> FInplaceMemo;
    QSize FInplaceOpenSize;
};
