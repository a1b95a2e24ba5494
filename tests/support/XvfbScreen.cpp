#include "support/XvfbScreen.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

const char *const childMark = "RUD_XVFB_CHILD";
constexpr int startMs = 15000, childMs = 180000;

} // namespace

TXvfbServer::TXvfbServer(QSize Size)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        FFailure = QStringLiteral("Xvfb is not installed (Debian package xvfb)");
        return;
    }
    // -displayfd: the server takes the first free display number and writes
    // it once it accepts connections.
    FProcess.start(program, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                             QStringLiteral("0"),
                             QStringLiteral("%1x%2x24").arg(Size.width()).arg(Size.height()),
                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QByteArray number;
    while (!number.contains('\n') && FProcess.waitForReadyRead(startMs))
        number += FProcess.readAllStandardOutput();
    if (!number.contains('\n')) {
        FFailure = QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(FProcess.readAllStandardError());
        return;
    }
    FDisplay = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
}

TXvfbServer::~TXvfbServer()
{
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.terminate();
    if (!FProcess.waitForFinished(5000)) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

bool onXvfb() { return qEnvironmentVariable(childMark) == QLatin1String("1"); }

TXvfbRun runCurrentTestOnXvfb(QSize Size, const QString &ScaleFactor)
{
    TXvfbRun run;
    TXvfbServer server(Size);
    if (server.Display().isEmpty()) {
        // A missing server skips the test; one that is there but fails fails it.
        run.Skipped = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
        run.Reason = run.Output = server.Failure();
        return run;
    }
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("GTEST_FILTER"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), server.Display());
    environment.insert(QString::fromLatin1(childMark), QStringLiteral("1"));
    // libxkbcommon-x11 reads the server's keymap names with strndup, which
    // stops at the given length; AddressSanitizer's strict string checks
    // would still ask for a terminating zero.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    if (!sanitizer.isEmpty())
        environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer + QStringLiteral(":strict_string_checks=0"));
    // No session bus: the desktop services Qt asks it for (accessibility,
    // themes) have no part in these tests.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    if (ScaleFactor.isEmpty())
        environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    else
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), ScaleFactor);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QString::fromLatin1(test->test_suite_name()), QString::fromLatin1(test->name()))});
    if (!child.waitForFinished(childMs)) {
        child.kill();
        child.waitForFinished();
    }
    run.Output = QString::fromLocal8Bit(child.readAll());
    run.ExitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    return run;
}
