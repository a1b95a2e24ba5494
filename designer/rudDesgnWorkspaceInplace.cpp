// In-place text editing of a memo in the workspace: an edit box with the
// memo's text and font over it, resizable by its corner grip.

#include "designer/rudDesgnWorkspace.h"

#include "report/model/rudMemo.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>

namespace {

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
