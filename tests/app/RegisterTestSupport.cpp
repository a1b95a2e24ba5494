#include "RegisterTestSupport.h"

#include "app/RegisterLocation.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Every test of the program, and every program it starts, keeps its
// settings and its default register in folders of its own, never in the
// user's: the register is opened by the first print.
class TPrivateUserFolders final : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", FDir.filePath(QStringLiteral("data")).toUtf8());
    }

private:
    QTemporaryDir FDir;
};

[[maybe_unused]] ::testing::Environment *const privateFolders =
    ::testing::AddGlobalTestEnvironment(new TPrivateUserFolders);

const char *const certificate = "[Слева]\n"
                                "edit_1=Автошкола\nedit_2=\nedit_3=г. Тверь\nedit_4=АБ\nedit_5=Иванов Иван\n"
                                "edit_6=категории В\nedit_7=водитель\nedit_8=B\nedit_9=Петров П. П.\nedit_10=17\n"
                                "date1=03.05.2015\ndate2=28.07.2015\ndate3=01.09.2015\ndate4=31.08.2015\n"
                                "[Таблица]\n"
                                "edt_1=10\nedt_2=20\nedt_3=3\nedt_4=4\nedt_5=5\nedt_6=6\nedt_7=7\nedt_8=8\nedt_9=9\n"
                                "edt_10=0\nedt_11=72\n";

} // namespace

TRegisterFolder::TRegisterFolder()
    : Database(Dir.filePath(QStringLiteral("register.sqlite"))), Certificate(Dir.filePath(QStringLiteral("a.vod")))
{
    QFile file(Certificate);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(certificate);
}

TRun runQuorvel(const QStringList &Arguments)
{
    QProcess run;
    run.start(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5"), Arguments);
    TRun result;
    EXPECT_TRUE(run.waitForFinished(180000)) << Arguments.join(' ').toStdString();
    result.Code = run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
    result.Out = QString::fromUtf8(run.readAllStandardOutput());
    result.Err = QString::fromUtf8(run.readAllStandardError());
    return result;
}

TRegisterOverride::TRegisterOverride(const QString &Location) { setRegisterLocationOverride(Location); }
TRegisterOverride::~TRegisterOverride() { setRegisterLocationOverride(QString()); }
