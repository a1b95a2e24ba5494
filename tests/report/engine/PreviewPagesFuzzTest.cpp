// Mutated prepared-report files fed to the store: each must either load or
// end in an exception with a message, and a loaded store must rebuild,
// measure and save every page without crashing (run under ASan).

#include "EngineServices.h"
#include "support/TestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClass.h"
#include "report/model/rudBand.h"

#include "base/Errors.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <random>

namespace {

// A small prepared report: two pages of a band with two memos, an outline
// entry and an anchor.
QByteArray seedFile()
{
    enginetest::TServedReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TfrxNullBand(page);
    band->SetName(QStringLiteral("Band1"));
    band->SetBounds(0, 10, 300, 40);
    for (int i = 1; i <= 2; ++i) {
        auto *memo = new TfrxMemoView(band);
        memo->SetName(QStringLiteral("Memo%1").arg(i));
        memo->SetBounds(10 * i, 2, 100, 18);
    }
    auto *pages = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
    pages->AddSourcePage(page);
    pages->BeginPass();
    for (int p = 0; p < 2; ++p) {
        pages->AddPage(page);
        dynamic_cast<TfrxMemoView *>(band->Objects()[0])->SetText(QStringLiteral("page %1 \"&<>\"").arg(p));
        pages->AddObject(band);
        pages->Outline()->AddItem(QStringLiteral("entry"), 5);
        pages->AddAnchor(QStringLiteral("anchor"));
    }
    pages->Finish();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    pages->SaveToStream(&buffer);
    return buffer.data();
}

QByteArray mutate(const QByteArray &Seed, std::mt19937 &Random)
{
    QByteArray bytes = Seed;
    std::uniform_int_distribution<int> kind(0, 4);
    const int edits = 1 + int(Random() % 4);
    static const char *const tokens[] = {"<", ">", "/", "\"", "=", "m1", "m9", "page0", "page5", "TfrxNullBand",
                                         "TfrxReport", "<page0>", "</page0>", "l=\"1e309\"", "name=\"Page0.\""};
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const qsizetype at = qsizetype(Random() % quint32(bytes.size()));
        switch (kind(Random)) {
        case 0:
            bytes[at] = char(Random() % 256);
            break;
        case 1:
            bytes.remove(at, qsizetype(1 + Random() % 40));
            break;
        case 2:
            bytes.insert(at, tokens[Random() % (sizeof(tokens) / sizeof(*tokens))]);
            break;
        case 3:
            bytes.insert(at, bytes.mid(qsizetype(Random() % quint32(bytes.size())), qsizetype(Random() % 200)));
            break;
        default:
            bytes.truncate(at);
            break;
        }
    }
    return bytes;
}

} // namespace

TEST(PreviewPagesFuzz, MutatedFilesLoadOrFailCleanly)
{
    TRecordingUserInterface ui;
    const QByteArray seed = seedFile();
    std::mt19937 random(15);
    int loadedCount = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = mutate(seed, random);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        enginetest::TServedReport report;
        auto *pages = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
        try {
            pages->LoadFromStream(&buffer);
        } catch (const Exception &e) {
            EXPECT_FALSE(e.Message().isEmpty());
            EXPECT_EQ(pages->Count(), 0);
            continue;
        }
        ++loadedCount;
        for (int i = 0; i < pages->Count(); ++i) {
            pages->GetPage(i);
            pages->GetPageSize(i);
            pages->ObjectOver(i, 15, 15);
        }
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        pages->SaveToStream(&out);
    }
    // The mutations leave enough files intact to exercise the loaded paths.
    EXPECT_GT(loadedCount, 20);
}
