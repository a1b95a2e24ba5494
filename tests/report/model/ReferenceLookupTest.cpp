// References read by the string readers, object by object: the serializer's
// name index gives what the template's lookups by name give.

#include "support/TestSupport.h"

#include "report/model/rudClass.h"

#include <gtest/gtest.h>

namespace {

// What a reference resolves to by the template's rules, looked up by name
// over the whole tree each time.
TfrxComponent *byName(TfrxComponent *Owner, const QString &Value)
{
    TfrxReport *report = Owner->Report();
    TfrxComponent *found = report ? report->FindObject(Value) : nullptr;
    return found ? found : rudFindComponent(Owner, Value);
}

// The reference of memo I: mostly earlier memos, some by dotted names, some
// to memos that do not exist yet or ever, some too long to name anything.
QString referenceOf(int I)
{
    switch (I % 6) {
    case 0: return QStringLiteral("Memo%1").arg(I / 2);
    case 1: return QStringLiteral("Form.Memo%1").arg(I - 1);
    case 2: return QStringLiteral("Form.Frame.memo%1").arg(I / 3);
    case 3: return QStringLiteral("Memo%1").arg(I + 5);
    case 4: return QStringLiteral("a.b.c.Memo%1").arg(I / 2);
    default: return QStringLiteral("Missing%1").arg(I);
    }
}

} // namespace

TEST(ReferenceLookup, ObjectsReadOneByOneResolveAsByName)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    TfrxXMLSerializer serializer(nullptr);
    serializer.SetOwner(&report);
    const int count = 1200;
    for (int i = 0; i < count; ++i) {
        const QString text = QStringLiteral("TfrxMemoView Name=\"Memo%1\" FlowTo=\"%2\"").arg(i).arg(referenceOf(i));
        auto *memo = dynamic_cast<TfrxMemoView *>(serializer.ReadComponentStr(page, text));
        ASSERT_NE(memo, nullptr);
        ASSERT_EQ(memo->FlowTo(), byName(&report, referenceOf(i))) << referenceOf(i).toStdString();
        if (i == 600) {
            // A rename between two reads is seen by the next lookup.
            memo->SetName(QStringLiteral("Renamed"));
            auto *next = dynamic_cast<TfrxMemoView *>(
                serializer.ReadComponentStr(page, QStringLiteral("TfrxMemoView FlowTo=\"Renamed\"")));
            ASSERT_NE(next, nullptr);
            EXPECT_EQ(next->FlowTo(), memo);
            delete next;
        }
    }
    // The forward references now find their memos.
    TfrxMemoView target(nullptr);
    for (int i = 3; i < 40; i += 6) {
        serializer.ReadPersistentStr(page, &target, QStringLiteral(" FlowTo=\"%1\"").arg(referenceOf(i)));
        EXPECT_EQ(target.FlowTo(), byName(&report, referenceOf(i)));
        EXPECT_NE(target.FlowTo(), nullptr);
    }
    // A deleted object is no longer found.
    delete report.FindObject(QStringLiteral("Memo10"));
    serializer.ReadPersistentStr(page, &target, QStringLiteral(" FlowTo=\"Memo10\""));
    EXPECT_EQ(target.FlowTo(), nullptr);
    EXPECT_TRUE(serializer.Errors().isEmpty());
}

TEST(ReferenceLookup, OutsideAReportTheOwnersObjectsAnswer)
{
    TfrxReportPage page(nullptr);
    TfrxXMLSerializer serializer(nullptr);
    for (int i = 0; i < 200; ++i) {
        const QString text = QStringLiteral("TfrxMemoView Name=\"Memo%1\" FlowTo=\"%2\"").arg(i).arg(referenceOf(i));
        auto *memo = dynamic_cast<TfrxMemoView *>(serializer.ReadComponentStr(&page, text));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(serializer.Owner(), &page);
        ASSERT_EQ(memo->FlowTo(), byName(&page, referenceOf(i))) << referenceOf(i).toStdString();
    }
    // The serializer may outlive what it indexed.
    TfrxXMLSerializer late(nullptr);
    {
        TfrxReport report;
        auto *p = new TfrxReportPage(&report);
        late.SetOwner(&report);
        TfrxMemoView target(nullptr);
        late.ReadComponentStr(p, QStringLiteral("TfrxMemoView Name=\"M\""));
        late.ReadPersistentStr(p, &target, QStringLiteral(" FlowTo=\"M\""));
        EXPECT_NE(target.FlowTo(), nullptr);
    }
}
