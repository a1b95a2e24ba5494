#pragma once
// Upper-casing for lookup keys: names of script items, cached expressions
// and property names are upper-cased on every lookup, mostly plain ASCII.

#include <QString>

// The same text as Text.toUpper(), without the Unicode tables for ASCII text
// and without a copy when nothing changes.
QString upperCased(const QString &Text);
