// The file menu of the entry window: open, save as and save of a certificate file.

#include "app/main.h"

#include "app/CertificateFile.h"
#include "app/ErrorBox.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"

#include <QComboBox>
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

TCertificate TfmMain::Certificate() const
{
    const TEdit *const edits[10] = {Edit_1, Edit_2, Edit_3, Edit_4, Edit_5, Edit_6, Edit_7, Edit_8, Edit_9, Edit_10};
    const TEdit *const hours[11] = {edt_1, edt_2, edt_3, edt_4, edt_5, edt_6, edt_7, edt_8, edt_9, edt_10, edt_11};
    const QComboBox *const grades[10] = {cmb_1, cmb_2, cmb_3, cmb_4, cmb_5, cmb_6, cmb_7, cmb_8, cmb_9, cmb_10};
    const TDateTimePicker *const dates[4] = {DateTimePicker1, DateTimePicker2, DateTimePicker3, DateTimePicker4};
    TCertificate certificate;
    for (int i = 0; i < 10; ++i) {
        certificate.Edits[i] = edits[i]->text();
        certificate.Grades[i] = grades[i]->currentIndex();
    }
    for (int i = 0; i < 11; ++i)
        certificate.Hours[i] = hours[i]->text();
    for (int i = 0; i < 4; ++i)
        certificate.Dates[i] = dates[i]->Date();
    certificate.Transmission = cmb_kpp->currentIndex();
    certificate.Details = TraineeDetails;
    return certificate;
}

void TfmMain::SetCertificate(const TCertificate &Certificate)
{
    TEdit *const edits[10] = {Edit_1, Edit_2, Edit_3, Edit_4, Edit_5, Edit_6, Edit_7, Edit_8, Edit_9, Edit_10};
    TEdit *const hours[11] = {edt_1, edt_2, edt_3, edt_4, edt_5, edt_6, edt_7, edt_8, edt_9, edt_10, edt_11};
    QComboBox *const grades[10] = {cmb_1, cmb_2, cmb_3, cmb_4, cmb_5, cmb_6, cmb_7, cmb_8, cmb_9, cmb_10};
    TDateTimePicker *const dates[4] = {DateTimePicker1, DateTimePicker2, DateTimePicker3, DateTimePicker4};
    for (int i = 0; i < 10; ++i)
        edits[i]->setText(Certificate.Edits[i]);
    for (int i = 0; i < 4; ++i)
        dates[i]->SetDate(Certificate.Dates[i]);
    for (int i = 0; i < 11; ++i)
        hours[i]->setText(Certificate.Hours[i]);
    for (int i = 0; i < 10; ++i)
        grades[i]->setCurrentIndex(Certificate.Grades[i]);
    cmb_kpp->setCurrentIndex(Certificate.Transmission);
    TraineeDetails = Certificate.Details;
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
