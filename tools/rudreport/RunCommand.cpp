// rudreport run FILE [--language NAME]: compiles and runs a script. ShowMessage
// prints its text and a line break to standard output; a compile error prints
// "line:column: message" to standard error (exit 1); an uncaught run-time
// error prints its message (exit 2).

#include "Commands.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

int runCommand(const QStringList &args)
{
    QString file, language = QStringLiteral("PascalScript");
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--language") && i + 1 < args.size())
            language = args[++i];
        else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            file = args[i];
        else
            file.clear(), i = int(args.size());
    }
    if (file.isEmpty()) {
        QTextStream(stderr) << "usage: rudreport run FILE [--language NAME]\n";
        return 2;
    }
    if (!QFileInfo(file).isFile()) {
        QTextStream(stderr) << "rudreport: cannot open " << file << ": not a regular file\n";
        return 1;
    }
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "rudreport: cannot open " << file << ": " << source.errorString() << '\n';
        return 1;
    }
    // The script's messages are its output.
    TConsoleUserInterface ui(stdout);
    int code = 0;
    try {
        TfsScript script;
        script.AddRTTI();
        script.SetSyntaxType(language);
        script.SetLines(QString::fromUtf8(source.readAll()));
        if (!script.Compile()) {
            QTextStream err(stderr);
            if (!script.ErrorUnit().isEmpty())
                err << script.ErrorUnit() << ':';
            if (!script.ErrorPos().isEmpty())
                err << script.ErrorPos() << ": ";
            err << script.ErrorMsg() << '\n';
            code = 1;
        } else {
            try {
                script.Execute();
            } catch (const Exception &e) {
                // An exception raised with an empty text still says what it was.
                QTextStream(stderr) << (e.Message().trimmed().isEmpty()
                                            ? fsExceptionClassName(e) + QStringLiteral(" raised without a message")
                                            : e.Message())
                                    << '\n';
                code = 2;
            }
        }
    } catch (const Exception &e) {
        // A used unit that cannot be read.
        QTextStream(stderr) << e.Message() << '\n';
        code = 1;
    }
    return code;
}

TCommandRegistrar registrar(QStringLiteral("run"),
                            QStringLiteral("run FILE [--language NAME]  compile and run a script"), runCommand);

} // namespace
