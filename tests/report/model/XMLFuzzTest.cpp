// Random and mutated documents fed to the reader: each must either load or
// raise the documented error, never crash, hang or leak (run under ASan).

#include "report/model/rudClass.h"
#include "report/model/rudXML.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <random>

namespace {

const QByteArray Seed =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
    "<TfrxReport Version=\"4.0\" ld=\"0\">\r\n"
    "  <TfrxReportPage Name=\"Page1\" LD=\"0\"><!-- note --->-->\r\n"
    "    <TfrxMemoView Name=\"Memo1\" Text=\"&#1060;&#13;&#10;&quot;x&amp;\" Left=\"3,5\"/>\r\n"
    "    <b/><c x=\"1\" /><d>text</d>\r\n"
    "  </TfrxReportPage>\r\n"
    "</TfrxReport>\r\n";

// Loads bytes; true when loaded, false on the invalid-format error. Any other
// exception fails the test.
bool tryLoad(const QByteArray &bytes, bool partial)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TfrxXMLDocument doc;
    try {
        doc.LoadFromStream(&buffer, partial);
    } catch (const TfrxInvalidXMLException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid file format"));
        return false;
    }
    // Whatever was read must survive the rest of the API as well.
    for (int i = 0; i < doc.Root()->Count(); ++i) {
        TfrxXMLItem *item = doc.Root()->Items(i);
        doc.LoadItem(item);
        try {
            item->Prop(QStringLiteral("Text"));
        } catch (const EConvertError &) {
        }
        item->SetProp(QStringLiteral("Name"), QStringLiteral("x\"<>&"));
        item->DeleteProp(QStringLiteral("Left"));
    }
    auto save = [&doc] {
        QByteArray out;
        QBuffer target(&out);
        target.open(QIODevice::WriteOnly);
        doc.SaveToStream(&target);
        return out;
    };
    // Packed children are written byte for byte as before, and read back alike.
    const QByteArray out = save();
    for (int i = 0; i < doc.Root()->Count(); ++i)
        doc.Root()->Items(i)->Pack();
    EXPECT_EQ(save(), out);
    for (int i = 0; i < doc.Root()->Count(); ++i)
        doc.LoadItem(doc.Root()->Items(i));
    EXPECT_EQ(save(), out);
    return true;
}

} // namespace

TEST(XMLFuzz, MutatedAndRandomDocuments)
{
    std::mt19937 rng(20240611);
    const char alphabet[] = "<>/!-\"= ?xmlLD0&#;ab\r\n\xD0\x9F\xFF";
    int loaded = 0, rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray doc = Seed;
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const int at = int(rng() % uint(doc.size() + 1));
            switch (rng() % 4) {
            case 0: doc.insert(at, alphabet[rng() % (sizeof alphabet - 1)]); break;
            case 1: if (at < doc.size()) doc.remove(at, 1 + int(rng() % 16)); break;
            case 2: if (at < doc.size()) doc[at] = char(rng()); break;
            default: doc.insert(at, doc.mid(int(rng() % uint(doc.size())), int(rng() % 64))); break;
            }
        }
        (tryLoad(doc, round % 2 == 1) ? loaded : rejected)++;
    }
    for (int round = 0; round < 1000; ++round) {
        QByteArray doc = round % 3 ? QByteArray("<?xml?>") : QByteArray();
        const int length = int(rng() % 300);
        for (int i = 0; i < length; ++i)
            doc += alphabet[rng() % (sizeof alphabet - 1)];
        (tryLoad(doc, round % 2 == 0) ? loaded : rejected)++;
    }
    // Both outcomes must actually occur, or the mutations test nothing.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(rejected, 100);
}

TEST(XMLFuzz, EscapingNeverCrashes)
{
    std::mt19937 rng(7);
    const char16_t alphabet[] = u"&#;0123456789quotamplg\"<>\r\n\0xЖ";
    for (int round = 0; round < 5000; ++round) {
        QString text;
        const int length = int(rng() % 60);
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[rng() % (sizeof alphabet / sizeof alphabet[0] - 1)]);
        try {
            rudXMLToStr(text);
        } catch (const EConvertError &) {
        }
        const QString escaped = rudStrToXML(text);
        EXPECT_FALSE(escaped.contains(u'"') || escaped.contains(u'<') || escaped.contains(u'\n'));
        // Nothing of a text is lost on the way through the file.
        EXPECT_EQ(rudXMLToStr(escaped), text);
    }
}

TEST(XMLFuzz, EveryTruncatedTemplateIsReportedAsDamaged)
{
    QFile file(sourceDir() + QStringLiteral("/resources/shablon.fr3"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const qsizetype rootEnd = whole.lastIndexOf("</TfrxReport>") + 13;
    ASSERT_GT(rootEnd, 13);
    auto errorsOf = [](QByteArray bytes) {
        TfrxReport report;
        report.EngineOptions()->SetNewSilentMode(simSilent);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        report.LoadFromStream(&buffer);
        return report.Errors();
    };
    ASSERT_TRUE(errorsOf(whole).isEmpty());
    // Cut inside tags, between them, and right after each of a sample of tags.
    std::mt19937 rng(47875);
    int cuts = 0;
    for (qsizetype cut = 0; cut < rootEnd; cut += 1 + qsizetype(rng() % 400), ++cuts) {
        EXPECT_FALSE(errorsOf(whole.left(cut)).isEmpty()) << "cut at byte " << cut;
        const qsizetype close = whole.indexOf('>', cut);
        if (close >= 0 && close + 1 < rootEnd) {
            EXPECT_FALSE(errorsOf(whole.left(close + 1)).isEmpty()) << "cut after the tag ending at " << close;
        }
    }
    EXPECT_GT(cuts, 50);
    // Only line ends after the root may go missing without damage.
    EXPECT_TRUE(errorsOf(whole.left(rootEnd)).isEmpty());
}
