// rudreport resave IN OUT: loads a template and saves it again.

#include "Commands.h"

#include "report/model/rudClass.h"

#include "base/Errors.h"

#include <QTextStream>

namespace {

int resaveCommand(const QStringList &args)
{
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: rudreport resave IN OUT\n";
        return 2;
    }
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    try {
        report.LoadFromFile(args[0], true);
        // The silent mode is this tool's run-time choice, not the template's.
        report.EngineOptions()->SetNewSilentMode(simMessageBoxes);
        for (const QString &error : report.Errors())
            QTextStream(stderr) << "rudreport: " << error << '\n';
        report.SaveToFile(args[1]);
    } catch (const Exception &e) {
        QTextStream(stderr) << "rudreport: " << e.Message() << '\n';
        return 1;
    }
    return report.Errors().isEmpty() ? 0 : 1;
}

TCommandRegistrar registrar(QStringLiteral("resave"),
                            QStringLiteral("resave IN OUT          load a template and save it again"), resaveCommand);

} // namespace
