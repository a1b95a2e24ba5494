// Reading and writing a template-like XML document of about 20 MB (pages
// holding thousands of memos with Cyrillic texts and escaped line breaks),
// with the engine's reader and writer and, for comparison, with pugixml.

#include "report/model/rudXML.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <QBuffer>
#include <QByteArray>
#include <string>

namespace {

const QByteArray &document()
{
    static const QByteArray doc = [] {
        QByteArray d;
        d.reserve(21 * 1024 * 1024);
        d += "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";
        d += "<TfrxReport Version=\"5.1.1\" DotMatrixReport=\"False\" IniFile=\"\\Software\\Dodi Varoras\">\r\n";
        const QByteArray text = QStringLiteral("Свидетельство о профессии водителя&#13;&#10;"
                                               "Автошкола &#34;Вираж&#34;, г. Новосибирск&#13;&#10;[Page#]")
                                    .toUtf8();
        int memo = 0;
        for (int page = 1; d.size() < 20 * 1024 * 1024; ++page) {
            d += "  <TfrxReportPage Name=\"Page" + QByteArray::number(page) +
                 "\" PaperWidth=\"148\" PaperHeight=\"210\" PaperSize=\"11\" LeftMargin=\"10\">\r\n";
            for (int i = 0; i < 5000; ++i, ++memo) {
                d += "    <TfrxMemoView Name=\"Memo" + QByteArray::number(memo) + "\" Left=\"3,77952756\" Top=\"" +
                     QByteArray::number(18.8976377952756 * (i % 40)) +
                     "\" Width=\"468,66172\" Height=\"15,11811024\" Font.Charset=\"204\" Font.Color=\"0\" "
                     "Font.Height=\"-11\" Font.Name=\"Times New Roman\" Font.Style=\"0\" ParentFont=\"False\" "
                     "Text=\"" + text + "\"/>\r\n";
            }
            d += "  </TfrxReportPage>\r\n";
        }
        d += "</TfrxReport>\r\n";
        return d;
    }();
    return doc;
}

void BM_RudRead(benchmark::State &state)
{
    QByteArray bytes = document();
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TfrxXMLDocument doc;
        doc.LoadFromStream(&buffer);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void BM_RudWrite(benchmark::State &state)
{
    QByteArray bytes = document();
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    TfrxXMLDocument doc;
    doc.LoadFromStream(&source);
    QByteArray out;
    out.reserve(bytes.size() + 1024 * 1024);
    for (auto _ : state) {
        out.resize(0);
        QBuffer target(&out);
        target.open(QIODevice::WriteOnly);
        doc.SaveToStream(&target);
        benchmark::DoNotOptimize(out.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * out.size());
}

void BM_PugiRead(benchmark::State &state)
{
    const QByteArray &bytes = document();
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(bytes.constData(), size_t(bytes.size()));
        benchmark::DoNotOptimize(doc.first_child());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

struct TStringWriter : pugi::xml_writer {
    std::string Out;
    void write(const void *data, size_t size) override { Out.append(static_cast<const char *>(data), size); }
};

void BM_PugiWrite(benchmark::State &state)
{
    const QByteArray &bytes = document();
    pugi::xml_document doc;
    doc.load_buffer(bytes.constData(), size_t(bytes.size()));
    TStringWriter writer;
    writer.Out.reserve(size_t(bytes.size()) + 1024 * 1024);
    for (auto _ : state) {
        writer.Out.clear();
        doc.save(writer, "", pugi::format_raw);
        benchmark::DoNotOptimize(writer.Out.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(writer.Out.size()));
}

} // namespace

BENCHMARK(BM_RudRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugiRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RudWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugiWrite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
