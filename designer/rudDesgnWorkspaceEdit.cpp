// The workspace's commands: keyboard, deleting, grouping, the alignment
// palette, band layout and in-place memo editing.

#include "designer/rudDesgnWorkspace.h"

#include "base/UserInterface.h"
#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace rudWorkspace;

namespace {

// Position and size setters that honour the restrictions.
void moveLeft(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontMove))
        C->SetLeft(Value);
}

void moveTop(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontMove))
        C->SetTop(Value);
}

void sizeWidth(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontSize))
        C->SetWidth(Value);
}

void sizeHeight(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontSize))
        C->SetHeight(Value);
}

bool isArrow(int Key)
{
    return Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down;
}

bool across(int Key)
{
    return Key == Qt::Key_Left || Key == Qt::Key_Right;
}

// The extents of A and B overlap across the direction of Key (closed for
// objects without thickness there).
bool inStrip(const QRectF &A, const QRectF &B, int Key)
{
    const double a0 = across(Key) ? A.top() : A.left(), a1 = across(Key) ? A.bottom() : A.right();
    const double b0 = across(Key) ? B.top() : B.left(), b1 = across(Key) ? B.bottom() : B.right();
    if (a0 == a1 || b0 == b1)
        return b0 <= a1 && b1 >= a0;
    return b0 < a1 && b1 > a0;
}

// The corner of a grip dragged to resize the in-place edit box.
class TInplaceGrip : public QWidget {
public:
    explicit TInplaceGrip(QWidget *Editor) : QWidget(Editor)
    {
        setCursor(Qt::SizeFDiagCursor);
        resize(10, 10);
        Editor->installEventFilter(this);
        Place();
    }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Watched == parentWidget() && Event->type() == QEvent::Resize)
            Place();
        return false;
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        for (int i = 3; i < 10; i += 3)
            painter.drawLine(i, 9, 9, i);
    }
    void mousePressEvent(QMouseEvent *Event) override
    {
        FStart = Event->globalPosition().toPoint();
        FStartSize = parentWidget()->size();
    }
    void mouseMoveEvent(QMouseEvent *Event) override
    {
        const QPoint delta = Event->globalPosition().toPoint() - FStart;
        parentWidget()->resize(std::max(16, FStartSize.width() + delta.x()),
                               std::max(16, FStartSize.height() + delta.y()));
    }

private:
    void Place()
    {
        move(parentWidget()->width() - width(), parentWidget()->height() - height());
        raise();
    }

    QPoint FStart;
    QSize FStartSize;
};

} // namespace

// ---------------------------------------------------------------------------
// Keyboard

void TfrxDesignerWorkspace::keyPressEvent(QKeyEvent *Event)
{
    if (!FPage) {
        QWidget::keyPressEvent(Event);
        return;
    }
    const int key = Event->key();
    const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
    if (isArrow(key)) {
        if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
            MoveByKey(key, FGridX, FGridY);
        else if (mods == Qt::ControlModifier)
            MoveByKey(key, FGridType == gtChar ? FGridX : 1, FGridType == gtChar ? FGridY : 1);
        else if (mods == Qt::ShiftModifier)
            ResizeByKey(key);
        else if (mods == Qt::AltModifier)
            MoveToNearest(key);
        else if (mods == Qt::NoModifier)
            SelectNearest(key);
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
        SelectNextByTab();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QList<TfrxComponent *> sel = Selection().Views();
        if (!(sel.size() == 1 && (sel.first()->Restrictions() & rfDontEdit)))
            emit EditRequested();
        return;
    }
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier) {
            DeleteObjects();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (FInsertion.ComponentClass) {
            SetInsertion(nullptr, 0, 0);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(Event);
}

QList<QPair<TfrxComponent *, double>> TfrxDesignerWorkspace::StripAhead(TfrxComponent *Obj, int Key) const
{
    QList<QPair<TfrxComponent *, double>> result;
    const QRectF r = AbsRect(Obj);
    for (TfrxComponent *c : *FObjects) {
        if (c == Obj || !IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c))
            continue;
        const QRectF a = AbsRect(c);
        if (!inStrip(r, a, Key))
            continue;
        switch (Key) {
        case Qt::Key_Right:
            if (a.left() > r.left())
                result.append({c, a.left() - r.right()});
            break;
        case Qt::Key_Left:
            if (a.left() < r.left())
                result.append({c, r.left() - a.right()});
            break;
        case Qt::Key_Down:
            if (a.top() > r.top())
                result.append({c, a.top() - r.bottom()});
            break;
        case Qt::Key_Up:
            if (a.top() < r.top())
                result.append({c, r.top() - a.bottom()});
            break;
        default:
            break;
        }
    }
    return result;
}

void TfrxDesignerWorkspace::SelectNearest(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() != 1)
        return;
    TfrxComponent *obj = sel.first();
    // Objects in the strip ahead win by their gap; only without any, the
    // nearest object ahead anywhere.
    TfrxComponent *best = nullptr;
    double bestScore = std::numeric_limits<double>::max();
    for (const auto &[c, gap] : StripAhead(obj, Key))
        if (gap < bestScore) {
            best = c;
            bestScore = gap;
        }
    if (!best) {
        const QRectF r = AbsRect(obj);
        for (TfrxComponent *c : *FObjects) {
            if (c == obj || !IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c))
                continue;
            const QRectF a = AbsRect(c);
            const bool ahead = (Key == Qt::Key_Right && a.left() > r.left()) ||
                               (Key == Qt::Key_Left && a.left() < r.left()) ||
                               (Key == Qt::Key_Down && a.top() > r.top()) ||
                               (Key == Qt::Key_Up && a.top() < r.top());
            if (!ahead)
                continue;
            const double distance = std::hypot(a.left() - r.left(), a.top() - r.top());
            if (distance < bestScore) {
                best = c;
                bestScore = distance;
            }
        }
    }
    if (best && Selection().Select({best})) {
        update();
        Selection().Notify(this);
        NotifySelectionPosition();
    }
}

void TfrxDesignerWorkspace::MoveToNearest(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() != 1 || (sel.first()->Restrictions() & rfDontMove))
        return;
    double best = std::numeric_limits<double>::max();
    for (const auto &[c, gap] : StripAhead(sel.first(), Key))
        if (gap >= -1e-9 && gap < best)
            best = gap;
    if (best == std::numeric_limits<double>::max() || best <= 0)
        return;
    InvalidateSelection();
    const double dx = Key == Qt::Key_Right ? best : Key == Qt::Key_Left ? -best : 0;
    const double dy = Key == Qt::Key_Down ? best : Key == Qt::Key_Up ? -best : 0;
    MoveSelection(dx, dy);
    FinishKeyChange();
}

void TfrxDesignerWorkspace::MoveByKey(int Key, double StepX, double StepY)
{
    if (Selection().Views().isEmpty())
        return;
    InvalidateSelection();
    const double dx = Key == Qt::Key_Right ? StepX : Key == Qt::Key_Left ? -StepX : 0;
    const double dy = Key == Qt::Key_Down ? StepY : Key == Qt::Key_Up ? -StepY : 0;
    MoveSelection(dx, dy);
    FinishKeyChange();
}

void TfrxDesignerWorkspace::ResizeByKey(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    InvalidateSelection();
    for (TfrxComponent *c : sel) {
        if (c->Restrictions() & rfDontSize)
            continue;
        switch (Key) {
        case Qt::Key_Right:
            c->SetWidth(c->Width() + FGridX);
            break;
        case Qt::Key_Left:
            if (c->Width() - FGridX >= 0)
                c->SetWidth(c->Width() - FGridX);
            break;
        case Qt::Key_Down:
            c->SetHeight(c->Height() + FGridY);
            break;
        case Qt::Key_Up:
            if (c->Height() - FGridY >= 0)
                c->SetHeight(c->Height() - FGridY);
            break;
        default:
            break;
        }
    }
    FinishKeyChange();
}

void TfrxDesignerWorkspace::FinishKeyChange()
{
    RoundSelection();
    AdjustBands();
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::SelectNextByTab()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    TfrxComponent *next = nullptr;
    auto selectable = [this](const QList<TfrxComponent *> &List) {
        QList<TfrxComponent *> result;
        for (TfrxComponent *c : List)
            if (IsSelectable(c, FPage))
                result.append(c);
        return result;
    };
    if (sel.isEmpty()) {
        const QList<TfrxComponent *> children = selectable(FPage->Objects());
        if (!children.isEmpty())
            next = children.first();
    } else if (sel.size() == 1) {
        TfrxComponent *obj = sel.first();
        if (qobject_cast<TfrxBand *>(obj)) {
            const QList<TfrxComponent *> children = selectable(obj->Objects());
            if (!children.isEmpty())
                next = children.first();
        } else if (obj->Parent()) {
            const QList<TfrxComponent *> siblings = selectable(obj->Parent()->Objects());
            const qsizetype at = siblings.indexOf(obj);
            if (at >= 0)
                next = siblings.at((at + 1) % siblings.size());
        }
    }
    if (next && Selection().Select({next})) {
        update();
        Selection().Notify(this);
        NotifySelectionPosition();
    }
}

// ---------------------------------------------------------------------------
// Delete and group

void TfrxDesignerWorkspace::DeleteObjects()
{
    FinishInplaceEdit(true);
    QList<QPointer<TfrxComponent>> list;
    for (TfrxComponent *c : Selection().Views())
        list.append(c);
    bool deleted = false;
    for (const QPointer<TfrxComponent> &p : list) {
        TfrxComponent *c = p.data();
        if (!c || (c->Restrictions() & rfDontDelete))
            continue; // gone with its parent, or not to be deleted
        if (c->IsAncestor()) {
            userInterface().MessageBox(QStringLiteral("Could not delete ") + c->Name() +
                                           QStringLiteral(", it was introduced in the ancestor report"),
                                       rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                       TMsgButtons::Ok);
            break;
        }
        ForgetObject(c);
        delete c;
        deleted = true;
    }
    if (!deleted)
        return;
    update();
    Selection().Notify(this);
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::GroupObjects()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(0);
    QSet<int> used;
    for (TfrxComponent *c : *FObjects)
        if (c != FPage)
            used.insert(c->GroupIndex());
    int group = 1;
    while (used.contains(group))
        ++group;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(group);
    emit Modified();
}

void TfrxDesignerWorkspace::UngroupObjects()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(0);
    emit Modified();
}

// ---------------------------------------------------------------------------
// The alignment palette

bool TfrxDesignerWorkspace::AlignCommand(int Needs,
                                         const std::function<void(TfrxComponent *Ref, TfrxComponent *Obj)> &Apply)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() < Needs)
        return false;
    InvalidateSelection();
    for (qsizetype i = 1; i < sel.size(); ++i)
        Apply(sel.first(), sel.at(i));
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
    return true;
}

void TfrxDesignerWorkspace::AlignLeft()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveLeft(C, R->Left()); });
}

void TfrxDesignerWorkspace::AlignRight()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveLeft(C, R->Left() + R->Width() - C->Width()); });
}

void TfrxDesignerWorkspace::AlignMiddle()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveLeft(C, R->Left() + R->Width() / 2 - C->Width() / 2);
    });
}

void TfrxDesignerWorkspace::AlignTop()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveTop(C, C->Top() + R->AbsTop() - C->AbsTop()); });
}

void TfrxDesignerWorkspace::AlignBottom()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveTop(C, C->Top() + (R->AbsTop() + R->Height()) - (C->AbsTop() + C->Height()));
    });
}

void TfrxDesignerWorkspace::AlignCenter()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveTop(C, R->Top() + R->Height() / 2 - C->Height() / 2);
    });
}

void TfrxDesignerWorkspace::SameWidth()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { sizeWidth(C, R->Width()); });
}

void TfrxDesignerWorkspace::SameHeight()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { sizeHeight(C, R->Height()); });
}

void TfrxDesignerWorkspace::SpaceCommand(bool Horizontal)
{
    QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() < 3)
        return;
    auto pos = [Horizontal](TfrxComponent *C) { return Horizontal ? C->Left() : C->Top(); };
    std::stable_sort(sel.begin(), sel.end(),
                     [&](TfrxComponent *A, TfrxComponent *B) { return std::round(pos(A)) < std::round(pos(B)); });
    const double step = (pos(sel.last()) - pos(sel.first())) / (sel.size() - 1);
    InvalidateSelection();
    for (qsizetype i = 1; i + 1 < sel.size(); ++i) {
        const double value = pos(sel.at(i - 1)) + step;
        if (Horizontal)
            moveLeft(sel.at(i), value);
        else
            moveTop(sel.at(i), value);
    }
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::SpaceHorizontally()
{
    SpaceCommand(true);
}

void TfrxDesignerWorkspace::SpaceVertically()
{
    SpaceCommand(false);
}

void TfrxDesignerWorkspace::CenterInBand(bool Horizontal)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    InvalidateSelection();
    // Outside a band the printable area stands in for the band.
    const QSizeF area = PrintableSize();
    for (TfrxComponent *c : sel) {
        if (qobject_cast<TfrxBand *>(c))
            continue;
        auto *band = qobject_cast<TfrxBand *>(c->Parent());
        if (Horizontal)
            moveLeft(c, ((band ? band->Width() : area.width()) - c->Width()) / 2);
        else
            moveTop(c, ((band ? band->Height() : area.height()) - c->Height()) / 2);
    }
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::CenterHorizontallyInBand()
{
    CenterInBand(true);
}

void TfrxDesignerWorkspace::CenterVerticallyInBand()
{
    CenterInBand(false);
}

// ---------------------------------------------------------------------------
// Band layout

void TfrxDesignerWorkspace::AdjustBands()
{
    if (!qobject_cast<TfrxReportPage *>(FPage) || FFreeBands)
        return;
    QList<TfrxBand *> bands;
    for (TfrxComponent *c : FPage->Objects())
        if (auto *band = qobject_cast<TfrxBand *>(c); band && !band->Vertical())
            bands.append(band);
    std::stable_sort(bands.begin(), bands.end(), [](TfrxBand *A, TfrxBand *B) { return A->Top() < B->Top(); });
    double y = 0;
    bool moved = false;
    for (TfrxBand *band : bands) {
        const double top = RoundTo8(y + BandCaptionHeight());
        if (band->Top() != top) {
            band->SetTop(top);
            moved = true;
        }
        y = band->Top() + band->Height() + FBandsGap;
    }
    if (moved)
        update();
}

// ---------------------------------------------------------------------------
// In-place memo editing

bool TfrxDesignerWorkspace::InplaceEditing() const
{
    return !FInplaceEditor.isNull();
}

void TfrxDesignerWorkspace::EditInplace(TfrxCustomMemoView *Memo)
{
    FinishInplaceEdit(true);
    if (!Memo || (Memo->Restrictions() & (rfDontEdit | rfDontModify)))
        return;
    auto *editor = new QPlainTextEdit(this);
    FInplaceEditor = editor;
    FInplaceMemo = Memo;
    editor->setPlainText(Memo->Memo().join(QLatin1Char('\n')));
    QFont font(Memo->Font()->Name());
    font.setPixelSize(std::max(1, int(std::lround(std::abs(Memo->Font()->Height()) * FScale))));
    const TFontStyles style = Memo->Font()->Style();
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    editor->setFont(font);
    editor->setFrameStyle(QFrame::Box | QFrame::Plain);
    editor->setLineWrapMode(Memo->WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    // The box is 5 pixels smaller than the memo, so that a memo resized
    // through it takes (box size + 5) / scale; it is at least one line high.
    const QRectF r(ToWidget(AbsRect(Memo).topLeft()), AbsRect(Memo).size() * FScale);
    const int lineHeight = QFontMetrics(font).height() + 2 * editor->frameWidth() + 4;
    editor->setGeometry(int(std::lround(r.left())), int(std::lround(r.top())),
                        std::max(24, int(std::lround(r.width())) - 5),
                        std::max(lineHeight, int(std::lround(r.height())) - 5));
    FInplaceOpenSize = editor->size();
    new TInplaceGrip(editor);
    editor->installEventFilter(this);
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
}

void TfrxDesignerWorkspace::FinishInplaceEdit(bool Apply)
{
    if (!FInplaceEditor)
        return;
    QPlainTextEdit *editor = FInplaceEditor.data();
    FInplaceEditor = nullptr;
    TfrxCustomMemoView *memo = FInplaceMemo.data();
    FInplaceMemo = nullptr;
    editor->removeEventFilter(this);
    bool changed = false;
    if (Apply && memo) {
        const QString text = editor->toPlainText();
        if (text != memo->Memo().join(QLatin1Char('\n'))) {
            memo->SetText(text);
            changed = true;
        }
        const QSize size = editor->size();
        if (size.width() != FInplaceOpenSize.width()) {
            memo->SetWidth((size.width() + 5) / FScale);
            changed = true;
        }
        if (size.height() != FInplaceOpenSize.height()) {
            memo->SetHeight((size.height() + 5) / FScale);
            changed = true;
        }
    }
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    editor->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    update();
    if (changed) {
        NotifySelectionPosition();
        emit Modified();
    }
}

bool TfrxDesignerWorkspace::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == FInplaceEditor.data()) {
        if (Event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(Event);
            if (key->key() == Qt::Key_Escape) {
                FinishInplaceEdit(false);
                return true;
            }
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                (key->modifiers() & Qt::ControlModifier)) {
                FinishInplaceEdit(true);
                return true;
            }
        } else if (Event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(Event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                FinishInplaceEdit(true);
        }
    }
    return QWidget::eventFilter(Watched, Event);
}
