#pragma once
// The subcommand table of rudreport. Each subcommand lives in its own file
// and registers itself with a static TCommandRegistrar.

#include <QStringList>
#include <functional>
#include <map>

// A subcommand: gets its arguments (without the command name), returns the exit code.
using TCommand = std::function<int(const QStringList &args)>;

// One table entry: the synopsis line shown in the usage text, and the command.
struct TCommandEntry {
    QString Synopsis;
    TCommand Run;
};

// Every registered subcommand by name.
std::map<QString, TCommandEntry> &commandTable();

// Registers a subcommand at start-up: `static TCommandRegistrar r("name", "synopsis", fn);`
struct TCommandRegistrar {
    TCommandRegistrar(const QString &name, const QString &synopsis, TCommand run);
};
