#pragma once
// The two booklet pages of the entry window, drawn with QPainter. Positions
// are in the page's own pixels; the entry window lays its controls over the
// lines and table cells drawn here, so the numbers below follow the window's
// control positions.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

// Size of the left page (title page) and of the right page (subject table).
inline constexpr int leftPageWidth = 700, leftPageHeight = 515;
inline constexpr int rightPageWidth = 697, rightPageHeight = 512;

// Draws the title page with the blank lines under the entry fields.
QImage drawLeftPage();
// Draws the subject table with its hours and grade columns.
QImage drawRightPage();

// Small drawing helpers over one painter, in page pixels.
class TBookletPen {
public:
    explicit TBookletPen(QPainter &painter) : FPainter(painter) {}

    // A serif font of the booklet, pixel-sized.
    static QFont serif(int pixels, bool bold = false, bool italic = false);
    // A horizontal blank line from x1 to x2 at y.
    void line(int x1, int x2, int y, int width = 1);
    // Text whose baseline is at y, starting at x.
    void text(qreal x, qreal baseline, const QString &text, const QFont &font);
    // Text centred inside [x1, x2] with its baseline at y.
    void centred(int x1, int x2, qreal baseline, const QString &text, const QFont &font);
    // Text ending at x2, stretched (word spacing) or shrunk to start at x1.
    // Returns the font used, so a following text can match it.
    QFont justified(int x1, int x2, qreal baseline, const QString &text, QFont font);
    // Width of text in font.
    static qreal width(const QString &text, const QFont &font);

    QPainter &painter() { return FPainter; }

private:
    QPainter &FPainter;
};

// Colours of the paper and the print.
inline const QColor bookletPaper(251, 248, 238);
inline const QColor bookletInk(24, 24, 32);
inline const QColor bookletFaint(96, 96, 104);
inline const QColor bookletRed(150, 30, 30);

// A page-sized image filled with paper colour, with a thin edge.
QImage blankBookletPage(int width, int height);
