// The entry window's side of the school's register: its menu, the register
// it opens on first use, and records brought back into the controls.

#include "app/main.h"

#include "app/CertificateFile.h"
#include "app/GroupWindow.h"
#include "app/PrintRecorder.h"
#include "app/RegisterDialogs.h"
#include "app/RegisterLocation.h"
#include "app/RegisterWindow.h"
#include "base/UserInterface.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

void TfmMain::CreateRegisterMenu()
{
    N12 = MainMenu1->addMenu(QStringLiteral("&Реестр"));
    N12->setObjectName(QStringLiteral("N12"));
    N13 = N12->addAction(QStringLiteral("Реестр &свидетельств..."));
    N13->setObjectName(QStringLiteral("N13"));
    N13->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    N14 = N12->addAction(QStringLiteral("&Поступление бланков..."));
    N14->setObjectName(QStringLiteral("N14"));
    N12->addSeparator();
    N15 = N12->addAction(QStringLiteral("&Настройки реестра..."));
    N15->setObjectName(QStringLiteral("N15"));
    ArchiveSettingsAction = N12->addAction(QStringLiteral("&Архив PDF..."));
    ArchiveSettingsAction->setObjectName(QStringLiteral("ArchiveSettingsAction"));
    // The group's print sits in the file menu, above "Выход".
    N16 = new QAction(QStringLiteral("Печать группы..."), this);
    N16->setObjectName(QStringLiteral("N16"));
    N16->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    N1->insertAction(N4, N16);
    N1->insertSeparator(N4);
    connect(N16, &QAction::triggered, this, [this] { Handle(&TfmMain::N16Click); });
    connect(N13, &QAction::triggered, this, [this] { Handle(&TfmMain::N13Click); });
    connect(N14, &QAction::triggered, this, [this] { Handle(&TfmMain::N14Click); });
    connect(N15, &QAction::triggered, this, [this] { Handle(&TfmMain::N15Click); });
    connect(ArchiveSettingsAction, &QAction::triggered, this, [this] { Handle(&TfmMain::ArchiveSettingsClick); });
    CreateFrdoMenu();
}

TRegister &TfmMain::Register()
{
    if (!FRegister)
        FRegister = TRegister::Open(registerLocation());
    return *FRegister;
}

void TfmMain::CloseRegister() { FRegister.reset(); }

void TfmMain::N13Click()
{
    if (!FRegisterWindow)
        FRegisterWindow = new TfmRegister(this);
    FRegisterWindow->Refresh();
    FRegisterWindow->show();
    FRegisterWindow->raise();
    FRegisterWindow->activateWindow();
}

void TfmMain::N16Click()
{
    if (!FGroupWindow)
        FGroupWindow = new TfmGroup(*this, this);
    FGroupWindow->SeriesE->setText(Edit_4->text());
    FGroupWindow->show();
    FGroupWindow->raise();
    FGroupWindow->activateWindow();
}

void TfmMain::N14Click()
{
    if (askAndAddBlanks(Register(), this) && FRegisterWindow && FRegisterWindow->isVisible())
        FRegisterWindow->Refresh();
}

// The new location is kept even when it cannot be opened yet (a server
// that is down today); the register is opened again at its next use.
void TfmMain::N15Click()
{
    TRegisterSettingsDialog dialog(savedRegisterLocation(), this);
    if (userInterface().ExecDialog(&dialog) != 1)
        return;
    const QString location = dialog.LocationE->text().trimmed();
    checkRegisterLocation(location);
    saveRegisterLocation(location);
    CloseRegister();
    if (FRegisterWindow && FRegisterWindow->isVisible())
        FRegisterWindow->Refresh();
}

void TfmMain::ArchiveSettingsClick()
{
    TArchiveSettingsDialog dialog(archiveSettings(), this);
    if (userInterface().ExecDialog(&dialog) == 1)
        saveArchiveSettings(dialog.Result());
}

void TfmMain::OpenRecord(const TCertificateRecord &Record, bool Duplicate)
{
    TCertificate certificate = certificateFromValues(Record.Values);
    certificate.Details = Record.Details;
    SetCertificate(certificate);
    SetDuplicateOf(Duplicate ? &Record : nullptr);
}

void TfmMain::SetDuplicateOf(const TCertificateRecord *Original)
{
    FDuplicateOf = Original ? std::optional<qint64>(Original->Id) : std::nullopt;
    if (!DuplicateLabel)
        return;
    if (!Original) {
        DuplicateLabel->clear();
        return;
    }
    const QString blank = (Original->Series + QLatin1Char(' ') + Original->Number).trimmed();
    DuplicateLabel->setText(blank.isEmpty() ? QStringLiteral("Печать дубликата свидетельства")
                                            : QStringLiteral("Печать дубликата свидетельства %1").arg(blank));
}
