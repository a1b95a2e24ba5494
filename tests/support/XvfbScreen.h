#pragma once
// A private X server for the tests whose subject only a real window system
// shows: a window's size over time, full screen, a screen's available area
// and its scale factor. The test runs itself again in a child process on
// that server with the xcb platform; the rest of the suite stays offscreen.

#include <QProcess>
#include <QSize>
#include <QString>

// Xvfb on a display number it finds free, with one screen of the given
// size; stopped when the object goes.
class TXvfbServer {
public:
    explicit TXvfbServer(QSize Size);
    ~TXvfbServer();
    TXvfbServer(const TXvfbServer &) = delete;
    TXvfbServer &operator=(const TXvfbServer &) = delete;

    // ":N" once the server accepts connections; empty when it could not start (see Failure).
    QString Display() const { return FDisplay; }
    QString Failure() const { return FFailure; }

private:
    QProcess FProcess;
    QString FDisplay;
    QString FFailure;
};

// What running a test on a private X server gave.
struct TXvfbRun {
    // No Xvfb on the machine: the test cannot run (Reason says so).
    bool Skipped = false;
    QString Reason;
    // The child's exit code (0: its test passed) and everything it printed;
    // -1 and the server's complaint when Xvfb is there but did not start.
    int ExitCode = -1;
    QString Output;
};

// True in the child that runCurrentTestOnXvfb started.
bool onXvfb();

// Runs the current test again, alone, in a child process of this test
// program on a new Xvfb screen of Size, with QT_QPA_PLATFORM=xcb and, when
// ScaleFactor is not empty, QT_SCALE_FACTOR; the server is stopped after.
TXvfbRun runCurrentTestOnXvfb(QSize Size, const QString &ScaleFactor = QString());
