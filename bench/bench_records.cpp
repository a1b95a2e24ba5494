// The register on an SQLite file: recording one certificate (a blank taken
// and the record written in one transaction, synced to disk), on an empty
// register and on one that holds 10,000; and listing 10,000 records, as the
// register window does when it opens.

#include "records/Register.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

TNewCertificate certificate(int I)
{
    TNewCertificate c;
    c.Series = QStringLiteral("АБ");
    c.FullName = QStringLiteral("Иванов Иван Иванович %1").arg(I);
    c.IssueDate = QDate(2026, 6, 15);
    c.Printer = QStringLiteral("PDF");
    // About as many values as the entry window's fields.
    for (int k = 1; k <= 10; ++k)
        c.Values.insert(QStringLiteral("edit_%1").arg(k), QStringLiteral("значение поля %1").arg(k));
    for (int k = 1; k <= 4; ++k)
        c.Values.insert(QStringLiteral("date%1").arg(k), QStringLiteral("15.06.2026"));
    return c;
}

// A register file with blanks АБ 000001 ... 100000 and Count records,
// made once per count.
QString registerFile(int Count)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("register-%1.sqlite").arg(Count));
    if (!QFile::exists(path)) {
        auto reg = TRegister::Open(path);
        reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("100000"));
        for (int i = 0; i < Count; ++i)
            reg->Record(certificate(i));
    }
    return path;
}

// A copy of that register in Folder, open.
std::unique_ptr<TRegister> makeRegister(const QTemporaryDir &Folder, int Count)
{
    const QString path = Folder.filePath(QStringLiteral("register.sqlite"));
    QFile::copy(registerFile(Count), path);
    return TRegister::Open(path);
}

} // namespace

static void BM_RecordOneCertificate(benchmark::State &state)
{
    QTemporaryDir folder;
    auto reg = makeRegister(folder, int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        if (!reg->NextFree(QStringLiteral("АБ"))) {
            state.SkipWithError("the blanks ran out");
            break;
        }
        benchmark::DoNotOptimize(reg->Record(certificate(i++)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RecordOneCertificate)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(500);

static void BM_ListTenThousand(benchmark::State &state)
{
    QTemporaryDir folder;
    auto reg = makeRegister(folder, 10000);
    for (auto _ : state)
        benchmark::DoNotOptimize(reg->List());
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ListTenThousand)->Unit(benchmark::kMillisecond);

static void BM_SearchTenThousandByName(benchmark::State &state)
{
    QTemporaryDir folder;
    auto reg = makeRegister(folder, 10000);
    TRegisterFilter filter;
    filter.Text = QStringLiteral("иванович 99");
    for (auto _ : state)
        benchmark::DoNotOptimize(reg->List(filter));
}
BENCHMARK(BM_SearchTenThousandByName)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
