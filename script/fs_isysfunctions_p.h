#pragma once
// Private to the system module: the rules of its string, array and number
// functions, kept apart from the name dispatch of the handlers.

#include "script/fs_ivariant.h"

#include <QString>

// Elements of the first dimension of an array, else characters of the text.
int fsSysLength(const TfsVariant &value);
// 1-based substring; a start below 1 counts from 1, a negative count gives "".
QString fsSysCopy(const QString &s, int from, int count);
// 1-based position of substr in s; 0 when absent or substr is empty.
int fsSysPos(const QString &substr, const QString &s);
// s without count characters from the 1-based from; nothing outside the text.
QString fsSysDelete(const QString &s, int from, int count);
// target with s inserted before the 1-based position (clamped to the text).
QString fsSysInsert(const QString &s, const QString &target, int pos);
// s without leading and trailing characters up to the space.
QString fsSysTrim(const QString &s);
// Lower case, with the first character and every character after a space upper case.
QString fsSysNameCase(const QString &s);
// Locale-aware comparison ignoring case: negative, 0 or positive.
int fsSysCompareText(const QString &a, const QString &b);
// The text of one character code (raises ERangeError outside Unicode).
QString fsSysChr(qint64 code);
// The code of the first character; 0 for an empty text.
int fsSysOrd(const QString &s);
// A string cut or padded with spaces to length characters; anything else
// becomes an array of bounds 0..length - 1 keeping the elements that fit.
TfsVariant fsSysSetLength(const TfsVariant &value, int length);
// The text up to and including the last "/", "\" or ":".
QString fsSysExtractFilePath(const QString &fileName);
// A variant array from (low, high) bound pairs and an element type code.
TfsVariant fsSysVarArrayCreate(const TfsVariant &bounds, int elementType);
