#pragma once
// What the group print's tests share: a group list written as a real CSV
// file, and a printed word checked against its memo's place on the sheet.

#include "report/render/CupsSupport.h"

#include <QList>
#include <QString>

class TfmMain;

// Trainee I (1-based) of a written group: a name of three words whose
// first is "Ученик" and I in two digits, and grade 10 cycling through
// "Отлично", "Хорошо", "Удовл.".
QString groupName(int I);
QString groupGrade10(int I);
// Writes a group list of Count trainees to Path as the school's
// spreadsheet would save it (UTF-8 with BOM, semicolons, CRLF, a quoted
// name); More rows (already CSV lines) are appended as they are.
void writeGroupCsv(const QString &Path, int Count, const QStringList &More = {});
// Expects Text printed on Words (a PDF page) where the memo MemoName of
// w's report puts it, within 0.5 mm: the nearest word that begins with
// Text's first word, and for a centred memo the run up to Text's last word.
// Down the page the bottom of the word's box is compared, the memo's top
// plus LineHeight (the box's height in the program's own PDF): a print
// server that embeds the font anew gives its boxes another top but the
// same bottom.
void expectAtMemo(TfmMain &w, const QList<TPdfWord> &Words, const QString &MemoName, const QString &Text,
                  double LineHeight);
