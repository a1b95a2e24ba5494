#pragma once
// Suppressed repeated values: what each SuppressRepeated memo printed last,
// and when the engine lets it be printed again.

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>

class TfrxBand;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxEngineSeam;
class TfrxKeptBlock;

// What each SuppressRepeated memo printed last is forgotten for every walk
// of a data band and every new group (ResetSuppressed), and at the top of
// every new page and column (ForgetSuppressedOnNewPage); a band that moves
// on to a new page or column after it was evaluated shows its suppressed
// values again (MoveToNewColumn, SplitToNewColumn), and so does a kept
// block pasted on a new page (ShowMovedSuppressed).
class TfrxSuppressedValues {
public:
    TfrxSuppressedValues(TfrxEngineSeam &Engine, const TfrxKeptBlock &Kept);

    // Finds the report's SuppressRepeated memos; each pass starts with
    // nothing printed.
    void CollectSuppressed();
    // Band's rows and the child bands that follow each row start afresh.
    void ResetSuppressed(TfrxBand *Band);
    void ForgetSuppressedOnNewPage();
    // Moves Band, evaluated but not yet placed, on to a new column or page,
    // where it shows its suppressed values again, except those of memos
    // whose earlier output moved along in a kept block.
    void MoveToNewColumn(TfrxBand *Band);
    // Remembers the SuppressRepeated memos of Band, about to be handed to
    // the store as object item Position, with the texts they left out.
    void RecordSuppressed(TfrxBand *Band, int Position);
    // The kept block cut from item From of page Page was pasted from item
    // To of the current page: the first moved output of each memo shows
    // what it left out.
    void ShowMovedSuppressed(int Page, int From, int To);
    // A band split across pages goes on with Rest on a new page or column:
    // the memos of Rest show what they left out, the memos already placed
    // forget their values; a stretched band's FullHeight grows with them.
    void SplitToNewColumn(TfrxBand *Band, QList<TfrxComponent *> &Rest, double &FullHeight);

private:
    // The band moved on to a new page or column shows its left-out texts.
    void CheckSuppress(TfrxBand *Band);

    TfrxEngineSeam &FEngine;
    const TfrxKeptBlock &FKept;
    // The memos of the report that suppress repeated values (per pass).
    QList<QPointer<TfrxCustomMemoView>> FSuppressMemos;
    // The band MoveToNewColumn is moving: its memos keep their last values.
    TfrxBand *FSuppressMoving = nullptr;
    // The outputs of SuppressRepeated memos that a kept block may still take
    // to the next page, in output order: the page and object item of the
    // band, the memo, its height and the text it left out ("" when it
    // printed its text). Outside a keep only the last row's are kept.
    struct TSuppressedOutput {
        int Page = -1;
        int Position = 0;
        QPointer<TfrxCustomMemoView> Memo;
        double Height = 0;
        QString LeftOut;
    };
    QList<TSuppressedOutput> FSuppressedOutputs;
    // The memos whose outputs moved with the last pasted kept block.
    QSet<TfrxCustomMemoView *> FMovedSuppressed;
};
