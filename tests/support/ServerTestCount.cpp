#include "support/ServerTestCount.h"

#include <QFile>
#include <cstdio>

namespace {

// The message of the running test's skip; empty when it did not skip.
QString currentSkipMessage()
{
    const ::testing::TestResult *result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i)
        if (result->GetTestPartResult(i).skipped())
            return QString::fromUtf8(result->GetTestPartResult(i).message()).trimmed();
    return QString();
}

} // namespace

TServerTestCount::TServerTestCount(QString What, QString Mark, std::function<QString()> File)
    : FWhat(std::move(What)), FMark(std::move(Mark)), FFile(std::move(File))
{
}

void TServerTestCount::CountCurrentTest()
{
    if (!::testing::Test::IsSkipped()) {
        ++FRun;
        return;
    }
    ++FSkipped;
    const QString reason = currentSkipMessage();
    if (!FReasons.contains(reason))
        FReasons << reason;
}

void TServerTestCount::TearDown()
{
    if (FRun + FSkipped == 0)
        return;
    const QString reasons = FReasons.join(QStringLiteral("; "));
    QString line = QStringLiteral("%1: %2 run, %3 skipped").arg(FWhat).arg(FRun).arg(FSkipped);
    if (FSkipped)
        line += (FRun == 0 ? QStringLiteral(" (%1: %2)").arg(FMark, reasons)
                           : QStringLiteral(" (skipped: %1)").arg(reasons));
    std::printf("%s\n", qPrintable(line));
    const QString fileName = FFile();
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(QStringLiteral("%1\t%2\t%3\n").arg(FRun).arg(FSkipped).arg(reasons).toUtf8());
}

TServerTestCount *addServerTestCount(QString What, QString Mark, std::function<QString()> File)
{
    auto *count = new TServerTestCount(std::move(What), std::move(Mark), std::move(File));
    ::testing::AddGlobalTestEnvironment(count);
    return count;
}
