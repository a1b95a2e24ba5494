// The certificate program's own speed: from start to the entry window on
// screen, from the print command to the first painted preview page, the
// register window opened on a long register, and a group from its list to
// the preview or to a PDF.

#include "app/CertificateFile.h"
#include "app/GroupPrint.h"
#include "app/RegisterLocation.h"
#include "app/RegisterWindow.h"
#include "app/main.h"
#include "records/Register.h"
#include "base/DateTime.h"
#include "base/FormatSettings.h"
#include "base/UserInterface.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/SystemFonts.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPdfOutput.h"
#include "report/render/rudRenderInit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Start-up as main() does it after the application object: fonts,
// regional settings, engine, then the entry window until it is exposed.
void BM_StartToWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        registerSystemFonts();
        setFormatSettings(systemFormatSettings());
        rudEngineInit();
        TfmMain window;
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
    }
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond);

// The entry window of a filled certificate, its template beside it.
struct TFilledWindow {
    TFilledWindow()
    {
        QFile::copy(QStringLiteral(":/template/shablon.fr3"), Folder.filePath(QStringLiteral("shablon.fr3")));
        Window.TemplateFolder = Folder.path();
        const char *edits[] = {"Автошкола [филиал]", "Тверской области", "г. Тверь", "АБ", "Иванов Иван Иванович",
                               "категории \"В\"", "водитель", "B", "Петров П. П.", "17"};
        for (int i = 1; i <= 10; ++i)
            Window.Component<TEdit>(QStringLiteral("Edit_%1").arg(i))->setText(QString::fromUtf8(edits[i - 1]));
        Window.DateTimePicker1->SetDate(EncodeDate(2015, 5, 3));
        Window.DateTimePicker2->SetDate(EncodeDate(2015, 7, 28));
        for (int i = 1; i <= 10; ++i)
            Window.Component<QComboBox>(QStringLiteral("cmb_%1").arg(i))->setCurrentIndex(0);
    }
    QTemporaryDir Folder;
    TfmMain Window;
};

// Paints prepared page 0 as the preview does at zoom 1.
void paintFirstPage(TfrxReport *Report)
{
    static QImage image(600, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TfrxCanvas canvas(&painter, 96, 96);
    Report->PreviewPages()->DrawPage(0, &canvas, 1, 1, 0, 0);
}

// The print command up to the first painted page, and each of its parts.
void BM_PrintToFirstPaintedPage(benchmark::State &state)
{
    TFilledWindow filled;
    TfmMain &w = filled.Window;
    TfrxReport *report = w.rudReport1;
    const int part = int(state.range(0));
    for (auto _ : state) {
        if (part != 0) {
            // Only one part is timed; the others set it up.
            state.PauseTiming();
            if (part >= 2)
                report->LoadFromFile(w.TemplatePath());
            if (part >= 3)
                w.preprint();
            if (part >= 5)
                report->PrepareReport(true);
            state.ResumeTiming();
        }
        switch (part) {
        case 0:
            if (w.FillReport() && report->PrepareReport(true))
                paintFirstPage(report);
            break;
        case 1: benchmark::DoNotOptimize(w.CorrectAll()); break;
        case 2: report->LoadFromFile(w.TemplatePath()); break;
        case 3: w.preprint(); break;
        case 4: report->PrepareReport(true); break;
        case 5: paintFirstPage(report); break;
        }
    }
}
// 0: the whole command; 1 validate, 2 load template, 3 fill, 4 prepare, 5 paint.
BENCHMARK(BM_PrintToFirstPaintedPage)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The register window opened on a register of 10,000 certificates (an
// SQLite file made once): connecting, reading the list and the stock, and
// the window shown, sorted by name.
void BM_RegisterWindowOn10000Records(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("register.sqlite"));
    TFilledWindow filled;
    TfmMain &w = filled.Window;
    {
        const std::unique_ptr<TRegister> reg = TRegister::Open(file);
        reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("010000"));
        TNewCertificate c;
        c.Series = QStringLiteral("АБ");
        c.IssueDate = QDate(2026, 6, 1);
        c.Printer = QStringLiteral("PDF");
        c.Values = certificateValues(w);
        for (int i = 0; i < 10000; ++i) {
            c.FullName = QStringLiteral("Слушатель %1").arg((i * 7919) % 10000);
            reg->Record(c);
        }
    }
    setRegisterLocationOverride(file);
    for (auto _ : state) {
        w.CloseRegister();
        TfmRegister window(&w);
        window.Refresh();
        window.show();
        window.RecordsView->sortByColumn(TRegisterModel::colName, Qt::AscendingOrder);
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
    }
    setRegisterLocationOverride(QString());
}
BENCHMARK(BM_RegisterWindowOn10000Records)->Unit(benchmark::kMillisecond);

// A group list of Count trainees as a school saves it (CSV, semicolons).
QString writeGroupList(const QTemporaryDir &Folder, int Count)
{
    const QString path = Folder.filePath(QStringLiteral("group%1.csv").arg(Count));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray text = "ФИО;Оценка 1;Оценка 2;Оценка 3;Оценка 4;Оценка 5;Оценка 6;Оценка 7;Оценка 8;Оценка 9;Оценка 10\r\n";
    for (int i = 0; i < Count; ++i)
        text += QStringLiteral("Слушатель%1 Иван Петрович;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;Отлично\r\n")
                    .arg(i)
                    .toUtf8();
    file.write(text);
    return path;
}

// A group of 30 from its list to the first painted preview page: reading
// the list, the checks of every row, preparing every certificate.
void BM_GroupOf30ToFirstPaintedPage(benchmark::State &state)
{
    TFilledWindow filled;
    TfmMain &w = filled.Window;
    const QString list = writeGroupList(filled.Folder, 30);
    for (auto _ : state) {
        const TGroupList group = readGroupList(list, groupListOptions());
        QList<TGroupCertificate> certificates;
        if (checkGroup(w, group.Trainees).isEmpty() && prepareGroup(w, group.Trainees, certificates))
            paintFirstPage(w.rudReport1);
    }
}
BENCHMARK(BM_GroupOf30ToFirstPaintedPage)->Unit(benchmark::kMillisecond);

// A group of 1,000 from its list to a PDF of every certificate.
void BM_GroupOf1000ToPdf(benchmark::State &state)
{
    TFilledWindow filled;
    TfmMain &w = filled.Window;
    const QString list = writeGroupList(filled.Folder, 1000);
    const QString pdf = filled.Folder.filePath(QStringLiteral("group.pdf"));
    for (auto _ : state) {
        const TGroupList group = readGroupList(list, groupListOptions());
        QList<TGroupCertificate> certificates;
        if (checkGroup(w, group.Trainees).isEmpty() && prepareGroup(w, group.Trainees, certificates))
            rudSaveReportToPdf(w.rudReport1, pdf);
    }
}
BENCHMARK(BM_GroupOf1000ToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    registerSystemFonts();
    setFormatSettings(systemFormatSettings());
    rudEngineInit();
    rudRenderInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
