// rudreport render: the delivered template as a PDF of the exact paper size
// holding every placeholder, and as a PNG at the asked resolution.

#include "RenderTestSupport.h"

#include "support/TestSupport.h"

#include "report/model/rudClass.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

struct TToolRun {
    int Code = -1;
    QString Out, Err;
};

TToolRun runTool(const QString &Program, const QStringList &Args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(Program, Args);
    p.waitForFinished(300000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString rudreport()
{
    return qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
}

QString withoutSpaces(QString Text)
{
    return Text.remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

TEST(RenderCommand, TemplateAsPdfOfTheExactPaperSizeWithEveryPlaceholder)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    const QString shablon = sourceDir() + QStringLiteral("/resources/shablon.fr3");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const TToolRun run = runTool(rudreport(), {QStringLiteral("render"), shablon, pdf});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();

    const TToolRun info = runTool(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_EQ(info.Code, 0);
    EXPECT_TRUE(info.Out.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    // 148 x 210 mm in points.
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info.Out);
    ASSERT_TRUE(size.hasMatch()) << info.Out.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), 148 / 25.4 * 72, 0.1);
    EXPECT_NEAR(size.captured(2).toDouble(), 210 / 25.4 * 72, 0.1);

    const TToolRun text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_EQ(text.Code, 0);
    const QString pdfText = withoutSpaces(text.Out);
    TRenderReport report;
    report.LoadFromFile(shablon, true);
    int placeholders = 0;
    for (TfrxComponent *object : report.AllObjects())
        if (auto *memo = qobject_cast<TfrxMemoView *>(object)) {
            ++placeholders;
            EXPECT_TRUE(pdfText.contains(withoutSpaces(memo->Text()))) << memo->Name().toStdString();
        }
    EXPECT_EQ(placeholders, 48);
}

TEST(RenderCommand, PngAtTheAskedResolution)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    const QString shablon = sourceDir() + QStringLiteral("/resources/shablon.fr3");
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("out.png"));
    TToolRun run = runTool(rudreport(), {QStringLiteral("render"), shablon, png, QStringLiteral("--dpi"),
                                         QStringLiteral("600")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QImage image(png);
    EXPECT_NEAR(image.width(), 3496, 1);
    EXPECT_NEAR(image.height(), 4961, 1);
    // Something was drawn.
    int ink = 0;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ink += !isWhite(image, x, y);
    EXPECT_GT(ink, 100);

    run = runTool(rudreport(), {QStringLiteral("render"), shablon, png, QStringLiteral("--page"), QStringLiteral("2")});
    EXPECT_EQ(run.Code, 1);
    run = runTool(rudreport(), {QStringLiteral("render"), shablon});
    EXPECT_EQ(run.Code, 2);
    run = runTool(rudreport(), {QStringLiteral("render"), dir.filePath(QStringLiteral("missing.fr3")), png});
    EXPECT_EQ(run.Code, 1);
}

// The pages of one rendering replace their images together: when one page's
// file cannot be written (a folder stands where OUT-3.png goes), every old
// image stays as it was; otherwise every page gets its file.
TEST(RenderCommand, PagesAsPngReplaceTheOldImagesAllOrNone)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    const QString data = sourceDir() + QStringLiteral("/tests/report/engine/data/");
    QTemporaryDir dir;
    const QStringList names = {QStringLiteral("out.png"), QStringLiteral("out-2.png"), QStringLiteral("out-3.png")};
    for (const QString &name : names.first(2)) {
        QFile old(dir.filePath(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old image");
    }
    ASSERT_TRUE(QDir().mkdir(dir.filePath(names[2])));
    const QStringList args = {QStringLiteral("render"), data + QStringLiteral("band_report.fr3"),
                              dir.filePath(names[0]), QStringLiteral("--dpi"), QStringLiteral("20"),
                              QStringLiteral("--data"), QStringLiteral("Trainees=") + data + QStringLiteral("trainees.csv")};
    TToolRun run = runTool(rudreport(), args);
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(dir.filePath(names[2]))) << run.Err.toStdString();
    for (const QString &name : names.first(2)) {
        QFile old(dir.filePath(name));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old image") << name.toStdString();
    }

    ASSERT_TRUE(QDir().rmdir(dir.filePath(names[2])));
    run = runTool(rudreport(), args);
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    for (const QString &name : names)
        EXPECT_FALSE(QImage(dir.filePath(name)).isNull()) << name.toStdString();
}
