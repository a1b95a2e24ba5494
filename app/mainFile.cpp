// The file menu of the entry window: open, save as and save of a certificate file.

#include "app/main.h"

#include "app/CertificateFile.h"
#include "app/ErrorBox.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Both dialogs start in the folder of the file last opened, or in the
// user's documents folder as long as none has been (the program's own
// folder is not the user's once the program is installed).
QString dialogFolder(const QString &fileOpenName)
{
    if (!fileOpenName.isEmpty())
        return QFileInfo(fileOpenName).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

// Open: the chosen file's values go into the controls, it becomes the file
// that "Сохранить" writes to, and in every case (a cancelled dialog too) the
// total is computed afresh from the hours cells. A file lacking hours keys
// puts "Ошибка при чтении!" into them, so the sum then fails with the
// conversion error after the values have been loaded.
void TfmMain::N10Click()
{
    TFileDialogOptions options;
    options.InitialDir = dialogFolder(FileOpenName);
    if (const auto chosen = userInterface().OpenFile(options))
        OpenCertificate(chosen->FileName);
    else
        edt_11->setText(FloatToStr(SumAll()));
}

void TfmMain::OpenCertificate(const QString &FileName)
{
    openCertificate(*this, FileName);
    FileOpenName = FileName;
    N3->setEnabled(true);
    SetDuplicateOf(nullptr);
    edt_11->setText(FloatToStr(SumAll()));
}

// The start-up form is the cleared one, and a file that failed to load
// must not become the file "Сохранить" writes over.
void TfmMain::OpenAtStart(const QString &FileName)
{
    runHandler([this, &FileName] {
        try {
            OpenCertificate(QFileInfo(FileName).absoluteFilePath());
        } catch (...) {
            N6Click();
            FileOpenName.clear();
            N3->setEnabled(false);
            throw;
        }
    });
}

// Save as: writes the certificate into the chosen file; it changes neither
// the file that "Сохранить" writes to nor whether that command is enabled.
void TfmMain::N2Click()
{
    TFileDialogOptions options;
    options.InitialDir = dialogFolder(FileOpenName);
    options.Filter = QStringLiteral("файл свидетельства о профессии водителя|*.vod");
    // Any default extension makes the dialog give a name typed without one
    // the filter's ".vod".
    options.DefaultExt = QStringLiteral("1");
    options.OverwritePrompt = false;
    const auto chosen = userInterface().SaveFile(options);
    if (!chosen) {
        showMessage(QStringLiteral("Файл не сохранен!"));
        return;
    }
    saveCertificate(*this, chosen->FileName);
    showMessage(QStringLiteral("Файл сохранен : ") + chosen->FileName);
}

// Save: writes the certificate back into the file last opened.
void TfmMain::N3Click()
{
    if (FileOpenName.isEmpty())
        return;
    saveCertificate(*this, FileOpenName);
    showMessage(QStringLiteral("Файл сохранен : ") + FileOpenName);
}
