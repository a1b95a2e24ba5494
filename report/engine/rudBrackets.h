#pragma once
// The scan that finds bracketed expressions in a text.

#include <QString>
#include <functional>

// Finds the bracketed part that starts at position i (0-based) of Str: on
// return i is the position of its opening bracket and j the position of the
// last character of its closing bracket; the result is the text between the
// brackets. Brackets inside quoted strings ('...' or "...") do not count,
// nested brackets belong to the outer part, and an opening bracket that is
// never closed takes the rest of the text (the result then lacks the text's
// last character). When Str has no opening bracket at i, j equals i.
QString rudGetBrackedVariableW(const QString &Str, const QString &OpenBracket, const QString &CloseBracket, int &i,
                               int &j);

// Replaces every bracketed part of Text, from left to right, by
// Evaluate(expression, n) for the n-th part (counting from 0). Replacement
// text is never scanned again. An empty OpenBracket finds nothing.
QString rudExpandBrackets(QString Text, const QString &OpenBracket, const QString &CloseBracket,
                          const std::function<QString(const QString &Expr, int Index)> &Evaluate);
