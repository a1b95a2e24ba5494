// The command line of the headless print command.

#include "app/mainHeadless.h"

#include "base/Errors.h"

QString headlessUsage()
{
    return QStringLiteral("usage: Quorvel_A5 --print FILE.vod [--printer NAME] [--copies N] [--time-limit SECONDS]\n"
                          "       Quorvel_A5 --pdf FILE.vod OUT.pdf [--time-limit SECONDS]");
}

std::optional<THeadlessCommand> parseHeadlessCommand(const QStringList &Given)
{
    if (Given.isEmpty())
        return std::nullopt;
    THeadlessCommand command;
    auto fail = [] { throw EConvertError(headlessUsage()); };
    QStringList Arguments = Given;
    if (const qsizetype at = Arguments.indexOf(QStringLiteral("--time-limit")); at > 0) {
        bool ok = false;
        command.TimeLimit = at + 1 < Arguments.size() ? Arguments[at + 1].toInt(&ok) : -1;
        if (!ok || command.TimeLimit < 0)
            fail();
        Arguments.remove(at, 2);
    }
    const QString &verb = Arguments[0];
    if (verb == QLatin1String("--pdf")) {
        if (Arguments.size() != 3)
            fail();
        command.Kind = THeadlessCommand::Pdf;
        command.CertificateFile = Arguments[1];
        command.PdfFile = Arguments[2];
        return command;
    }
    if (verb != QLatin1String("--print") || Arguments.size() < 2 || Arguments[1].startsWith(QLatin1String("--")))
        fail();
    command.CertificateFile = Arguments[1];
    for (int i = 2; i < Arguments.size(); i += 2) {
        if (i + 1 >= Arguments.size())
            fail();
        if (Arguments[i] == QLatin1String("--printer")) {
            command.Printer = Arguments[i + 1];
        } else if (Arguments[i] == QLatin1String("--copies")) {
            bool ok = false;
            command.Copies = Arguments[i + 1].toInt(&ok);
            if (!ok || command.Copies < 1)
                fail();
        } else {
            fail();
        }
    }
    return command;
}
