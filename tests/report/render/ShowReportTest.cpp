// Showing a report and printing it from its preview: the preview window of
// a preparation that produced nothing goes away, and a preview whose pages
// are being printed keeps them.

#include "RenderTestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClass.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudRenderInit.h"
#include "support/TestSupport.h"

#include "base/Errors.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A report of one A5 page with a memo on it.
void addPage(TfrxReport &Report)
{
    addMemoPage(Report)->SetText(QStringLiteral("Value"));
}

// The preview windows on screen.
QList<QWidget *> previewWindows()
{
    QList<QWidget *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->inherits("TfrxPreviewForm") && widget->isVisible())
            found << widget;
    return found;
}

// Shows Report modeless and lets the preparation's timer run (Terminate:
// the report is stopped as its preparation begins); the preview window
// shown (nullptr when none is left on screen).
QPointer<QWidget> showAndPrepare(TfrxReport &Report, bool Terminate = false)
{
    bool began = false;
    Report.OnBeginDoc = [&began, Terminate](TfrxReport *R) {
        began = true;
        if (Terminate)
            R->SetTerminated(true);
    };
    Report.PreviewOptions()->SetModal(false);
    Report.ShowReport();
    const QList<QWidget *> shown = previewWindows();
    EXPECT_EQ(shown.size(), 1);
    QPointer<QWidget> form = shown.isEmpty() ? nullptr : shown.first();
    // The preparation runs whole within the timer's tick.
    EXPECT_TRUE(QTest::qWaitFor([&began] { return began; }, 10000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Report.OnBeginDoc = nullptr;
    return form && form->isVisible() ? form : nullptr;
}

// A printer whose sheets are images (96 dpi, A5, no margins).
TImagePrinter *imagePrinter()
{
    return new TImagePrinter(QStringLiteral("Images"), TfrxDeviceCaps{96, 96, 148, 210, 0, 0, 148, 210},
                             QSize(560, 794));
}

} // namespace

TEST(ShowReport, APreparationThatProducesNothingClosesItsPreviewWindow)
{
    rudRenderInit();
    TRecordingUserInterface ui;

    // Prepared: the window stays with its page.
    {
        TRenderReport report;
        addPage(report);
        QPointer<QWidget> form = showAndPrepare(report);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(report.PreviewPages()->Count(), 1);
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Stopped before the pages were run (as by Cancel while the report's
    // script runs): the window does not stay open and empty.
    {
        TRenderReport report;
        addPage(report);
        EXPECT_EQ(showAndPrepare(report, true), nullptr);
        EXPECT_TRUE(previewWindows().isEmpty());
        EXPECT_EQ(report.PreviewPages()->Count(), 0);
    }
    // A preview control in a window of the host's own: the host's window stays.
    {
        TRenderReport report;
        addPage(report);
        QWidget host;
        auto *preview = new TfrxPreview(&host);
        preview->SetReport(&report);
        host.show();
        report.OnBeginDoc = [](TfrxReport *Report) { Report->SetTerminated(true); };
        EXPECT_FALSE(report.PrepareReport());
        EXPECT_TRUE(host.isVisible());
    }
    EXPECT_TRUE(ui.Messages.empty()) << qPrintable(ui.MessageTexts().join('\n'));
}

TEST(ShowReport, APreviewKeepsItsPagesWhileTheyArePrinted)
{
    rudRenderInit();
    auto *printer = imagePrinter();
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    list.emplace_back(printer);
    rudPrinters().SetPrinters(std::move(list), true);
    TRecordingUserInterface ui;
    TRenderReport report;
    addPage(report);
    report.PrintOptions()->SetShowDialog(false);
    QWidget host;
    auto *preview = new TfrxPreview(&host);
    preview->SetReport(&report);
    host.show();
    int prepared = 0;
    report.OnBeginDoc = [&](TfrxReport *) { ++prepared; };
    ASSERT_TRUE(report.PrepareReport());
    report.ShowPreparedReport();
    ASSERT_EQ(preview->PageCount(), 1);

    // Between pages the job lets window messages through: what the preview
    // is asked then must not replace the pages the job is printing.
    bool lockedWhilePrinting = false;
    int pagesPrinted = 0;
    report.OnPrintPage = [&](TfrxReportPage *, int) {
        lockedWhilePrinting = preview->Locked();
        if (++pagesPrinted > 1)
            return; // a second job started from here: nothing more to ask
        preview->RefreshReport();
        preview->LoadFromFile(QStringLiteral("/nonexistent/other.fp3"));
        preview->Print();
    };
    ASSERT_TRUE(report.Print());
    EXPECT_TRUE(lockedWhilePrinting);
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(pagesPrinted, 1);
    EXPECT_EQ(printer->Sheets.size(), 1);
    EXPECT_FALSE(preview->Locked());
    EXPECT_EQ(preview->PageCount(), 1);

    // A job that fails still gives the preview back.
    report.OnPrintPage = nullptr;
    report.PrintOptions()->SetPageNumbers(QStringLiteral("x"));
    EXPECT_THROW(report.Print(), EConvertError);
    EXPECT_FALSE(preview->Locked());
    preview->RefreshReport();
    EXPECT_EQ(prepared, 2);
    EXPECT_TRUE(ui.Messages.empty()) << qPrintable(ui.MessageTexts().join('\n'));
    rudPrinters().FillPrinters();
}
