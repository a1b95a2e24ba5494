#pragma once
// Case mapping for lookup keys: names of script items, cached expressions,
// aliases and classes are mapped on every lookup, and are mostly plain ASCII.

#include <QString>

// The same text as Text.toUpper(), without the Unicode tables for ASCII text
// and without a copy when nothing changes.
QString upperCased(const QString &Text);
// The same text as Text.toLower(), the same way.
QString lowerCased(const QString &Text);
