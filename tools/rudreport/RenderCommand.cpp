// rudreport render TEMPLATE|PREPARED.fp3 OUT.png|OUT.pdf [--dpi N] [--page K]
// [--data NAME=FILE.csv ...] [--set NAME=VALUE ...]: prepares a template
// (with the data and values given, as prepare does) or reads a prepared
// report, and draws its prepared pages into a PDF of the exact paper sizes,
// all pages, or PNG images: OUT.png for the first page (or page K) and
// OUT-2.png, OUT-3.png, ... for the others, all replaced together or none.

#include "Commands.h"
#include "PrepareSupport.h"

#include "report/engine/rudPreviewPages.h"

#include "report/model/rudClass.h"
#include "report/model/rudMemo.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPdfOutput.h"

#include "base/Errors.h"
#include "base/SafeSave.h"

#include <QBuffer>
#include <QImage>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "rudreport: " << message << '\n';
    return 1;
}

bool writeBytes(const QString &fileName, const QByteArray &bytes, QString &error)
{
    try {
        saveFileAtomically(fileName, bytes);
    } catch (const Exception &e) {
        error = e.Message();
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
    QStringList files, data, set, rest;
    int dpi = 0, pageNo = 0;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--dpi") && i + 1 < args.size())
            dpi = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--page") && i + 1 < args.size())
            pageNo = args[++i].toInt(&ok);
        else
            rest << args[i];
        if (!ok || dpi < 0 || pageNo < 0 || dpi > 2400)
            rest = {QStringLiteral("--bad")};
    }
    const QString bad = parseTemplateOptions(rest, files, data, set);
    if (!bad.isEmpty() || files.size() != 2) {
        QTextStream(stderr) << "usage: rudreport render TEMPLATE|PREPARED.fp3 OUT.png|OUT.pdf [--dpi N] [--page K] "
                               "[--data NAME=FILE.csv ...] [--set NAME=VALUE ...]\n";
        return 2;
    }
    TPreparedTemplate prepared;
    TfrxCustomPreviewPages *store = prepared.Report->PreviewPages();
    if (files[0].endsWith(QLatin1String(".fp3"), Qt::CaseInsensitive)) {
        try {
            if (!store->LoadFromFile(files[0], true))
                return fail(QStringLiteral("cannot open %1").arg(files[0]));
        } catch (const Exception &e) {
            return fail(e.Message());
        }
    } else {
        const QString error = prepareTemplate(prepared, files[0], data, set);
        if (!error.isEmpty()) {
            QTextStream(stderr) << error << '\n';
            return 1;
        }
    }
    const int count = store->Count();
    // The memos learn the page count, as the store's own drawing tells them.
    auto resolvePlaceholders = [count](TfrxReportPage *page) {
        for (TfrxComponent *c : page->AllObjects())
            if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c)) {
                memo->SetTotalPages(count);
                memo->ExtractMacros();
            }
        return page;
    };
    if (count == 0)
        return fail(QStringLiteral("the report has no prepared page"));
    if (pageNo > count)
        return fail(QStringLiteral("the report has %1 page(s)").arg(count));
    QList<int> indexes;
    for (int i = 0; i < count; ++i)
        if (pageNo == 0 || i == pageNo - 1)
            indexes << i;
    const QString out = files[1];
    QString error;
    if (out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        if (dpi == 0)
            dpi = 600;
        const QByteArray bytes = rudPagesToPdf(store, indexes, dpi, QStringLiteral("rudreport"), resolvePlaceholders);
        if (!writeBytes(out, bytes, error))
            return fail(error);
        return 0;
    }
    if (dpi == 0)
        dpi = 96;
    QString base = out;
    if (base.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        base.chop(4);
    // The images replace their files together once every page is drawn: a
    // page that fails leaves the old set of files, never a mix of two runs.
    TAtomicSaveSet images;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        // A page the store cannot rebuild stops the command before any
        // image is replaced, naming the page and what went wrong with it.
        const QStringList before = prepared.Report->Errors();
        TfrxReportPage *page = store->GetPage(indexes[i]);
        if (!page) {
            QStringList reasons;
            for (const QString &e : prepared.Report->Errors())
                if (!before.contains(e))
                    reasons << e;
            return fail(QStringLiteral("page %1 cannot be rebuilt from the prepared report%2")
                            .arg(indexes[i] + 1)
                            .arg(reasons.isEmpty() ? QString() : QStringLiteral(": ") + reasons.join(QStringLiteral("; "))));
        }
        resolvePlaceholders(page);
        QImage image(pageSizeInPixels(page, dpi), QImage::Format_RGB32);
        if (image.isNull())
            return fail(QStringLiteral("the page is too large at %1 dpi").arg(dpi));
        image.fill(Qt::white);
        image.setDotsPerMeterX(rudRound(dpi / 0.0254));
        image.setDotsPerMeterY(rudRound(dpi / 0.0254));
        {
            TfrxCanvas canvas(&image, dpi, dpi);
            rudDrawPage(page, &canvas, dpi / 96.0, dpi / 96.0, 0, 0, TfrxPageDrawOptions{indexes[i], count});
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return fail(QStringLiteral("cannot encode the image"));
        const QString name = i == 0 ? out : base + QStringLiteral("-%1.png").arg(i + 1);
        try {
            images.Add(name, bytes);
            if (i + 1 == indexes.size())
                images.Commit();
        } catch (const Exception &e) {
            return fail(e.Message());
        }
    }
    return 0;
}

TCommandRegistrar registrar(QStringLiteral("render"),
                            QStringLiteral("render TEMPLATE|PREPARED.fp3 OUT.png|OUT.pdf [--dpi N] [--page K] [--data ...] [--set ...]  "
                                           "draw the prepared pages"),
                            renderCommand);

} // namespace
