// The memo: text and lines, rotation, collections, flowing and code pages.

#include "report/model/rudClass.h"

#include "base/CodePages.h"

#include <gtest/gtest.h>

TEST(Memo, TextSplitsIntoLinesAndJoinsWithLineBreaks)
{
    TfrxMemoView memo(nullptr);
    EXPECT_EQ(memo.Text(), QString());
    memo.SetText(QStringLiteral("a"));
    EXPECT_EQ(memo.Memo(), QStringList{"a"});
    EXPECT_EQ(memo.Text(), QStringLiteral("a\r\n"));
    memo.SetText(QStringLiteral("one\r\ntwo\rthree\nfour") + QChar(0x2028) + QStringLiteral("five\r\n"));
    EXPECT_EQ(memo.Memo(), (QStringList{"one", "two", "three", "four", "five"}));
    memo.SetText(QStringLiteral("x\n\ry"));
    EXPECT_EQ(memo.Memo(), (QStringList{"x", "", "y"})); // LF CR: two breaks
    memo.SetText(QStringLiteral("\r\n"));
    EXPECT_EQ(memo.Memo(), QStringList{""});
    memo.SetText(QString());
    EXPECT_TRUE(memo.Memo().isEmpty());
}

TEST(Memo, AnsiTextUsesTheFontsCharset)
{
    TfrxMemoView memo(nullptr);
    memo.Font()->SetCharset(RUSSIAN_CHARSET);
    memo.SetText(QStringLiteral("Мая"));
    EXPECT_EQ(memo.AnsiText(), QByteArray("\xCC\xE0\xFF\r\n"));
    memo.SetAnsiText(QByteArray("\xE8\xFE\xEB\xFF"));
    EXPECT_EQ(memo.Memo(), QStringList{QStringLiteral("июля")});
}

TEST(Memo, DefaultsRotationAndCollections)
{
    TfrxMemoView memo(nullptr);
    EXPECT_TRUE(memo.AllowExpressions());
    EXPECT_TRUE(memo.WordWrap());
    EXPECT_EQ(memo.ExpressionDelimiters(), QStringLiteral("[,]"));
    EXPECT_EQ(memo.GapX(), 2);
    EXPECT_EQ(memo.GapY(), 1);
    EXPECT_EQ(memo.LineSpacing(), 2);
    EXPECT_EQ(memo.GetDescription(), QStringLiteral("Text object"));
    memo.SetRotation(450);
    EXPECT_EQ(memo.Rotation(), 90);
    memo.SetRotation(-90);
    EXPECT_EQ(memo.Rotation(), -90);
    memo.SetRotation(-450);
    EXPECT_EQ(memo.Rotation(), -90);

    EXPECT_EQ(memo.Formats().Count(), 0);
    memo.DisplayFormat()->SetKind(fkNumeric);
    EXPECT_EQ(memo.Formats().Count(), 1);
    TfrxHighlight h;
    h.SetCondition(QStringLiteral("Value > 0"));
    h.SetFillType(ftGlass);
    memo.SetHighlight(&h);
    EXPECT_EQ(memo.Highlights().Count(), 1);
    EXPECT_EQ(memo.Highlight()->Condition(), QStringLiteral("Value > 0"));
    EXPECT_EQ(memo.Highlight()->FillType(), ftGlass);
    EXPECT_EQ(memo.Highlight()->Font()->Color(), clRed);
}

TEST(Memo, FlowToClearsWhenTheTargetGoes)
{
    TfrxReportPage page(nullptr);
    auto *a = new TfrxMemoView(&page);
    auto *b = new TfrxMemoView(&page);
    a->SetFlowTo(b);
    EXPECT_EQ(a->FlowTo(), b);
    delete b;
    EXPECT_EQ(a->FlowTo(), nullptr);
}
