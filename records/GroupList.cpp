// Reading a group list: the file's rows (GroupListCsv.cpp, GroupListXlsx.cpp)
// turned into trainees by matching the header row to the fields, grades to
// the entry window's lists and dates to their formats.

#include "records/GroupList_p.h"
#include "records/TraineeDetails.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>
#include <optional>

namespace {

constexpr int SubjectCount = 10;

enum TField { fNone = -1, fFio, fSurname, fName, fPatronymic, fBirth, fSex, fSnils, fCitizenship, fStart, fEnd, fGrade1 };
constexpr int FieldCount = fGrade1 + SubjectCount;

QString fieldKey(int Field)
{
    static const char *const keys[] = {"fio", "surname", "name", "patronymic", "birth",
                                       "sex", "snils", "citizenship", "start", "end"};
    return Field >= fGrade1 ? QStringLiteral("grade%1").arg(Field - fGrade1 + 1) : QString::fromLatin1(keys[Field]);
}

QString fieldCaption(int Field)
{
    static const char *const captions[] = {"ФИО", "Фамилия", "Имя", "Отчество", "Дата рождения", "Пол", "СНИЛС",
                                           "Гражданство", "Дата начала обучения", "Дата окончания обучения"};
    return Field >= fGrade1 ? QStringLiteral("Оценка %1").arg(Field - fGrade1 + 1) : QString::fromUtf8(captions[Field]);
}

// A header or a grade as compared: lower case, ё as е, runs of spaces as one,
// trimmed.
QString folded(const QString &Text)
{
    QString s = Text.simplified().toLower();
    s.replace(u'ё', u'е');
    return s;
}

// A grade as compared: folded, and Latin letters that look like Cyrillic ones
// replaced by them, so that a grade typed with a Latin "o" still matches.
QString foldedGrade(const QString &Text)
{
    static const QString latin = QStringLiteral("aeopcxykmthb");
    static const QString cyrillic = QStringLiteral("аеорсхукмтнв");
    QString s = folded(Text);
    for (QChar &c : s) {
        const qsizetype i = latin.indexOf(c);
        if (i >= 0)
            c = cyrillic.at(i);
    }
    return s;
}

// The field a header names; fNone when it names none.
int matchHeader(const QString &Header, const TGroupListOptions &Options)
{
    const QString h = folded(Header);
    if (h.isEmpty())
        return fNone;
    static const QMap<QString, int> names = {
        {QStringLiteral("фио"), fFio},
        {QStringLiteral("фамилия"), fSurname},
        {QStringLiteral("имя"), fName},
        {QStringLiteral("отчество"), fPatronymic},
        {QStringLiteral("дата рождения"), fBirth},
        {QStringLiteral("пол"), fSex},
        {QStringLiteral("снилс"), fSnils},
        {QStringLiteral("гражданство"), fCitizenship},
        {QStringLiteral("гражданство (код по оксм)"), fCitizenship},
        {QStringLiteral("дата начала обучения"), fStart},
        {QStringLiteral("начало обучения"), fStart},
        {QStringLiteral("дата окончания обучения"), fEnd},
        {QStringLiteral("окончание обучения"), fEnd},
    };
    if (const auto it = names.constFind(h); it != names.cend())
        return *it;
    static const QRegularExpression grade(QStringLiteral("^оценка\\s*(\\d+)$"));
    if (const auto m = grade.match(h); m.hasMatch()) {
        const int n = m.captured(1).toInt();
        return n >= 1 && n <= SubjectCount ? fGrade1 + n - 1 : fNone;
    }
    // Shorter beginnings would take columns such as "№" or "Кл." for a subject.
    constexpr int ShortestBeginning = 3;
    if (h.size() < ShortestBeginning)
        return fNone;
    for (int i = 0; i < SubjectCount && i < Options.SubjectNames.size(); ++i)
        if (folded(Options.SubjectNames[i]).startsWith(h))
            return fGrade1 + i;
    return fNone;
}

int fieldOfKey(const QString &Key)
{
    for (int f = 0; f < FieldCount; ++f)
        if (fieldKey(f) == Key)
            return f;
    return fNone;
}

// A date in one of the accepted forms, a time after it ignored (a
// spreadsheet writes date cells as "01.02.2003 0:00:00" to CSV); an XLSX
// day serial when the table has them.
std::optional<QDate> parseDate(const QString &Text, const TSheetTable &Table)
{
    const QString day = Text.section(u' ', 0, 0);
    for (const char *format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"})
        if (const QDate d = QDate::fromString(day, QString::fromLatin1(format)); d.isValid())
            return d;
    if (Table.DateSerials) {
        bool ok = false;
        const double serial = Text.toDouble(&ok);
        // Day 1 is 1900-01-01 (day 60 is the leap day 1900 never had);
        // 2,958,465 is the last day of 9999.
        if (ok && serial >= 1 && serial < 2958466) {
            const QDate base = Table.Date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
            return base.addDays(qint64(serial));
        }
    }
    return std::nullopt;
}

// The grade of subject row Index as the list spells it: the text itself or
// its 1-based position in the list.
std::optional<QString> matchGrade(const QString &Text, int Index, const TGroupListOptions &Options)
{
    const QStringList texts = Index < Options.GradeTexts.size() ? Options.GradeTexts[Index] : QStringList();
    const QString g = foldedGrade(Text);
    for (const QString &t : texts)
        if (foldedGrade(t) == g)
            return t;
    bool ok = false;
    const int position = Text.toInt(&ok);
    if (ok && position >= 1 && position <= texts.size())
        return texts[position - 1];
    return std::nullopt;
}

// The trainee of one data row, its problems added to Problems.
TGroupTrainee readTrainee(const TSheetRow &Row, const std::array<int, FieldCount> &Columns,
                          const QStringList &Headers, const TSheetTable &Table,
                          const TGroupListOptions &Options, QStringList &Problems)
{
    TGroupTrainee t;
    t.Row = Row.Row;
    auto cell = [&](int Field) {
        const int c = Columns[Field];
        return c >= 0 && c < Row.Cells.size() ? Row.Cells[c].trimmed() : QString();
    };
    auto problem = [&](const QString &Text) {
        Problems << QStringLiteral("Строка %1: %2").arg(Row.Row).arg(Text);
    };
    auto date = [&](int Field, QDate &Into) {
        const QString text = cell(Field);
        if (text.isEmpty())
            return;
        if (const auto d = parseDate(text, Table))
            Into = *d;
        else
            problem(QStringLiteral("дата «%1» в столбце «%2» не распознана (нужно ДД.ММ.ГГГГ)")
                        .arg(text, Headers.value(Columns[Field])));
    };
    t.FullName = cell(fFio).simplified();
    t.Surname = cell(fSurname).simplified();
    t.Name = cell(fName).simplified();
    t.Patronymic = cell(fPatronymic).simplified();
    if (t.FullName.isEmpty())
        t.FullName = QStringList{t.Surname, t.Name, t.Patronymic}.join(u' ').simplified();
    else if (t.Surname.isEmpty() && t.Name.isEmpty() && t.Patronymic.isEmpty()) {
        const TPersonName parts = splitFullName(t.FullName);
        t.Surname = parts.Surname;
        t.Name = parts.Name;
        t.Patronymic = parts.Patronymic;
    }
    if (t.FullName.isEmpty())
        problem(QStringLiteral("нет ФИО"));
    for (int i = 0; i < SubjectCount; ++i) {
        const QString text = cell(fGrade1 + i);
        if (text.isEmpty())
            continue;
        if (const auto g = matchGrade(text, i, Options))
            t.Grades[i] = *g;
        else
            problem(QStringLiteral("оценка «%1» по предмету %2 не из списка").arg(text).arg(i + 1));
    }
    date(fStart, t.TrainingStart);
    date(fEnd, t.TrainingEnd);
    date(fBirth, t.BirthDate);
    if (const QString sex = cell(fSex); !sex.isEmpty()) {
        const QString s = foldedGrade(sex);
        if (s.startsWith(u'м'))
            t.Sex = QStringLiteral("М");
        else if (s.startsWith(u'ж'))
            t.Sex = QStringLiteral("Ж");
        else
            problem(QStringLiteral("пол «%1» не распознан (нужно М или Ж)").arg(sex));
    }
    if (const QString birth = birthDateFault(t.BirthDate, QDate::currentDate()); !birth.isEmpty())
        problem(birth);
    t.Snils = cell(fSnils);
    if (const QString snils = snilsFault(t.Snils); !snils.isEmpty())
        problem(snils);
    else if (!t.Snils.isEmpty())
        t.Snils = formatSnils(snilsDigits(t.Snils));
    if (const QString code = cell(fCitizenship); !code.isEmpty()) {
        if (const QString fault = citizenshipFault(code); !fault.isEmpty())
            problem(fault);
        else
            t.Citizenship = code;
    }
    return t;
}

// The header row: the first of the first few rows that names a name column
// (a sheet often has a title above its table), else the first row.
qsizetype headerRow(const TSheetTable &Table, const TGroupListOptions &Options)
{
    constexpr qsizetype TitleRows = 10;
    for (qsizetype r = 0; r < Table.Rows.size() && r < TitleRows; ++r)
        for (const QString &cell : Table.Rows[r].Cells)
            if (const int f = matchHeader(cell, Options); f == fFio || f == fSurname || f == fName)
                return r;
    return 0;
}

TSheetTable readTable(const QString &FileName, const TGroupListOptions &Options)
{
    QFile file(FileName);
    if (!QFileInfo(FileName).isFile())
        failGroupList(FileName, QStringLiteral("файл не найден"));
    if (file.size() > groupListLimits::MaxFileBytes)
        failGroupList(FileName, QStringLiteral("файл больше %1 МБ").arg(groupListLimits::MaxFileBytes >> 20));
    if (!file.open(QIODevice::ReadOnly))
        failGroupList(FileName, QStringLiteral("файл не открывается для чтения (%1)").arg(file.errorString()));
    const QByteArray head = file.peek(4);
    if (head.startsWith("PK\x03\x04"))
        return readXlsxTable(FileName, Options.Sheet);
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        failGroupList(FileName, QStringLiteral("файл не читается (%1)").arg(file.errorString()));
    return readCsvTable(bytes, FileName);
}

} // namespace

QString groupListFileName(const QString &FileName)
{
    return QStringLiteral("«%1»").arg(FileName);
}

void failGroupList(const QString &FileName, const QString &Text)
{
    throw EGroupListError(QStringLiteral("Список группы %1: %2").arg(groupListFileName(FileName), Text));
}

void checkGroupListLimits(const QString &FileName, const TSheetRow &Row, int NonEmptyRows)
{
    if (NonEmptyRows > groupListLimits::MaxRows + 1)
        failGroupList(FileName, QStringLiteral("больше %1 строк учеников").arg(groupListLimits::MaxRows));
    if (Row.Cells.size() > groupListLimits::MaxColumns)
        failGroupList(FileName, QStringLiteral("строка %1: больше %2 столбцов").arg(Row.Row).arg(groupListLimits::MaxColumns));
    for (const QString &c : Row.Cells)
        if (c.size() > groupListLimits::MaxCellLength)
            failGroupList(FileName, QStringLiteral("строка %1: в ячейке больше %2 символов")
                                        .arg(Row.Row)
                                        .arg(groupListLimits::MaxCellLength));
}

TGroupList readGroupList(const QString &FileName, const TGroupListOptions &Options)
{
    const TSheetTable table = readTable(FileName, Options);
    TGroupList list;
    list.Sheets = table.Sheets;
    if (table.Rows.isEmpty())
        failGroupList(FileName, QStringLiteral("в списке нет ни одной строки"));
    const qsizetype header = headerRow(table, Options);
    for (const QString &h : table.Rows[header].Cells)
        list.Headers << h.trimmed();

    // Each field takes the first column that names it; a column mapped by
    // hand takes its field before any header is looked at.
    std::array<int, FieldCount> columns;
    columns.fill(-1);
    for (auto it = Options.Mapping.cbegin(); it != Options.Mapping.cend(); ++it)
        if (const int f = fieldOfKey(it.value()); f != fNone && columns[f] < 0)
            columns[f] = it.key();
    for (int c = 0; c < list.Headers.size(); ++c) {
        if (Options.Mapping.contains(c))
            continue;
        const int f = matchHeader(list.Headers[c], Options);
        if (f != fNone && columns[f] < 0)
            columns[f] = c;
        else if (!list.Headers[c].isEmpty())
            list.UnknownColumns << list.Headers[c];
    }
    if (columns[fFio] < 0 && columns[fSurname] < 0 && columns[fName] < 0) {
        list.Problems << QStringLiteral("Нет столбца «ФИО» или «Фамилия»: укажите столбцы вручную");
        return list;
    }
    for (qsizetype r = header + 1; r < table.Rows.size(); ++r)
        list.Trainees << readTrainee(table.Rows[r], columns, list.Headers, table, Options, list.Problems);
    return list;
}

QList<QPair<QString, QString>> groupListFields()
{
    QList<QPair<QString, QString>> fields;
    for (int f = 0; f < FieldCount; ++f)
        fields.append({fieldKey(f), fieldCaption(f)});
    return fields;
}
