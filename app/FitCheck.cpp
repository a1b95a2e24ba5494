#include "app/FitCheck.h"

#include "report/model/rudFont.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"
#include "report/render/rudFitCheck.h"

#include <QHash>

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
