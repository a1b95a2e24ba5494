// The report script's "Outline" object builds the prepared report's outline.

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

// "text@page/top" of every outline item, children indented by two spaces.
QStringList outlineItems(TfrxXMLItem *Item, const QString &Indent = QString())
{
    QStringList items;
    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem *child = Item->Items(i);
        items << Indent + child->Prop("text") + '@' + child->Prop("page") + '/' + child->Prop("top");
        items << outlineItems(child, Indent + "  ");
    }
    return items;
}

} // namespace

TEST(ScriptOutline, AScriptBuildsTheOutlineOfThePreparedPages)
{
    TEngineReport t;
    t.NewPage()->SetPageCount(3);
    t.AddMemo(t.Page, "Memo1", "page")->SetOnBeforePrint(QStringLiteral("Memo1OnBeforePrint"));
    t.Report.SetScriptText({
        "procedure Memo1OnBeforePrint(Sender: TfrxComponent);",
        "begin",
        "  Outline.AddItem('Chapter ' + IntToStr(Outline.Count + 1), 25 + Outline.Count);",
        "  Outline.AddItem('Section', 30);",
        "  Outline.LevelUp;",
        "  Outline.AddItem('Second section', 40);",
        "  Outline.LevelRoot;",
        "  if Outline.Count = 3 then",
        "  begin",
        "    Outline.LevelDown(0);",
        "    Outline.ShiftItems(0, 100);",
        "    Outline.LevelRoot;",
        "  end;",
        "end;",
        "",
        "begin",
        "  if Outline = nil then RaiseException('no outline');",
        "end.",
    });
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join('\n').toStdString();
    ASSERT_EQ(t.Pages()->Count(), 3);
    // On the third page the script moved the first chapter's second section
    // to the next page, its top shifted to 100.
    EXPECT_EQ(outlineItems(t.Pages()->Outline()->Root()),
              QStringList({"Chapter 1@0/25", "  Section@0/30", "  Second section@1/100", "Chapter 2@1/26",
                           "  Section@1/30", "  Second section@1/40", "Chapter 3@2/27", "  Section@2/30",
                           "  Second section@2/40"}));
}
