#pragma once
// The two editors the memo editor hosts on its tabs: the display format and
// the conditional highlight of a memo. Both edit copies and write them into
// the memo only when asked to (the memo editor closing with OK).

#include "report/model/rudHighlight.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TfrxCustomMemoView;

// The memo's first display format: kind, format string and separators,
// with a sample of the result.
class TfrxFormatEditor : public QWidget {
    Q_OBJECT
public:
    TfrxFormatEditor(TfrxCustomMemoView *Memo, QWidget *Parent);
    // The memo text being edited: its bracketed expressions are the values
    // the format applies to, listed above the fields.
    void SetMemoText(const QString &Text);
    // Writes the edited format into the memo when it differs from the
    // memo's (a memo without a format gets one only then).
    void Apply();
    // The format as edited.
    const TfrxFormat &Format() const { return FFormat; }

    QComboBox *KindCB = nullptr;
    QLineEdit *FormatE = nullptr, *DecimalSeparatorE = nullptr, *ThousandSeparatorE = nullptr;
    QLabel *ExpressionsL = nullptr, *SampleL = nullptr;

private:
    // Takes the fields into FFormat and refreshes the sample.
    void FieldsChanged();
    void UpdateSample();

    TfrxCustomMemoView *FMemo;
    TfrxFormat FFormat;
    bool FUpdating = false;
};

// The memo's first highlight: condition, font colour, fill colour and
// visibility while the condition holds.
class TfrxHighlightEditor : public QWidget {
    Q_OBJECT
public:
    TfrxHighlightEditor(TfrxCustomMemoView *Memo, QWidget *Parent);
    // Writes the edited highlight into the memo when it differs from the
    // memo's (a memo without a highlight gets one only then).
    void Apply();
    const TfrxHighlight &Highlight() const { return FHighlight; }

    QLineEdit *ConditionE = nullptr;
    QCheckBox *ApplyFontCB = nullptr, *ApplyFillCB = nullptr, *VisibleCB = nullptr;
    QComboBox *FontColorCB = nullptr, *FillColorCB = nullptr;

private:
    void FieldsChanged();

    TfrxCustomMemoView *FMemo;
    TfrxHighlight FHighlight;
};

// The bracketed expressions of Text between the opening and closing
// delimiters of Delimiters ("[,]"), nested brackets kept inside.
QStringList rudMemoExpressions(const QString &Text, const QString &Delimiters);
// The opening and closing delimiter of an ExpressionDelimiters text: the
// parts before and after its first comma; without a comma all of it opens
// and nothing closes.
void rudSplitDelimiters(const QString &Delimiters, QString &Open, QString &Close);
