#pragma once
// Helpers of the script engine tests: a script with the system library that
// compiles a PascalScript text and records what ShowMessage printed.

#include "script/fs_iinterpreter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

// Readable test failures for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']'; }

// A main script with the built-in items registered.
struct TTestScript {
    TfsScript Script;
    TTestScript() { Script.AddRTTI(); }

    // Compiles text; on failure returns "pos: message".
    QString CompileError(const QString &text)
    {
        Script.SetLines(text);
        if (Script.Compile())
            return QString();
        return Script.ErrorPos() + QStringLiteral(": ") + Script.ErrorMsg();
    }
    bool Compile(const QString &text)
    {
        const QString error = CompileError(text);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return error.isEmpty();
    }
    // Compiles and runs; the texts ShowMessage showed, in order.
    QStringList Run(const QString &text)
    {
        TRecordingUserInterface ui;
        if (Compile(text))
            Script.Execute();
        return ui.MessageTexts();
    }
};
