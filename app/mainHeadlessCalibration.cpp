// The calibration commands of the command line: a printer queue's
// calibration shown or set, and its calibration sheet printed.

#include "app/Calibration.h"
#include "app/mainHeadless.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include <QTextStream>

namespace {

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

int runCalibrationCommand(const THeadlessCommand &Command)
{
    QTextStream err(stderr);
    try {
        if (Command.Kind == THeadlessCommand::CalibrationSheet) {
            // Messages of the print loop go to stderr.
            TConsoleUserInterface messages;
            const bool printed = rudPrintCalibrationSheet(
                Command.CalibrationQueue,
                QStringLiteral("Калибровка принтера %1").arg(Command.CalibrationQueue));
            return printed ? 0 : 1;
        }
        TfrxPaperCalibration value = printerCalibration(Command.CalibrationQueue);
        if (Command.Offset || Command.Scale) {
            if (Command.Offset) {
                value.OffsetX = Command.Offset->x();
                value.OffsetY = Command.Offset->y();
            }
            if (Command.Scale) {
                value.ScaleX = Command.Scale->x();
                value.ScaleY = Command.Scale->y();
            }
            savePrinterCalibration(Command.CalibrationQueue, value);
            value = printerCalibration(Command.CalibrationQueue);
        }
        QTextStream(stdout) << Command.CalibrationQueue << ": " << calibrationText(value) << '\n';
        return 0;
    } catch (const Exception &error) {
        err << error.Message() << '\n';
    }
    return 1;
}
