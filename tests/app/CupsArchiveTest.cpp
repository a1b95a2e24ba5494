// The PDF archive of printed certificates, on the private CUPS queue: each
// print leaves a PDF of its own pages in the archive folder with its path
// and hash in the register; an archive that cannot be written is reported
// after the print, which stands recorded.

#include "GroupTestSupport.h"
#include "RegisterTestSupport.h"

#include "base/IniFile.h"
#include "records/Register.h"
#include "report/render/CupsSupport.h"
#include "support/SmallFileSystem.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QByteArray sha256Of(const QString &FileName)
{
    QFile file(FileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << FileName.toStdString();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

// Every word the print server's PDF kept as text (it loses some glyphs' text
// and splits words otherwise) lies in the archive's PDF with the same text
// at the same place: left and right edges within 0.5 mm, the middle of the
// box within 1 mm (the server embeds the fonts anew, and the boxes pdftotext
// gives then have other heights); the count of words compared.
int expectSamePlaces(const QString &Printed, const QString &Archived)
{
    const QList<TPdfWord> archived = cupsTest::PdfWords(Archived);
    const auto middle = [](const TPdfWord &Word) { return (Word.Top + Word.Bottom) / 2; };
    const auto distance = [&](const TPdfWord &A, const TPdfWord &B) {
        return qAbs(A.Left - B.Left) + qAbs(middle(A) - middle(B));
    };
    int compared = 0;
    for (const TPdfWord &word : cupsTest::PdfWords(Printed)) {
        const TPdfWord *nearest = nullptr;
        for (const TPdfWord &candidate : archived)
            if (candidate.Text == word.Text && (!nearest || distance(candidate, word) < distance(*nearest, word)))
                nearest = &candidate;
        if (!nearest)
            continue;
        ++compared;
        EXPECT_NEAR(nearest->Left, word.Left, 0.5) << word.Text.toStdString();
        EXPECT_NEAR(nearest->Right, word.Right, 0.5) << word.Text.toStdString();
        EXPECT_NEAR(middle(*nearest), middle(word), 1.0) << word.Text.toStdString();
    }
    return compared;
}

// The archive settings of the program the test runs (its settings file in
// the test's config folder; this test program's own file has another name).
void setProgramArchive(bool Enabled, const QString &Folder)
{
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Quorvel_A5/settings.ini");
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile settings(file);
    settings.WriteBool(QStringLiteral("Archive"), QStringLiteral("Enabled"), Enabled);
    settings.WriteString(QStringLiteral("Archive"), QStringLiteral("Folder"), Folder);
    settings.UpdateFile();
}

} // namespace

TEST_F(CupsPrinting, ArchiveKeepsEveryPrintedCertificateAsPdf)
{
    TRegisterFolder folder;
    TRegister::Open(folder.Database)->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000009"));
    const QString archive = folder.Path(QStringLiteral("archive"));
    ASSERT_TRUE(QDir().mkpath(archive));
    setProgramArchive(true, archive);

    // One certificate: its archive file holds the printed text at the
    // printed places, and the register keeps its path and hash.
    TRun run = runQuorvel({QStringLiteral("--print"), folder.Certificate, QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QString printed = PrintedPdf();
    QList<TCertificateRecord> records = TRegister::Open(folder.Database)->List();
    ASSERT_EQ(records.size(), 1);
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_EQ(records[0].ArchivePath, archive + "/" + year + "/АБ-000001 Иванов.pdf");
    EXPECT_EQ(records[0].ArchiveSha256.toLatin1(), sha256Of(records[0].ArchivePath));
    EXPECT_TRUE(cupsTest::FindWord(cupsTest::PdfWords(records[0].ArchivePath), QStringLiteral("Иванов")).has_value());
    EXPECT_GE(expectSamePlaces(printed, records[0].ArchivePath), 20);

    // A group: one file per trainee, each with the trainee's own pages.
    cupsTest::ClearPdfs();
    const QString list = folder.Path(QStringLiteral("group.csv"));
    writeGroupCsv(list, 2);
    run = runQuorvel({QStringLiteral("--batch"), list, QStringLiteral("--vod"), folder.Certificate,
                      QStringLiteral("--print"), QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(cupsTest::WaitIdle());
    cupsTest::ClearPdfs();
    records = TRegister::Open(folder.Database)->List();
    ASSERT_EQ(records.size(), 3);
    for (int i = 1; i <= 2; ++i) {
        const TCertificateRecord &record = records[i];
        EXPECT_EQ(record.ArchivePath,
                  QStringLiteral("%1/%2/АБ-00000%3 %4.pdf").arg(archive, year).arg(i + 1).arg(groupName(i).section(' ', 0, 0)));
        EXPECT_EQ(record.ArchiveSha256.toLatin1(), sha256Of(record.ArchivePath));
        EXPECT_EQ(cupsTest::PdfInfo(record.ArchivePath).Pages, 1);
        EXPECT_TRUE(cupsTest::FindWord(cupsTest::PdfWords(record.ArchivePath), groupGrade10(i)).has_value()) << i;
    }

    // A missing archive folder, and a full disk where it can be made: the
    // certificate is printed and recorded, the failure said after it.
    QStringList failing{folder.Path(QStringLiteral("gone"))};
    TSmallFileSystem disk(256 * 1024);
    if (disk.Mounted()) {
        disk.Fill(0);
        failing << disk.Path();
    }
    for (const QString &where : failing) {
        setProgramArchive(true, where);
        cupsTest::ClearPdfs();
        run = runQuorvel({QStringLiteral("--print"), folder.Certificate, QStringLiteral("--db"), folder.Database});
        EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(QStringLiteral("копия в архив PDF не сохранена"))) << run.Err.toStdString();
        EXPECT_FALSE(PrintedPdf().isEmpty());
        records = TRegister::Open(folder.Database)->List();
        EXPECT_TRUE(records.last().ArchivePath.isEmpty());
        EXPECT_EQ(records.last().State, TRecordState::rsIssued);
    }
    EXPECT_EQ(records.size(), 3 + failing.size());

    // Switched off: printed and recorded, no file.
    setProgramArchive(false, archive);
    cupsTest::ClearPdfs();
    run = runQuorvel({QStringLiteral("--print"), folder.Certificate, QStringLiteral("--db"), folder.Database});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_FALSE(run.Err.contains(QStringLiteral("архив"))) << run.Err.toStdString();
    EXPECT_TRUE(TRegister::Open(folder.Database)->List().last().ArchivePath.isEmpty());
    EXPECT_EQ(QDir(archive + "/" + year).entryList(QDir::Files).size(), 3);
}
