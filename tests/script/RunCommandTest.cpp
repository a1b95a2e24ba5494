// rudreport run: output, compile errors and run-time errors with their exit codes.

#include "ScriptTestUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct TRunResult {
    int Code;
    QString Out, Err;
};

TRunResult runScript(const QString &tool, const QString &dir, const QString &source)
{
    QFile f(dir + QStringLiteral("/prog.pas"));
    f.open(QIODevice::WriteOnly);
    f.write(source.toUtf8());
    f.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(tool, {QStringLiteral("run"), f.fileName()});
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(RunCommand, PrintsMessagesAndReportsErrors)
{
    const QString tool = qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
    if (!QFileInfo(tool).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    const TRunResult fib = runScript(tool, dir.path(), QStringLiteral(
        "var a, b, t, i: Integer;\nbegin a := 0; b := 1;\n"
        "  for i := 1 to 20 do begin ShowMessage(a); t := a + b; a := b; b := t end\nend.\n"));
    EXPECT_EQ(fib.Code, 0);
    EXPECT_EQ(fib.Out, QStringLiteral("0\n1\n1\n2\n3\n5\n8\n13\n21\n34\n55\n89\n144\n233\n377\n610\n987\n1597\n2584\n4181\n"));

    const TRunResult bad = runScript(tool, dir.path(), QStringLiteral("begin\n  x := 1\nend.\n"));
    EXPECT_EQ(bad.Code, 1);
    EXPECT_EQ(bad.Err, QStringLiteral("2:3: Undeclared identifier: 'x'\n"));

    const TRunResult failed = runScript(tool, dir.path(), QStringLiteral("begin ShowMessage('before'); ShowMessage(1 div 0) end."));
    EXPECT_EQ(failed.Code, 2);
    EXPECT_EQ(failed.Out, QStringLiteral("before\n"));
    EXPECT_EQ(failed.Err, QStringLiteral("Division by zero\n"));
}

TEST(RunCommand, EmptyExceptionsAndDevicesStillSayWhatHappened)
{
    const QString tool = qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
    if (!QFileInfo(tool).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    const TRunResult empty = runScript(tool, dir.path(), QStringLiteral("begin RaiseException('') end."));
    EXPECT_EQ(empty.Code, 2);
    EXPECT_EQ(empty.Err, QStringLiteral("Exception raised without a message\n"));

    QProcess p;
    p.start(tool, {QStringLiteral("run"), QStringLiteral("/dev/zero")});
    ASSERT_TRUE(p.waitForFinished(60000)) << "reading a device did not end";
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("not a regular file"));
}
