#pragma once
// What the group list targets share: the input written to a file the
// reader opens, and the options the entry window would give it.

#include <QByteArray>
#include <QString>

// Reads the group list file FileName with the subjects and grade lists of
// a school's booklet, every field of every trainee touched; a list the
// reader refuses is an ordinary outcome.
void fuzzReadGroupList(const QString &FileName);

// Writes Bytes to a file of that name in a folder kept to the end; its path.
QString fuzzWriteFile(const QString &Name, const QByteArray &Bytes);
