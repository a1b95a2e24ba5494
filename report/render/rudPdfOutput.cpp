#include "report/render/rudPdfOutput.h"

#include "base/Errors.h"
#include "base/SafeSave.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPreviewPagesDraw.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

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

void rudSaveReportToPdf(TfrxReport *Report, const QString &FileName, TfrxPdfBackground Background)
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
        for (int i = 0; i < pages->Count(); ++i) {
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
            rudDrawPage(page, &canvas, pdfDpi / 96.0, pdfDpi / 96.0, 0, 0, options);
        }
        if (painter.isActive())
            painter.end();
    }
    saveFileAtomically(FileName, buffer.data());
}
