// rudreport expand TEMPLATE [--set NAME=VALUE ...]: loads a template,
// prepares its script and expands the text of every memo of every page in
// tree order, printing "Name: text" per memo (the lines of a text joined by
// line feeds). A --set value becomes a report variable, which holds an
// expression: text constants need quotes (--set "Name='Ivanov'"). Load,
// script and expression errors go to standard error; the exit code is then 1.

#include "Commands.h"

#include "base/Errors.h"
#include "report/engine/rudCustomEngine.h"
#include "report/model/rudClass.h"
#include "report/render/rudRenderRuntime.h"

#include <QTextStream>

namespace {

int fail(const QStringList &errors)
{
    QTextStream err(stderr);
    for (const QString &error : errors)
        err << error << '\n';
    return 1;
}

int expandCommand(const QStringList &args)
{
    QString file;
    QList<std::pair<QString, QString>> variables;
    for (int i = 0; i < args.size(); ++i) {
        const qsizetype eq = i + 1 < args.size() ? args[i + 1].indexOf(u'=') : -1;
        if (args[i] == QLatin1String("--set") && eq > 0) {
            variables.append({args[i + 1].left(eq), args[i + 1].mid(eq + 1)});
            ++i;
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            file.clear();
            break;
        }
    }
    if (file.isEmpty()) {
        QTextStream(stderr) << "usage: rudreport expand TEMPLATE [--set NAME=VALUE ...]\n";
        return 2;
    }

    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    report.EngineOptions()->SetNewSilentMode(simSilent);
    try {
        report.LoadFromFile(file, true);
    } catch (const Exception &e) {
        return fail({QStringLiteral("rudreport: ") + e.Message()});
    }
    if (!report.Errors().isEmpty())
        return fail(report.Errors());
    for (const auto &[name, value] : variables)
        report.Variables()->SetVariables(name, value);

    report.ClearErrors();
    report.Engine()->StartClock();
    if (!report.PrepareScript())
        return fail(report.Errors());

    QTextStream out(stdout);
    try {
        for (TfrxComponent *page : report.Objects()) {
            if (!qobject_cast<TfrxPage *>(page))
                continue;
            for (TfrxComponent *object : page->AllObjects()) {
                auto *memo = qobject_cast<TfrxCustomMemoView *>(object);
                if (!memo)
                    continue;
                report.SetCurObject(memo->Name());
                memo->BeforePrint();
                memo->GetData();
                out << memo->Name() << ": " << memo->Memo().join(u'\n') << '\n';
                memo->AfterPrint();
            }
        }
    } catch (const Exception &e) {
        out.flush();
        report.AddError(e.Message());
    }
    out.flush();
    return report.Errors().isEmpty() ? 0 : fail(report.Errors());
}

TCommandRegistrar registrar(QStringLiteral("expand"),
                            QStringLiteral("expand TEMPLATE [--set NAME=VALUE ...]  print every memo's expanded text"),
                            expandCommand);

} // namespace
