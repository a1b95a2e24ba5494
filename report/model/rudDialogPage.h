#pragma once
// The dialog page: a window shown to the person preparing the report
// (before or between its pages) with the dialog controls placed on it, and
// the base of the non-visual components that may lie on such a page.

#include "report/model/rudPage.h"
#include "report/model/rudUnits.h"

// A page that is a dialog window: its caption, border, colour, placement on
// the screen and window events. Positions of its controls are measured from
// the window's client area.
class TfrxDialogPage : public TfrxPage {
    Q_OBJECT
    Q_PROPERTY(TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(QString OnActivate READ OnActivate WRITE SetOnActivate)
    Q_PROPERTY(QString OnClick READ OnClick WRITE SetOnClick)
    Q_PROPERTY(QString OnDeactivate READ OnDeactivate WRITE SetOnDeactivate)
    Q_PROPERTY(QString OnHide READ OnHide WRITE SetOnHide)
    Q_PROPERTY(QString OnKeyDown READ OnKeyDown WRITE SetOnKeyDown)
    Q_PROPERTY(QString OnKeyPress READ OnKeyPress WRITE SetOnKeyPress)
    Q_PROPERTY(QString OnKeyUp READ OnKeyUp WRITE SetOnKeyUp)
    Q_PROPERTY(QString OnResize READ OnResize WRITE SetOnResize)
    Q_PROPERTY(QString OnShow READ OnShow WRITE SetOnShow)
public:
    enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(TFormBorderStyle)
    enum TPosition {
        poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter
    };
    Q_ENUM(TPosition)
    enum TWindowState { wsNormal, wsMinimized, wsMaximized };
    Q_ENUM(TWindowState)

    // The button-face colour of dialog windows (a system colour).
    static constexpr TColor clBtnFace = int(0xFF00000F);

    // A 300 x 200 window centred on the screen, with the dialog font.
    explicit TfrxDialogPage(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &Value) { FCaption = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value) { FWindowState = Value; }

#define RUD_DIALOG_EVENT(N)                                                                                          \
    const QString &N() const { return F##N; }                                                                       \
    void Set##N(const QString &Value) { F##N = Value; }
    RUD_DIALOG_EVENT(OnActivate)
    RUD_DIALOG_EVENT(OnClick)
    RUD_DIALOG_EVENT(OnDeactivate)
    RUD_DIALOG_EVENT(OnHide)
    RUD_DIALOG_EVENT(OnKeyDown)
    RUD_DIALOG_EVENT(OnKeyPress)
    RUD_DIALOG_EVENT(OnKeyUp)
    RUD_DIALOG_EVENT(OnResize)
    RUD_DIALOG_EVENT(OnShow)
#undef RUD_DIALOG_EVENT

private:
    TFormBorderStyle FBorderStyle = bsDialog;
    QString FCaption;
    TColor FColor = clBtnFace;
    TPosition FPosition = poScreenCenter;
    TWindowState FWindowState = wsNormal;
    QString FOnActivate, FOnClick, FOnDeactivate, FOnHide, FOnKeyDown, FOnKeyPress, FOnKeyUp, FOnResize, FOnShow;
};

// Base of the non-visual components of dialog pages (data connections and
// the like): they have a design position and nothing to draw. A report's
// data page is their proper place (TfrxReport::CheckDataPage moves them).
class TfrxDialogComponent : public TfrxReportComponent {
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
public:
    explicit TfrxDialogComponent(TfrxComponent *AOwner);
};
