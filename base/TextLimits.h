#pragma once
// The longest text the runtime builds. Format widths, string operations of
// scripts and the like are checked against it, so that a template or a
// script asking for a text of billions of characters fails with a message
// instead of exhausting the machine's memory.

#include "base/Errors.h"

#include <QString>

// 2^26 characters (128 MB of UTF-16): far beyond any text a report prints.
constexpr qint64 rudMaxTextLength = qint64(1) << 26;

// Throws EOutOfMemory when a text of Length characters would be longer
// than rudMaxTextLength.
inline void rudCheckTextLength(qint64 Length)
{
    if (Length > rudMaxTextLength)
        throw EOutOfMemory(QStringLiteral("Out of memory: a text of %1 characters is longer than the %2 allowed")
                               .arg(Length)
                               .arg(rudMaxTextLength));
}
