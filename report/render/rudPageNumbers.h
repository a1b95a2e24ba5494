#pragma once
// The page-range text of printing ("1,3,5-12", "2-").

#include <QList>
#include <QString>

// Fills List with the 1-based page numbers Text names, in the text's order
// and with its repetitions: a number adds that page, a range a-b adds a..b
// (nothing when b < a), a trailing "-" runs to Total. Spaces are ignored; an
// empty text gives an empty list (all pages). Pages outside 1..Total are
// left out (printing would skip them), so a range such as 1-2000000000 stays
// small. A non-numeric item raises EConvertError
// ("'x' is not a valid integer value").
void rudParsePageNumbers(const QString &Text, QList<int> &List, int Total);
