// The print command from the command line: arguments, the same checks and
// messages as the window (on stderr), and the PDF of a saved certificate
// with its values at their memo positions.

#include "PrintTestSupport.h"

#include "app/mainHeadless.h"
#include "base/Errors.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(Headless, ArgumentsAreReadOrRefusedWithTheUsage)
{
    EXPECT_FALSE(parseHeadlessCommand({}).has_value());
    const auto print = parseHeadlessCommand({"--print", "a.vod", "--printer", "PDF", "--copies", "2"});
    ASSERT_TRUE(print.has_value());
    EXPECT_EQ(print->Kind, THeadlessCommand::Print);
    EXPECT_EQ(print->CertificateFile, "a.vod");
    EXPECT_EQ(print->Printer, "PDF");
    EXPECT_EQ(print->Copies, 2);
    const auto pdf = parseHeadlessCommand({"--pdf", "a.vod", "out.pdf"});
    ASSERT_TRUE(pdf.has_value());
    EXPECT_EQ(pdf->Kind, THeadlessCommand::Pdf);
    EXPECT_EQ(pdf->PdfFile, "out.pdf");
    EXPECT_FALSE(pdf->WithBackground);
    const auto scan = parseHeadlessCommand({"--pdf", "a.vod", "out.pdf", "--with-background"});
    ASSERT_TRUE(scan.has_value());
    EXPECT_TRUE(scan->WithBackground);
    // A certificate file alone starts the window with it; --help shows the usage.
    const auto open = parseHeadlessCommand({"a.vod"});
    ASSERT_TRUE(open.has_value());
    EXPECT_EQ(open->Kind, THeadlessCommand::Open);
    EXPECT_EQ(open->CertificateFile, "a.vod");
    EXPECT_EQ(parseHeadlessCommand({"--help"})->Kind, THeadlessCommand::Help);
    EXPECT_EQ(pdf->TimeLimit, 300);
    EXPECT_EQ(parseHeadlessCommand({"--pdf", "a.vod", "out.pdf", "--time-limit", "5"})->TimeLimit, 5);
    EXPECT_EQ(parseHeadlessCommand({"--print", "a.vod", "--time-limit", "0", "--copies", "2"})->TimeLimit, 0);
    for (const QStringList &bad : {QStringList{"--pdf", "a.vod"}, QStringList{"--print"},
                                   QStringList{"--print", "a.vod", "--time-limit", "soon"},
                                   QStringList{"--print", "a.vod", "--copies", "0"},
                                   QStringList{"--print", "a.vod", "--copies"}, QStringList{"--frobnicate"},
                                   QStringList{"--pdf", "a.vod", "out.pdf", "--frobnicate"},
                                   QStringList{"--pdf", "a.vod", "--with-background"}, QStringList{"a.vod", "b.vod"},
                                   QStringList{"-x"}})
        EXPECT_THROW(parseHeadlessCommand(bad), EConvertError) << bad.join(' ').toStdString();
}
