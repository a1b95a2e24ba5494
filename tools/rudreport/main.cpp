// rudreport: the command-line face of the report engine. Each capability of
// the engine adds its subcommand (a file of this folder); errors go to stderr
// with a non-zero exit.

#include "Commands.h"

#include "report/engine/rudEngineInit.h"
#include "report/render/rudRenderInit.h"
#include "script/fs_iinterpreter.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

std::map<QString, TCommandEntry> &commandTable()
{
    static std::map<QString, TCommandEntry> table;
    return table;
}

TCommandRegistrar::TCommandRegistrar(const QString &name, const QString &synopsis, TCommand run)
{
    commandTable()[name] = TCommandEntry{synopsis, std::move(run)};
}

namespace {

TCommandRegistrar versionCommand(QStringLiteral("version"), QStringLiteral("version                print the engine version"),
                                 [](const QStringList &) {
                                     QTextStream(stdout) << "rudreport "
                                                         << QCoreApplication::applicationVersion() << '\n';
                                     return 0;
                                 });

// A script that never ends would keep a command running for ever: scripts
// stop after this many seconds unless --time-limit says otherwise.
constexpr int defaultTimeLimit = 300;

int usage(FILE *out)
{
    QTextStream stream(out);
    stream << "usage: rudreport <command> [arguments] [--time-limit SECONDS]\ncommands:\n";
    for (const auto &[name, entry] : commandTable())
        stream << "  " << entry.Synopsis << '\n';
    stream << "option of every command:\n"
              "  --time-limit SECONDS   stop a report's or a script's run after SECONDS (default "
           << defaultTimeLimit << ", 0: no limit); the command then fails with a message\n";
    return out == stdout ? 0 : 2;
}

// Takes "--time-limit SECONDS" out of Args and sets the scripts' time limit.
// Returns false for a value that is no number of seconds.
bool takeTimeLimit(QStringList &Args)
{
    int seconds = defaultTimeLimit;
    for (int i = 0; i < Args.size(); ++i) {
        if (Args[i] != QLatin1String("--time-limit"))
            continue;
        bool ok = false;
        seconds = i + 1 < Args.size() ? Args[i + 1].toInt(&ok) : -1;
        if (!ok || seconds < 0)
            return false;
        Args.remove(i, 2);
        --i;
    }
    fsSetTimeLimit(qint64(seconds) * 1000);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // A command-line tool: fonts and images need a GUI application, but
    // never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1"));
    rudEngineInit();
    rudRenderInit();
    QStringList args = application.arguments().mid(1);
    if (!takeTimeLimit(args)) {
        QTextStream(stderr) << "rudreport: --time-limit needs a number of seconds\n";
        return usage(stderr);
    }
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help"))
        return usage(stdout);
    const auto found = commandTable().find(name);
    if (found == commandTable().end()) {
        QTextStream(stderr) << "rudreport: unknown command '" << name << "'\n";
        return usage(stderr);
    }
    return found->second.Run(args);
}
