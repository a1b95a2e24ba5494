// The program's command line.

#include "app/mainHeadless.h"

#include "base/Errors.h"

QString headlessUsage()
{
    return QStringLiteral("usage: Quorvel_A5 [FILE.vod | --help]\n"
                          "       Quorvel_A5 --print FILE.vod [--printer NAME] [--copies N] [--time-limit SECONDS]\n"
                          "                          [--series S] [--number N] [--db URL] [--shrink | --force]\n"
                          "       Quorvel_A5 --pdf FILE.vod OUT.pdf [--with-background] [--calibrated QUEUE] [--time-limit SECONDS]\n"
                          "       Quorvel_A5 --register blanks-add SERIES FIRST LAST [--db URL]\n"
                          "       Quorvel_A5 --register list [--from DATE] [--to DATE] [--db URL]\n"
                          "       Quorvel_A5 --register void SERIES NUMBER --reason TEXT [--db URL]\n"
                          "       Quorvel_A5 --batch LIST.csv|LIST.xlsx --vod COMMON.vod --pdf OUT.pdf [--shrink | --force]\n"
                          "       Quorvel_A5 --batch LIST.csv|LIST.xlsx --vod COMMON.vod --print [--printer NAME]\n"
                          "                          [--series S] [--db URL] [--shrink | --force]\n"
                          "       Quorvel_A5 --frdo OUT.xlsx [--from DATE] [--to DATE] [--valid-only] [--db URL]\n"
                          "       Quorvel_A5 --calibration QUEUE [--offset X,Y] [--scale SX,SY]\n"
                          "       Quorvel_A5 --calibration-sheet QUEUE\n"
                          "  FILE.vod alone starts the window with that certificate loaded;\n"
                          "  --with-background puts the page's background scan into the PDF even\n"
                          "  where the template does not print it (to check the alignment on screen);\n"
                          "  --time-limit stops the template's script after that many seconds\n"
                          "  (300 unless given; 0: no limit) and the command fails;\n"
                          "  --print records the certificate in the register: --series prints and\n"
                          "  records that series instead of the file's, --number takes that blank;\n"
                          "  a value too long for its place on the blank stops --print, --pdf and --batch\n"
                          "  (exit 3, the values listed) unless --shrink (smaller font, 6 pt at least)\n"
                          "  or --force (printed cut) is given;\n"
                          "  --register list writes the register as CSV; DATE is dd.mm.yyyy or yyyy-mm-dd;\n"
                          "  --batch prints a group: the trainees of LIST (names, grades, own training\n"
                          "  dates) over the common values of COMMON.vod, as one PDF or one print job;\n"
                          "  every row is checked first and nothing prints while one fails; --print\n"
                          "  records each certificate as issued on the next free blank of the series\n"
                          "  in print order, without the after-print check (there is no one to ask):\n"
                          "  void a spoiled blank with --register void and print that trainee again;\n"
                          "  --frdo writes the certificates issued (by issue date, DATE as above;\n"
                          "  voided blanks and unconfirmed prints left out) as the federal register's\n"
                          "  XLSX template; every row is checked first and, when one fails, the rows\n"
                          "  are listed on stderr and nothing is written (exit 1) unless --valid-only\n"
                          "  is given: then the rows that pass are written and the rest listed;\n"
                          "  --db names the register (a file or postgresql://user@host:port/db)\n"
                          "  instead of the one in the settings;\n"
                          "  --calibration shows a printer queue's calibration, or sets it: the offset\n"
                          "  in mm (±10, steps of 0.05; +x right, +y down) and the scale (0.95..1.05),\n"
                          "  e.g. --offset 1.5,-0.75 --scale 1.01,1; --calibration-sheet prints the\n"
                          "  queue's calibration sheet; --pdf ... --calibrated QUEUE moves the PDF's\n"
                          "  page as that queue's calibration moves its prints.");
}

namespace {

// A date of the command line: dd.mm.yyyy or yyyy-mm-dd; null when neither.
QDate commandDate(const QString &Text)
{
    const QDate russian = QDate::fromString(Text, QStringLiteral("dd.MM.yyyy"));
    return russian.isValid() ? russian : QDate::fromString(Text, QStringLiteral("yyyy-MM-dd"));
}

// Takes "Name VALUE" out of Arguments (after the first); false when Name
// is there without a value.
bool takeOption(QStringList &Arguments, const QString &Name, QString &Value)
{
    const qsizetype at = Arguments.indexOf(Name, 1);
    if (at < 0)
        return true;
    if (at + 1 >= Arguments.size())
        return false;
    Value = Arguments[at + 1];
    Arguments.remove(at, 2);
    return true;
}

// --register VERB ...: the options are taken out, the rest are the verb's own.
void parseRegisterCommand(QStringList Arguments, THeadlessCommand &Command)
{
    auto fail = [] { throw EConvertError(headlessUsage()); };
    Command.Kind = THeadlessCommand::Register;
    if (Arguments.size() < 2)
        fail();
    Command.RegisterVerb = Arguments[1];
    QString from, to;
    if (!takeOption(Arguments, QStringLiteral("--from"), from) || !takeOption(Arguments, QStringLiteral("--to"), to)
        || !takeOption(Arguments, QStringLiteral("--reason"), Command.Reason))
        fail();
    Command.RegisterArguments = Arguments.mid(2);
    for (const QString &argument : Command.RegisterArguments)
        if (argument.startsWith(QLatin1String("--")))
            fail();
    const bool dates = !from.isEmpty() || !to.isEmpty();
    if (Command.RegisterVerb == QLatin1String("blanks-add")) {
        if (Command.RegisterArguments.size() != 3 || dates || !Command.Reason.isEmpty())
            fail();
    } else if (Command.RegisterVerb == QLatin1String("list")) {
        if (!Command.RegisterArguments.isEmpty() || !Command.Reason.isEmpty())
            fail();
        Command.From = commandDate(from);
        Command.To = commandDate(to);
        if ((!from.isEmpty() && !Command.From.isValid()) || (!to.isEmpty() && !Command.To.isValid()))
            fail();
    } else if (Command.RegisterVerb == QLatin1String("void")) {
        if (Command.RegisterArguments.size() != 2 || dates || Command.Reason.trimmed().isEmpty())
            fail();
    } else {
        fail();
    }
}

// --batch LIST --vod FILE then --pdf OUT, or --print with its options.
void parseBatchCommand(QStringList Arguments, THeadlessCommand &Command)
{
    auto fail = [] { throw EConvertError(headlessUsage()); };
    Command.Kind = THeadlessCommand::Batch;
    if (Arguments.size() < 2 || Arguments[1].startsWith(QLatin1String("--")))
        fail();
    Command.ListFile = Arguments[1];
    if (!takeOption(Arguments, QStringLiteral("--vod"), Command.CertificateFile)
        || !takeOption(Arguments, QStringLiteral("--pdf"), Command.PdfFile)
        || !takeOption(Arguments, QStringLiteral("--printer"), Command.Printer)
        || !takeOption(Arguments, QStringLiteral("--series"), Command.Series))
        fail();
    Command.Series = Command.Series.trimmed();
    const bool print = Arguments.removeAll(QStringLiteral("--print")) == 1;
    if (Arguments.size() != 2 || Command.CertificateFile.isEmpty() || print == !Command.PdfFile.isEmpty())
        fail();
    if (!print && (!Command.Printer.isEmpty() || !Command.Series.isEmpty()))
        fail();
}

// --frdo OUT.xlsx with its options.
void parseFrdoCommand(QStringList Arguments, THeadlessCommand &Command)
{
    auto fail = [] { throw EConvertError(headlessUsage()); };
    Command.Kind = THeadlessCommand::Frdo;
    QString from, to;
    if (!takeOption(Arguments, QStringLiteral("--from"), from) || !takeOption(Arguments, QStringLiteral("--to"), to))
        fail();
    Command.ValidOnly = Arguments.removeAll(QStringLiteral("--valid-only")) == 1;
    if (Arguments.size() != 2 || Arguments[1].startsWith(QLatin1String("--")))
        fail();
    Command.ExportFile = Arguments[1];
    Command.From = commandDate(from);
    Command.To = commandDate(to);
    if ((!from.isEmpty() && !Command.From.isValid()) || (!to.isEmpty() && !Command.To.isValid()))
        fail();
}

// "X,Y" with a decimal point, or "X;Y" with a point or a comma.
std::optional<QPointF> pairOf(const QString &Text)
{
    const bool semicolon = Text.contains(QLatin1Char(';'));
    const QStringList parts = Text.split(semicolon ? QLatin1Char(';') : QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    bool okX = false, okY = false;
    const double x = QString(parts[0]).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&okX);
    const double y = QString(parts[1]).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&okY);
    if (!okX || !okY)
        return std::nullopt;
    return QPointF(x, y);
}

} // namespace

void parseCalibrationCommand(const QStringList &Arguments, THeadlessCommand &Command)
{
    auto fail = [] { throw EConvertError(headlessUsage()); };
    const bool sheet = Arguments[0] == QLatin1String("--calibration-sheet");
    Command.Kind = sheet ? THeadlessCommand::CalibrationSheet : THeadlessCommand::Calibration;
    if (Arguments.size() < 2 || Arguments[1].startsWith(QLatin1String("--")) || Arguments[1].trimmed().isEmpty())
        fail();
    Command.CalibrationQueue = Arguments[1];
    if (sheet && Arguments.size() != 2)
        fail();
    for (qsizetype i = 2; i < Arguments.size(); i += 2) {
        if (i + 1 >= Arguments.size())
            fail();
        std::optional<QPointF> *target = nullptr;
        if (Arguments[i] == QLatin1String("--offset"))
            target = &Command.Offset;
        else if (Arguments[i] == QLatin1String("--scale"))
            target = &Command.Scale;
        if (!target || *target)
            fail();
        *target = pairOf(Arguments[i + 1]);
        if (!*target)
            fail();
    }
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
    if (!takeOption(Arguments, QStringLiteral("--db"), command.Database) || Arguments.isEmpty())
        fail();
    const QString &verb = Arguments[0];
    if (verb == QLatin1String("--register")) {
        parseRegisterCommand(Arguments, command);
        return command;
    }
    if (verb == QLatin1String("--pdf") || verb == QLatin1String("--print")
        || verb == QLatin1String("--batch")) {
        command.Shrink = Arguments.removeAll(QStringLiteral("--shrink")) > 0;
        command.Force = Arguments.removeAll(QStringLiteral("--force")) > 0;
        if (command.Shrink && command.Force)
            fail();
    }
    if (verb == QLatin1String("--batch")) {
        parseBatchCommand(Arguments, command);
        return command;
    }
    if (verb == QLatin1String("--frdo")) {
        parseFrdoCommand(Arguments, command);
        return command;
    }
    if (verb == QLatin1String("--calibration") || verb == QLatin1String("--calibration-sheet")) {
        parseCalibrationCommand(Arguments, command);
        return command;
    }
    if (verb == QLatin1String("--pdf")
        && (!takeOption(Arguments, QStringLiteral("--calibrated"), command.CalibrationQueue)
            || command.CalibrationQueue.startsWith(QLatin1String("--"))))
        fail();
    if (!command.Database.isEmpty() && verb != QLatin1String("--print") && verb != QLatin1String("--pdf"))
        fail();
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
        } else if (Arguments[i] == QLatin1String("--series")) {
            command.Series = Arguments[i + 1].trimmed();
            if (command.Series.isEmpty())
                fail();
        } else if (Arguments[i] == QLatin1String("--number")) {
            command.Number = Arguments[i + 1].trimmed();
            if (command.Number.isEmpty())
                fail();
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
