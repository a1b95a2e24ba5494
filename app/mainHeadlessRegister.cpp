// The register's commands without the window.

#include "app/mainHeadless.h"

#include "app/RegisterLocation.h"
#include "records/Register.h"

#include <QFile>
#include <QTextStream>

int runRegisterCommand(const THeadlessCommand &Command)
{
    setRegisterLocationOverride(Command.Database);
    try {
        const std::unique_ptr<TRegister> reg = TRegister::Open(registerLocation());
        const QStringList &a = Command.RegisterArguments;
        if (Command.RegisterVerb == QLatin1String("blanks-add")) {
            reg->AddBlanks(a[0], a[1], a[2]);
            QTextStream(stderr) << QStringLiteral("Бланки серии %1 с %2 по %3 внесены в реестр %4.\n")
                                       .arg(a[0], a[1], a[2], reg->Where());
        } else if (Command.RegisterVerb == QLatin1String("void")) {
            reg->Void(a[0], a[1], Command.Reason);
            QTextStream(stderr) << QStringLiteral("Бланк %1 %2 испорчен.\n").arg(a[0], a[1]);
        } else {
            TRegisterFilter filter;
            filter.From = Command.From;
            filter.To = Command.To;
            const QByteArray csv = registerCsv(reg->List(filter));
            QFile out;
            if (!out.open(stdout, QIODevice::WriteOnly) || out.write(csv) != csv.size() || !out.flush())
                throw ERegisterError(QStringLiteral("Не удалось вывести список реестра."));
        }
        return 0;
    } catch (const Exception &error) {
        QTextStream(stderr) << error.Message() << '\n';
    } catch (const std::exception &error) {
        QTextStream(stderr) << QString::fromLocal8Bit(error.what()) << '\n';
    }
    return 1;
}
