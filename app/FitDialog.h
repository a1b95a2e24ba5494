#pragma once
// What the operator does about values that would be cut on the blank:
// shrink their fonts, print as is, or go back.

#include <QDialog>
#include <QString>
#include <functional>

class TfrxReport;

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
