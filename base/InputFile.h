#pragma once
// Opening a file the program reads as a whole (a template, a prepared
// report, a data set): only a regular file is read, since a device such as
// /dev/zero would be read without end and a FIFO would block the program
// until some other program writes to it.

#include <QByteArray>
#include <QFile>
#include <QString>

// Opens fileName for reading into file. Raises EInOutError
// "Cannot open file "NAME": it is not a regular file" for a folder, device,
// FIFO or socket (links are followed), and "Cannot open file "NAME". REASON"
// when it cannot be opened (a missing file among them).
void openRegularFile(QFile &file, const QString &fileName);

// Reads the rest of an open file, at most limit + 1 bytes: one byte more
// than allowed tells a file longer than limit (or one that grew while it
// was read) from one of the very limit. The buffer is made as large as the
// file, not as the limit, which may be far larger.
QByteArray readUpTo(QFile &file, qint64 limit);

// Reads the rest of a file opened by openRegularFile, at most maxSize
// bytes: a larger file raises EInOutError "Cannot open file "NAME": it is
// larger than N bytes" without being read further, a read error
// "Cannot read file "NAME". REASON".
QByteArray readWholeFile(QFile &file, qint64 maxSize);
