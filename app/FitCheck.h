#pragma once
// The fit check before a print: the certificate's values that would be cut
// on the blank, named as the entry window's fields, and shrinking their
// fonts. The operator's answer is asked in FitDialog.h.

#include <QList>
#include <QString>

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
