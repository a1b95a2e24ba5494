#pragma once
// The one way the program writes a file: the new contents go to a temporary
// file beside the target, every write, flush and close is checked, and only a
// complete file is renamed over the old one. A failed save leaves the old file
// exactly as it was.

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// Replaces (or creates) fileName with bytes, atomically. Throws EInOutError
// naming the file when the save cannot be done safely; the old file is then
// untouched. Refused targets:
// - anything that is not a regular file (a device, a FIFO, a folder, a socket);
// - a file marked read-only (no write permission bit), even for a user whom the
//   system would let write anyway;
// - a file with other hard links: renaming a new file over it would silently
//   split the links, and writing in place cannot be made atomic.
// A symbolic link is followed: the file it points to is replaced and the link
// stays. The new file keeps the old one's permission bits (and, where the
// system allows, its owner and group); a new file gets the usual mode for the
// current umask.
void saveFileAtomically(const QString &fileName, const QByteArray &bytes);

// Several files replaced together, all or none: Add checks each target as
// saveFileAtomically does and writes its new contents to a temporary file
// beside it; Commit renames them all over their targets. Until Commit
// returns, a failure (a refused target, a full disk, a rename that fails)
// raises EInOutError naming the file and leaves every target as it was:
// the old files are kept under second names (hard links, else copies) while
// the renames run, and the ones already replaced are put back. A set that
// is destroyed without Commit removes its temporary files.
class TAtomicSaveSet {
public:
    TAtomicSaveSet();
    ~TAtomicSaveSet();
    TAtomicSaveSet(const TAtomicSaveSet &) = delete;
    TAtomicSaveSet &operator=(const TAtomicSaveSet &) = delete;

    // Stages fileName's new contents; the same file may not be added twice.
    void Add(const QString &fileName, const QByteArray &bytes);
    // Replaces every staged file; the set is empty afterwards.
    void Commit();

private:
    struct TEntry;
    std::vector<std::unique_ptr<TEntry>> FEntries;
};
