#include "app/Edit.h"

#include <QValidator>

namespace {

// Refuses an operator's edit that makes the text longer than the limit and
// longer than it was. The program's own setText always passes, so a long
// text it writes is neither cut nor marked as invalid input.
class TLengthLimit final : public QValidator {
public:
    explicit TLengthLimit(TEdit *edit) : QValidator(edit), FEdit(edit) {}

    State validate(QString &input, int &) const override
    {
        if (FEdit->OperatorEditing() && !FEdit->AllowsEdit(FEdit->LastLength(), input))
            return Invalid;
        return Acceptable;
    }

private:
    TEdit *FEdit;
};

// Marks the operator's edits for the length limit while they are applied.
class TOperatorEdit {
public:
    explicit TOperatorEdit(int &depth) : FDepth(depth) { ++FDepth; }
    ~TOperatorEdit() { --FDepth; }

private:
    int &FDepth;
};

} // namespace

TEdit::TEdit(QWidget *parent) : QLineEdit(parent), FLimit(new TLengthLimit(this))
{
    setValidator(FLimit);
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) { FLastLength = int(text.size()); });
}

void TEdit::SetMaxLength(int length) { FMaxLength = qMax(0, length); }

bool TEdit::AllowsEdit(int oldLength, const QString &newText) const
{
    const int length = int(newText.size());
    return FMaxLength <= 0 || length <= FMaxLength || length <= oldLength;
}

void TEdit::keyPressEvent(QKeyEvent *event)
{
    TOperatorEdit editing(FOperatorEditing);
    QLineEdit::keyPressEvent(event);
}

void TEdit::inputMethodEvent(QInputMethodEvent *event)
{
    TOperatorEdit editing(FOperatorEditing);
    QLineEdit::inputMethodEvent(event);
}

void TEdit::dropEvent(QDropEvent *event)
{
    TOperatorEdit editing(FOperatorEditing);
    QLineEdit::dropEvent(event);
}

void TEdit::contextMenuEvent(QContextMenuEvent *event)
{
    TOperatorEdit editing(FOperatorEditing);
    QLineEdit::contextMenuEvent(event);
}

void TEdit::mouseReleaseEvent(QMouseEvent *event)
{
    TOperatorEdit editing(FOperatorEditing);
    QLineEdit::mouseReleaseEvent(event);
}
