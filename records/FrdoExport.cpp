#include "records/FrdoExport.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/OnDemandLibrary.h"
#include "base/SafeSave.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <functional>

namespace {

// Column positions, 0-based, of the values the rows compute or check.
enum TColumn {
    cKind, cStatus, cLost, cExchanged, cDestroyed, cSeries, cNumber, cIssued, cRegNumber, cProgrammeKind,
    cProgrammeName, cProfession, cCategory, cStartYear, cEndYear, cHours, cSurname, cName, cPatronymic, cBirth,
    cSex, cSnils, cCitizenship, cStudyForm, cFinancing, cEducationForm, cOrigKind, cOrigSeries, cOrigNumber,
    cOrigRegNumber, cOrigIssued, cOrigSurname, cOrigName, cOrigPatronymic, cChangedNumber, ColumnCount
};

QString dayText(const QDate &Day)
{
    return Day.isValid() ? Day.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

// A date of the certificate's values: as the certificate file writes it
// (the short date of the regional settings), or dd.mm.yyyy, or ISO.
QDate valueDate(const QString &Text)
{
    const QString text = Text.trimmed();
    if (text.isEmpty())
        return {};
    if (const QDate russian = QDate::fromString(text, QStringLiteral("dd.MM.yyyy")); russian.isValid())
        return russian;
    if (const QDate iso = QDate::fromString(text, Qt::ISODate); iso.isValid())
        return iso;
    TDateTime date = 0;
    return TryStrToDate(text, date) ? dateTimeToQDate(date) : QDate();
}

QString sexText(const QString &Sex)
{
    if (Sex == QStringLiteral("М"))
        return QStringLiteral("Муж");
    if (Sex == QStringLiteral("Ж"))
        return QStringLiteral("Жен");
    return QString();
}

// The series as the register wants it: "Нет" for a document without one.
QString seriesText(const QString &Series)
{
    return Series.trimmed().isEmpty() ? QStringLiteral("Нет") : Series.trimmed();
}

QString programmeName(const TFrdoSettings &Settings, const TCertificateRecord &Record)
{
    if (!Settings.ProgrammeName.isEmpty())
        return Settings.ProgrammeName;
    const QString line = Record.Values.value(QStringLiteral("edit_6")).simplified();
    return line.isEmpty() ? QString() : ProgrammeNameStart + u' ' + line;
}

QString recordName(const TCertificateRecord &Record)
{
    const QString blank = Record.Number.isEmpty() ? Record.Series : Record.Series + u' ' + Record.Number;
    QString name = Record.FullName.trimmed();
    if (!blank.trimmed().isEmpty())
        name += QStringLiteral(", ") + blank.trimmed();
    return QStringLiteral("Запись %1 (%2)").arg(Record.Id).arg(name);
}

// The cells of one issued certificate.
QStringList rowCells(const TCertificateRecord &Record, const TCertificateRecord *Original,
                     const TFrdoSettings &Settings)
{
    QStringList c(ColumnCount);
    const TPersonName name = Record.Details.NameOf(Record.FullName);
    const QString yes = QStringLiteral("Да"), no = QStringLiteral("Нет");
    c[cKind] = Settings.DocumentKind;
    c[cStatus] = Original ? QStringLiteral("Дубликат") : QStringLiteral("Оригинал");
    // A duplicate is issued for a certificate that was lost.
    c[cLost] = Original ? yes : no;
    c[cExchanged] = no;
    c[cDestroyed] = no;
    c[cSeries] = seriesText(Record.Series);
    c[cNumber] = Record.Number;
    c[cIssued] = dayText(Record.IssueDate);
    c[cRegNumber] = QString::number(Record.Id);
    c[cProgrammeKind] = Settings.ProgrammeKind;
    c[cProgrammeName] = programmeName(Settings, Record);
    c[cProfession] = Settings.Profession;
    c[cCategory] = Record.Values.value(QStringLiteral("edit_8")).trimmed();
    const QDate start = valueDate(Record.Values.value(QStringLiteral("date1")));
    const QDate end = valueDate(Record.Values.value(QStringLiteral("date2")));
    c[cStartYear] = start.isValid() ? QString::number(start.year()) : QString();
    c[cEndYear] = end.isValid() ? QString::number(end.year()) : QString();
    c[cHours] = Record.Values.value(QStringLiteral("edt_11")).trimmed();
    c[cSurname] = name.Surname;
    c[cName] = name.Name;
    c[cPatronymic] = name.Patronymic;
    c[cBirth] = dayText(Record.Details.BirthDate);
    c[cSex] = sexText(Record.Details.Sex);
    const QString snils = snilsDigits(Record.Details.Snils);
    c[cSnils] = snils.isEmpty() ? Record.Details.Snils.trimmed() : formatSnils(snils);
    c[cCitizenship] = Record.Details.Citizenship;
    c[cStudyForm] = Settings.StudyForm;
    c[cFinancing] = Settings.Financing;
    c[cEducationForm] = Settings.EducationForm;
    if (Original) {
        const TPersonName original = Original->Details.NameOf(Original->FullName);
        c[cOrigKind] = Settings.DocumentKind;
        c[cOrigSeries] = seriesText(Original->Series);
        c[cOrigNumber] = Original->Number;
        c[cOrigRegNumber] = QString::number(Original->Id);
        c[cOrigIssued] = dayText(Original->IssueDate);
        c[cOrigSurname] = original.Surname;
        c[cOrigName] = original.Name;
        c[cOrigPatronymic] = original.Patronymic;
    }
    return c;
}

// Why the row cannot go to the register, one text per failing column.
QStringList rowFaults(const QStringList &Cells, const TCertificateRecord &Record, bool Duplicate, const QDate &Today)
{
    QStringList faults;
    const auto fault = [&](int Column, const QString &Text) {
        faults << QStringLiteral("столбец «%1»: %2").arg(frdoColumns()[Column], Text);
    };
    QList<int> required{cKind,        cStatus,   cSeries,     cNumber,    cIssued,       cRegNumber,
                        cProgrammeKind, cProgrammeName, cProfession, cCategory, cStartYear, cEndYear,
                        cHours,       cSurname,  cName,       cBirth,     cSex,          cSnils,
                        cCitizenship, cStudyForm, cFinancing, cEducationForm};
    if (Duplicate)
        required << cOrigKind << cOrigNumber << cOrigIssued << cOrigSurname << cOrigName;
    for (int column : required)
        if (Cells[column].trimmed().isEmpty())
            fault(column, QStringLiteral("не заполнен"));
    if (const QString snils = snilsFault(Cells[cSnils]); !snils.isEmpty())
        fault(cSnils, snils);
    if (const QString birth = birthDateFault(Record.Details.BirthDate, Today); !birth.isEmpty())
        fault(cBirth, birth);
    static const QRegularExpression hours(QStringLiteral("^\\d{1,5}([.,]\\d{1,2})?$"));
    if (!Cells[cHours].isEmpty() && !hours.match(Cells[cHours]).hasMatch())
        fault(cHours, QStringLiteral("«%1» — не число часов").arg(Cells[cHours]));
    static const QRegularExpression citizenship(QStringLiteral("^\\d{3}$"));
    if (!Cells[cCitizenship].isEmpty() && !citizenship.match(Cells[cCitizenship]).hasMatch())
        fault(cCitizenship, QStringLiteral("«%1» — не трёхзначный код страны").arg(Cells[cCitizenship]));
    // Dates in the order they happen: born, trained, issued.
    const QDate birth = Record.Details.BirthDate;
    const QDate start = valueDate(Record.Values.value(QStringLiteral("date1")));
    const QDate end = valueDate(Record.Values.value(QStringLiteral("date2")));
    const QDate issued = Record.IssueDate;
    if (!Cells[cStartYear].isEmpty() && !Cells[cEndYear].isEmpty() && end < start)
        fault(cEndYear, QStringLiteral("обучение окончено (%1) раньше, чем начато (%2)").arg(dayText(end), dayText(start)));
    if (end.isValid() && issued.isValid() && issued < end)
        fault(cIssued, QStringLiteral("свидетельство выдано (%1) раньше окончания обучения (%2)")
                           .arg(dayText(issued), dayText(end)));
    if (birth.isValid() && start.isValid() && birth >= start)
        fault(cBirth, QStringLiteral("дата рождения %1 не раньше начала обучения (%2)").arg(dayText(birth), dayText(start)));
    return faults;
}

} // namespace

const QStringList &frdoColumns()
{
    static const QStringList columns{
        QStringLiteral("Вид документа"),
        QStringLiteral("Статус документа"),
        QStringLiteral("Подтверждение утраты"),
        QStringLiteral("Подтверждение обмена"),
        QStringLiteral("Подтверждение уничтожения"),
        QStringLiteral("Серия документа"),
        QStringLiteral("Номер документа"),
        QStringLiteral("Дата выдачи документа"),
        QStringLiteral("Регистрационный номер"),
        QStringLiteral("Программа ПО, направление подготовки"),
        QStringLiteral("Наименование программы ПО"),
        QStringLiteral("Наименование профессий рабочих, должностей служащих"),
        QStringLiteral("Присвоенный разряд, класс, категория"),
        QStringLiteral("Год начала обучения"),
        QStringLiteral("Год окончания обучения"),
        QStringLiteral("Срок обучения, часов"),
        QStringLiteral("Фамилия получателя"),
        QStringLiteral("Имя получателя"),
        QStringLiteral("Отчество получателя"),
        QStringLiteral("Дата рождения получателя"),
        QStringLiteral("Пол получателя"),
        QStringLiteral("СНИЛС"),
        QStringLiteral("Гражданство (код по ОКСМ)"),
        QStringLiteral("Форма обучения"),
        QStringLiteral("Источник финансирования обучения"),
        QStringLiteral("Форма получения образования на момент прекращения образовательных отношений"),
        QStringLiteral("Наименование документа об образовании (оригинала)"),
        QStringLiteral("Серия (оригинала)"),
        QStringLiteral("Номер (оригинала)"),
        QStringLiteral("Регистрационный N (оригинала)"),
        QStringLiteral("Дата выдачи (оригинала)"),
        QStringLiteral("Фамилия получателя (оригинала)"),
        QStringLiteral("Имя получателя (оригинала)"),
        QStringLiteral("Отчество получателя (оригинала)"),
        QStringLiteral("Номер документа для изменения"),
    };
    return columns;
}

QList<TFrdoRow> frdoRows(const QList<TCertificateRecord> &Records, const QMap<qint64, TCertificateRecord> &Originals,
                         const TFrdoSettings &Settings, const QDate &Today)
{
    QList<TFrdoRow> rows;
    for (const TCertificateRecord &record : Records) {
        if (record.State != TRecordState::rsIssued)
            continue;
        const TCertificateRecord *original = nullptr;
        TFrdoRow row;
        row.RecordId = record.Id;
        row.Trainee = recordName(record);
        if (record.OriginalId) {
            const auto found = Originals.constFind(*record.OriginalId);
            if (found != Originals.cend())
                original = &*found;
        }
        row.Cells = rowCells(record, original, Settings);
        row.Faults = rowFaults(row.Cells, record, record.OriginalId.has_value(), Today);
        rows << row;
    }
    return rows;
}

namespace {

// The libxlsxwriter functions the export calls, loaded with the library on
// the first export.
struct TXlsxWriter {
    decltype(&workbook_new_opt) NewBook;
    decltype(&workbook_add_worksheet) AddSheet;
    decltype(&workbook_add_format) AddFormat;
    decltype(&format_set_bold) SetBold;
    decltype(&format_set_text_wrap) SetTextWrap;
    decltype(&format_set_num_format) SetNumberFormat;
    decltype(&worksheet_write_string) WriteString;
    decltype(&worksheet_set_column) SetColumn;
    decltype(&workbook_close) Close;
    decltype(&lxw_strerror) ErrorText;
};

const TXlsxWriter &libxlsxwriter()
{
    static TOnDemandLibrary library(QStringLiteral("xlsxwriter"), 4, QStringLiteral("libxlsxwriter4"));
    static const TXlsxWriter writer{
        library.Function<decltype(&workbook_new_opt)>("workbook_new_opt"),
        library.Function<decltype(&workbook_add_worksheet)>("workbook_add_worksheet"),
        library.Function<decltype(&workbook_add_format)>("workbook_add_format"),
        library.Function<decltype(&format_set_bold)>("format_set_bold"),
        library.Function<decltype(&format_set_text_wrap)>("format_set_text_wrap"),
        library.Function<decltype(&format_set_num_format)>("format_set_num_format"),
        library.Function<decltype(&worksheet_write_string)>("worksheet_write_string"),
        library.Function<decltype(&worksheet_set_column)>("worksheet_set_column"),
        library.Function<decltype(&workbook_close)>("workbook_close"),
        library.Function<decltype(&lxw_strerror)>("lxw_strerror"),
    };
    return writer;
}

} // namespace

void writeFrdoXlsx(const QString &FileName, const QList<TFrdoRow> &Rows)
{
    const TXlsxWriter &xlsx = libxlsxwriter();
    const auto fail = [&FileName](const QString &Why) {
        throw EInOutError(QStringLiteral("Не удалось записать файл выгрузки %1: %2").arg(FileName, Why));
    };
    // libxlsxwriter writes its book to a path of its own; the bytes then go
    // to FileName through the one atomic save.
    QTemporaryDir folder;
    if (!folder.isValid())
        fail(folder.errorString());
    const QString temporary = folder.filePath(QStringLiteral("export.xlsx"));
    lxw_workbook_options options{};
    const QByteArray tmpdir = folder.path().toUtf8();
    options.tmpdir = const_cast<char *>(tmpdir.constData());
    lxw_workbook *book = xlsx.NewBook(temporary.toUtf8().constData(), &options);
    if (!book)
        fail(QStringLiteral("не создана книга XLSX"));
    lxw_worksheet *sheet = xlsx.AddSheet(book, "Шаблон");
    lxw_format *header = xlsx.AddFormat(book);
    xlsx.SetBold(header);
    xlsx.SetTextWrap(header);
    lxw_format *textCell = xlsx.AddFormat(book);
    xlsx.SetNumberFormat(textCell, "@");
    lxw_error error = LXW_NO_ERROR;
    const auto put = [&](int Row, int Column, const QString &Text, lxw_format *Format) {
        if (error == LXW_NO_ERROR)
            error = xlsx.WriteString(sheet, lxw_row_t(Row), lxw_col_t(Column), Text.toUtf8().constData(), Format);
    };
    for (int c = 0; c < frdoColumns().size(); ++c) {
        xlsx.SetColumn(sheet, lxw_col_t(c), lxw_col_t(c), 22, textCell);
        put(0, c, frdoColumns()[c], header);
    }
    for (int r = 0; r < Rows.size(); ++r)
        for (int c = 0; c < Rows[r].Cells.size(); ++c)
            if (!Rows[r].Cells[c].isEmpty())
                put(r + 1, c, Rows[r].Cells[c], textCell);
    const lxw_error closed = xlsx.Close(book);
    if (error != LXW_NO_ERROR)
        fail(QString::fromUtf8(xlsx.ErrorText(error)));
    if (closed != LXW_NO_ERROR)
        fail(QString::fromUtf8(xlsx.ErrorText(closed)));
    QFile written(temporary);
    if (!written.open(QIODevice::ReadOnly))
        fail(written.errorString());
    saveFileAtomically(FileName, written.readAll());
}

TFrdoResult exportFrdo(const TRegister &Register, const QString &FileName, const QDate &From, const QDate &To,
                       const TFrdoSettings &Settings, bool ValidOnly)
{
    TRegisterFilter filter;
    filter.State = TRecordState::rsIssued;
    QList<TCertificateRecord> records;
    QMap<qint64, TCertificateRecord> originals;
    for (const TCertificateRecord &record : Register.List(filter)) {
        if ((From.isValid() && (!record.IssueDate.isValid() || record.IssueDate < From))
            || (To.isValid() && (!record.IssueDate.isValid() || record.IssueDate > To)))
            continue;
        records << record;
        if (record.OriginalId && !originals.contains(*record.OriginalId))
            if (const std::optional<TCertificateRecord> original = Register.Find(*record.OriginalId))
                originals.insert(original->Id, *original);
    }
    TFrdoResult result;
    QList<TFrdoRow> valid;
    for (const TFrdoRow &row : frdoRows(records, originals, Settings, QDate::currentDate())) {
        if (row.Faults.isEmpty()) {
            valid << row;
            continue;
        }
        ++result.Failed;
        for (const QString &fault : row.Faults)
            result.Faults << row.Trainee + QStringLiteral(": ") + fault;
    }
    result.Valid = int(valid.size());
    if (result.Failed && !ValidOnly)
        return result;
    writeFrdoXlsx(FileName, valid);
    result.Written = valid.size();
    result.FileWritten = true;
    return result;
}
