#pragma once
// The private CUPS server of the printing tests and reading back the PDFs
// its "PDF" queue writes. Tests of suites named Cups* derive from
// CupsPrinting: they skip, saying why, where the machine cannot run the
// server, and the run ends with a line counting the printing tests run.

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

// A word of a PDF page as pdftotext -bbox places it, in millimetres from the
// page's top-left corner.
struct TPdfWord {
    QString Text;
    double Left, Top, Right, Bottom;
};

// Page count and the size of each page (millimetres) of a PDF file.
struct TPdfInfo {
    int Pages = 0;
    QList<QSizeF> Sizes;
};

namespace cupsTest {
// The server's folder (build folder's "cups").
QString Dir();
// Starts the server when it does not answer; false (and the reason) when
// this machine cannot run it.
bool Available(QString *Reason = nullptr);
// Waits until the server has no job left and the queue's PDFs stopped
// growing; false after a minute.
bool WaitIdle();
// The PDFs of the queue, oldest job first; ClearPdfs removes them.
QStringList Pdfs();
void ClearPdfs();
TPdfInfo PdfInfo(const QString &FileName);
// The words of page Page (1-based).
QList<TPdfWord> PdfWords(const QString &FileName, int Page = 1);
// The first word equal to Text, as a copy (the list is often a temporary);
// nothing when none.
std::optional<TPdfWord> FindWord(const QList<TPdfWord> &Words, const QString &Text);
} // namespace cupsTest

// Base of the tests that print to the server's "PDF" queue: each starts with
// an empty output folder and "PDF" as the current printer.
class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override;
    // Counts the test as run or, when it skipped, as skipped; a fixture
    // that overrides it calls it.
    void TearDown() override;
    // Waits for the queue and returns the single new PDF (fails otherwise).
    QString PrintedPdf();
};
