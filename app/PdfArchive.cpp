#include "app/PdfArchive.h"

#include "app/RegisterLocation.h"
#include "base/IniFile.h"
#include "base/SafeSave.h"
#include "base/UserInterface.h"
#include "report/model/rudReport.h"
#include "report/render/rudPdfOutput.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString archiveSection = QStringLiteral("Archive");

// Name as a part of a file name: no folder separators, no control
// characters, no leading dot; at most 60 characters.
QString fileNamePart(const QString &Name)
{
    QString part;
    for (const QChar c : Name)
        part += (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) ? QChar(u'_') : c;
    part = part.trimmed().left(60);
    while (part.startsWith(u'.'))
        part[0] = u'_';
    return part;
}

QString describe(const TCertificateRecord &Record)
{
    return QStringList{Record.Series, Record.Number, Record.FullName}.join(u' ').simplified();
}

} // namespace

TArchiveSettings archiveSettings()
{
    const TIniFile settings(programSettingsFile());
    TArchiveSettings result;
    result.Enabled = settings.ReadBool(archiveSection, QStringLiteral("Enabled"), true);
    result.Folder = settings.ReadString(archiveSection, QStringLiteral("Folder"), QString());
    return result;
}

void saveArchiveSettings(const TArchiveSettings &Settings)
{
    const QString file = programSettingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile settings(file);
    settings.WriteBool(archiveSection, QStringLiteral("Enabled"), Settings.Enabled);
    settings.WriteString(archiveSection, QStringLiteral("Folder"), Settings.Folder);
    settings.UpdateFile();
}

QString defaultArchiveFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/archive");
}

QString archiveFilePath(const QString &Folder, const TCertificateRecord &Record)
{
    const QDateTime printed = Record.PrintedAt.toLocalTime();
    const QString surname = fileNamePart(Record.FullName.section(u' ', 0, 0, QString::SectionSkipEmpty));
    const QString blank = Record.Number.isEmpty()
                              ? printed.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))
                              : fileNamePart(Record.Series) + u'-' + fileNamePart(Record.Number);
    const QString stem = Folder + u'/' + QString::number(printed.date().year()) + u'/' +
                         (surname.isEmpty() ? blank : blank + u' ' + surname);
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

QStringList archivePrints(TRegister &Register, TfrxReport *Report, QList<TArchivedPrint> &Prints)
{
    const TArchiveSettings settings = archiveSettings();
    QStringList failures;
    if (!settings.Enabled)
        return failures;
    const QString folder = settings.Folder.isEmpty() ? defaultArchiveFolder() : settings.Folder;
    for (TArchivedPrint &print : Prints) {
        try {
            if (!settings.Folder.isEmpty() && !QFileInfo(folder).isDir())
                throw EInOutError(QStringLiteral("Нет папки архива %1.").arg(folder));
            const QString path = archiveFilePath(folder, print.Record);
            if (!QDir().mkpath(QFileInfo(path).absolutePath()))
                throw EInOutError(QStringLiteral("Не удалось создать папку %1.").arg(QFileInfo(path).absolutePath()));
            const QByteArray pdf = rudReportPagesToPdf(Report, print.FirstPage, print.PageCount, path);
            saveFileAtomically(path, pdf);
            const QString hash = QString::fromLatin1(QCryptographicHash::hash(pdf, QCryptographicHash::Sha256).toHex());
            Register.SetArchive(print.Record.Id, path, hash);
            print.Record.ArchivePath = path;
            print.Record.ArchiveSha256 = hash;
        } catch (const Exception &error) {
            failures << describe(print.Record) + QStringLiteral(": ") + error.Message();
        }
    }
    return failures;
}

void archivePrintsAndReport(TRegister &Register, TfrxReport *Report, QList<TArchivedPrint> &Prints)
{
    const QStringList failures = archivePrints(Register, Report, Prints);
    if (failures.isEmpty())
        return;
    userInterface().MessageBox(QStringLiteral("Напечатано и записано в реестр, но копия в архив PDF не сохранена:\n%1")
                                   .arg(failures.join(u'\n')),
                               applicationTitle(), TMsgIcon::Error, TMsgButtons::Ok);
}
