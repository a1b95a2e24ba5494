// rudreport prepare TEMPLATE OUT.fp3 [--data NAME=FILE.csv ...] [--set NAME=VALUE ...]:
// prepares a template over CSV data and writes the prepared report.

#include "Commands.h"
#include "PrepareSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"

#include <QTextStream>

namespace {

int prepareCommand(const QStringList &args)
{
    QStringList positional, data, set;
    const QString bad = parseTemplateOptions(args, positional, data, set);
    if (!bad.isEmpty() || positional.size() != 2) {
        QTextStream(stderr) << "usage: rudreport prepare TEMPLATE OUT.fp3 [--data NAME=FILE.csv ...] "
                               "[--set NAME=VALUE ...]\n";
        if (!bad.isEmpty())
            QTextStream(stderr) << "rudreport: " << bad << '\n';
        return 2;
    }
    TPreparedTemplate prepared;
    const QString error = prepareTemplate(prepared, positional[0], data, set);
    if (!error.isEmpty()) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    try {
        prepared.Report->PreviewPages()->SaveToFile(positional[1]);
    } catch (const Exception &e) {
        QTextStream(stderr) << e.Message() << '\n';
        return 1;
    }
    return 0;
}

TCommandRegistrar prepareRegistrar(QStringLiteral("prepare"),
                                   QStringLiteral("prepare TEMPLATE OUT.fp3 [--data NAME=FILE.csv] [--set NAME=VALUE]  "
                                                  "prepare a template into a prepared report"),
                                   prepareCommand);

} // namespace
