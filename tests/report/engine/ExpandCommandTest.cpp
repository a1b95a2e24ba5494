// rudreport expand on small templates: the expanded texts, --set variables,
// and a broken expression ending with the full message and a non-zero exit.

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct TExpandResult {
    int Code;
    QString Out, Err;
};

QString templateWith(const QString &memos, const QString &variables = QString())
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport ScriptLanguage=\"PascalScript\">") +
           variables + QStringLiteral("<TfrxReportPage Name=\"Page1\">") + memos +
           QStringLiteral("</TfrxReportPage></TfrxReport>\n");
}

QString memo(const QString &name, const QString &text)
{
    return QStringLiteral("<TfrxMemoView Name=\"%1\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"20\" Text=\"%2\"/>")
        .arg(name, text);
}

TExpandResult expand(const QString &dir, const QString &xml, const QStringList &extra = {})
{
    const QString path = dir + QStringLiteral("/t.fr3");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(xml.toUtf8());
    f.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport"),
            QStringList{QStringLiteral("expand"), path} + extra);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ExpandCommand, PrintsExpandedTextsAndFullErrors)
{
    if (!QFileInfo(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport")).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    const QString memos = memo(QStringLiteral("Sum"), QStringLiteral("1+2=[1+2]")) +
                          memo(QStringLiteral("Choice"), QStringLiteral("[IIF(2 &gt; 1, 'больше', 'меньше')]")) +
                          memo(QStringLiteral("Greeting"), QStringLiteral("[Greeting], [Name]!")) +
                          memo(QStringLiteral("Today"), QStringLiteral("[Date #dd.mm.yyyy]")) +
                          memo(QStringLiteral("Plain"), QStringLiteral("Иванов И. И."));
    const QString variables = QStringLiteral(
        "<Variables><item Name=\"Greeting\" Value=\"'Здравствуйте'\"/><item Name=\"Name\" Value=\"'?'\"/></Variables>");
    // The run's date, taken before and after in case midnight passes.
    const QString before = QDate::currentDate().toString(QStringLiteral("d.MM.yyyy"));
    const TExpandResult good = expand(dir.path(), templateWith(memos, variables),
                                      {QStringLiteral("--set"), QStringLiteral("Name='Пётр' + ' ' + 'И.'")});
    const QString after = QDate::currentDate().toString(QStringLiteral("d.MM.yyyy"));
    EXPECT_EQ(good.Err, QString());
    EXPECT_EQ(good.Code, 0);
    const QStringList lines = good.Out.split(u'\n');
    ASSERT_EQ(lines.size(), 6) << good.Out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Sum: 1+2=3"));
    EXPECT_EQ(lines[1], QStringLiteral("Choice: больше"));
    EXPECT_EQ(lines[2], QStringLiteral("Greeting: Здравствуйте, Пётр И.!"));
    EXPECT_TRUE(lines[3] == QStringLiteral("Today: ") + before || lines[3] == QStringLiteral("Today: ") + after)
        << lines[3].toStdString();
    EXPECT_EQ(lines[4], QStringLiteral("Plain: Иванов И. И."));

    const TExpandResult broken = expand(
        dir.path(), templateWith(memo(QStringLiteral("Memo1"), QStringLiteral("ok [1]")) +
                                 memo(QStringLiteral("School"), QStringLiteral("Школа [Москва]"))));
    EXPECT_EQ(broken.Code, 1);
    EXPECT_EQ(broken.Out, QStringLiteral("Memo1: ok 1\n"));
    EXPECT_EQ(broken.Err, QStringLiteral("School: Error in expression 'Москва': Undeclared identifier: 'Москва'\n"));

    const TExpandResult script = expand(
        dir.path(), QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport ScriptText.Text=\"begin "
                                   "x := 1 end.\"><TfrxReportPage Name=\"Page1\"/></TfrxReport>"));
    EXPECT_EQ(script.Code, 1);
    EXPECT_EQ(script.Err, QStringLiteral("Script error at 1:7: Undeclared identifier: 'x'\n"));

    const TExpandResult usage = expand(dir.path(), templateWith(QString()), {QStringLiteral("--set")});
    EXPECT_EQ(usage.Code, 2);
}
