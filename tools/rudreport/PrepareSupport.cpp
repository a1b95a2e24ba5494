#include "PrepareSupport.h"

#include "report/model/rudDataSet.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"
#include "report/render/rudRenderRuntime.h"

TPreparedTemplate::TPreparedTemplate() : Report(std::make_unique<TfrxReport>())
{
    Report->SetServices(rudSharedStandardServices());
}

TPreparedTemplate::~TPreparedTemplate()
{
    // The report refers to the data sets: it goes first.
    Report.reset();
}

QString parseTemplateOptions(const QStringList &Args, QStringList &Positional, QStringList &Data, QStringList &Set)
{
    for (int i = 0; i < Args.size(); ++i) {
        const QString &a = Args[i];
        if (a == QLatin1String("--data") || a == QLatin1String("--set")) {
            if (i + 1 >= Args.size() || !Args[i + 1].contains(QLatin1Char('=')))
                return QStringLiteral("%1 needs NAME=VALUE").arg(a);
            (a == QLatin1String("--data") ? Data : Set).append(Args[++i]);
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(a);
        } else {
            Positional.append(a);
        }
    }
    return QString();
}

QString prepareTemplate(TPreparedTemplate &Out, const QString &FileName, const QStringList &Data,
                        const QStringList &Set)
{
    TfrxReport &report = *Out.Report;
    report.EngineOptions()->SetNewSilentMode(simReThrow);
    try {
        if (!report.LoadFromFile(FileName, true))
            return QStringLiteral("cannot open %1").arg(FileName);
        for (const QString &d : Data) {
            const qsizetype eq = d.indexOf(QLatin1Char('='));
            auto ds = std::make_unique<TfrxMemoryDataSet>();
            ds->SetUserName(d.left(eq));
            ds->LoadFromCSVFile(d.mid(eq + 1));
            TfrxDataSetItem *item = report.DataSets()->Find(d.left(eq));
            if (!item) {
                item = report.DataSets()->Add();
                item->SetDataSetName(d.left(eq));
            }
            item->SetDataSet(ds.get());
            Out.DataSets.push_back(std::move(ds));
        }
        for (const QString &s : Set) {
            const qsizetype eq = s.indexOf(QLatin1Char('='));
            report.Variables()->SetVariables(s.left(eq), s.mid(eq + 1));
        }
        report.PrepareReport();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}
