// The memo: text and lines, rotation, collections, flowing and code pages.

#include "report/model/rudClass.h"

#include "base/CodePages.h"

#include <QBuffer>

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

TEST(Memo, StyleTakesTheReportStylesColourFontAndFrame)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetParent(&report);
    auto *memo = new TfrxMemoView(page);
    memo->SetParent(page);
    TfrxStyleItem *style = report.Styles()->Add();
    style->SetName(QStringLiteral("Header"));
    style->SetColor(clRed);
    style->Font()->SetStyle(TFontStyles(fsBold));
    style->Frame()->SetTyp(TfrxFrameTypes(ftTop));

    memo->SetStyle(QStringLiteral("HEADER"));
    EXPECT_EQ(memo->Style(), QStringLiteral("HEADER"));
    EXPECT_EQ(memo->Color(), clRed);
    EXPECT_EQ(memo->Font()->Style(), TFontStyles(fsBold));
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_EQ(memo->Frame()->Typ(), TfrxFrameTypes(ftTop));

    // An unknown name, or a memo outside a report, only stores the name.
    memo->SetColor(clWhite);
    memo->SetStyle(QStringLiteral("Body"));
    EXPECT_EQ(memo->Color(), clWhite);
    TfrxMemoView loose(nullptr);
    loose.SetStyle(QStringLiteral("Header"));
    EXPECT_EQ(loose.Style(), QStringLiteral("Header"));
    EXPECT_EQ(loose.Frame()->Typ(), TfrxFrameTypes());

    // A template's styles come before its pages, so a loaded memo takes its style.
    QByteArray data("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                     "<TfrxReport><Styles><item Name=\"Header\" Color=\"255\" Font.Style=\"1\"/></Styles>"
                     "<TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Memo1\" Style=\"Header\"/></TfrxReportPage>"
                     "</TfrxReport>");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TfrxReport loaded;
    loaded.LoadFromStream(&buffer);
    EXPECT_TRUE(loaded.Errors().isEmpty()) << loaded.Errors().join(QLatin1Char('\n')).toStdString();
    auto *memo1 = dynamic_cast<TfrxMemoView *>(loaded.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(memo1, nullptr);
    EXPECT_EQ(memo1->Color(), clRed);
    EXPECT_EQ(memo1->Font()->Style(), TFontStyles(fsBold));
}
