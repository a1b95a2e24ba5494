// Memo text layout at 600 dpi: font heights, wrapping, hyphenation, markup,
// rotation, spacing, sizes and splitting.

#include "RenderTestSupport.h"

#include "report/render/rudDrawText.h"
#include "report/render/rudMemoDraw.h"

#include <numeric>

namespace {

// Lays Memo out at scale 1 and returns its wrapped lines.
QStringList layout(TfrxCustomMemoView *Memo)
{
    TfrxDrawText &text = TfrxDrawText::Instance();
    text.Lock();
    TfrxCanvas canvas;
    rudSetDrawParams(Memo, text, &canvas, 1, 1, 0, 0);
    const QStringList lines = text.Lines();
    text.Unlock();
    return lines;
}

// The text outputs of Memo drawn at Dpi on a recording image canvas.
std::vector<TfrxTextRecord> drawRecorded(TfrxCustomMemoView *Memo, int Dpi, bool Printer = false)
{
    const double scale = Dpi / 96.0;
    QImage image = whiteImage(rudRound((Memo->Left() + Memo->Width() + 10) * scale),
                              rudRound((Memo->Top() + Memo->Height() + 10) * scale));
    std::unique_ptr<TfrxCanvas> canvas = Printer ? std::make_unique<TTestPrinterCanvas>(&image, Dpi)
                                                 : std::make_unique<TfrxCanvas>(&image, Dpi, Dpi);
    canvas->SetRecording(true);
    Memo->SetIsPrinting(Printer);
    Memo->Draw(canvas.get(), scale, scale, 0, 0);
    Memo->SetIsPrinting(false);
    return canvas->TextRecords();
}

class DrawText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(layoutFontFamily().isEmpty()); }
    TRenderReport Report;
};

} // namespace

TEST_F(DrawText, FontHeightsAtLayoutScreenAndPrinterResolution)
{
    TfrxMemoView *memo = makeMemo(&Report, 10, 10, 200, 30, QStringLiteral("Текст"), 8);
    TfrxDrawText &text = TfrxDrawText::Instance();
    layout(memo);
    EXPECT_EQ(text.LayoutFontHeight(), -67);
    drawRecorded(memo, 96);
    EXPECT_EQ(text.LastDeviceFontHeight(), -11);
    drawRecorded(memo, 600, true);
    EXPECT_EQ(text.LastDeviceFontHeight(), -67);

    memo->Font()->SetHeight(-13);
    layout(memo);
    EXPECT_EQ(text.FontSize(), 10);
    EXPECT_EQ(text.LayoutFontHeight(), -83);
}

TEST_F(DrawText, WordWiderThanTheLineIsCut)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 40, 200, QStringLiteral("ПРЕПОДАВАТЕЛЬСКИЙ"));
    memo->SetGapX(0);
    const QStringList cut = layout(memo);
    ASSERT_GT(cut.size(), 1);
    EXPECT_EQ(cut.join(QString()), QStringLiteral("ПРЕПОДАВАТЕЛЬСКИЙ"));
    for (const QString &line : cut)
        EXPECT_FALSE(line.endsWith(QLatin1Char('-')));

    memo->SetWordBreak(true);
    const QStringList hyphenated = layout(memo);
    ASSERT_GT(hyphenated.size(), 1);
    const QString first = hyphenated.first();
    ASSERT_TRUE(first.endsWith(QLatin1Char('-'))) << first.toStdString();
    const int breakAt = int(first.size()) - 1;
    // The break lies at an allowed position and no later than the plain cut.
    const std::vector<int> allowed = BreakRussianWord(QStringLiteral("ПРЕПОДАВАТЕЛЬСКИЙ"));
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), breakAt), allowed.end());
    EXPECT_LT(breakAt, cut.first().size());
    QString joined;
    for (const QString &line : hyphenated)
        joined += line.endsWith(QLatin1Char('-')) ? line.chopped(1) : line;
    EXPECT_EQ(joined, QStringLiteral("ПРЕПОДАВАТЕЛЬСКИЙ"));

    // A Latin word has no hyphenation points: cut as without WordBreak.
    memo->SetText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW"));
    EXPECT_EQ(layout(memo).join(QString()), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW"));
}

TEST_F(DrawText, RussianHyphenationPoints)
{
    EXPECT_EQ(BreakRussianWord(QStringLiteral("МОЛОКО")), (std::vector<int>{2, 4}));
    EXPECT_EQ(BreakRussianWord(QStringLiteral("КЛАССА")), (std::vector<int>{4}));
    EXPECT_EQ(BreakRussianWord(QStringLiteral("ВОЙНА")), (std::vector<int>{3}));
    EXPECT_TRUE(BreakRussianWord(QStringLiteral("ДОМ")).empty());
    EXPECT_TRUE(BreakRussianWord(QStringLiteral("WORD")).empty());
}

TEST_F(DrawText, SpacesInsideNowrapNeverBreak)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 70, 200, QString());
    memo->SetAllowHTMLTags(true);
    memo->SetText(QStringLiteral("aa <nowrap>bb cc dd ee</nowrap> ff"));
    const QStringList lines = layout(memo);
    bool together = false;
    for (const QString &line : lines)
        together |= line.contains(QStringLiteral("bb cc dd ee"));
    EXPECT_TRUE(together) << lines.join(QLatin1Char('|')).toStdString();

    // Without the span the same width breaks inside it.
    memo->SetText(QStringLiteral("aa bb cc dd ee ff"));
    const QStringList plain = layout(memo);
    for (const QString &line : plain)
        EXPECT_FALSE(line.contains(QStringLiteral("bb cc dd ee"))) << plain.join(QLatin1Char('|')).toStdString();
}

TEST_F(DrawText, MarkupSetsStylesAndIsRemoved)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 400, 40, QStringLiteral("a<b>b</b><sub>c</sub><xyzw>d<font color=\"#FF0000\">e"));
    memo->SetAllowHTMLTags(true);
    EXPECT_EQ(layout(memo), QStringList{QStringLiteral("abcde")});
    const TfrxHTMLTags &tags = TfrxDrawText::Instance().TagLines().front();
    ASSERT_EQ(tags.size(), 5u);
    EXPECT_FALSE(tags[0].Style & fsBold);
    EXPECT_TRUE(tags[1].Style & fsBold);
    EXPECT_FALSE(tags[1].Default);
    EXPECT_EQ(tags[2].AddY, 1);
    EXPECT_TRUE(tags[2].Small);
    EXPECT_EQ(tags[4].Color, 0x0000FF);
    EXPECT_EQ(tags[4].Position, 51);
    memo->SetAllowHTMLTags(false);
    EXPECT_EQ(layout(memo).first(), memo->Memo().first());
}

TEST_F(DrawText, RotationWrapsToTheHeightAndReadsUpwards)
{
    TfrxMemoView *memo = makeMemo(&Report, 20, 20, 60, 200, QStringLiteral("один два три четыре пять"));
    memo->SetRotation(450);
    EXPECT_EQ(memo->Rotation(), 90);
    // 200 px of height take the whole text on one line; 60 of width would not.
    EXPECT_EQ(layout(memo).size(), 1);
    memo->SetRotation(0);
    EXPECT_GT(layout(memo).size(), 1);

    memo->SetRotation(90);
    QImage image = whiteImage(120, 260);
    {
        TfrxCanvas canvas(&image, 96, 96);
        memo->Draw(&canvas, 1, 1, 0, 0);
    }
    // The ink is a tall narrow column starting at the memo's left.
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isWhite(image, x, y)) {
                minX = std::min(minX, x); maxX = std::max(maxX, x);
                minY = std::min(minY, y); maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_GT(maxY - minY, 3 * (maxX - minX));
    EXPECT_GE(minX, 20);
    EXPECT_LT(maxX, 40);
    // The first word sits at the bottom: reading goes upwards.
    const auto records = drawRecorded(memo, 96);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_GT(records[0].Bounds.y(), 150);
}

TEST_F(DrawText, SizesWithLineSpacingAndEmptyLines)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 300, 100, QStringLiteral("one\r\n\r\nthree"), 9);
    memo->SetGapY(0);
    memo->SetLineSpacing(3);
    const QStringList lines = layout(memo);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral(" "));
    TfrxDrawText &text = TfrxDrawText::Instance();
    EXPECT_EQ(text.LineFlags(), (std::vector<int>{3, 3, 3}));
    EXPECT_DOUBLE_EQ(text.TextHeight(), 12);  // 9 pt: 75 px at 600 dpi
    EXPECT_DOUBLE_EQ(memo->CalcHeight(), 45); // 3 x (12 + 3)

    memo->SetLineSpacing(-2);
    EXPECT_DOUBLE_EQ(memo->CalcHeight(), 3 * 10 + 2);
}

TEST_F(DrawText, UnusedSpaceAndSplitting)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 300, 30, QStringLiteral("one\r\ntwo\r\nthree\r\nfour"), 9);
    memo->SetGapY(1); // text rectangle 30 - 2 + 1 = 29 high: height + 1 = 2 lines of 15 exactly
    memo->SetLineSpacing(3);
    memo->InitPart();
    const double unused = memo->DrawPart();
    EXPECT_DOUBLE_EQ(unused, 0.0001);
    EXPECT_EQ(memo->Memo(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(memo->PartMemo(), QStringLiteral("three\r\nfour\r\n"));
    EXPECT_FALSE(memo->LastParaBreak());

    memo->SetText(QStringLiteral("one"));
    TfrxDrawText &text = TfrxDrawText::Instance();
    layout(memo);
    EXPECT_DOUBLE_EQ(text.UnusedSpace(), 15);
}

TEST_F(DrawText, SplitInsideAParagraphKeepsTheStyle)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 80, 18, QString(), 9);
    memo->SetAllowHTMLTags(true);
    memo->SetText(QStringLiteral("<b>aaa bbb ccc ddd eee fff</b>"));
    bool paraBreak = false;
    const QString out = memo->GetOutBoundsText(paraBreak);
    EXPECT_TRUE(paraBreak);
    EXPECT_TRUE(out.startsWith(QStringLiteral("<font color=\"#000000\"><b>"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("aaa")));
    EXPECT_TRUE(memo->GetInBoundsText().startsWith(QStringLiteral("<b>aaa")));
}

TEST_F(DrawText, RightAlignedLineEndsAtTheExclusiveRight)
{
    TfrxMemoView *memo = makeMemo(&Report, 10, 10, 200, 20, QStringLiteral("Right"));
    memo->SetHAlign(haRight);
    for (int dpi : {96, 300, 600}) {
        const auto records = drawRecorded(memo, dpi);
        ASSERT_EQ(records.size(), 1u);
        const double scale = dpi / 96.0;
        const int exclusiveRight = rudRound((10 + 200) * scale) - rudRound(memo->GapX() * scale) + 1;
        EXPECT_EQ(records[0].Bounds.x() + records[0].Bounds.width(), exclusiveRight) << dpi;
    }
    memo->Font()->SetStyle(fsBold);
    const auto bold = drawRecorded(memo, 96);
    EXPECT_EQ(bold[0].Bounds.x() + bold[0].Bounds.width(), 210 - 2 + 1 - 1);
}

TEST_F(DrawText, JustifiedParagraphEndsLeftAligned)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 150, 200,
                                  QStringLiteral("Слово за слово, строка за строкой, абзац кончается здесь"));
    memo->SetHAlign(haBlock);
    const auto records = drawRecorded(memo, 96);
    ASSERT_GE(records.size(), 2u);
    const int left = rudRound(memo->GapX());
    const int right = 150 - rudRound(memo->GapX()) + 1;
    for (size_t i = 0; i + 1 < records.size(); ++i)
        EXPECT_EQ(records[i].Bounds.x() + records[i].Bounds.width(), right) << i;
    EXPECT_EQ(records.back().Bounds.x(), left);
    EXPECT_LT(records.back().Bounds.right(), right - 10);
}

TEST_F(DrawText, LineBreaksAreTheSameAtEveryResolution)
{
    TfrxMemoView *memo = makeMemo(&Report, 5, 5, 120, 120,
                                  QStringLiteral("Автошкола «Вираж» город Краснодар, улица Красная, дом 1"));
    memo->SetHAlign(haCenter);
    auto texts = [&](int dpi) {
        QStringList result;
        for (const TfrxTextRecord &r : drawRecorded(memo, dpi))
            result << r.Text;
        return result;
    };
    const QStringList at96 = texts(96);
    EXPECT_GT(at96.size(), 1);
    EXPECT_EQ(texts(300), at96);
    EXPECT_EQ(texts(600), at96);
}

TEST_F(DrawText, SpreadingIncrements)
{
    int arr[8] = {};
    IncArray(arr, 0, 7, 1, 3);
    EXPECT_EQ(std::accumulate(arr, arr + 8, 0), 3);
    int one[4] = {};
    IncArray(one, 0, 3, 1, 1);
    EXPECT_EQ(one[1], 1);
    int none[4] = {};
    IncArray(none, 0, 3, 1, 0);
    EXPECT_EQ(std::accumulate(none, none + 4, 0), 0);
}

TEST_F(DrawText, WysiwygForcesLayoutWidthsAndOffUsesTheDevicesOwn)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 300, 20, QStringLiteral("Иванов Иван Иванович"));
    TfrxCanvas measure;
    TfrxCanvasFont font;
    font.Name = layoutFontFamily();
    font.Height = -rudRound(10 * 96 / 72.0);
    measure.SetFont(font);
    const int deviceOwn = measure.TextWidth(memo->Memo().first());
    font.Height = -83;
    measure.SetFont(font);
    const int layoutWidth = rudRound(measure.TextWidth(memo->Memo().first()) / 6.25);

    const auto forced = drawRecorded(memo, 96);
    ASSERT_EQ(forced.size(), 1u);
    EXPECT_EQ(forced[0].Bounds.width(), layoutWidth);
    memo->SetWysiwyg(false);
    const auto own = drawRecorded(memo, 96);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].Bounds.width(), deviceOwn);
}

TEST_F(DrawText, VerticalAlignmentMovesTheBlock)
{
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 100, 100, QStringLiteral("низ"));
    memo->SetVAlign(vaBottom);
    const auto bottom = drawRecorded(memo, 96);
    ASSERT_EQ(bottom.size(), 1u);
    // 10 pt: block height Round((2 x 6.25 + 83) / 6.25) = 15; rectangle 1..100.
    EXPECT_EQ(bottom[0].Bounds.y(), 100 - 15);
    memo->SetVAlign(vaCenter);
    EXPECT_EQ(drawRecorded(memo, 96)[0].Bounds.y(), 1 + rudRound((99 - 15) / 2.0));

    // At 90 degrees the lines follow each other to the right; vaBottom puts
    // the block at the right edge.
    memo->SetRotation(90);
    memo->SetVAlign(vaBottom);
    const auto turned = drawRecorded(memo, 96);
    ASSERT_EQ(turned.size(), 1u);
    EXPECT_EQ(turned[0].Bounds.x(), 2 + (100 - 4 + 1) - 15);
}

TEST_F(DrawText, ALongParagraphTakesMemoryInProportionToItsLength)
{
    // 4,000 characters in a memo 100 pixels wide make some 300 lines; their
    // tags together hold one tag per character (and one per hyphen), never
    // a copy of the rest of the paragraph for every line.
    QString text;
    for (int i = 0; text.size() < 4000; ++i)
        text += QStringLiteral("ПОДЪЕЗД%1 ").arg(i);
    text.truncate(4000);
    TfrxMemoView *memo = makeMemo(&Report, 0, 0, 100, 20, text);
    for (const bool wordBreak : {false, true}) {
        memo->SetWordBreak(wordBreak);
        TfrxDrawText &layoutText = TfrxDrawText::Instance();
        layoutText.Lock();
        TfrxCanvas canvas;
        rudSetDrawParams(memo, layoutText, &canvas, 1, 1, 0, 0);
        const qsizetype lines = layoutText.Lines().size();
        size_t tags = 0, held = 0;
        for (const TfrxHTMLTags &line : layoutText.TagLines()) {
            tags += line.size();
            held += line.capacity();
        }
        layoutText.Unlock();
        EXPECT_GT(lines, 200) << wordBreak;
        EXPECT_LE(tags, size_t(4000 + lines)) << wordBreak;
        EXPECT_LE(held, size_t(2 * 4000)) << wordBreak;
    }
}
