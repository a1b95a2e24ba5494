#include "app/FitCheck.h"

#include "base/UserInterface.h"
#include "report/model/rudFont.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"
#include "report/render/rudFitCheck.h"

#include <QDialogButtonBox>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString fieldCaption(const QString &MemoName)
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> n;
        n.insert(QStringLiteral("Memo1"), QStringLiteral("Наименование организации"));
        n.insert(QStringLiteral("Memo2"), QStringLiteral("Наименование организации (продолжение)"));
        n.insert(QStringLiteral("Memo3"), QStringLiteral("Населенный пункт"));
        n.insert(QStringLiteral("Memo4"), QStringLiteral("Серия свидетельства"));
        n.insert(QStringLiteral("Memo5"), QStringLiteral("ФИО обучающегося"));
        n.insert(QStringLiteral("Memo12"), QStringLiteral("Образовательная программа"));
        n.insert(QStringLiteral("Memo23"), QStringLiteral("Всего часов"));
        n.insert(QStringLiteral("Memo27"), QStringLiteral("ФИО руководителя образовательной организации"));
        n.insert(QStringLiteral("Memo42"), QStringLiteral("Коробка передач"));
        n.insert(QStringLiteral("Memo_prot"), QStringLiteral("Номер протокола"));
        n.insert(QStringLiteral("Memo_cat"), QStringLiteral("Категория ТС"));
        n.insert(QStringLiteral("Memo_kval"), QStringLiteral("Присвоенная квалификация"));
        for (int i = 1; i <= 10; ++i) {
            n.insert(QStringLiteral("Memo%1").arg(12 + i), QStringLiteral("Часы, строка %1").arg(i));
            n.insert(QStringLiteral("Memo%1").arg(27 + i), QStringLiteral("Оценка, строка %1").arg(i));
        }
        return n;
    }();
    return names.value(MemoName, MemoName);
}

QList<TFitProblem> checkFit(TfrxReport *Report)
{
    QList<TFitProblem> result;
    for (const TfrxMemoMisfit &misfit : rudFindMisfits(Report))
        result.append({fieldCaption(misfit.Memo->Name()), misfit.Memo->Text().trimmed(), misfit.Memo});
    return result;
}

QString fitProblemsText(const QList<TFitProblem> &Problems)
{
    QStringList lines;
    for (const TFitProblem &problem : Problems)
        lines << QStringLiteral("%1: «%2»").arg(problem.Field, problem.Value);
    return lines.join(QLatin1Char('\n'));
}

QList<TFitProblem> shrinkToFit(const QList<TFitProblem> &Problems)
{
    QList<TFitProblem> left;
    for (const TFitProblem &problem : Problems)
        if (!rudShrinkToFit(problem.Memo))
            left.append(problem);
    return left;
}

TFitFonts::TFitFonts(TfrxReport *Report, const QList<TFitProblem> &Problems) : FReport(Report)
{
    for (const TFitProblem &problem : Problems)
        FKept.append({problem.Memo->Name(), problem.Memo->Font()->Height(), problem.Memo->ParentFont()});
}

TFitFonts::~TFitFonts()
{
    for (const TKept &kept : std::as_const(FKept))
        if (TfrxComponent *memo = FReport->FindObject(kept.Memo)) {
            memo->Font()->SetHeight(kept.Height);
            memo->SetParentFontFlag(kept.ParentFont);
        }
}

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
