#pragma once
// The single-line edit of the entry window.

#include <QLineEdit>

class QValidator;

// A line edit whose length limit binds what the operator types, pastes or
// drops, not what the program writes: setText keeps every character (a
// loaded file or a formatted number is shown as it is, never cut short), and
// a text already longer than the limit may still be shortened by the operator.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);

    // Most characters the operator may bring the text to; 0 means no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int length);

    // True when an edit of the operator may turn text of oldLength into newText.
    bool AllowsEdit(int oldLength, const QString &newText) const;
    // Length of the text before the edit under way.
    int LastLength() const { return FLastLength; }
    // True while an edit of the operator is being applied.
    bool OperatorEditing() const { return FOperatorEditing > 0; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int FMaxLength = 0;
    int FLastLength = 0;
    int FOperatorEditing = 0;
    QValidator *FLimit = nullptr;
};
