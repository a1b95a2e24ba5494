// The workspace's commands on the selection: deleting, grouping and the
// alignment palette.

#include "designer/rudDesgnWorkspace.h"

#include "base/UserInterface.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// Position and size setters that honour the restrictions.
void moveLeft(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontMove))
        C->SetLeft(Value);
}

void moveTop(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontMove))
        C->SetTop(Value);
}

void sizeWidth(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontSize))
        C->SetWidth(Value);
}

void sizeHeight(TfrxComponent *C, double Value)
{
    if (!(C->Restrictions() & rfDontSize))
        C->SetHeight(Value);
}

} // namespace

// ---------------------------------------------------------------------------
// Delete and group

void TfrxDesignerWorkspace::DeleteObjects()
{
    FinishInplaceEdit(true);
    QList<QPointer<TfrxComponent>> list;
    for (TfrxComponent *c : Selection().Views())
        list.append(c);
    bool deleted = false;
    for (const QPointer<TfrxComponent> &p : list) {
        TfrxComponent *c = p.data();
        if (!c || (c->Restrictions() & rfDontDelete))
            continue; // gone with its parent, or not to be deleted
        if (c->IsAncestor()) {
            userInterface().MessageBox(QStringLiteral("Could not delete ") + c->Name() +
                                           QStringLiteral(", it was introduced in the ancestor report"),
                                       rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                       TMsgButtons::Ok);
            break;
        }
        ForgetObject(c);
        delete c;
        deleted = true;
    }
    if (!deleted)
        return;
    update();
    Selection().Notify(this);
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::GroupObjects()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(0);
    QSet<int> used;
    for (TfrxComponent *c : *FObjects)
        if (c != FPage)
            used.insert(c->GroupIndex());
    int group = 1;
    while (used.contains(group))
        ++group;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(group);
    emit Modified();
}

void TfrxDesignerWorkspace::UngroupObjects()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    for (TfrxComponent *c : sel)
        c->SetGroupIndex(0);
    emit Modified();
}

// ---------------------------------------------------------------------------
// The alignment palette

bool TfrxDesignerWorkspace::AlignCommand(int Needs,
                                         const std::function<void(TfrxComponent *Ref, TfrxComponent *Obj)> &Apply)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() < Needs)
        return false;
    InvalidateSelection();
    for (qsizetype i = 1; i < sel.size(); ++i)
        Apply(sel.first(), sel.at(i));
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
    return true;
}

void TfrxDesignerWorkspace::AlignLeft()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveLeft(C, R->Left()); });
}

void TfrxDesignerWorkspace::AlignRight()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveLeft(C, R->Left() + R->Width() - C->Width()); });
}

void TfrxDesignerWorkspace::AlignMiddle()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveLeft(C, R->Left() + R->Width() / 2 - C->Width() / 2);
    });
}

void TfrxDesignerWorkspace::AlignTop()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { moveTop(C, C->Top() + R->AbsTop() - C->AbsTop()); });
}

void TfrxDesignerWorkspace::AlignBottom()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveTop(C, C->Top() + (R->AbsTop() + R->Height()) - (C->AbsTop() + C->Height()));
    });
}

void TfrxDesignerWorkspace::AlignCenter()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) {
        moveTop(C, R->Top() + R->Height() / 2 - C->Height() / 2);
    });
}

void TfrxDesignerWorkspace::SameWidth()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { sizeWidth(C, R->Width()); });
}

void TfrxDesignerWorkspace::SameHeight()
{
    AlignCommand(2, [](TfrxComponent *R, TfrxComponent *C) { sizeHeight(C, R->Height()); });
}

void TfrxDesignerWorkspace::SpaceCommand(bool Horizontal)
{
    QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() < 3)
        return;
    auto pos = [Horizontal](TfrxComponent *C) { return Horizontal ? C->Left() : C->Top(); };
    std::stable_sort(sel.begin(), sel.end(),
                     [&](TfrxComponent *A, TfrxComponent *B) { return std::round(pos(A)) < std::round(pos(B)); });
    const double step = (pos(sel.last()) - pos(sel.first())) / (sel.size() - 1);
    InvalidateSelection();
    for (qsizetype i = 1; i + 1 < sel.size(); ++i) {
        const double value = pos(sel.at(i - 1)) + step;
        if (Horizontal)
            moveLeft(sel.at(i), value);
        else
            moveTop(sel.at(i), value);
    }
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::SpaceHorizontally()
{
    SpaceCommand(true);
}

void TfrxDesignerWorkspace::SpaceVertically()
{
    SpaceCommand(false);
}

void TfrxDesignerWorkspace::CenterInBand(bool Horizontal)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    InvalidateSelection();
    // Outside a band the printable area stands in for the band.
    const QSizeF area = PrintableSize();
    for (TfrxComponent *c : sel) {
        if (qobject_cast<TfrxBand *>(c))
            continue;
        auto *band = qobject_cast<TfrxBand *>(c->Parent());
        if (Horizontal)
            moveLeft(c, ((band ? band->Width() : area.width()) - c->Width()) / 2);
        else
            moveTop(c, ((band ? band->Height() : area.height()) - c->Height()) / 2);
    }
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::CenterHorizontallyInBand()
{
    CenterInBand(true);
}

void TfrxDesignerWorkspace::CenterVerticallyInBand()
{
    CenterInBand(false);
}
