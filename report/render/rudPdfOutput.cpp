#include "report/render/rudPdfOutput.h"

#include "base/Errors.h"
#include "base/SafeSave.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPdfBoxes.h"
#include "report/render/rudPdfWriter.h"
#include "report/render/rudPreviewPagesDraw.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>

namespace {

// Device resolution of the certificate's PDF: fine enough that whole-pixel
// text positions stay well inside a tenth of a millimetre.
constexpr int pdfDpi = 1200;

// What a PDF of prepared pages is made of: the pages (by index), how each
// is fetched and drawn, and the document's names.
struct TPdfJob {
    QList<int> Indexes;
    int Dpi = pdfDpi;
    QString Title, Creator;
    std::function<TfrxReportPage *(int)> Fetch;
    // A page that cannot be fetched leaves a blank sheet (or nothing).
    bool BlankForMissing = false;
    std::function<void(TfrxReportPage *, int, TfrxCanvas &, QPainter &)> Draw;
};

QSizeF pointsOf(TfrxReportPage *Page)
{
    return QSizeF(Page->PaperWidth() / 25.4 * 72, Page->PaperHeight() / 25.4 * 72);
}

// The sheets of a job: Begin(points) starts each, Device() is drawn on.
template <class Sheets> void drawJob(const TPdfJob &Job, Sheets &Output)
{
    QPainter painter;
    TfrxCanvas canvas(&painter, Job.Dpi, Job.Dpi);
    QSizeF last(595.2756, 841.8898);
    for (const int index : Job.Indexes) {
        TfrxReportPage *page = Job.Fetch(index);
        if (!page && !Job.BlankForMissing)
            continue;
        if (page)
            last = pointsOf(page);
        Output.Begin(last, !painter.isActive());
        if (!painter.isActive() && !painter.begin(Output.Device()))
            throw EInOutError(QStringLiteral("Cannot write the PDF"));
        if (page)
            Job.Draw(page, index, canvas, painter);
    }
    if (painter.isActive())
        painter.end();
}

// The report's own writer.
struct TOwnSheets {
    TfrxPdfWriter Writer;
    explicit TOwnSheets(const TPdfJob &Job) : Writer(Job.Dpi)
    {
        Writer.SetTitle(Job.Title);
        Writer.SetCreator(Job.Creator);
    }
    void Begin(const QSizeF &Points, bool) { Writer.NewPage(Points); }
    QPaintDevice *Device() { return &Writer; }
};

// Qt's writer: for documents with fonts the own writer cannot embed. It
// rounds page boxes to whole points, which are put right afterwards.
struct TQtSheets {
    QByteArray Bytes;
    QBuffer Buffer{&Bytes};
    QPdfWriter Writer{&Buffer};
    QList<QSizeF> Points;
    explicit TQtSheets(const TPdfJob &Job)
    {
        Buffer.open(QIODevice::WriteOnly);
        Writer.setResolution(Job.Dpi);
        Writer.setTitle(Job.Title);
        Writer.setCreator(Job.Creator);
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    void Begin(const QSizeF &Size, bool First)
    {
        Writer.setPageSize(QPageSize(Size, QPageSize::Point, QString(), QPageSize::ExactMatch));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!First)
            Writer.newPage();
        Points << Size;
    }
    QPaintDevice *Device() { return &Writer; }
};

// The job as a PDF: through the own writer, or, when a font it meets cannot
// be embedded (no TrueType outlines), through Qt's writer, which draws such
// text correctly glyph by glyph (the pages are then fetched twice).
QByteArray writePdf(const TPdfJob &Job)
{
    {
        TOwnSheets own(Job);
        drawJob(Job, own);
        if (own.Writer.UnembeddableFont().isEmpty())
            return own.Writer.Finish();
    }
    QByteArray bytes;
    QList<QSizeF> points;
    {
        TQtSheets qt(Job);
        drawJob(Job, qt);
        points = qt.Points;
        qt.Buffer.close();
        bytes = qt.Bytes;
    }
    return rudExactPdfMediaBoxes(bytes, points);
}

} // namespace

void rudSaveReportToPdf(TfrxReport *Report, const QString &FileName, TfrxPdfBackground Background,
                        const TfrxPaperCalibration &Calibration)
{
    const int count = Report->PreviewPages() ? Report->PreviewPages()->Count() : 0;
    saveFileAtomically(FileName, rudReportPagesToPdf(Report, 0, count, FileName, Background, Calibration));
}

QByteArray rudReportPagesToPdf(TfrxReport *Report, int First, int Count, const QString &FileName,
                               TfrxPdfBackground Background, const TfrxPaperCalibration &Calibration)
{
    auto *pages = dynamic_cast<TfrxPreviewPages *>(Report->PreviewPages());
    if (!pages)
        throw EInOutError(QStringLiteral("Cannot write the PDF %1").arg(FileName));
    TPdfJob job;
    for (int i = std::max(First, 0); i < std::min(First + Count, pages->Count()); ++i)
        job.Indexes << i;
    job.Title = Report->ReportOptions()->Name();
    job.Creator = QStringLiteral("Quorvel");
    job.Fetch = [pages](int Index) { return pages->GetPage(Index); };
    job.Draw = [&](TfrxReportPage *Page, int Index, TfrxCanvas &Canvas, QPainter &Painter) {
        TfrxPageDrawOptions options = rudPreparedPageOptions(pages, Index);
        options.ForPaper = true;
        options.AnyBackground = Background == TfrxPdfBackground::Always;
        const bool calibrated = !Calibration.IsIdentity();
        if (calibrated) {
            Painter.save();
            Painter.translate(Calibration.OffsetX * pdfDpi / 25.4, Calibration.OffsetY * pdfDpi / 25.4);
            Painter.scale(Calibration.ScaleX, Calibration.ScaleY);
        }
        rudDrawPage(Page, &Canvas, pdfDpi / 96.0, pdfDpi / 96.0, 0, 0, options);
        if (calibrated)
            Painter.restore();
    };
    try {
        return writePdf(job);
    } catch (const EInOutError &) {
        throw EInOutError(QStringLiteral("Cannot write the PDF %1").arg(FileName));
    }
}

QByteArray rudPagesToPdf(TfrxCustomPreviewPages *Pages, const QList<int> &Indexes, int Dpi, const QString &Creator,
                         const std::function<void(TfrxReportPage *)> &BeforeDraw)
{
    TPdfJob job;
    job.Indexes = Indexes;
    job.Dpi = Dpi;
    job.Creator = Creator;
    job.BlankForMissing = true;
    job.Fetch = [Pages](int Index) { return Pages->GetPage(Index); };
    const int count = Pages->GetCount();
    job.Draw = [&](TfrxReportPage *Page, int Index, TfrxCanvas &Canvas, QPainter &) {
        if (BeforeDraw)
            BeforeDraw(Page);
        rudDrawPage(Page, &Canvas, Dpi / 96.0, Dpi / 96.0, 0, 0, TfrxPageDrawOptions{Index, count, 1, 1});
    };
    return writePdf(job);
}
