#include "app/FitDialog.h"

#include "app/FitCheck.h"
#include "base/UserInterface.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFitDialog::TFitDialog(const QString &ProblemsText, bool Shrunk, QWidget *Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("FitDialog"));
    setWindowTitle(QStringLiteral("Текст не помещается на бланке"));
    auto *rows = new QVBoxLayout(this);
    rows->addWidget(new QLabel(Shrunk ? QStringLiteral("Эти значения не помещаются и при шрифте 6 пт и будут "
                                                       "обрезаны при печати:")
                                      : QStringLiteral("Эти значения не помещаются в отведенное для них место и "
                                                       "будут обрезаны при печати:"),
                               this));
    auto *list = new QPlainTextEdit(ProblemsText, this);
    list->setReadOnly(true);
    rows->addWidget(list);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *shrink = buttons->addButton(QStringLiteral("Уменьшить шрифт"), QDialogButtonBox::AcceptRole);
    QPushButton *asIs = buttons->addButton(QStringLiteral("Печатать как есть"), QDialogButtonBox::ApplyRole);
    QPushButton *back = buttons->addButton(QStringLiteral("Назад"), QDialogButtonBox::RejectRole);
    shrink->setDefault(!Shrunk);
    shrink->setVisible(!Shrunk);
    rows->addWidget(buttons);
    connect(shrink, &QPushButton::clicked, this, [this] { done(Shrink); });
    connect(asIs, &QPushButton::clicked, this, [this] { done(AsIs); });
    connect(back, &QPushButton::clicked, this, [this] { done(Back); });
}

bool askFit(const QString &ProblemsText, const std::function<QString()> &Shrink, QWidget *Parent)
{
    QString problems = ProblemsText;
    bool shrunk = false;
    while (!problems.isEmpty()) {
        // What 6 pt does not fit either is asked about again, without shrinking.
        TFitDialog dialog(problems, shrunk, Parent);
        switch (userInterface().ExecDialog(&dialog)) {
        case TFitDialog::Shrink:
            problems = Shrink();
            shrunk = true;
            break;
        case TFitDialog::AsIs: return true;
        default: return false;
        }
    }
    return true;
}

bool confirmFit(TfrxReport *Report, QWidget *Parent)
{
    const QList<TFitProblem> problems = checkFit(Report);
    return askFit(fitProblemsText(problems), [&] { return fitProblemsText(shrinkToFit(problems)); }, Parent);
}
