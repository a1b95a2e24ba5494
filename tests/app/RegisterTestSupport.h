#pragma once
// What the register's tests share: a register file in a temporary folder,
// a saved certificate, and the program run from the command line.

#include "support/TestSupport.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// A temporary folder with a register's file path (not yet created) and a
// complete certificate file of series "АБ" and trainee "Иванов Иван", as
// the window writes one.
struct TRegisterFolder {
    TRegisterFolder();
    QString Path(const QString &Name) const { return Dir.filePath(Name); }
    QTemporaryDir Dir;
    QString Database, Certificate;
};

// The program's result: exit code, stdout and stderr.
struct TRun {
    int Code = -1;
    QString Out, Err;
};
// Runs Quorvel_A5 with Arguments (its own user folders are the test's).
TRun runQuorvel(const QStringList &Arguments);

// The register of a test's folder is the program's while this lives.
struct TRegisterOverride {
    explicit TRegisterOverride(const QString &Location);
    ~TRegisterOverride();
};

// Answers the next own window run, which must be a T: Set fills its fields
// (may be empty), Result is its result (1 OK, 0 cancelled).
template <class T> void answer(TRecordingUserInterface &Ui, std::function<void(T &)> Set, int Result = 1)
{
    Ui.DialogAnswers.push_back([Set, Result](QObject *dialog) {
        auto *d = qobject_cast<T *>(dialog);
        EXPECT_NE(d, nullptr);
        if (d && Set)
            Set(*d);
        return Result;
    });
}
