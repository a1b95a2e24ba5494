// Suppressed repeated values. A memo with SuppressRepeated prints nothing
// while its text repeats the one it printed last (the memo's LastValue, see
// GetMemoData in rudViewExpand.cpp). A printed list reads as "same as the
// line above", so the engine decides what "last" means:
// - every walk of a data band starts afresh (so the first detail row under
//   each master row shows its value), and so does every new group;
// - a new page or column starts afresh: the line above is not on it;
// - a band that was evaluated on one page and then moves on to the next
//   shows the values it left out, since the row they repeated stays behind.
// A kept block that moves to a new page moves as it was output; its values
// are not shown again.

#include "report/engine/rudEngine.h"

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

} // namespace

// Each pass starts with nothing printed.
void TfrxEngine::CollectSuppressed()
{
    FSuppressMemos.clear();
    for (TfrxComponent *c : FReport->AllObjects())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(c); memo && memo->SuppressRepeated()) {
            memo->LastValue() = QVariant();
            FSuppressMemos.append(memo);
        }
}

// The band's rows and the child bands that follow each row.
void TfrxEngine::ResetSuppressed(TfrxBand *Band)
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
void TfrxEngine::ForgetSuppressedOnNewPage()
{
    for (const QPointer<TfrxCustomMemoView> &memo : std::as_const(FSuppressMemos)) {
        if (!memo)
            continue;
        auto *band = qobject_cast<TfrxBand *>(memo->Parent());
        if (band && (band == FSuppressMoving || (FKeeping && FKeptBands.contains(band))))
            continue;
        memo->LastValue() = QVariant();
    }
}

void TfrxEngine::MoveToNewColumn(TfrxBand *Band)
{
    if (!FKeeping)
        CheckSuppress(Band);
    TfrxBand *saved = FSuppressMoving;
    FSuppressMoving = Band;
    NewColumn();
    FSuppressMoving = saved;
}

// The band is about to move to a new page or column: the texts it left
// out come back (LastValue still holds them), and a memo that needs more
// room for its text grows, moving the objects below it and a stretched band.
void TfrxEngine::CheckSuppress(TfrxBand *Band)
{
    QHash<TfrxComponent *, double> grown;
    for (TfrxComponent *c : Band->Objects()) {
        auto *memo = qobject_cast<TfrxCustomMemoView *>(c);
        if (!memo || !memo->SuppressRepeated() || !memo->Visible() || !memo->Text().isEmpty())
            continue;
        // An empty text with a non-empty last value was left out: an empty
        // value of its own would have become the last value.
        const QVariant &last = memo->LastValue();
        if (last.typeId() != QMetaType::QString || last.toString().isEmpty())
            continue;
        memo->SetText(last.toString());
        if (memo->StretchMode() == smDontStretch)
            continue;
        const double height = memo->CalcHeight();
        if (height > memo->Height()) {
            grown.insert(memo, height - memo->Height());
            memo->SetHeight(height);
        }
    }
    if (grown.isEmpty())
        return;
    ShiftObjects(Band, grown);
    if (Band->Stretched()) {
        double bottom = Band->Height();
        for (TfrxComponent *c : Band->Objects())
            if (c->Visible())
                bottom = std::max(bottom, c->Top() + c->Height());
        Band->SetHeight(bottom);
        Band->SetStretchedHeight(bottom);
    }
}
