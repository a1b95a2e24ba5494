#pragma once
// The fit check before a print: the certificate's values that would be cut
// on the blank, named as the entry window's fields, and what the operator
// does about them.

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class TfrxCustomMemoView;
class TfrxReport;

// A value that would be cut: its field's name, the value and its memo.
struct TFitProblem {
    QString Field, Value;
    TfrxCustomMemoView *Memo = nullptr;
};

// The entry window's name of the field a template memo prints ("ФИО
// обучающегося" for Memo5); the memo's own name for others.
QString fieldCaption(const QString &MemoName);

// The values of a filled report (filled, not yet prepared) that would be
// cut, in the template's order; empty when all fit. A group print calls it
// for each trainee's filled report.
QList<TFitProblem> checkFit(TfrxReport *Report);

// The problems one a line: "ФИО обучающегося: «value»".
QString fitProblemsText(const QList<TFitProblem> &Problems);

// Shrinks each problem memo's font until its value fits (never below 6 pt;
// the template file is not touched); returns those that still do not fit.
QList<TFitProblem> shrinkToFit(const QList<TFitProblem> &Problems);

// Keeps the fonts of the problems' memos and puts them back into Report's
// memos of those names when it ends (preparing a report loads its objects
// anew): a memo shrunk for one certificate of a group is the template's
// again for the next.
class TFitFonts {
public:
    TFitFonts(TfrxReport *Report, const QList<TFitProblem> &Problems);
    ~TFitFonts();
    TFitFonts(const TFitFonts &) = delete;
    TFitFonts &operator=(const TFitFonts &) = delete;

private:
    struct TKept {
        QString Memo;
        int Height;
        bool ParentFont;
    };
    TfrxReport *FReport;
    QList<TKept> FKept;
};

// The operator's answer to the problems (ProblemsText, one a line): shrink
// ("Уменьшить шрифт", not offered again once Shrunk), print as is, or go back.
class TFitDialog final : public QDialog {
    Q_OBJECT
public:
    enum TChoice { Back = 0, Shrink = 1, AsIs = 2 };
    TFitDialog(const QString &ProblemsText, bool Shrunk, QWidget *Parent = nullptr);
};

// Asks about ProblemsText through the user-interface seam; on "shrink",
// Shrink() shrinks and gives what 6 pt does not fit either, asked about
// again when not empty; false: the operator went back (print nothing).
bool askFit(const QString &ProblemsText, const std::function<QString()> &Shrink, QWidget *Parent);

// Checks Report and, when something would be cut, asks (askFit), the
// memos shrunk in Report on "shrink"; false: the operator went back.
bool confirmFit(TfrxReport *Report, QWidget *Parent);
