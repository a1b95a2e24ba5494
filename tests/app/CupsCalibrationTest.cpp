// A printer queue's calibration moves what it prints, and only what it prints.

#include "RegisterTestSupport.h"

#include "report/render/CupsSupport.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// Every queue's calibration removed when the test ends, so that the other
// printing tests print as designed.
struct TCalibrationReset {
    ~TCalibrationReset()
    {
        for (const char *queue : {"PDF", "Office"})
            runQuorvel({QStringLiteral("--calibration"), QString::fromLatin1(queue), QStringLiteral("--offset"),
                        QStringLiteral("0,0"), QStringLiteral("--scale"), QStringLiteral("1,1")});
    }
};

// Words that occur once on the page, by their text.
QMap<QString, TPdfWord> uniqueWords(const QList<TPdfWord> &Words)
{
    QMap<QString, TPdfWord> result;
    QSet<QString> repeated;
    for (const TPdfWord &word : Words) {
        if (result.contains(word.Text))
            repeated.insert(word.Text);
        result.insert(word.Text, word);
    }
    for (const QString &text : repeated)
        result.remove(text);
    return result;
}

// The words of a PDF's first page, read with a pattern: the sheet's
// Cyrillic captions come out of pdftotext as characters an XML reader
// refuses.
QList<TPdfWord> sheetWords(const QString &File)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), File,
                                            QStringLiteral("-")});
    EXPECT_TRUE(run.waitForFinished(60000));
    constexpr double mmPerPoint = 25.4 / 72;
    const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<TPdfWord> words;
    for (auto it = word.globalMatch(QString::fromUtf8(run.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                      m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint});
    }
    return words;
}

} // namespace

// Offset (1.5, -0.75) and scale (1.01, 1) on the PDF queue: every value
// lands where the correction puts it (scaled about the paper's corner, then
// moved), another queue's calibration leaves the queue alone, and the PDF
// takes it only when asked.
TEST_F(CupsPrinting, CalibrationMovesEveryValueOnItsQueueOnly)
{
    TRegisterFolder folder;
    TCalibrationReset reset;
    auto print = [&] {
        const TRun run = runQuorvel({QStringLiteral("--print"), folder.Certificate, QStringLiteral("--printer"),
                                     QStringLiteral("PDF"), QStringLiteral("--db"), folder.Database});
        EXPECT_EQ(run.Code, 0) << qPrintable(run.Err);
        const QString pdf = PrintedPdf();
        const QList<TPdfWord> words = cupsTest::PdfWords(pdf);
        cupsTest::ClearPdfs();
        return uniqueWords(words);
    };
    auto pdf = [&](const QString &Name, const QStringList &More) {
        const QString file = folder.Path(Name);
        const TRun run = runQuorvel(QStringList{QStringLiteral("--pdf"), folder.Certificate, file} + More);
        EXPECT_EQ(run.Code, 0) << qPrintable(run.Err);
        return uniqueWords(cupsTest::PdfWords(file));
    };

    QFile templateFile(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/shablon.fr3"));
    ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
    const QByteArray templateBytes = templateFile.readAll();
    templateFile.close();
    const TRun other = runQuorvel({QStringLiteral("--calibration"), QStringLiteral("Office"), QStringLiteral("--offset"),
                                   QStringLiteral("3,3")});
    ASSERT_EQ(other.Code, 0) << qPrintable(other.Err);
    const QMap<QString, TPdfWord> plain = print();
    const QMap<QString, TPdfWord> plainPdf = pdf(QStringLiteral("plain.pdf"), {});

    const TRun set = runQuorvel({QStringLiteral("--calibration"), QStringLiteral("PDF"), QStringLiteral("--offset"),
                                 QStringLiteral("1.5,-0.75"), QStringLiteral("--scale"), QStringLiteral("1.01,1")});
    ASSERT_EQ(set.Code, 0) << qPrintable(set.Err);
    EXPECT_EQ(set.Out.trimmed(), QStringLiteral("PDF: смещение 1,50; -0,75 мм, масштаб 1,0100; 1,0000"));
    const TRun shown = runQuorvel({QStringLiteral("--calibration"), QStringLiteral("PDF")});
    EXPECT_EQ(shown.Out, set.Out);

    const QMap<QString, TPdfWord> calibrated = print();
    const QMap<QString, TPdfWord> stillPlainPdf = pdf(QStringLiteral("still.pdf"), {});
    const QMap<QString, TPdfWord> calibratedPdf =
        pdf(QStringLiteral("calibrated.pdf"), {QStringLiteral("--calibrated"), QStringLiteral("PDF")});

    ASSERT_GE(plain.size(), 20);
    for (const char *value : {"Иванов", "Автошкола", "Тверь", "водитель"})
        EXPECT_TRUE(plain.contains(QString::fromUtf8(value))) << value;
    // A word that runs into a neighbour or repeats after the move is left out.
    int compared = 0, inPdf = 0;
    for (auto it = plain.cbegin(); it != plain.cend(); ++it) {
        const std::string text = it.key().toStdString();
        const TPdfWord &was = it.value();
        if (calibrated.contains(it.key())) {
            const TPdfWord &now = calibrated[it.key()];
            EXPECT_NEAR(now.Left, was.Left * 1.01 + 1.5, 0.1) << text;
            EXPECT_NEAR(now.Top, was.Top - 0.75, 0.1) << text;
            EXPECT_NEAR(now.Bottom, was.Bottom - 0.75, 0.1) << text;
            ++compared;
        }
        if (plainPdf.contains(it.key()) && stillPlainPdf.contains(it.key()) && calibratedPdf.contains(it.key())) {
            EXPECT_NEAR(stillPlainPdf[it.key()].Left, plainPdf[it.key()].Left, 0.01) << text;
            EXPECT_NEAR(stillPlainPdf[it.key()].Top, plainPdf[it.key()].Top, 0.01) << text;
            EXPECT_NEAR(calibratedPdf[it.key()].Left, plainPdf[it.key()].Left * 1.01 + 1.5, 0.1) << text;
            EXPECT_NEAR(calibratedPdf[it.key()].Top, plainPdf[it.key()].Top - 0.75, 0.1) << text;
            ++inPdf;
        }
    }
    EXPECT_GE(compared, plain.size() - 2);
    EXPECT_GE(inPdf, 10);
    ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(templateFile.readAll(), templateBytes);
}

// The calibration sheet goes through the print loop uncalibrated, whatever
// the queue's calibration, with each mark's numbers where the mark puts
// them: tick 10 of the X vernier 9 mm right of the zero line, of the Y
// vernier 9 mm below it.
TEST_F(CupsPrinting, CalibrationSheetMarksAtTheirPlaces)
{
    TCalibrationReset reset;
    ASSERT_EQ(runQuorvel({QStringLiteral("--calibration"), QStringLiteral("PDF"), QStringLiteral("--offset"),
                          QStringLiteral("2,2")})
                  .Code,
              0);
    const TRun run = runQuorvel({QStringLiteral("--calibration-sheet"), QStringLiteral("PDF")});
    ASSERT_EQ(run.Code, 0) << qPrintable(run.Err);
    const QString pdf = PrintedPdf();
    const TPdfInfo info = cupsTest::PdfInfo(pdf);
    ASSERT_EQ(info.Pages, 1);
    EXPECT_NEAR(info.Sizes[0].width(), calibrationSheetWidth, 1);
    EXPECT_NEAR(info.Sizes[0].height(), calibrationSheetHeight, 1);
    const QList<TPdfWord> words = sheetWords(pdf);
    auto near = [&](double X, double Y, bool RightAligned) {
        return std::any_of(words.begin(), words.end(), [&](const TPdfWord &w) {
            const double x = RightAligned ? w.Right : (w.Left + w.Right) / 2;
            return w.Text == QLatin1String("10") && std::abs(x - X) < 0.3 && std::abs((w.Top + w.Bottom) / 2 - Y) < 0.5;
        });
    };
    for (const TfrxCalibrationMark &mark : rudCalibrationMarks()) {
        const double x = mark.Designed.x(), y = mark.Designed.y();
        EXPECT_TRUE(near(x + 9, y + 6.4, false)) << qPrintable(mark.Caption);
        EXPECT_TRUE(near(x - 5.4, y + 9, true)) << qPrintable(mark.Caption);
    }
}

// A value too long for its place stops the print command: nothing reaches
// the queue (exit 3, the field named); --shrink prints a name that fits at
// 6 pt whole on one line.
TEST_F(CupsPrinting, ALongNameStopsThePrintCommandUnlessShrunk)
{
    TRegisterFolder folder;
    auto nameOf = [](int Length) {
        QString name = QStringLiteral("Константинопольская Верхнеднепровская");
        while (name.size() < Length)
            name += QStringLiteral(" Александра Владимировна");
        return name.left(Length).trimmed();
    };
    QFile file(folder.Certificate);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray certificate = file.readAll();
    file.close();
    auto print = [&](const QString &Name, const QStringList &More) {
        QFile vod(folder.Certificate);
        EXPECT_TRUE(vod.open(QIODevice::WriteOnly | QIODevice::Truncate));
        vod.write(QByteArray(certificate).replace("edit_5=Иванов Иван", "edit_5=" + Name.toUtf8()));
        vod.close();
        return runQuorvel(QStringList{QStringLiteral("--print"), folder.Certificate, QStringLiteral("--db"),
                                      folder.Database} + More);
    };

    const TRun stopped = print(nameOf(150), {});
    EXPECT_EQ(stopped.Code, 3) << qPrintable(stopped.Err);
    EXPECT_TRUE(stopped.Err.contains(QStringLiteral("ФИО обучающегося: «%1»").arg(nameOf(150))))
        << qPrintable(stopped.Err);
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_TRUE(cupsTest::Pdfs().isEmpty());

    const QString name = nameOf(110);
    const TRun shrunk = print(name, {QStringLiteral("--shrink")});
    ASSERT_EQ(shrunk.Code, 0) << qPrintable(shrunk.Err);
    const QStringList parts = name.split(QLatin1Char(' '));
    QList<TPdfWord> printed;
    for (const TPdfWord &word : sheetWords(PrintedPdf()))
        if (parts.contains(word.Text))
            printed << word;
    ASSERT_EQ(printed.size(), parts.size());
    for (const TPdfWord &word : printed)
        EXPECT_NEAR(word.Top, printed[0].Top, 0.3) << "the whole name on one line: " << qPrintable(word.Text);
}
