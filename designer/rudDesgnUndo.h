#pragma once
// Snapshot undo and redo: each entry is the whole report in the template
// form, written to memory. There is no limit on the number of entries.

#include <QByteArray>
#include <QList>

class TfrxReport;

// The undo and redo lists of the designer window.
class TfrxUndoBuffer {
public:
    // The report written to memory as a template (all children).
    static QByteArray Snapshot(TfrxReport *Report);
    // Replaces the report's content by a snapshot.
    static void Restore(TfrxReport *Report, const QByteArray &Snapshot);

    // Appends a snapshot of the current state; the redo list is not touched.
    void AddUndo(TfrxReport *Report) { FUndo.append(Snapshot(Report)); }
    void AddRedo(TfrxReport *Report) { FRedo.append(Snapshot(Report)); }
    // Drops the current state (the last undo entry) and answers the one
    // before it; empty when there are fewer than two entries.
    QByteArray PopUndo();
    // Removes and answers the last redo entry; empty when there is none.
    QByteArray PopRedo();
    void ClearUndo() { FUndo.clear(); }
    void ClearRedo() { FRedo.clear(); }
    int UndoCount() const { return int(FUndo.size()); }
    int RedoCount() const { return int(FRedo.size()); }

private:
    QList<QByteArray> FUndo;
    QList<QByteArray> FRedo;
};
