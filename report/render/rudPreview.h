#pragma once
// The preview control: the prepared pages of a report on a scrolling grey
// workspace, with a thumbnail strip, an outline tree, zoom, navigation,
// text search and the page commands the preview window offers.

#include "report/model/rudEnums.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreviewPageList.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>

class QLabel;
class QPainter;
class QPushButton;
class QSplitter;
class QTabBar;
class QTreeWidget;
class TfrxPreview;

// A scrolling surface that paints prepared pages: the main view, and (at
// zoom 0.1, with page numbers) the thumbnail strip.
class TfrxPreviewWorkspace : public QAbstractScrollArea {
    Q_OBJECT
public:
    TfrxPreviewWorkspace(TfrxPreview *Preview, bool IsThumbnail, QWidget *Parent);

    QColor BackColor = QColor(0x80, 0x80, 0x80);
    QColor FrameColor = QColor(0x60, 0x60, 0x60);
    // Stored with red in the lowest byte: 3CC7FF is an orange-yellow.
    QColor ActiveFrameColor = QColor(0xFF, 0xC7, 0x3C);

    double Zoom() const { return FZoom; }
    void SetZoom(double Value) { FZoom = Value; }
    const TfrxPageList &PageList() const { return FPageList; }
    bool IsThumbnail() const { return FIsThumbnail; }
    // Rebuilds the page list for Count pages at the current zoom and places it.
    void CalcPages(int Count);
    // Places the known pages again (after a resize).
    void UpdateBounds();
    // The page's rectangle in viewport coordinates.
    QRect PageRect(int Index) const;
    // Scrolls so that the page's top lies 10 pixels below the view's top.
    void ScrollToPage(int Index);
    // The last search hit (page index and its rectangle at scale 1); the
    // painted hit is inverted. Index -1: none.
    int FoundPage = -1;
    QRectF FoundRect;
    // Scrolls so that Rect (viewport coordinates) lies inside with 20 pixels to spare.
    void ScrollIntoView(const QRect &Rect);
    // The client width pages are laid out in: viewport minus scroll bar minus 26.
    int LayoutWidth() const;

signals:
    // The page at the top of the view changed by scrolling or a click.
    void PageAtTop(int Index);
    void PageClicked(int Index);

protected:
    void paintEvent(QPaintEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void scrollContentsBy(int DX, int DY) override;

private:
    void UpdateScrollBars();
    void PaintPage(QPainter &Painter, int Index, const QRect &Rect);

    TfrxPreview *FPreview;
    bool FIsThumbnail;
    double FZoom = 1;
    TfrxPageList FPageList;
    QPoint FDragStart;
    QPoint FDragScroll;
    bool FDragging = false;
    bool FDragged = false;
};

// One text output of a page drawn at scale 1, as the search reads it.
struct TfrxPreviewTextRecord {
    QString Text;
    QRectF Bounds;
};

// What the user sees of the pages: zoom, zoom mode, current page and the
// main view's scroll position.
struct TfrxPreviewView {
    double Zoom = 1;
    TfrxZoomMode ZoomMode = zmDefault;
    int PageNo = 1;
    QPoint Scroll;
};

// The control: the report's prepared pages with their navigation state.
class TfrxPreview : public QWidget {
    Q_OBJECT
public:
    explicit TfrxPreview(QWidget *Parent = nullptr);
    ~TfrxPreview() override;

    TfrxReport *Report() const { return FReport; }
    // Binds the control to Report and its prepared pages store.
    void SetReport(TfrxReport *Report);
    // Applies the report's preview options and shows the pages there are.
    void Init();

    int PageCount() const;
    // The current page, 1-based; setting clamps to 1..PageCount and scrolls there.
    int PageNo() const { return FPageNo; }
    void SetPageNo(int Value);
    void First();
    void Prior();
    void Next();
    void Last();

    double Zoom() const { return FZoom; }
    // Values below 0.25 become 0.25; the zoom mode becomes zmDefault.
    void SetZoom(double Value);
    TfrxZoomMode ZoomMode() const { return FZoomMode; }
    void SetZoomMode(TfrxZoomMode Value);
    // The zoom buttons: plus and minus 0.25 (never below 0.25).
    void ZoomIn();
    void ZoomOut();
    // Ctrl + wheel: 0.1 per notch, never below 0.3 on the way down.
    void WheelZoom(int Notches);
    // The view as it is, and going back to one taken earlier: the same zoom
    // (or zoom mode), current page and scroll position (as far as the
    // view's current size allows).
    TfrxPreviewView View() const;
    void SetView(const TfrxPreviewView &Value);

    // Printing (the printer dialog and job); re-enables the window afterwards.
    void Print();
    // Prepared-report files.
    void SaveToFile();
    void SaveToFile(const QString &FileName);
    void LoadFromFile();
    void LoadFromFile(const QString &FileName);
    // Asks for a text and searches it; FindNext repeats the last search
    // after its last hit and does nothing before any search.
    void Find();
    void FindNext();
    // Searches from page 1 (FromTop) or the current page; scrolls to the hit.
    bool FindText(const QString &SearchString, bool FromTop, bool IsCaseSensitive);
    void PageSetupDlg();
    // Opens a copy of the current prepared page in the designer (the
    // report's DesignPreviewPage service); a changed copy replaces the page.
    void Edit();
    // Opens the store's source pages in the designer, leaving them in the store.
    void ShowTemplate();
    // Expands or collapses the whole outline tree.
    void ExpandOutline(bool Expand);
    // Stops a running preparation.
    void Cancel();
    // The pages are in use (being replaced, or printed): nothing is painted,
    // and the page commands (open, save, page settings, edit, refresh,
    // print) do nothing until the last Unlock.
    void Lock();
    void Unlock();
    // Prepares the report again and shows the new pages.
    void RefreshReport();
    // Re-reads the page count and sizes, lays the pages out and repaints.
    void UpdatePages();

    // Preparation progress: the first report clears the view and marks it
    // running; every page report adds the page while there are fewer than
    // 50; the stop report shows all pages.
    Q_INVOKABLE void InternalOnProgressStart();
    Q_INVOKABLE void InternalOnProgress(int PageCount);
    Q_INVOKABLE void InternalOnProgressStop();
    // Preparation ended without pages to show: closes the preview window
    // this control fills (a host's own window that holds the control stays).
    Q_INVOKABLE void ClosePreviewWindow();
    bool Running() const { return FRunning; }
    // The status panel text during the first pass of a double pass
    // ("First pass: page " and the count; "" otherwise).
    Q_INVOKABLE void SetFirstPassPage(int Count);
    QString FirstPassText() const;

    TfrxPreviewWorkspace *Workspace() const { return FWorkspace; }
    TfrxPreviewWorkspace *Thumbnail() const { return FThumbnail; }
    QTreeWidget *OutlineTree() const { return FOutline; }
    void SetOutlineVisible(bool Value);
    bool OutlineVisible() const;
    void SetThumbnailVisible(bool Value);
    bool ThumbnailVisible() const;
    // Fills the outline tree from the prepared report's outline.
    void UpdateOutline();

    // Text outputs of a page drawn at scale 1, in drawing order.
    QList<TfrxPreviewTextRecord> PageTextRecords(int Index) const;
    // Draws prepared page Index at Scale with its top-left corner at Offset.
    void DrawPage(int Index, QPainter &Painter, double Scale, QPointF Offset) const;
    // The page's size in page units ((0, 0) for an index out of range).
    QSize PageSize(int Index) const;
    bool Locked() const { return FLocked > 0; }

signals:
    // Page number, page count or running state changed.
    void StatusChanged();
    void ZoomChanged();
    // A double click in the view: the window toggles full screen.
    void ToggleFullScreen();

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    int PreparedPageCount() const;
    void FillOutline(QTreeWidget *Tree) const;
    bool SearchFrom(int StartPage);
    void EditPreparedPage(class TfrxCustomPreviewPages &Pages);
    void ApplyZoomMode();
    void SetPageNoFromView(int Index);
    bool CanRunCommand() const;

    QPointer<TfrxReport> FReport;
    int FPageNo = 1;
    double FZoom = 1;
    TfrxZoomMode FZoomMode = zmDefault;
    bool FRunning = false;
    int FLocked = 0;
    int FShownPages = 0;
    int FRefreshEvery = 0;
    qint64 FFirstProgressTime = -1;
    int FProgressReports = 0;
    QString FFirstPassText;
    bool FScrollingToPage = false;

    // The last search, for FindNext.
    QString FSearchText;
    bool FSearchCase = false;
    bool FSearched = false;
    int FFoundRecord = -1;

    QSplitter *FSplitter = nullptr;
    QTreeWidget *FOutline = nullptr;
    TfrxPreviewWorkspace *FThumbnail = nullptr;
    QTabBar *FTabs = nullptr;
    TfrxPreviewWorkspace *FWorkspace = nullptr;

    friend class TfrxPreviewWorkspace;
};
