// rudreport: the command-line face of the report engine. Each capability of
// the engine adds its subcommand here; errors go to stderr with a non-zero exit.

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>

namespace {

using Command = std::function<int(const QStringList &args)>;

struct CommandEntry {
    const char *synopsis;
    Command run;
};

const std::map<QString, CommandEntry> &commands()
{
    static const std::map<QString, CommandEntry> table = {
        {QStringLiteral("version"),
         {"version                print the engine version",
          [](const QStringList &) {
              QTextStream(stdout) << "rudreport " << QCoreApplication::applicationVersion() << '\n';
              return 0;
          }}},
    };
    return table;
}

int usage(FILE *out)
{
    QTextStream stream(out);
    stream << "usage: rudreport <command> [arguments]\ncommands:\n";
    for (const auto &[name, entry] : commands())
        stream << "  " << entry.synopsis << '\n';
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1"));
    QStringList args = application.arguments().mid(1);
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help"))
        return usage(stdout);
    const auto found = commands().find(name);
    if (found == commands().end()) {
        QTextStream(stderr) << "rudreport: unknown command '" << name << "'\n";
        return usage(stderr);
    }
    return found->second.run(args);
}
