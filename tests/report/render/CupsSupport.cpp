#include "CupsSupport.h"

#include "report/render/rudPrinter.h"
#include "support/ServerTestCount.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QXmlStreamReader>
#include <cstdio>

namespace {

constexpr double mmPerPoint = 25.4 / 72;

// Before anything asks CUPS for its printers: a run of this program that was
// not given a server uses the private one of its build folder.
const bool serverChosen = [] {
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        qputenv("CUPS_SERVER", QByteArray(RUD_DEFAULT_CUPS_DIR) + "/cups.sock");
    return true;
}();

QString run(const QString &Program, const QStringList &Arguments, int *ExitCode = nullptr)
{
    QProcess process;
    process.start(Program, Arguments);
    process.waitForFinished(120000);
    if (ExitCode)
        *ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The printing tests' count. The skip probe's run is its parent's test,
// not one of the suite's, and is not counted.
TServerTestCount *const printingCount = addServerTestCount(
    QStringLiteral("Printing tests against the private CUPS server"), QStringLiteral("RUD-PRINTING-SKIPPED"), [] {
        return qEnvironmentVariableIsSet("RUD_CUPS_SKIP_PROBE")
                   ? QString()
                   : cupsTest::Dir() +
                         QStringLiteral("/printing-tests-%1.txt").arg(QCoreApplication::applicationName());
    });

} // namespace

QString cupsTest::Dir()
{
    const QString dir = qEnvironmentVariable("RUD_CUPS_DIR");
    return dir.isEmpty() ? QStringLiteral(RUD_DEFAULT_CUPS_DIR) : dir;
}

bool cupsTest::Available(QString *Reason)
{
    static int state = -1; // -1 unknown, 0 unavailable, 1 running
    static QString reason;
    if (state < 0) {
        const QString script = qEnvironmentVariableIsEmpty("RUD_CUPS_SCRIPT")
                                   ? QStringLiteral(RUD_DEFAULT_CUPS_SCRIPT)
                                   : qEnvironmentVariable("RUD_CUPS_SCRIPT");
        int code = 0;
        run(QStringLiteral("bash"), {script, QStringLiteral("start"), Dir()}, &code);
        QFile why(Dir() + QStringLiteral("/unavailable"));
        if (code != 0)
            reason = QStringLiteral("the server's start script failed");
        else if (why.open(QIODevice::ReadOnly))
            reason = QString::fromUtf8(why.readAll()).trimmed();
        else if (qEnvironmentVariable("CUPS_SERVER") != Dir() + QStringLiteral("/cups.sock"))
            reason = QStringLiteral("CUPS_SERVER names another server");
        state = reason.isEmpty() ? 1 : 0;
        if (state == 1) {
            // The list was read before the server answered.
            rudPrinters().FillPrinters();
        }
    }
    if (Reason)
        *Reason = reason;
    return state == 1;
}

bool cupsTest::WaitIdle()
{
    QElapsedTimer timer;
    timer.start();
    qint64 lastSize = -1;
    while (timer.elapsed() < 60000) {
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty()) {
            qint64 size = 0;
            for (const QString &file : Pdfs())
                size += QFileInfo(file).size();
            if (size == lastSize)
                return true;
            lastSize = size;
        }
        QThread::msleep(200);
    }
    return false;
}

QStringList cupsTest::Pdfs()
{
    const QDir dir(Dir() + QStringLiteral("/pdf"));
    QList<QPair<int, QString>> jobs;
    static const QRegularExpression jobNumber(QStringLiteral("job_(\\d+)\\.pdf$"));
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
        const QRegularExpressionMatch m = jobNumber.match(info.fileName());
        jobs.append({m.hasMatch() ? m.captured(1).toInt() : 0, info.absoluteFilePath()});
    }
    std::sort(jobs.begin(), jobs.end());
    QStringList files;
    for (const auto &job : jobs)
        files << job.second;
    return files;
}

void cupsTest::ClearPdfs()
{
    for (const QString &file : Pdfs())
        QFile::remove(file);
}

TPdfInfo cupsTest::PdfInfo(const QString &FileName)
{
    TPdfInfo info;
    const QString text = run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                          QStringLiteral("-l"), QStringLiteral("1000"), FileName});
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    static const QRegularExpression size(QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption);
    info.Pages = pages.match(text).captured(1).toInt();
    for (auto it = size.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        info.Sizes.append(QSizeF(m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint));
    }
    return info;
}

QList<TPdfWord> cupsTest::PdfWords(const QString &FileName, int Page)
{
    const QString xml = run(QStringLiteral("pdftotext"),
                            {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(Page),
                             QStringLiteral("-l"), QString::number(Page), FileName, QStringLiteral("-")});
    QList<TPdfWord> words;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == QLatin1String("word")) {
            const QXmlStreamAttributes a = reader.attributes();
            TPdfWord word;
            word.Left = a.value(QLatin1String("xMin")).toDouble() * mmPerPoint;
            word.Top = a.value(QLatin1String("yMin")).toDouble() * mmPerPoint;
            word.Right = a.value(QLatin1String("xMax")).toDouble() * mmPerPoint;
            word.Bottom = a.value(QLatin1String("yMax")).toDouble() * mmPerPoint;
            word.Text = reader.readElementText();
            words.append(word);
        } else if (reader.atEnd()) {
            break;
        } else {
            reader.readNext();
        }
    }
    return words;
}

std::optional<TPdfWord> cupsTest::FindWord(const QList<TPdfWord> &Words, const QString &Text)
{
    for (const TPdfWord &word : Words)
        if (word.Text == Text)
            return word;
    return std::nullopt;
}

void CupsPrinting::SetUp()
{
    QString reason;
    if (!cupsTest::Available(&reason))
        GTEST_SKIP() << "no private CUPS server: " << qPrintable(reason);
    cupsTest::ClearPdfs();
    TfrxPrinters &printers = rudPrinters();
    const int index = printers.IndexOf(QStringLiteral("PDF"));
    ASSERT_GE(index, 0) << "the private server has no PDF queue";
    printers.SetPrinterIndex(index);
}

void CupsPrinting::TearDown()
{
    // Counted here, after the test body, so that a test which skips on its
    // way counts as skipped, not as run.
    printingCount->CountCurrentTest();
}

QString CupsPrinting::PrintedPdf()
{
    EXPECT_TRUE(cupsTest::WaitIdle()) << "the queue did not finish its jobs";
    const QStringList files = cupsTest::Pdfs();
    EXPECT_EQ(files.size(), 1) << qPrintable(files.join(QLatin1Char(' ')));
    return files.isEmpty() ? QString() : files.last();
}
