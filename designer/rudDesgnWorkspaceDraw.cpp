// Drawing of the design workspace: paper, margins, background picture,
// grid, bands with their captions, the objects (by the same view drawing as
// the preview), the insertion rectangle, selection marks and the rubber
// band. Only the part of the widget being repainted is drawn.

#include "designer/rudDesgnWorkspace.h"

#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudLineView.h"
#include "report/model/rudPage.h"
#include "report/model/rudPictureView.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudViewDraw.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

using namespace rudWorkspace;

namespace {

const QColor PaperShadow(0, 0, 0, 60);
const QColor MarginColor(170, 170, 170);
const QColor GridColor(190, 190, 190);
const QColor GridMajorColor(130, 130, 130);
const QColor BandCaptionColor(214, 222, 236);
const QColor BandFrameColor(150, 160, 180);
const QColor OutlineColor(180, 180, 180);
const QColor HandleColor(0, 0, 0);
const QColor RubberColor(51, 153, 255);
constexpr int HandleSize = 5;

// The kind of a band as its caption names it: the class name without "Tfrx".
QString bandKind(const TfrxBand *Band)
{
    QString name = QString::fromLatin1(Band->metaObject()->className());
    if (name.startsWith(QLatin1String("Tfrx")))
        name.remove(0, 4);
    return name;
}

} // namespace

void TfrxDesignerWorkspace::paintEvent(QPaintEvent *Event)
{
    QPainter painter(this);
    const QRect dirty = Event->rect();
    painter.fillRect(dirty, FWorkspaceColor);
    if (!FPage)
        return;
    DrawPaper(painter, dirty);
    if (FShowGrid)
        DrawGrid(painter, dirty);
    DrawObjects(painter, dirty);
    DrawInsertion(painter);
    DrawSelection(painter);
    if (FMode == dmSelectionRect && FMouseDown) {
        const QRectF r = SelectionRect();
        const QRectF w(ToWidget(r.topLeft()), ToWidget(r.bottomRight()));
        QColor fill = RubberColor;
        fill.setAlpha(40);
        painter.setPen(QPen(RubberColor, 1, Qt::DashLine));
        painter.setBrush(fill);
        painter.drawRect(w);
    }
    DrawOverlay(painter, dirty);
}

void TfrxDesignerWorkspace::DrawOverlay(QPainter &, const QRect &) {}

void TfrxDesignerWorkspace::DrawPaper(QPainter &Painter, const QRect &Dirty)
{
    const QRectF paper = PaperRect();
    Painter.fillRect(paper.translated(3, 3), PaperShadow);
    Painter.fillRect(paper, Qt::white);
    auto *page = qobject_cast<TfrxReportPage *>(FPage);
    if (!page)
        return;
    const QPointF origin = PageOrigin();
    const QSizeF area = PrintableSize();
    if (page->BackPictureVisible()) {
        // The background object fills the printable area, as on paper.
        TfrxPictureView *back = page->BackPictureView();
        const double l = back->Left(), t = back->Top(), w = back->Width(), h = back->Height();
        back->SetBounds(0, 0, area.width(), area.height());
        TfrxCanvas canvas(&Painter, 96, 96);
        canvas.Save();
        canvas.IntersectClip(paper.toAlignedRect() & Dirty);
        rudDrawView(back, &canvas, FScale, FScale, origin.x(), origin.y());
        canvas.Restore();
        back->SetBounds(l, t, w, h);
    }
    Painter.setPen(QPen(MarginColor, 1, Qt::DotLine));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(QRectF(origin, area * FScale));
}

void TfrxDesignerWorkspace::DrawGrid(QPainter &Painter, const QRect &Dirty)
{
    if (FGridType == gtNone || FGridX <= 0 || FGridY <= 0)
        return;
    const QPointF origin = PageOrigin();
    const QRectF area = QRectF(origin, PrintableSize() * FScale) & QRectF(Dirty);
    if (area.isEmpty())
        return;
    // Every grid line, or every n-th where they would crowd closer than 4 pixels.
    auto drawLattice = [&](double StepX, double StepY, const QColor &Color) {
        const double sx = StepX * std::max(1.0, std::ceil(4 / (StepX * FScale)));
        const double sy = StepY * std::max(1.0, std::ceil(4 / (StepY * FScale)));
        const long i0 = long(std::ceil((area.left() - origin.x()) / FScale / sx - 1e-9));
        const long i1 = long(std::floor((area.right() - origin.x()) / FScale / sx + 1e-9));
        const long j0 = long(std::ceil((area.top() - origin.y()) / FScale / sy - 1e-9));
        const long j1 = long(std::floor((area.bottom() - origin.y()) / FScale / sy + 1e-9));
        if (FGridLCD) {
            Painter.setPen(QPen(Color, 0, Qt::DotLine));
            for (long i = i0; i <= i1; ++i) {
                const double x = std::round(origin.x() + i * sx * FScale);
                Painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
            }
            for (long j = j0; j <= j1; ++j) {
                const double y = std::round(origin.y() + j * sy * FScale);
                Painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
            }
            return;
        }
        QVector<QPoint> points;
        points.reserve(std::max(0L, (i1 - i0 + 1) * (j1 - j0 + 1)));
        for (long j = j0; j <= j1; ++j) {
            const int y = int(std::lround(origin.y() + j * sy * FScale));
            for (long i = i0; i <= i1; ++i)
                points.append(QPoint(int(std::lround(origin.x() + i * sx * FScale)), y));
        }
        Painter.setPen(QPen(Color, 0));
        Painter.drawPoints(points.constData(), int(points.size()));
    };
    drawLattice(FGridX, FGridY, GridColor);
    if (FGridType == gt1cm)
        drawLattice(fr1cm, fr1cm, GridMajorColor);
    else if (FGridType == gt1in)
        drawLattice(fr1in, fr1in, GridMajorColor);
}

void TfrxDesignerWorkspace::DrawBand(QPainter &Painter, TfrxBand *Band)
{
    const QRectF r = AbsRect(Band);
    const QRectF body(ToWidget(r.topLeft()), r.size() * FScale);
    const double caption = BandCaptionHeight() * FScale;
    if (caption > 0) {
        const QRectF strip = Band->Vertical()
                                 ? QRectF(body.left() - caption, body.top(), caption, body.height())
                                 : QRectF(body.left(), body.top() - caption, body.width(), caption);
        Painter.fillRect(strip, BandCaptionColor);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(std::max(6, int(std::lround(11 * FScale))));
        Painter.setFont(font);
        Painter.setPen(Qt::black);
        const QString text = bandKind(Band) + QStringLiteral(": ") + Band->Name();
        if (Band->Vertical()) {
            Painter.save();
            Painter.translate(strip.bottomLeft());
            Painter.rotate(-90);
            Painter.drawText(QRectF(4, 0, strip.height() - 4, strip.width()), Qt::AlignVCenter | Qt::AlignLeft,
                             text);
            Painter.restore();
        } else {
            Painter.drawText(strip.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
        }
    }
    Painter.setPen(QPen(BandFrameColor, 0, Qt::DashLine));
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(body);
}

void TfrxDesignerWorkspace::DrawObjects(QPainter &Painter, const QRect &Dirty)
{
    const QPointF origin = PageOrigin();
    const QRect paper = PaperRect().toAlignedRect();
    TfrxCanvas canvas(&Painter, 96, 96);
    canvas.Save();
    canvas.IntersectClip(paper & Dirty);
    for (TfrxComponent *c : *FObjects) {
        auto *view = qobject_cast<TfrxView *>(c);
        if (!view || c == FPage)
            continue;
        auto *band = qobject_cast<TfrxBand *>(view);
        QRectF r = AbsRect(view);
        if (band && BandCaptionHeight() > 0) {
            if (band->Vertical())
                r.setLeft(r.left() - BandCaptionHeight());
            else
                r.setTop(r.top() - BandCaptionHeight());
        }
        const QRect box = QRectF(ToWidget(r.topLeft()), r.size() * FScale)
                              .toAlignedRect()
                              .adjusted(-DirtyMargin, -DirtyMargin, DirtyMargin, DirtyMargin);
        if (!box.intersects(Dirty))
            continue;
        if (!view->IsDesigning())
            view->SetIsDesigning(true);
        if (band)
            DrawBand(Painter, band);
        rudDrawView(view, &canvas, FScale, FScale, origin.x(), origin.y());
        // Objects without a frame get a faint outline, so that they can be seen.
        if (!band && !qobject_cast<TfrxCustomLineView *>(view) && view->Frame()->Typ() == TfrxFrameTypes()) {
            const QRectF a = AbsRect(view);
            Painter.setPen(QPen(OutlineColor, 0, Qt::DotLine));
            Painter.setBrush(Qt::NoBrush);
            Painter.drawRect(QRectF(ToWidget(a.topLeft()), a.size() * FScale));
        }
    }
    canvas.Restore();
}

void TfrxDesignerWorkspace::DrawInsertion(QPainter &Painter)
{
    if ((FMode != dmInsertObject && FMode != dmInsertLine) || !FInsertionVisible)
        return;
    const QRectF r = InsertionRect();
    const QPointF a = ToWidget(r.topLeft()), b = ToWidget(r.topLeft() + QPointF(r.width(), r.height()));
    Painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    Painter.setBrush(Qt::NoBrush);
    if (FMode == dmInsertLine)
        Painter.drawLine(a, b);
    else
        Painter.drawRect(QRectF(a, b).normalized());
}

void TfrxDesignerWorkspace::DrawSelection(QPainter &Painter)
{
    if (FMode == dmInsertObject || FMode == dmInsertLine)
        return;
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    auto handle = [&](const QPointF &P, bool Enabled) {
        const QPointF w = ToWidget(P);
        const QRectF box(std::round(w.x()) - HandleSize / 2, std::round(w.y()) - HandleSize / 2, HandleSize,
                         HandleSize);
        Painter.setPen(QPen(Enabled ? HandleColor : Qt::gray, 0));
        Painter.setBrush(Enabled ? QBrush(HandleColor) : QBrush(Qt::white));
        Painter.drawRect(box);
    };
    if (sel.size() == 1) {
        TfrxComponent *c = sel.first();
        if (auto *band = qobject_cast<TfrxBand *>(c)) {
            const QRectF r = AbsRect(band);
            Painter.setPen(QPen(HandleColor, 2));
            Painter.setBrush(Qt::NoBrush);
            Painter.drawRect(QRectF(ToWidget(r.topLeft()), r.size() * FScale));
            return;
        }
        const bool sizable = !(c->Restrictions() & rfDontSize);
        for (const auto &[index, point] : HandlePoints(c)) {
            Q_UNUSED(index)
            handle(point, sizable);
        }
        return;
    }
    // Several objects: each marked, one frame around them all with the
    // scaling corner.
    Painter.setPen(QPen(HandleColor, 0, Qt::DotLine));
    Painter.setBrush(Qt::NoBrush);
    for (TfrxComponent *c : sel) {
        const QRectF r = AbsRect(c);
        Painter.drawRect(QRectF(ToWidget(r.topLeft()), r.size() * FScale));
    }
    const QRectF b = SelectionBounds();
    Painter.setPen(QPen(HandleColor, 0, Qt::DashLine));
    Painter.drawRect(QRectF(ToWidget(b.topLeft()), b.size() * FScale).adjusted(-2, -2, 2, 2));
    handle(b.bottomRight(), true);
}
