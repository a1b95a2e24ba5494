#pragma once
// Counts the tests of one kind that need a private server (the printing
// tests, the database tests), so that a run which had to skip them never
// passes for one that ran them.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>

// At the end of a test program's run: a line on the console ("WHAT: N run,
// M skipped", with Mark when none ran, which makes CTest show the case as
// skipped), and a line "run<TAB>skipped<TAB>reasons" appended to the file
// File names, which the test command adds up (CTest runs each case alone).
// File may give "" for a run that must not count (a probe of a parent test).
class TServerTestCount final : public ::testing::Environment {
public:
    TServerTestCount(QString What, QString Mark, std::function<QString()> File);

    // Counts the running test as run or skipped (with its reason); call it
    // from the test's TearDown, so that a test which skips on its way
    // counts as skipped.
    void CountCurrentTest();

    void TearDown() override;

private:
    QString FWhat, FMark;
    std::function<QString()> FFile;
    int FRun = 0, FSkipped = 0;
    QStringList FReasons;
};

// A counter registered with GoogleTest's environments (which own it).
TServerTestCount *addServerTestCount(QString What, QString Mark, std::function<QString()> File);
