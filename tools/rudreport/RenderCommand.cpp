// rudreport render TEMPLATE OUT.png|OUT.pdf [--dpi N] [--page K]: draws the
// template's report pages as designed (objects on the page, texts as
// written) into a PNG image of one page or a PDF of the exact paper size.

#include "Commands.h"

#include "report/model/rudClass.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPdfBoxes.h"

#include "base/Errors.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "rudreport: " << message << '\n';
    return 1;
}

bool writeBytes(const QString &fileName, const QByteArray &bytes, QString &error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("cannot write \"%1\": %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

QSize pageSizeInPixels(TfrxReportPage *page, int dpi)
{
    const double scale = dpi / 96.0;
    return QSize(rudRound(page->PaperWidth() * fr01cm * scale), rudRound(page->PaperHeight() * fr01cm * scale));
}

int renderCommand(const QStringList &args)
{
    QStringList files;
    int dpi = 0, pageNo = 0;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--dpi") && i + 1 < args.size())
            dpi = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--page") && i + 1 < args.size())
            pageNo = args[++i].toInt(&ok);
        else
            files << args[i];
        if (!ok || dpi < 0 || pageNo < 0 || dpi > 2400)
            files.clear();
    }
    if (files.size() != 2) {
        QTextStream(stderr) << "usage: rudreport render TEMPLATE OUT.png|OUT.pdf [--dpi N] [--page K]\n";
        return 2;
    }
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    try {
        report.LoadFromFile(files[0], true);
    } catch (const Exception &e) {
        return fail(e.Message());
    }
    if (!report.Errors().isEmpty())
        return fail(report.Errors().join(QLatin1Char('\n')));
    QList<TfrxReportPage *> pages;
    for (TfrxComponent *child : report.Objects())
        if (auto *page = qobject_cast<TfrxReportPage *>(child))
            pages << page;
    if (pages.isEmpty())
        return fail(QStringLiteral("the template has no report page"));
    if (pageNo > pages.size())
        return fail(QStringLiteral("the template has %1 report page(s)").arg(pages.size()));
    if (pageNo > 0)
        pages = {pages[pageNo - 1]};
    const QString out = files[1];
    QString error;
    if (out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        if (dpi == 0)
            dpi = 600;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setCreator(QStringLiteral("rudreport"));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        auto pageSize = [](TfrxReportPage *page) {
            return QPageSize(QSizeF(page->PaperWidth(), page->PaperHeight()), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
        };
        writer.setPageSize(pageSize(pages.first()));
        {
            TfrxCanvas canvas(&writer, dpi, dpi);
            for (qsizetype i = 0; i < pages.size(); ++i) {
                if (i > 0) {
                    writer.setPageSize(pageSize(pages[i]));
                    writer.newPage();
                }
                rudDrawPage(pages[i], &canvas, dpi / 96.0, dpi / 96.0, 0, 0,
                            TfrxPageDrawOptions{int(i), int(pages.size()), 1, 1});
            }
        }
        buffer.close();
        QList<QSizeF> points;
        for (TfrxReportPage *page : pages)
            points << QSizeF(page->PaperWidth() / 25.4 * 72, page->PaperHeight() / 25.4 * 72);
        if (!writeBytes(out, rudExactPdfMediaBoxes(bytes, points), error))
            return fail(error);
        return 0;
    }
    if (dpi == 0)
        dpi = 96;
    TfrxReportPage *page = pages.first();
    QImage image(pageSizeInPixels(page, dpi), QImage::Format_RGB32);
    if (image.isNull())
        return fail(QStringLiteral("the page is too large at %1 dpi").arg(dpi));
    image.fill(Qt::white);
    image.setDotsPerMeterX(rudRound(dpi / 0.0254));
    image.setDotsPerMeterY(rudRound(dpi / 0.0254));
    {
        TfrxCanvas canvas(&image, dpi, dpi);
        rudDrawPage(page, &canvas, dpi / 96.0, dpi / 96.0, 0, 0, TfrxPageDrawOptions{pageNo > 0 ? pageNo - 1 : 0});
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return fail(QStringLiteral("cannot encode the image"));
    if (!writeBytes(out, bytes, error))
        return fail(error);
    return 0;
}

TCommandRegistrar registrar(QStringLiteral("render"),
                            QStringLiteral("render TEMPLATE OUT.png|OUT.pdf [--dpi N] [--page K]  draw the template's pages"),
                            renderCommand);

} // namespace
