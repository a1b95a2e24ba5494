// The entry window's side of the federal register export: the trainee's
// details dialog, the export's settings and the export itself.

#include "app/main.h"

#include "app/FrdoSettingsDialog.h"
#include "app/TraineeDetailsDialog.h"
#include "base/UserInterface.h"
#include "records/FrdoExport.h"

#include <QAction>
#include <QMenu>

namespace {

// At most this many faults are listed in a message; the rest are counted.
constexpr int ListedFaults = 25;

QString faultList(const QStringList &Faults)
{
    QStringList shown = Faults.mid(0, ListedFaults);
    if (Faults.size() > ListedFaults)
        shown << QStringLiteral("… и ещё %1").arg(Faults.size() - ListedFaults);
    return shown.join(u'\n');
}

} // namespace

void TfmMain::CreateFrdoMenu()
{
    N17 = new QAction(QStringLiteral("Сведения о &получателе..."), this);
    N17->setObjectName(QStringLiteral("N17"));
    N17->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    N1->insertAction(N16, N17);
    N12->addSeparator();
    N19 = N12->addAction(QStringLiteral("&Выгрузка в ФИС ФРДО..."));
    N19->setObjectName(QStringLiteral("N19"));
    N18 = N12->addAction(QStringLiteral("Настройки в&ыгрузки в ФИС ФРДО..."));
    N18->setObjectName(QStringLiteral("N18"));
    connect(N17, &QAction::triggered, this, [this] { Handle(&TfmMain::N17Click); });
    connect(N18, &QAction::triggered, this, [this] { Handle(&TfmMain::N18Click); });
    connect(N19, &QAction::triggered, this, [this] { Handle(&TfmMain::N19Click); });
}

void TfmMain::N17Click()
{
    TTraineeDetailsDialog dialog(TraineeDetails, Edit_5->text(), this);
    if (userInterface().ExecDialog(&dialog) == 1 && dialog.Fault().isEmpty())
        TraineeDetails = dialog.Details();
}

void TfmMain::N18Click()
{
    TFrdoSettingsDialog dialog(savedFrdoSettings(), this);
    if (userInterface().ExecDialog(&dialog) == 1)
        saveFrdoSettings(dialog.Settings());
}

void TfmMain::N19Click() { ExportFrdo(QDate(), QDate()); }

// Nothing is written while a row fails, unless the operator then asks for
// the valid rows only.
void TfmMain::ExportFrdo(const QDate &From, const QDate &To)
{
    TFileDialogOptions options;
    options.Title = QStringLiteral("Выгрузка в ФИС ФРДО");
    options.FileName = QStringLiteral("ФРДО.xlsx");
    options.Filter = QStringLiteral("Книга Excel (*.xlsx)|*.xlsx");
    options.DefaultExt = QStringLiteral("xlsx");
    options.OverwritePrompt = true;
    const std::optional<TFileDialogResult> chosen = userInterface().SaveFile(options);
    if (!chosen)
        return;
    TRegister &reg = Register();
    const TFrdoSettings settings = savedFrdoSettings();
    TFrdoResult result = exportFrdo(reg, chosen->FileName, From, To, settings, false);
    if (!result.FileWritten) {
        const QString question =
            QStringLiteral("Строки с ошибками (%1):\n%2\n\nФайл не записан. Выгрузить только верные строки (%3)?")
                .arg(result.Failed)
                .arg(faultList(result.Faults))
                .arg(result.Valid);
        if (userInterface().MessageBox(question, QStringLiteral("Выгрузка в ФИС ФРДО"), TMsgIcon::Warning,
                                       TMsgButtons::YesNo)
            != TMsgResult::Yes)
            return;
        result = exportFrdo(reg, chosen->FileName, From, To, settings, true);
    }
    showMessage(QStringLiteral("В файл %1 выгружено свидетельств: %2.").arg(chosen->FileName).arg(result.Written));
}
