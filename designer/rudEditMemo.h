#pragma once
// The memo editor: the text of one memo in a window of its own, with its
// display format and highlight on further tabs.

#include "designer/rudComponentEditors.h"

#include <QDialog>

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TfrxCustomDesigner;
class TfrxCustomMemoView;
class TfrxFormatEditor;
class TfrxHighlightEditor;

// "Memo": edits a memo's text; the result is kept in Text() for the caller.
// Settings (section "Form5.TfrxMemoEditorForm" of the designer's settings
// store): "Visible" written true on opening, "WordWrap" read on opening and
// written on closing, and the window's "Left", "Top", "Width", "Height" and
// "Maximized".
class TfrxMemoEditorForm : public QDialog {
    Q_OBJECT
public:
    // The window for Memo, owned by Designer; the edit holds the memo's text
    // in the font the designer's options ask for.
    TfrxMemoEditorForm(TfrxCustomDesigner *Designer, TfrxCustomMemoView *Memo);
    ~TfrxMemoEditorForm() override;

    // Runs the window modally (userInterface().ExecDialog): reads and
    // writes the settings, keeps the edited text, and on OK lets the format
    // and highlight tabs write into the memo. True for OK. The memo's text
    // itself is the caller's to set.
    bool Execute();
    // The edited text as the window closed (CR LF between lines).
    const QString &Text() const { return FText1000; }
    // Whether the memo's text may hold any character: its font has the
    // default character set or it uses the default charset.
    bool IsUnicode() const { return FIsUnicode; }

    // Asks the designer for an expression and puts it, between the memo's
    // expression delimiters, in place of the selection; "<X>" with a single
    // "<" goes in as "X". Nothing for an empty answer.
    void InsertExpression();
    // Asks for an aggregate call and puts it, between the delimiters, in
    // place of the selection.
    void InsertAggregate();
    // Wraps the edit's lines (only a vertical scroll bar) or not.
    void SetWordWrap(bool Value);

    QTabWidget *PageControl = nullptr;
    QWidget *TextTS = nullptr, *FormatTS = nullptr, *HighlightTS = nullptr;
    QToolButton *ExprB = nullptr, *AggregateB = nullptr, *WordWrapB = nullptr;
    QPlainTextEdit *MemoE = nullptr;
    TfrxFormatEditor *FormatEditor = nullptr;
    TfrxHighlightEditor *HighlightEditor = nullptr;
    QPushButton *OkB = nullptr, *CancelB = nullptr;

protected:
    // Ctrl+Enter closes with OK, Escape with Cancel, Ctrl+A selects the text.
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    // F1 opens the help topic of this window.
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void BuildTextTab();
    void SetEditFont();
    void ReplaceSelection(const QString &Text);
    // Reads or writes the window's settings in the designer's store.
    void FormShow();
    void FormHide();

    TfrxCustomDesigner *FDesigner;
    TfrxCustomMemoView *FMemo;
    QString FText1000;
    bool FIsUnicode = true;
};

// The component editor of memos: the memo editor; on OK the memo takes the
// edited text and loses its data field.
class TfrxMemoEditor : public TfrxComponentEditor {
public:
    using TfrxComponentEditor::TfrxComponentEditor;
    // True when the window closed with OK (the memo changed).
    bool Edit() override;
};
