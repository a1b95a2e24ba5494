// The register's command line: blanks received, the list as CSV, a blank
// voided, and arguments that cannot be read.

#include "RegisterTestSupport.h"

#include "app/mainHeadless.h"
#include "base/Errors.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString header = QStringLiteral("Серия,Номер,Состояние,ФИО,Дата выдачи,Напечатано,Принтер");

bool russian(const QString &Text)
{
    for (QChar c : Text)
        if (c >= QChar(0x0410) && c <= QChar(0x044F))
            return true;
    return false;
}

} // namespace

TEST(RegisterCommand, BlanksAreAddedListedAndVoided)
{
    TRegisterFolder folder;
    const QStringList db{QStringLiteral("--db"), folder.Database};
    TRun run = runQuorvel(QStringList{"--register", "blanks-add", "АБ", "000001", "000005"} + db);
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    // An overlapping range is refused with the register's Russian message.
    run = runQuorvel(QStringList{"--register", "blanks-add", "АБ", "000003", "000009"} + db);
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(russian(run.Err)) << run.Err.toStdString();
    run = runQuorvel(QStringList{"--register", "void", "АБ", "000002", "--reason", "замят, в принтере"} + db);
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    run = runQuorvel(QStringList{"--register", "void", "АБ", "000002", "--reason", "ещё раз"} + db);
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(russian(run.Err)) << run.Err.toStdString();

    run = runQuorvel(QStringList{"--register", "list"} + db);
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QStringList lines = run.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.Out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(header)) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("АБ,000002,Испорчен,"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\"замят, в принтере\""))) << lines[1].toStdString();
    // Dates in either form; a range that holds no day of the register lists the header only.
    for (const QStringList &range : {QStringList{"--from", "01.01.2000", "--to", "2000-12-31"},
                                     QStringList{"--from", "2000-01-01", "--to", "31.12.2000"}}) {
        run = runQuorvel(QStringList{"--register", "list"} + range + db);
        EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
        EXPECT_EQ(run.Out.trimmed().split(QLatin1Char('\n')).size(), 1) << run.Out.toStdString();
    }
    run = runQuorvel(QStringList{"--register", "list", "--from", "01.01.2000"} + db);
    EXPECT_EQ(run.Out.trimmed().split(QLatin1Char('\n')).size(), 2) << run.Out.toStdString();

    // Arguments that cannot be read: the usage, exit 2, nothing opened.
    run = runQuorvel(QStringList{"--register", "list", "--from", "32.01.2020"} + db);
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("usage:"))) << run.Err.toStdString();
    // A server that cannot be reached says so in Russian.
    run = runQuorvel({"--register", "list", "--db", "postgresql://x@127.0.0.1:1/x"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(russian(run.Err)) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());
}

// The federal register export runs where there is no screen (a scheduled
// export), as the other commands do.
TEST(RegisterCommand, TheExportRunsWithoutAScreen)
{
    TRegisterFolder folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    const QString xlsx = folder.Path(QStringLiteral("frdo.xlsx"));
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5"),
              {QStringLiteral("--frdo"), xlsx, QStringLiteral("--db"), folder.Database});
    ASSERT_TRUE(run.waitForFinished(180000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(xlsx));
}

TEST(RegisterCommand, ArgumentsAreReadOrRefused)
{
    const auto add = parseHeadlessCommand({"--register", "blanks-add", "АБ", "000001", "000500", "--db", "r.sqlite"});
    ASSERT_TRUE(add.has_value());
    EXPECT_EQ(add->Kind, THeadlessCommand::Register);
    EXPECT_EQ(add->RegisterVerb, "blanks-add");
    EXPECT_EQ(add->RegisterArguments, (QStringList{"АБ", "000001", "000500"}));
    EXPECT_EQ(add->Database, "r.sqlite");
    const auto list = parseHeadlessCommand({"--register", "list", "--to", "2026-02-01", "--from", "01.01.2026"});
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->From, QDate(2026, 1, 1));
    EXPECT_EQ(list->To, QDate(2026, 2, 1));
    const auto spoil = parseHeadlessCommand({"--register", "void", "АБ", "000007", "--reason", "замят"});
    ASSERT_TRUE(spoil.has_value());
    EXPECT_EQ(spoil->RegisterArguments, (QStringList{"АБ", "000007"}));
    EXPECT_EQ(spoil->Reason, "замят");
    const auto print = parseHeadlessCommand({"--print", "a.vod", "--series", "ВГ", "--number", "000010", "--db", "x"});
    ASSERT_TRUE(print.has_value());
    EXPECT_EQ(print->Series, "ВГ");
    EXPECT_EQ(print->Number, "000010");
    EXPECT_EQ(print->Database, "x");
    for (const QStringList &bad :
         {QStringList{"--register"}, QStringList{"--register", "frob"}, QStringList{"--register", "list", "x"},
          QStringList{"--register", "list", "--from", "2026-13-01"}, QStringList{"--register", "list", "--to"},
          QStringList{"--register", "blanks-add", "АБ", "1"}, QStringList{"--register", "void", "АБ", "1"},
          QStringList{"--register", "void", "АБ", "1", "--reason", " "},
          QStringList{"--register", "list", "--db"}, QStringList{"--print", "a.vod", "--number"},
          QStringList{"--print", "a.vod", "--series", ""}, QStringList{"a.vod", "--db", "x"}})
        EXPECT_THROW(parseHeadlessCommand(bad), EConvertError) << bad.join(' ').toStdString();
}
