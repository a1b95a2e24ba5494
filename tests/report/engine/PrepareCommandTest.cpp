// rudreport prepare and render over a band report fed from a CSV file: the
// prepared report is written, the PDF holds every row once and in order over
// several pages, and a missing data set ends with the final message.

#include "support/TestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int Code;
    QString Out, Err;
};

TRun run(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString rudreport()
{
    return qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
}

QString dataFile(const char *name)
{
    return sourceDir() + QStringLiteral("/tests/report/engine/data/") + QLatin1String(name);
}

} // namespace

TEST(PrepareCommandTest, CsvBandReportBecomesAMultiPagePdfWithEveryRowOnceInOrder)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString fp3 = dir.filePath("out.fp3"), pdf = dir.filePath("out.pdf"), txt = dir.filePath("out.txt");
    const QString data = QStringLiteral("Trainees=") + dataFile("trainees.csv");

    TRun prepared = run(rudreport(), {"prepare", dataFile("band_report.fr3"), fp3, "--data", data});
    ASSERT_EQ(prepared.Code, 0) << prepared.Err.toStdString();
    ASSERT_TRUE(QFileInfo(fp3).size() > 0);

    TRun rendered = run(rudreport(), {"render", fp3, pdf});
    ASSERT_EQ(rendered.Code, 0) << rendered.Err.toStdString();
    TRun text = run(pdftotext, {"-layout", pdf, txt});
    ASSERT_EQ(text.Code, 0) << text.Err.toStdString();
    QFile f(txt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString all = QString::fromUtf8(f.readAll());
    const QStringList pages = all.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    EXPECT_GE(pages.size(), 3) << "70 rows of 22 units do not fit one A5 page";
    // Every trainee once, in order, each with its row number and hours.
    const QRegularExpression row(QStringLiteral("(\\d+)\\.\\s+Trainee(\\d{3}) Surname\\s+(\\d+) h"));
    QList<int> seen;
    for (auto it = row.globalMatch(all); it.hasNext();) {
        const auto m = it.next();
        EXPECT_EQ(m.captured(1).toInt(), m.captured(2).toInt());
        EXPECT_EQ(m.captured(3).toInt(), 100 + m.captured(2).toInt());
        seen << m.captured(2).toInt();
    }
    ASSERT_EQ(seen.size(), 70);
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(seen[i], i + 1);
    // Each page has the header and "Page n of N" at its foot.
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].contains("Trainees of the course")) << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size()))) << "page " << i + 1;
    }

    // The template itself renders the same way, prepared first.
    TRun direct = run(rudreport(), {"render", dataFile("band_report.fr3"), dir.filePath("direct.pdf"), "--data", data});
    EXPECT_EQ(direct.Code, 0) << direct.Err.toStdString();
}

TEST(PrepareCommandTest, MissingDataEndsWithTheFinalMessage)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    TRun r = run(rudreport(), {"prepare", dataFile("band_report.fr3"), dir.filePath("out.fp3")});
    EXPECT_NE(r.Code, 0);
    EXPECT_TRUE(r.Err.endsWith("The following error(s) have occured:\nDataset \"Trainees\" does not exist\n"))
        << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.fp3")));
    TRun bad = run(rudreport(), {"prepare", dataFile("band_report.fr3")});
    EXPECT_EQ(bad.Code, 2);
}

// A script that never ends stops at the time limit: the command says so and
// fails, whichever command prepared the report.
TEST(PrepareCommandTest, AScriptThatNeverEndsStopsAtTheTimeLimit)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    const QString endless = dir.filePath("endless.fr3");
    QFile file(endless);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
               "<TfrxReport ScriptText.Text=\"var i: Integer;&#13;&#10;begin&#13;&#10;  while True do "
               "try i := i + 1 except end;&#13;&#10;end.\">\n"
               "  <TfrxReportPage Name=\"Page1\" PaperSize=\"11\"/>\n</TfrxReport>\n");
    file.close();
    const QString message = QStringLiteral("The script ran longer than the time limit of 1 s and was stopped");
    for (const QStringList &args : {QStringList{"prepare", endless, dir.filePath("out.fp3"), "--time-limit", "1"},
                                    QStringList{"--time-limit", "1", "render", endless, dir.filePath("out.pdf")},
                                    QStringList{"print", endless, "--time-limit", "1"}}) {
        TRun r = run(rudreport(), args);
        EXPECT_EQ(r.Code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(message)) << r.Err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.fp3")));
    TRun help = run(rudreport(), {"--help"});
    EXPECT_TRUE(help.Out.contains("--time-limit SECONDS")) << help.Out.toStdString();
    EXPECT_EQ(run(rudreport(), {"prepare", endless, dir.filePath("out.fp3"), "--time-limit", "soon"}).Code, 2);
}
