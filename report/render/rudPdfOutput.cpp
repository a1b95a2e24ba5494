#include "report/render/rudPdfOutput.h"

#include "base/Errors.h"
#include "base/SafeSave.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPdfBoxes.h"
#include "report/render/rudPreviewPagesDraw.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <memory>

namespace {

// Device resolution of the PDF: fine enough that whole-pixel text
// positions stay well inside a tenth of a millimetre.
constexpr int pdfDpi = 1200;

QPageSize paperOf(TfrxReportPage *Page)
{
    return QPageSize(QSizeF(Page->PaperWidth(), Page->PaperHeight()), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
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
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(pdfDpi);
        writer.setCreator(QStringLiteral("Quorvel"));
        writer.setTitle(Report->ReportOptions()->Name());
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        for (int i = std::max(First, 0); i < std::min(First + Count, pages->Count()); ++i) {
            TfrxReportPage *page = pages->GetPage(i);
            if (!page)
                continue;
            writer.setPageSize(paperOf(page));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            if (!painter.isActive()) {
                if (!painter.begin(&writer))
                    throw EInOutError(QStringLiteral("Cannot write the PDF %1").arg(FileName));
            } else {
                writer.newPage();
            }
            TfrxCanvas canvas(&painter, pdfDpi, pdfDpi);
            TfrxPageDrawOptions options = rudPreparedPageOptions(pages, i);
            options.ForPaper = true;
            options.AnyBackground = Background == TfrxPdfBackground::Always;
            const bool calibrated = !Calibration.IsIdentity();
            if (calibrated) {
                painter.save();
                painter.translate(Calibration.OffsetX * pdfDpi / 25.4, Calibration.OffsetY * pdfDpi / 25.4);
                painter.scale(Calibration.ScaleX, Calibration.ScaleY);
            }
            rudDrawPage(page, &canvas, pdfDpi / 96.0, pdfDpi / 96.0, 0, 0, options);
            if (calibrated)
                painter.restore();
        }
        if (painter.isActive())
            painter.end();
    }
    return buffer.data();
}

QByteArray rudPagesToPdf(TfrxCustomPreviewPages *Pages, const QList<int> &Indexes, int Dpi, const QString &Creator,
                         const std::function<void(TfrxReportPage *)> &BeforeDraw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QList<QSizeF> points;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Dpi);
        writer.setCreator(Creator);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        std::unique_ptr<TfrxCanvas> canvas;
        const int count = Pages->GetCount();
        for (const int index : Indexes) {
            TfrxReportPage *page = Pages->GetPage(index);
            if (page) {
                writer.setPageSize(paperOf(page));
                points << QSizeF(page->PaperWidth() / 25.4 * 72, page->PaperHeight() / 25.4 * 72);
            } else {
                points << writer.pageLayout().fullRect(QPageLayout::Point).size();
            }
            if (!canvas)
                canvas = std::make_unique<TfrxCanvas>(&writer, Dpi, Dpi);
            else
                writer.newPage();
            if (!page)
                continue;
            if (BeforeDraw)
                BeforeDraw(page);
            rudDrawPage(page, canvas.get(), Dpi / 96.0, Dpi / 96.0, 0, 0, TfrxPageDrawOptions{index, count, 1, 1});
        }
    }
    buffer.close();
    return rudExactPdfMediaBoxes(bytes, points);
}
