// The calibration commands of the command line: a printer queue's
// calibration shown or set, and its calibration sheet printed.

#include "app/Calibration.h"
#include "app/mainHeadless.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include <QTextStream>

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
