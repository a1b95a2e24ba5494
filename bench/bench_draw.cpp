// Drawing the certificate page: the delivered template with a typical value
// in each of its 48 memos, drawn into an image at zoom 1 (96 dpi) and at
// 600 dpi; as the baseline QPainter draws the same 48 strings at the same
// places with drawText. Also the layout (CalcHeight) of one memo, and of one
// long paragraph.

#include "report/render/rudRenderRuntime.h"
#include "report/model/rudClass.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudRenderInit.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

struct TCertificate {
    TfrxReport Report;
    bool Served = (Report.SetServices(rudSharedStandardServices()), true);
    TfrxReportPage *Page = nullptr;
    QList<TfrxMemoView *> Memos;

    TCertificate()
    {
        Report.EngineOptions()->SetNewSilentMode(simSilent);
        Report.LoadFromFile(QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3"), true);
        for (TfrxComponent *child : Report.Objects())
            if (auto *page = qobject_cast<TfrxReportPage *>(child))
                Page = page;
        const QStringList values = {QStringLiteral("Автошкола «Вираж» ДОСААФ России"), QStringLiteral("Новосибирск"),
                                    QStringLiteral("Иванов Иван Иванович"), QStringLiteral("12"),
                                    QStringLiteral("сентября"), QStringLiteral("зачтено"), QStringLiteral("В")};
        int i = 0;
        for (TfrxComponent *object : Page->AllObjects())
            if (auto *memo = qobject_cast<TfrxMemoView *>(object)) {
                memo->SetText(values[i++ % values.size()]);
                Memos << memo;
            }
    }
};

TCertificate &certificate()
{
    static TCertificate c;
    return c;
}

QSize pageSize(int Dpi)
{
    TfrxReportPage *page = certificate().Page;
    return QSize(rudRound(page->PaperWidth() * fr01cm * Dpi / 96), rudRound(page->PaperHeight() * fr01cm * Dpi / 96));
}

void BM_DrawCertificatePage(benchmark::State &state)
{
    const int dpi = int(state.range(0));
    QImage image(pageSize(dpi), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        TfrxCanvas canvas(&image, dpi, dpi);
        rudDrawPage(certificate().Page, &canvas, dpi / 96.0, dpi / 96.0, 0, 0, {});
    }
}
BENCHMARK(BM_DrawCertificatePage)->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

void BM_QPainterBaseline(benchmark::State &state)
{
    const int dpi = int(state.range(0));
    const double scale = dpi / 96.0;
    QImage image(pageSize(dpi), QImage::Format_RGB32);
    TCertificate &c = certificate();
    const double margin = c.Page->LeftMargin() * fr01cm, top = c.Page->TopMargin() * fr01cm;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        for (TfrxMemoView *memo : c.Memos) {
            QFont font(memo->Font()->Name());
            font.setPixelSize(rudRound(memo->Font()->Size() * scale * 96 / 72));
            painter.setFont(font);
            const QRectF box((margin + memo->AbsLeft()) * scale, (top + memo->AbsTop()) * scale, memo->Width() * scale,
                             memo->Height() * scale);
            painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, memo->Memo().join('\n'));
        }
    }
}
BENCHMARK(BM_QPainterBaseline)->Arg(96)->Arg(600)->Unit(benchmark::kMillisecond);

void BM_MemoCalcHeight(benchmark::State &state)
{
    TCertificate &c = certificate();
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.Memos[i]->CalcHeight());
        i = (i + 1) % c.Memos.size();
    }
}
BENCHMARK(BM_MemoCalcHeight)->Unit(benchmark::kMicrosecond);

// One paragraph of Arg characters (words of 3 to 11 letters) wrapped in a
// memo 150 pixels wide, with and without hyphenation: time and memory per
// character must stay flat as the text grows.
void BM_WrapLongParagraph(benchmark::State &state)
{
    const int length = int(state.range(0));
    QString text;
    text.reserve(length);
    for (int word = 0; text.size() < length; ++word) {
        for (int k = 0; k < 3 + word % 9; ++k)
            text += QChar(char16_t(u'а' + (word * 7 + k * 3) % 32));
        text += QLatin1Char(' ');
    }
    text.truncate(length);
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    auto *page = new TfrxReportPage(&report);
    auto *memo = new TfrxMemoView(page);
    memo->SetBounds(0, 0, 150, 20);
    memo->SetWordBreak(state.range(1) != 0);
    memo->SetText(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(memo->CalcHeight());
    state.counters["seconds_per_char"] =
        benchmark::Counter(double(length) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WrapLongParagraph)
    ->ArgsProduct({{25000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    rudRenderInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
