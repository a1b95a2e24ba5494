// rudreport print FILE.fr3|FILE.fp3 [--printer NAME] [--pages TEXT] [--copies N]
//                [--mode default|scale|split|join] [--sheet N] [--no-collate]
// rudreport print --list
// Prints without the Print window: a template is prepared first, a prepared
// report is printed as it is. --list names the print queues, the current
// (default) one marked with "*".

#include "Commands.h"

#include "report/model/rudClass.h"
#include "report/model/rudRes.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/engine/rudPreviewPages.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/render/rudRenderRuntime.h"

#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: rudreport print FILE.fr3|FILE.fp3 [--printer NAME] [--pages TEXT] [--copies N]"
                           " [--mode default|scale|split|join] [--sheet N] [--no-collate]\n"
                           "       rudreport print --list\n";
    return 2;
}

int listPrinters()
{
    TfrxPrinters &printers = rudPrinters();
    QTextStream out(stdout);
    if (!printers.HasPhysicalPrinters()) {
        QTextStream(stderr) << "rudreport: " << rudResources().Get(QStringLiteral("clNoPrinters")) << '\n';
        return 1;
    }
    for (int i = 0; i < printers.Count(); ++i)
        out << (i == printers.PrinterIndex() ? "* " : "  ") << printers.Items(i)->Name() << '\n';
    return 0;
}

int printCommand(const QStringList &args)
{
    if (args == QStringList{QStringLiteral("--list")})
        return listPrinters();
    QString file, printer, pages, mode = QStringLiteral("default");
    int copies = 1, sheet = 0;
    bool collate = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--printer") && hasValue)
            printer = args[++i];
        else if (a == QLatin1String("--pages") && hasValue)
            pages = args[++i];
        else if (a == QLatin1String("--copies") && hasValue)
            copies = args[++i].toInt(&ok);
        else if (a == QLatin1String("--mode") && hasValue)
            mode = args[++i];
        else if (a == QLatin1String("--sheet") && hasValue)
            sheet = args[++i].toInt(&ok);
        else if (a == QLatin1String("--no-collate"))
            collate = false;
        else if (!a.startsWith(QLatin1String("--")) && file.isEmpty())
            file = a;
        else
            return usage();
        if (!ok || copies < 1 || copies > 1000 || sheet < 0)
            return usage();
    }
    static const QStringList modes = {QStringLiteral("default"), QStringLiteral("split"), QStringLiteral("join"),
                                      QStringLiteral("scale")};
    if (file.isEmpty() || !modes.contains(mode))
        return usage();
    // Messages of the engine (errors of printing) go to stderr.
    TConsoleUserInterface ui(stderr, QStringLiteral("rudreport: "));
    int code = 0;
    try {
        TfrxReport report;
        report.SetServices(rudSharedStandardServices());
        report.EngineOptions()->SetNewSilentMode(simSilent);
        if (file.endsWith(QLatin1String(".fp3"), Qt::CaseInsensitive)) {
            report.PreviewPages()->LoadFromFile(file, true);
        } else {
            report.LoadFromFile(file, true);
            if (report.Errors().isEmpty())
                report.PrepareReport();
        }
        if (!report.Errors().isEmpty())
            throw EGeneralError(report.Errors().join(QLatin1Char('\n')));
        TfrxPrintOptions *options = report.PrintOptions();
        options->SetShowDialog(false);
        if (!printer.isEmpty())
            options->SetPrinter(printer);
        options->SetPageNumbers(pages);
        options->SetCopies(copies);
        options->SetCollate(collate);
        options->SetPrintMode(TfrxPrintMode(modes.indexOf(mode)));
        if (sheet > 0)
            options->SetPrintOnSheet(sheet);
        if (!report.Print() || ui.Shown() > 0)
            code = 1;
    } catch (const Exception &e) {
        QTextStream(stderr) << "rudreport: " << e.Message() << '\n';
        code = 1;
    }
    return code;
}

TCommandRegistrar registrar(QStringLiteral("print"),
                            QStringLiteral("print FILE.fr3|FILE.fp3 [--printer NAME] [--pages TEXT] [--copies N] "
                                           "[--mode default|scale|split|join] [--sheet N] [--no-collate]  print "
                                           "without the Print window; print --list names the queues"),
                            printCommand);

} // namespace
