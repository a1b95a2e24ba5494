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
// Expects the first word of Text printed on Words (a PDF page) where the
// memo MemoName of w's report puts it, within 0.5 mm (the nearest of the
// words that match).
void expectAtMemo(TfmMain &w, const QList<TPdfWord> &Words, const QString &MemoName, const QString &Text);
