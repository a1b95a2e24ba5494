#pragma once
// The one way the program writes a file: the new contents go to a temporary
// file beside the target, every write, flush and close is checked, and only a
// complete file is renamed over the old one. A failed save leaves the old file
// exactly as it was.

#include <QByteArray>
#include <QString>

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
