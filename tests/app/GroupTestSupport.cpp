#include "GroupTestSupport.h"

#include "PrintTestSupport.h"

#include "app/main.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudUnits.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

QString groupName(int I) { return QStringLiteral("Ученик%1 Иван Петрович").arg(I, 2, 10, QLatin1Char('0')); }

QString groupGrade10(int I)
{
    const QString grades[] = {QStringLiteral("Отлично"), QStringLiteral("Хорошо"), QStringLiteral("Удовл.")};
    return grades[I % 3];
}

void writeGroupCsv(const QString &Path, int Count, const QStringList &More)
{
    QStringList lines{QStringLiteral("ФИО;Оценка 1;Оценка 2;Оценка 3;Оценка 4;Оценка 5;Оценка 6;Оценка 7;"
                                     "Оценка 8;Оценка 9;Квалификационный экзамен")};
    for (int i = 1; i <= Count; ++i)
        lines << QStringLiteral("\"%1\";Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;%2")
                     .arg(groupName(i), groupGrade10(i));
    lines << More;
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\xEF\xBB\xBF");
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

void expectAtMemo(TfmMain &w, const QList<TPdfWord> &Words, const QString &MemoName, const QString &Text,
                  double LineHeight)
{
    TfrxMemoView *view = memo(w, MemoName);
    ASSERT_NE(view, nullptr);
    auto *page = qobject_cast<TfrxReportPage *>(view->Page());
    ASSERT_NE(page, nullptr);
    const double left = page->LeftMargin() + view->AbsLeft() / fr01cm;
    const double right = page->LeftMargin() + (view->AbsLeft() + view->Width()) / fr01cm;
    const double top = page->TopMargin() + (view->AbsTop() + view->GapY()) / fr01cm;
    const bool centred = view->HAlign() == haCenter;
    const QString first = Text.section(QLatin1Char(' '), 0, 0);
    std::optional<double> best;
    double bestDx = 0, bestDy = 0;
    for (const TPdfWord &word : Words) {
        if (!word.Text.startsWith(first))
            continue;
        // A centred memo centres the whole text: the words' run ends where the text does.
        double x = word.Left, expected = left + view->GapX() / fr01cm;
        if (centred) {
            const QString last = Text.section(QLatin1Char(' '), -1);
            auto end = std::find_if(Words.begin(), Words.end(), [&](const TPdfWord &w) {
                return w.Text == last && std::abs(w.Top - word.Top) < 0.3 && w.Left >= word.Left;
            });
            x = (word.Left + (end == Words.end() ? word.Right : end->Right)) / 2;
            expected = (left + right) / 2;
        }
        const double distance = std::max(std::abs(x - expected), std::abs(word.Bottom - (top + LineHeight)));
        if (!best || distance < *best) {
            best = distance;
            bestDx = x - expected;
            bestDy = word.Bottom - (top + LineHeight);
        }
    }
    ASSERT_TRUE(best.has_value()) << qPrintable(MemoName + ": " + Text);
    EXPECT_LT(*best, 0.5) << qPrintable(MemoName + ": " + Text) << " off by " << bestDx << " mm across, " << bestDy
                          << " mm down";
}
