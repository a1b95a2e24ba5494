// Lines that hold a raw line break of their own (set through a memo's lines
// or a string list, not through Text) keep it through templates, resaves and
// object differences; what older writers wrote still splits into lines.

#include "support/TestSupport.h"

#include "ReportBytes.h"
#include "report/model/rudClass.h"
#include "report/model/rudXML.h"

#include <gtest/gtest.h>

namespace {

using modeltest::load;
using modeltest::save;

const QStringList awkwardLines{QStringLiteral("raw\rcarriage return"),
                               QStringLiteral("raw\nline feed"),
                               QStringLiteral("both\r\nin one line"),
                               QString(),
                               QStringLiteral("separator\u2028inside"),
                               QStringLiteral("\n"),
                               QStringLiteral("ends with a return\r"),
                               QStringLiteral("tab\tand &#13; typed"),
                               QString()};

TfrxMemoView *memoOf(TfrxReport &Report)
{
    return dynamic_cast<TfrxMemoView *>(Report.FindObject(QStringLiteral("Memo1")));
}

} // namespace

TEST(LineBreaks, RawBreaksInsideLinesSurviveTenResaves)
{
    TRecordingUserInterface ui;
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetMemo(awkwardLines);
    report.SetScriptText({QStringLiteral("begin"), QStringLiteral("x := 'a\rb';"), QStringLiteral("end."), QString()});

    QByteArray saved = save(report);
    QByteArray first;
    for (int i = 0; i < 10; ++i) {
        TfrxReport copy;
        load(copy, saved);
        ASSERT_TRUE(copy.Errors().isEmpty()) << copy.Errors().join('\n').toStdString();
        ASSERT_NE(memoOf(copy), nullptr);
        EXPECT_EQ(memoOf(copy)->Memo(), awkwardLines) << "resave " << i;
        EXPECT_EQ(copy.ScriptText(), report.ScriptText()) << "resave " << i;
        saved = save(copy);
        // From the first reload on (which adds the data page) nothing changes.
        if (i == 0)
            first = saved;
        EXPECT_EQ(saved, first) << "resave " << i;
    }
    // The breaks between lines are the usual decimal references; those inside
    // a line are hexadecimal, which any reader un-escapes to the same text.
    EXPECT_TRUE(first.contains("Text=\"raw&#xD;carriage return&#13;&#10;raw&#xA;line feed&#13;&#10;both&#xD;&#xA;in"));
    EXPECT_EQ(rudXMLToStr(QStringLiteral("a&#xD;b")), QStringLiteral("a\rb"));
}

TEST(LineBreaks, WhatOlderWritersWroteStillSplitsIntoLines)
{
    EXPECT_EQ(rudXMLToLines(QStringLiteral("a&#13;&#10;b&#13;c&#10;d"), true), QStringList({"a", "b", "c", "d"}));
    // LF CR is two breaks; a final break adds no line; raw breaks split too.
    EXPECT_EQ(rudXMLToLines(QStringLiteral("a&#10;&#13;b\r\nc\n"), true), QStringList({"a", "", "b", "c"}));
    EXPECT_EQ(rudXMLToLines(QStringLiteral("a\u2028b&#8232;c"), true), QStringList({"a", "b", "c"}));
    EXPECT_EQ(rudXMLToLines(QStringLiteral("a\u2028b&#8232;c"), false), QStringList({"a\u2028b\u2028c"}));
    EXPECT_EQ(rudXMLToLines(QString(), true), QStringList());
    // A reference without its semicolon is text, as everywhere else.
    EXPECT_EQ(rudXMLToLines(QStringLiteral("a&#13b"), true), QStringList({"a&#13b"}));

    TRecordingUserInterface ui;
    TfrxReport report;
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Memo1\" "
                 "Text=\"one&#13;&#10;two&#xD;still two\"/></TfrxReportPage></TfrxReport>");
    ASSERT_NE(memoOf(report), nullptr);
    EXPECT_EQ(memoOf(report)->Memo(), QStringList({"one", "two\rstill two"}));
    // Text set as a whole splits at every break, as a memo's text always did.
    memoOf(report)->SetText(QStringLiteral("one\rtwo"));
    EXPECT_EQ(memoOf(report)->Memo(), QStringList({"one", "two"}));
}

TEST(LineBreaks, DifferencesKeepTheLinesOfAMemo)
{
    TfrxReportPage page(nullptr);
    TfrxMemoView source(&page);
    TfrxMemoView printed(&page);
    printed.SetMemo(awkwardLines);
    TfrxXMLSerializer serializer(nullptr);
    const QString copyText = serializer.WriteComponentStr(&source);
    TfrxComponent *rebuilt = serializer.ReadComponentStr(&page, copyText + printed.Diff(&source), true);
    auto *memo = dynamic_cast<TfrxMemoView *>(rebuilt);
    ASSERT_NE(memo, nullptr);
    // The final empty line is dropped: the difference writes the text without
    // its last break, as the store keeps it.
    EXPECT_EQ(memo->Memo(), awkwardLines.mid(0, awkwardLines.size() - 1));
}
