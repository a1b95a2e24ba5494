// Suppressed repeated values. A memo with SuppressRepeated prints nothing
// while its text repeats the one it printed last (the memo's LastValue, see
// GetMemoData in rudViewExpand.cpp). A printed list reads as "same as the
// line above", so the engine decides what "last" means:
// - every walk of a data band starts afresh (so the first detail row under
//   each master row shows its value), and so does every new group;
// - a new page or column starts afresh: the line above is not on it;
// - a band that was evaluated on one page and then moves on to the next
//   shows the values it left out, since the row they repeated stays behind;
// - a kept block that moves to a new page is pasted as it was output, and
//   then the first output of each memo in it shows the value it left out
//   (the store's item gets the text, growing as the memo would);
// - a band split across pages shows, in the part that goes on, the values
//   it left out; the memos placed before the break forget theirs, as the
//   next row no longer follows them.

#include "report/engine/rudSuppressedValues.h"

#include "report/engine/rudBandObjects.h"
#include "report/engine/rudEngineSeam.h"
#include "report/engine/rudKeptBlock.h"
#include "report/engine/rudPreviewPages.h"

#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <QSet>
#include <algorithm>

namespace {

void forgetValues(TfrxBand *Band)
{
    for (TfrxComponent *c : Band->Objects())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c); memo && memo->SuppressRepeated())
            memo->LastValue() = QVariant();
}

// The text the memo left out in its current output, or "". An empty text
// with a non-empty last value was left out: an empty value of its own would
// have become the last value.
QString leftOutText(TfrxCustomMemoView *Memo)
{
    if (!Memo->SuppressRepeated() || !Memo->Visible() || !Memo->Text().isEmpty())
        return QString();
    const QVariant &last = Memo->LastValue();
    return last.typeId() == QMetaType::QString ? last.toString() : QString();
}

// Gives the memos among Objects the texts they left out; a memo that needs
// more room for its text grows, and the answer says by how much.
QHash<TfrxComponent *, double> showLeftOut(const QList<TfrxComponent *> &Objects)
{
    QHash<TfrxComponent *, double> grown;
    for (TfrxComponent *c : Objects) {
        auto *memo = qobject_cast<TfrxCustomMemoView *>(c);
        const QString text = memo ? leftOutText(memo) : QString();
        if (text.isEmpty())
            continue;
        memo->SetText(text);
        if (memo->StretchMode() == smDontStretch)
            continue;
        const double height = memo->CalcHeight();
        if (height > memo->Height()) {
            grown.insert(memo, height - memo->Height());
            memo->SetHeight(height);
        }
    }
    return grown;
}

// The lowest bottom of the visible objects among Objects, at least Bottom.
double objectsBottom(const QList<TfrxComponent *> &Objects, double Bottom)
{
    for (TfrxComponent *c : Objects)
        if (c->Visible())
            Bottom = std::max(Bottom, c->Top() + c->Height());
    return Bottom;
}

} // namespace

TfrxSuppressedValues::TfrxSuppressedValues(TfrxEngineSeam &Engine, const TfrxKeptBlock &Kept)
    : FEngine(Engine), FKept(Kept)
{
}

void TfrxSuppressedValues::CollectSuppressed()
{
    FSuppressMemos.clear();
    for (TfrxComponent *c : FEngine.State().FReport->AllObjects())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c); memo && memo->SuppressRepeated()) {
            memo->LastValue() = QVariant();
            FSuppressMemos.append(memo);
        }
}

void TfrxSuppressedValues::ResetSuppressed(TfrxBand *Band)
{
    QSet<TfrxBand *> seen;
    for (TfrxBand *b = Band; b && !seen.contains(b); b = b->Child()) {
        seen.insert(b);
        forgetValues(b);
    }
}

// The band that moves on to the new page or column was evaluated on the old
// one: it keeps its values (CheckSuppress has shown them again). A band that
// starts a new page by itself (StartNewPage) is evaluated there afterwards.
// The bands of a kept block keep theirs too: the block moves as it is.
void TfrxSuppressedValues::ForgetSuppressedOnNewPage()
{
    for (const QPointer<TfrxCustomMemoView> &memo : std::as_const(FSuppressMemos)) {
        if (!memo)
            continue;
        auto *band = qobject_cast<TfrxBand *>(memo->Parent());
        if (band && (band == FSuppressMoving || FKept.Holds(band)))
            continue;
        memo->LastValue() = QVariant();
    }
}

void TfrxSuppressedValues::MoveToNewColumn(TfrxBand *Band)
{
    FMovedSuppressed.clear();
    TfrxBand *saved = FSuppressMoving;
    FSuppressMoving = Band;
    FEngine.State().NewColumn();
    FSuppressMoving = saved;
    CheckSuppress(Band);
    FMovedSuppressed.clear();
}

// The band moves to a new page or column: the texts it left out come back
// (LastValue still holds them), unless the memo's earlier output moved
// along in a kept block and lies above it again; a memo that needs more
// room for its text grows, moving the objects below it and a stretched band.
void TfrxSuppressedValues::CheckSuppress(TfrxBand *Band)
{
    QList<TfrxComponent *> objects;
    for (TfrxComponent *c : Band->Objects())
        if (!FMovedSuppressed.contains(qobject_cast<TfrxCustomMemoView *>(c)))
            objects.append(c);
    const QHash<TfrxComponent *, double> grown = showLeftOut(objects);
    if (grown.isEmpty())
        return;
    rudShiftObjects(Band, grown);
    if (Band->Stretched()) {
        const double bottom = objectsBottom(Band->Objects(), Band->Height());
        Band->SetHeight(bottom);
        Band->SetStretchedHeight(bottom);
    }
}

// Outside a keep, a keep that starts later begins at the next item, or with
// the last row when a footer takes it along: older outputs are dropped.
void TfrxSuppressedValues::RecordSuppressed(TfrxBand *Band, int Position)
{
    // Most reports have no such memo: every band output passes here.
    if (FSuppressMemos.isEmpty())
        return;
    const int page = FEngine.State().FReport->PreviewPages()->CurPage();
    if (!FKept.Keeping()) {
        const int from = FKept.LastRowPage() == page ? std::min(FKept.LastRowPosition(), Position) : Position;
        FSuppressedOutputs.removeIf(
            [&](const TSuppressedOutput &Output) { return Output.Page != page || Output.Position < from; });
    }
    for (TfrxComponent *c : Band->Objects())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c);
            memo && memo->SuppressRepeated() && memo->Visible() && FSuppressMemos.contains(memo))
            FSuppressedOutputs.append({page, Position, memo, memo->Height(), leftOutText(memo)});
}

// The memo's height for the text comes from the memo as it is now (its
// font and width of the design, or as a script left them). A band that
// stretches grows with it and the items below move down; one that does
// not keeps its height, the memo reaching below it.
void TfrxSuppressedValues::ShowMovedSuppressed(int Page, int From, int To)
{
    FMovedSuppressed.clear();
    auto *store = dynamic_cast<TfrxPreviewPages *>(FEngine.State().FReport->PreviewPages());
    for (const TSuppressedOutput &output : std::as_const(FSuppressedOutputs)) {
        TfrxCustomMemoView *memo = output.Memo;
        if (output.Page != Page || output.Position < From || !memo || FMovedSuppressed.contains(memo))
            continue;
        FMovedSuppressed.insert(memo);
        if (output.LeftOut.isEmpty() || !store)
            continue;
        double grow = 0;
        if (memo->StretchMode() != smDontStretch) {
            const QString text = memo->Text();
            memo->SetText(output.LeftOut);
            grow = memo->CalcHeight() - output.Height;
            memo->SetText(text);
        }
        auto *band = qobject_cast<TfrxBand *>(memo->Parent());
        store->SetObjectText(To + output.Position - From, memo->AliasName(), output.LeftOut, grow,
                             band && band->Stretched());
    }
    FSuppressedOutputs.clear();
}

// The part that goes on holds its memos' values (the line above them is
// the row's first part), so they are kept through the new page.
void TfrxSuppressedValues::SplitToNewColumn(TfrxBand *Band, QList<TfrxComponent *> &Rest, double &FullHeight)
{
    FEngine.SetCurBand(Band);
    TfrxBand *saved = FSuppressMoving;
    FSuppressMoving = Band;
    FEngine.State().NewColumn();
    FSuppressMoving = saved;
    for (TfrxComponent *c : Band->Objects())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c);
            memo && memo->SuppressRepeated() && !Rest.contains(memo))
            memo->LastValue() = QVariant();
    // DrawSplit shows only the objects of the slice it places.
    for (TfrxComponent *c : std::as_const(Rest))
        c->SetVisible(true);
    const QHash<TfrxComponent *, double> grown = showLeftOut(Rest);
    if (grown.isEmpty())
        return;
    rudShiftObjects(Band, grown);
    std::stable_sort(Rest.begin(), Rest.end(),
                     [](TfrxComponent *a, TfrxComponent *b) { return a->Top() < b->Top(); });
    if (Band->Stretched())
        FullHeight = objectsBottom(Rest, FullHeight);
}
