// The inspector's grid: drawing of the rows and the mouse.

#include "designer/rudInsp.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// Indent per nesting level, and the expand box's width.
constexpr int LevelIndent = 12;
constexpr int ExpandBoxWidth = 13;

bool isBooleanRow(TfrxPropertyEditor *Editor)
{
    const TfrxPropInfo *prop = Editor ? Editor->PropInfo() : nullptr;
    return prop && prop->Kind == TfrxPropKind::Boolean && Editor->GetName() == prop->Name &&
           !(Editor->GetAttributes() & paReadOnly);
}

} // namespace

TfrxInspectorGrid::TfrxInspectorGrid(TfrxObjectInspector *Inspector) : QWidget(nullptr), FInspector(Inspector)
{
    setObjectName(QStringLiteral("PropertyGrid"));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

QSize TfrxInspectorGrid::sizeHint() const
{
    return QSize(150, FInspector->RowCount() * FInspector->RowHeight());
}

int TfrxInspectorGrid::RowAt(int Y) const
{
    if (Y < 0)
        return -1;
    const int row = Y / FInspector->RowHeight();
    return row < FInspector->RowCount() ? row : -1;
}

QRect TfrxInspectorGrid::ValueRect(int Index) const
{
    const int left = FInspector->SplitPos() + 1;
    const int rh = FInspector->RowHeight();
    return QRect(left, Index * rh, qMax(1, width() - left), rh - 1);
}

bool TfrxInspectorGrid::OverSplitter(int X) const
{
    const int split = FInspector->SplitPos();
    return X >= split - 4 && X <= split + 2;
}

void TfrxInspectorGrid::paintEvent(QPaintEvent *Event)
{
    QPainter p(this);
    const int rh = FInspector->RowHeight();
    const int split = FInspector->SplitPos();
    const QPalette pal = palette();
    const int first = qMax(0, Event->rect().top() / rh);
    const int last = qMin(FInspector->RowCount() - 1, Event->rect().bottom() / rh);
    for (int i = first; i <= last; ++i) {
        TfrxPropertyEditor *editor = FInspector->RowEditor(i);
        const int top = i * rh;
        const int level = FInspector->RowLevel(i);
        const QRect nameRect(0, top, split, rh - 1);
        if (i == FInspector->ItemIndex())
            p.fillRect(nameRect, pal.color(QPalette::Button));
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(0, top + rh - 1, width(), top + rh - 1);

        // The expand box, then the name.
        if (FInspector->RowHasSubProperties(i)) {
            const QRect box(LevelIndent * level + 2, top + (rh - 9) / 2, 9, 9);
            p.setPen(pal.color(QPalette::Text));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
            p.drawLine(box.left() + 2, box.center().y(), box.right() - 2, box.center().y());
            if (!FInspector->RowExpanded(i))
                p.drawLine(box.center().x(), box.top() + 2, box.center().x(), box.bottom() - 2);
        }
        p.setPen(pal.color(QPalette::Text));
        p.drawText(nameRect.adjusted(LevelIndent * level + ExpandBoxWidth + 2, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FInspector->RowName(i));

        // The value: drawn by the editor when it draws itself.
        const QRect valueRect = ValueRect(i);
        p.save();
        p.setClipRect(valueRect);
        p.setPen(pal.color(QPalette::Text));
        if (editor && (editor->GetAttributes() & paOwnerDraw)) {
            try {
                editor->OnDrawItem(p, valueRect);
            } catch (const std::exception &) {
                // A value that cannot be read shows why, as a text row does.
                p.drawText(valueRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                           FInspector->RowValue(i));
            }
        } else {
            p.drawText(valueRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       FInspector->RowValue(i));
        }
        p.restore();
    }
    if (split >= 0) {
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(split, 0, split, height());
    }
}

void TfrxInspectorGrid::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton)
        return;
    const QPoint pos = Event->position().toPoint();
    if (OverSplitter(pos.x())) {
        FDragging = true;
        return;
    }
    const int row = RowAt(pos.y());
    if (row < 0)
        return;
    const int level = FInspector->RowLevel(row);
    const bool onBox = FInspector->RowHasSubProperties(row) && pos.x() >= LevelIndent * level &&
                       pos.x() <= LevelIndent * level + ExpandBoxWidth;
    FSkipDoubleClick = onBox;
    const QString path = FInspector->RowPath(row);
    FInspector->SetItemIndex(row);
    int focused = FInspector->FindRow(path);
    if (onBox && focused >= 0) {
        FInspector->ToggleRow(focused);
        focused = FInspector->FindRow(path);
    }
    FInspector->EditBox()->setFocus();
    const int split = FInspector->SplitPos();
    if (!onBox && focused >= 0 && pos.x() > split && pos.x() <= split + 15 &&
        isBooleanRow(FInspector->RowEditor(focused)))
        FInspector->EditProperty();
}

void TfrxInspectorGrid::mouseMoveEvent(QMouseEvent *Event)
{
    const int x = qRound(Event->position().x());
    if (FDragging) {
        FInspector->SetSplitPos(x);
        return;
    }
    setCursor(OverSplitter(x) ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TfrxInspectorGrid::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    FInspector->ApplyStoredSplitPos();
}

void TfrxInspectorGrid::mouseReleaseEvent(QMouseEvent *)
{
    FDragging = false;
}

void TfrxInspectorGrid::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (FSkipDoubleClick) {
        FSkipDoubleClick = false;
        return;
    }
    const int row = RowAt(qRound(Event->position().y()));
    if (row >= 0 && FInspector->RowHasSubProperties(row))
        FInspector->ToggleRow(row);
}

bool TfrxInspectorGrid::event(QEvent *Event)
{
    if (Event->type() == QEvent::ToolTip) {
        // A name or value wider than its column is shown whole.
        auto *help = static_cast<QHelpEvent *>(Event);
        const int row = RowAt(help->pos().y());
        QString text;
        if (row >= 0) {
            const int split = FInspector->SplitPos();
            const int level = FInspector->RowLevel(row);
            if (help->pos().x() < split) {
                const QString name = FInspector->RowName(row);
                if (fontMetrics().horizontalAdvance(name) > split - LevelIndent * level - ExpandBoxWidth - 2)
                    text = name;
            } else {
                const QString value = FInspector->RowValue(row);
                if (fontMetrics().horizontalAdvance(value) > ValueRect(row).width() - 2)
                    text = value;
            }
        }
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(Event);
}
