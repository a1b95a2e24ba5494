#pragma once
// Group lists: the trainees of one group as a school keeps them in a
// spreadsheet, read from a CSV or an XLSX file for printing the whole group.
//
// Columns are matched by their header in Russian, without regard to case,
// surrounding and doubled spaces, and ё/е:
//   ФИО | Фамилия, Имя, Отчество | Дата рождения | Пол | СНИЛС |
//   Гражданство, Гражданство (код по ОКСМ) |
//   Дата начала обучения, Начало обучения | Дата окончания обучения,
//   Окончание обучения | Оценка N (N = the subject's row 1..10) |
//   the beginning (3 letters at least) of a subject's name as printed on its
//   row ("Первая помощь").
// The header row is the first of the first ten non-empty rows that names a
// name column, else the first; rows above it (a title) are skipped.
// A column the operator maps by hand (Options.Mapping) takes that field
// whatever its header; the other columns are listed as unknown and ignored.
//
// Grades: a list text of the subject's row, without regard to case, ё/е and
// Latin letters that look like Cyrillic ones ("OTЛИЧНO" typed with Latin O,
// T), kept as the list spells it; or the position of the text in that row's
// list, 1-based ("1" is the first text of the list), when the cell is not a
// text of the list itself. Dates: dd.mm.yyyy, yyyy-mm-dd, and in XLSX files
// date cells and date serial numbers. Sex: "М"/"Ж" or words beginning so.
// A birth date before 1900 or to come and a СНИЛС that is not 11 digits or
// whose check number is wrong are problems of their row; so is a
// citizenship that is not a three-digit country code (643 when not given).
//
// Limits, each refused with a message naming the file: a file of at most
// 16 MB (an XLSX sheet at most 64 MB unpacked), at most 10,000 trainee rows,
// 100 columns, 1,000 characters in a cell.

#include "base/Errors.h"
#include "records/TraineeDetails.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

// A group list that cannot be read at all: missing, unreadable, damaged,
// not a list, beyond the limits. The message names the file, in Russian.
class EGroupListError : public Exception {
public:
    using Exception::Exception;
};

// One trainee of a group list, as read; texts trimmed, nothing evaluated.
struct TGroupTrainee {
    int Row = 0;            // the source row, 1-based, header row included (as a spreadsheet numbers it)
    QString FullName;       // "ФИО", or "Фамилия Имя Отчество" joined with single spaces
    QString Surname, Name, Patronymic; // when given in their own columns (else split of FullName: first word, second, rest)
    QString Grades[10];     // the grade of subject row 1..10, normalised to the list text when it matched one ("" when absent)
    QDate TrainingStart, TrainingEnd; // invalid when not given
    QDate BirthDate;        // invalid when not given
    QString Sex;            // "М" / "Ж" normalised, or "" when not given
    QString Snils;          // written 000-000-000 00; a wrong one is a problem of its row, kept as given
    QString Citizenship = TTraineeDetails::DefaultCitizenship; // a three-digit country code
};

// What the operator tells the reader (all from the entry window's lists).
struct TGroupListOptions {
    QString Sheet;                 // XLSX: the sheet to read; empty: the first
    QStringList SubjectNames;      // 10 names as printed on the booklet's rows (a column "Первая помощь" matches the row whose name begins with it)
    QList<QStringList> GradeTexts; // 10 lists: the texts a grade of that row may have ("Зачтено", ... / "Отлично", ...)
    QMap<int, QString> Mapping;    // by hand: source column (0-based) -> field key (groupListFields); "" ignores the column
};

// A list read: trainees in source order, the columns it did not know, and every
// problem found, each with its row number ("Строка 5: нет ФИО", "Строка 7: оценка
// «Отл» по предмету 10 не из списка"); Problems empty means every row can print.
// A list without a name column is read (Headers filled, no trainees) with that
// one problem, so that the operator can map the columns by hand.
struct TGroupList {
    QStringList Headers;           // the header row as read
    QStringList Sheets;            // XLSX: every sheet's name; CSV: empty
    QList<TGroupTrainee> Trainees;
    QStringList UnknownColumns;
    QStringList Problems;
};

// Reads a CSV (UTF-8 with or without BOM, or Windows-1251; comma, semicolon or
// tab; RFC 4180 quotes; CRLF or LF; encoding and delimiter detected) or an XLSX
// file (told apart by content, not by extension). Throws EGroupListError for a
// file that cannot be read at all, naming it.
TGroupList readGroupList(const QString &FileName, const TGroupListOptions &Options);

// The field keys a column can be mapped to by hand, with their Russian
// captions, in the order a mapping list shows them: "fio", "surname", "name",
// "patronymic", "birth", "sex", "snils", "start", "end", "grade1" ... "grade10".
QList<QPair<QString, QString>> groupListFields();
