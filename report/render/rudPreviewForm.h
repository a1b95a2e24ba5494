#pragma once
// The preview window: a toolbar of the report's preview buttons, the
// preview control and a three-panel status bar.

#include "report/render/rudPreview.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class QStatusBar;
class TfrxReport;

// The window ShowPreparedReport opens over a report's prepared pages.
class TfrxPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TfrxPreviewForm(QWidget *Parent = nullptr);
    ~TfrxPreviewForm() override;

    TfrxPreview *Preview() const { return FPreview; }
    TfrxReport *Report() const;
    // Binds the window and its control to Report.
    void SetReport(TfrxReport *Report);
    // Applies the report's preview options: window state, zoom, the buttons
    // shown, captions, and the window caption.
    void Init();

    // Full screen: the pages alone on the whole screen (no toolbar, no
    // status bar, no border); the second call brings the window back as it
    // was: place, size, window state, zoom, page and scroll position.
    void SwitchToFullScreen();
    bool IsFullScreen() const { return FFullScreen; }
    // Applies the zoom box's text or entry.
    void ZoomCBApply();
    // Goes to the page typed into the page field.
    void PageEApply();
    // The status bar's first panel text.
    QString StatusText() const;

    QToolBar *ToolBar = nullptr;
    QToolButton *PrintB = nullptr, *OpenB = nullptr, *SaveB = nullptr, *FindB = nullptr,
                *ZoomPlusB = nullptr, *ZoomMinusB = nullptr, *FullScreenBtn = nullptr,
                *OutlineB = nullptr, *ThumbB = nullptr, *PageSettingsB = nullptr,
                *DesignerB = nullptr, *FirstB = nullptr, *PriorB = nullptr, *NextB = nullptr,
                *LastB = nullptr, *CancelB = nullptr;
    QComboBox *ZoomCB = nullptr;
    QLineEdit *PageE = nullptr;
    QLabel *OfNL = nullptr;
    QStatusBar *StatusBar = nullptr;
    // The full-screen button while the toolbar is hidden by full screen: in
    // the window's top right corner.
    QToolButton *FullScreenExitB = nullptr;
    QLabel *StatusPanels[3] = {};
    // The right-button menu, rebuilt by Init from the visible buttons.
    QMenu *RightMenu = nullptr;
    QMenu *SaveMenu = nullptr;

protected:
    void keyPressEvent(QKeyEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;
    void contextMenuEvent(QContextMenuEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void BuildRightMenu();
    void UpdateStatus();
    void UpdateZoom();
    void CancelBClick();

    TfrxPreview *FPreview = nullptr;
    QList<QAction *> FSeparators;
    QMenu *FDesignerMenu = nullptr;
    bool FFullScreen = false;
    // The window before full screen.
    QRect FSavedGeometry;
    // Made when the window was closed while its pages were being prepared:
    // it closes the window once the preparation has stopped.
    QMetaObject::Connection FCloseWhenStopped;
    Qt::WindowStates FSavedState;
    TfrxPreviewView FSavedView;
};
