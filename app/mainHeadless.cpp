// The program's command line.

#include "app/mainHeadless.h"

#include "base/Errors.h"

QString headlessUsage()
{
    return QStringLiteral("usage: Quorvel_A5 [FILE.vod | --help]\n"
                          "       Quorvel_A5 --print FILE.vod [--printer NAME] [--copies N] [--time-limit SECONDS]\n"
                          "       Quorvel_A5 --pdf FILE.vod OUT.pdf [--with-background] [--time-limit SECONDS]\n"
                          "  FILE.vod alone starts the window with that certificate loaded;\n"
                          "  --with-background puts the page's background scan into the PDF even\n"
                          "  where the template does not print it (to check the alignment on screen);\n"
                          "  --time-limit stops the template's script after that many seconds\n"
                          "  (300 unless given; 0: no limit) and the command fails.");
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
    if (Arguments == QStringList{QStringLiteral("--help")}) {
        command.Kind = THeadlessCommand::Help;
        return command;
    }
    if (Arguments.size() == 1 && !verb.startsWith(QLatin1Char('-'))) {
        command.Kind = THeadlessCommand::Open;
        command.CertificateFile = verb;
        return command;
    }
    if (verb == QLatin1String("--pdf")) {
        command.WithBackground = Arguments.size() == 4 && Arguments[3] == QLatin1String("--with-background");
        if (Arguments.size() != (command.WithBackground ? 4 : 3) || Arguments[1].startsWith(QLatin1String("--"))
            || Arguments[2].startsWith(QLatin1String("--")))
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
