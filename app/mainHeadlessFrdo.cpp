// The federal register export without the window.

#include "app/mainHeadless.h"

#include "app/FrdoSettingsDialog.h"
#include "app/RegisterLocation.h"
#include "records/FrdoExport.h"

#include <QTextStream>

int runFrdoCommand(const THeadlessCommand &Command)
{
    setRegisterLocationOverride(Command.Database);
    QTextStream err(stderr);
    try {
        const std::unique_ptr<TRegister> reg = TRegister::Open(registerLocation());
        const TFrdoResult result =
            exportFrdo(*reg, Command.ExportFile, Command.From, Command.To, savedFrdoSettings(), Command.ValidOnly);
        if (result.Failed) {
            if (result.FileWritten)
                err << QStringLiteral("Строки с ошибками не выгружены (%1):\n").arg(result.Failed);
            else
                err << QStringLiteral("Файл %1 не записан: исправьте строки с ошибками (%2) или выгрузите только "
                                      "верные (--valid-only).\n")
                           .arg(Command.ExportFile)
                           .arg(result.Failed);
            for (const QString &fault : result.Faults)
                err << fault << '\n';
        }
        if (result.FileWritten)
            err << QStringLiteral("В файл %1 выгружено свидетельств: %2.\n").arg(Command.ExportFile).arg(result.Written);
        return result.FileWritten ? 0 : 1;
    } catch (const Exception &error) {
        err << error.Message() << '\n';
    } catch (const std::exception &error) {
        err << QString::fromLocal8Bit(error.what()) << '\n';
    }
    return 1;
}
