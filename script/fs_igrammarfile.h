#pragma once
// Grammar texts compiled into the program as resources.

#include <QString>

// The text of a grammar resource (":/grammars/<fileName>"); empty when missing.
QString fsGrammarResource(const QString &fileName);
