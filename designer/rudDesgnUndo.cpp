// Snapshot undo and redo: the report written to memory and read back.

#include "designer/rudDesgnUndo.h"

#include "report/model/rudReport.h"

#include <QBuffer>

QByteArray TfrxUndoBuffer::Snapshot(TfrxReport *Report)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    Report->SaveToStream(&buffer);
    return data;
}

void TfrxUndoBuffer::Restore(TfrxReport *Report, const QByteArray &Snapshot)
{
    QByteArray data = Snapshot;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // The file name and the load-failure guard belong to the file on disk,
    // not to the snapshot: keep them across the reload.
    const QString fileName = Report->FileName();
    const bool loadFailed = Report->LoadFailed();
    Report->SetReloading(true);
    try {
        Report->LoadFromStream(&buffer);
    } catch (...) {
        Report->SetReloading(false);
        Report->SetFileName(fileName);
        throw;
    }
    Report->SetReloading(false);
    Report->SetFileName(fileName);
    if (loadFailed)
        Report->MarkLoadFailed();
}

QByteArray TfrxUndoBuffer::PopUndo()
{
    if (FUndo.size() < 2)
        return {};
    FUndo.removeLast();
    return FUndo.last();
}

QByteArray TfrxUndoBuffer::PopRedo()
{
    return FRedo.isEmpty() ? QByteArray() : FRedo.takeLast();
}
