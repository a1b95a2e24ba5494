// rudreport: the command-line face of the report engine. Each capability of
// the engine adds its subcommand (a file of this folder); errors go to stderr
// with a non-zero exit.

#include "Commands.h"

#include "report/engine/rudEngineInit.h"
#include "report/render/rudRenderInit.h"

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

int usage(FILE *out)
{
    QTextStream stream(out);
    stream << "usage: rudreport <command> [arguments]\ncommands:\n";
    for (const auto &[name, entry] : commandTable())
        stream << "  " << entry.Synopsis << '\n';
    return out == stdout ? 0 : 2;
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
