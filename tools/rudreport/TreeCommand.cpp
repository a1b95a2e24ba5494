// rudreport tree FILE: the object tree of a template, then its load errors.

#include "Commands.h"

#include "report/model/rudClass.h"

#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "base/NumberFormat.h"
#include "report/render/rudRenderRuntime.h"

#include <QTextStream>

namespace {

void printNode(QTextStream &out, TfrxComponent *node, int level, const TFormatSettings &numbers)
{
    out << QString(level * 2, QLatin1Char(' ')) << node->metaObject()->className() << ' ' << node->Name() << ' '
        << FloatToStr(node->Left(), numbers) << ' ' << FloatToStr(node->Top(), numbers) << ' '
        << FloatToStr(node->Width(), numbers) << ' ' << FloatToStr(node->Height(), numbers);
    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(node))
        out << " \"" << (memo->Memo().isEmpty() ? QString() : memo->Memo().first()) << '"';
    out << '\n';
    for (TfrxComponent *child : node->Objects())
        printNode(out, child, level + 1, numbers);
}

int treeCommand(const QStringList &args)
{
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: rudreport tree FILE\n";
        return 2;
    }
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    report.EngineOptions()->SetNewSilentMode(simSilent);
    try {
        report.LoadFromFile(args[0], true);
    } catch (const Exception &e) {
        QTextStream(stderr) << "rudreport: " << e.Message() << '\n';
        return 1;
    }
    QTextStream out(stdout);
    printNode(out, &report, 0, englishFormatSettings());
    for (const QString &error : report.Errors())
        out << "error: " << error << '\n';
    return report.Errors().isEmpty() ? 0 : 1;
}

TCommandRegistrar registrar(QStringLiteral("tree"),
                            QStringLiteral("tree FILE              print the object tree of a template and its load errors"),
                            treeCommand);

} // namespace
