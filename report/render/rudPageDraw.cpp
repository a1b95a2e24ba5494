#include "report/render/rudPageDraw.h"

#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudPictureView.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudViewDraw.h"

#include <QPaintDevice>
#include <QPainter>

#include <utility>

void rudDrawPage(TfrxReportPage *Page, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                 double OffsetY, const TfrxPageDrawOptions &Options)
{
    if (!Page || !Canvas)
        return;
    const bool printing = Canvas->IsPrinter();
    const bool paper = printing || Options.ForPaper;
    const bool mirror = Page->MirrorMargins() && Options.Index % 2 == 1;
    const double savedLeft = Page->LeftMargin(), savedRight = Page->RightMargin();
    if (mirror) {
        Page->SetLeftMargin(savedRight);
        Page->SetRightMargin(savedLeft);
    }
    Canvas->Save();
    if (!printing && Canvas->Painter()) {
        const QRect paper(QPoint(rudRound(OffsetX), rudRound(OffsetY)),
                          QPoint(rudRound(Page->PaperWidth() * fr01cm * ScaleX + OffsetX) - 1,
                                 rudRound(Page->PaperHeight() * fr01cm * ScaleY + OffsetY) - 1));
        // A page that covers its whole device (a PDF sheet, an image of the
        // page) needs no clip: every clip is repeated by a PDF after each
        // restored state.
        const QPainter *painter = Canvas->Painter();
        const QPaintDevice *device = painter->device();
        if (!device || !painter->worldTransform().isIdentity() ||
            !paper.contains(QRect(0, 0, device->width(), device->height())))
            Canvas->IntersectClip(paper);
    }
    const double marginX = Page->LeftMargin() * fr01cm, marginY = Page->TopMargin() * fr01cm;
    if (Page->BackPictureVisible() && (!paper || Options.AnyBackground || Page->BackPicturePrintable())) {
        // The background fills the paper inside the margins.
        TfrxPictureView *back = Page->BackPictureView();
        const double width = (Page->PaperWidth() - Page->LeftMargin() - Page->RightMargin()) * fr01cm;
        const double height = (Page->PaperHeight() - Page->TopMargin() - Page->BottomMargin()) * fr01cm;
        const double l = back->Left(), t = back->Top(), w = back->Width(), h = back->Height();
        back->SetBounds(0, 0, width, height);
        rudDrawView(back, Canvas, ScaleX, ScaleY, OffsetX + marginX * ScaleX, OffsetY + marginY * ScaleY);
        back->SetBounds(l, t, w, h);
    }
    OffsetX += marginX * ScaleX;
    OffsetY += marginY * ScaleY;
    const QRect visible = Canvas->VisibleRect();
    const QList<TfrxComponent *> objects = Page->AllObjects();
    for (TfrxComponent *object : objects) {
        auto *view = qobject_cast<TfrxView *>(object);
        if (!view)
            continue;
        if (!(view->Visibility() & (paper ? vsPrint : vsPreview)))
            continue;
        if (!Canvas->IsMetafile() && !visible.isEmpty()) {
            const QRect box(QPoint(rudRound(OffsetX + view->AbsLeft() * ScaleX) - 20,
                                   rudRound(OffsetY + view->AbsTop() * ScaleY) - 20),
                            QPoint(rudRound(OffsetX + (view->AbsLeft() + view->Width()) * ScaleX) + 20,
                                   rudRound(OffsetY + (view->AbsTop() + view->Height()) * ScaleY) + 20));
            if (!box.intersects(visible))
                continue;
        }
        view->SetIsPrinting(printing);
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(view)) {
            memo->SetTotalPages(Options.TotalPages);
            memo->SetCopyNo(Options.CopyNo);
            memo->SetPrintScale(Options.PrintScale);
        }
        rudDrawView(view, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
        view->SetIsPrinting(false);
    }
    Canvas->Restore();
    if (mirror) {
        Page->SetLeftMargin(savedLeft);
        Page->SetRightMargin(savedRight);
    }
}
