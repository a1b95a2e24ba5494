// rudreport resave IN OUT: loads a template and saves it again.

#include "Commands.h"

#include "report/model/rudClass.h"

#include "base/Errors.h"
#include "report/render/rudRenderRuntime.h"

#include <QTextStream>

namespace {

int resaveCommand(const QStringList &args)
{
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: rudreport resave IN OUT\n";
        return 2;
    }
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    report.EngineOptions()->SetNewSilentMode(simSilent);
    try {
        report.LoadFromFile(args[0], true);
        // The silent mode is this tool's run-time choice, not the template's.
        report.EngineOptions()->SetNewSilentMode(simMessageBoxes);
        for (const QString &error : report.Errors())
            QTextStream(stderr) << "rudreport: " << error << '\n';
        // A template that did not load whole is not written anywhere: the
        // output would silently lack what could not be read.
        if (report.LoadFailed()) {
            QTextStream(stderr) << "rudreport: " << args[1] << " was not written: " << args[0]
                                << " did not load without errors\n";
            return 1;
        }
        report.SaveToFile(args[1]);
    } catch (const Exception &e) {
        QTextStream(stderr) << "rudreport: " << e.Message() << '\n';
        return 1;
    }
    return 0;
}

TCommandRegistrar registrar(QStringLiteral("resave"),
                            QStringLiteral("resave IN OUT          load a template and save it again"), resaveCommand);

} // namespace
