#pragma once
// Helpers of the script engine tests: a script with the system library that
// compiles a PascalScript text and records what ShowMessage printed.

#include "base/Errors.h"
#include "script/fs_iinterpreter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

// Readable test failures for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join(QStringLiteral("|")).toStdString() << ']'; }

// A list of texts written as UTF-8 literals.
inline QStringList L(std::initializer_list<const char *> items)
{
    QStringList r;
    for (const char *i : items)
        r << QString::fromUtf8(i);
    return r;
}

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
    // Compiles and runs; the message of the run-time error raised, "" when
    // none, "<compile error>" when the text does not compile.
    QString RunError(const QString &text)
    {
        if (!Compile(text))
            return QStringLiteral("<compile error>");
        try {
            Script.Execute();
        } catch (const Exception &e) {
            return e.Message();
        }
        return QString();
    }
};

// A script of one language with the built-in items.
struct TLangScript : TTestScript {
    explicit TLangScript(const char *language) { Script.SetSyntaxType(QLatin1String(language)); }
};
