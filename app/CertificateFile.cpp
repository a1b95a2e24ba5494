#include "app/CertificateFile.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "base/IniFile.h"
#include "base/NumberFormat.h"

#include <QFile>
#include <QFileInfo>

const QString CertificateLeftSection = QStringLiteral("Слева");
const QString CertificateTableSection = QStringLiteral("Таблица");
const QString CertificateDetailsSection = QStringLiteral("Получатель");

namespace {

const QString ReadErrorText = QStringLiteral("Ошибка при чтении!");
const QString TotalErrorText = QStringLiteral("Ошибка!");

QString numbered(const char *prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

// Three numbers with sep between them, the year where yearFirst says: the
// exact forms 3.5.2015 / 03.05.2015 and 2015-05-03, nothing looser.
bool readFixedDate(const QString &text, QChar sep, bool yearFirst, TDateTime &date)
{
    const QStringList parts = text.trimmed().split(sep);
    if (parts.size() != 3)
        return false;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        const QString &part = parts[i];
        const bool isYear = yearFirst ? i == 0 : i == 2;
        if (part.isEmpty() || part.size() > (isYear ? 4 : 2) || (isYear && part.size() != 4))
            return false;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return false;
        numbers[i] = part.toInt();
    }
    return yearFirst ? TryEncodeDate(numbers[0], numbers[1], numbers[2], date)
                     : TryEncodeDate(numbers[2], numbers[1], numbers[0], date);
}

// An hours value with the decimal separator of the current settings: a file
// made under other regional settings holds the other one ("20,5" where the
// point is the separator). A text that is no number either way stays as it
// is, so that the sum quotes it as the file has it.
QString localHours(const QString &text)
{
    double value = 0;
    if (TryStrToFloat(text, value))
        return text;
    QString local = text;
    const QChar separator = FormatSettings().DecimalSeparator;
    for (QChar &c : local)
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = separator;
    return TryStrToFloat(local, value) ? local : text;
}

TTraineeDetails readDetails(const TIniFile &file)
{
    const QString &section = CertificateDetailsSection;
    TTraineeDetails details;
    details.Surname = file.ReadString(section, QStringLiteral("surname"), QString()).trimmed();
    details.Name = file.ReadString(section, QStringLiteral("name"), QString()).trimmed();
    details.Patronymic = file.ReadString(section, QStringLiteral("patronymic"), QString()).trimmed();
    TDateTime birth = 0;
    if (readCertificateDate(file.ReadString(section, QStringLiteral("birth"), QString()), birth))
        details.BirthDate = dateTimeToQDate(birth);
    details.Sex = file.ReadString(section, QStringLiteral("sex"), QString()).trimmed();
    details.Snils = file.ReadString(section, QStringLiteral("snils"), QString()).trimmed();
    const QString citizenship = file.ReadString(section, QStringLiteral("citizenship"), QString()).trimmed();
    if (!citizenship.isEmpty())
        details.Citizenship = citizenship;
    return details;
}

void writeDetails(const TTraineeDetails &details, TIniFile &file)
{
    const QString &section = CertificateDetailsSection;
    if (details.IsEmpty() && !file.SectionExists(section))
        return;
    file.WriteString(section, QStringLiteral("surname"), details.Surname);
    file.WriteString(section, QStringLiteral("name"), details.Name);
    file.WriteString(section, QStringLiteral("patronymic"), details.Patronymic);
    file.WriteString(section, QStringLiteral("birth"),
                     details.BirthDate.isValid() ? DateToStr(qDateToDateTime(details.BirthDate)) : QString());
    file.WriteString(section, QStringLiteral("sex"), details.Sex);
    file.WriteString(section, QStringLiteral("snils"), details.Snils);
    file.WriteString(section, QStringLiteral("citizenship"), details.Citizenship);
}

} // namespace

bool readCertificateDate(const QString &text, TDateTime &date)
{
    return TryStrToDate(text, date) || readFixedDate(text, u'.', false, date)
        || readFixedDate(text, u'-', true, date);
}

TCertificate readCertificate(const TIniFile &file)
{
    TCertificate certificate;
    for (int i = 1; i <= 10; ++i)
        certificate.Edits[i - 1] =
            file.ReadString(CertificateLeftSection, numbered("edit_", i), ReadErrorText).left(CertificateMaxText);
    for (int i = 1; i <= 4; ++i) {
        TDateTime date = 0;
        if (!readCertificateDate(file.ReadString(CertificateLeftSection, numbered("date", i), QString()), date))
            date = Date();
        certificate.Dates[i - 1] = date;
    }
    for (int i = 1; i <= 10; ++i)
        certificate.Hours[i - 1] =
            localHours(file.ReadString(CertificateTableSection, numbered("edt_", i), ReadErrorText)).left(CertificateMaxText);
    certificate.Hours[10] =
        file.ReadString(CertificateTableSection, QStringLiteral("edt_11"), TotalErrorText).left(CertificateMaxText);
    auto position = [&file](const QString &key, qsizetype count) {
        const int at = file.ReadInteger(CertificateTableSection, key, -1);
        return at >= 0 && at < count ? at : -1;
    };
    for (int i = 1; i <= 10; ++i)
        certificate.Grades[i - 1] = position(numbered("cmb_", i), certificateGradeTexts(i - 1).size());
    certificate.Transmission = position(QStringLiteral("cmb_kpp"), certificateTransmissionTexts().size());
    certificate.Details = readDetails(file);
    return certificate;
}

// Dates are written as short date texts of the regional settings the program
// took from the system at start-up.
void writeCertificate(const TCertificate &certificate, TIniFile &file)
{
    for (int i = 1; i <= 10; ++i)
        file.WriteString(CertificateLeftSection, numbered("edit_", i), certificate.Edits[i - 1]);
    for (int i = 1; i <= 4; ++i)
        file.WriteString(CertificateLeftSection, numbered("date", i), DateToStr(certificate.Dates[i - 1]));
    for (int i = 1; i <= 11; ++i)
        file.WriteString(CertificateTableSection, numbered("edt_", i), certificate.Hours[i - 1]);
    for (int i = 1; i <= 10; ++i)
        file.WriteInteger(CertificateTableSection, numbered("cmb_", i), certificate.Grades[i - 1]);
    file.WriteInteger(CertificateTableSection, QStringLiteral("cmb_kpp"), certificate.Transmission);
    writeDetails(certificate.Details, file);
}

TCertificate readCertificateFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        throw EInOutError(QStringLiteral("Не найден файл свидетельства: %1").arg(fileName));
    const TIniFile file(fileName, CertificateCodePage);
    if (file.Unreadable())
        throw EInOutError(QStringLiteral("Не удалось прочитать файл свидетельства: %1").arg(fileName));
    return readCertificate(file);
}

// Both go through the file's own reader and writer on a file that is never
// written, so that the register keeps exactly the keys and texts a ".vod"
// file would.
QMap<QString, QString> certificateValues(const TCertificate &certificate)
{
    TIniFile file(QString(), CertificateCodePage);
    writeCertificate(certificate, file);
    QMap<QString, QString> values;
    for (const QString &section : {CertificateLeftSection, CertificateTableSection})
        for (const QString &key : file.ReadSection(section))
            values.insert(key, file.ReadString(section, key, QString()));
    return values;
}

TCertificate certificateFromValues(const QMap<QString, QString> &values)
{
    TIniFile file(QString(), CertificateCodePage);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const bool left = it.key().startsWith(QLatin1String("edit_")) || it.key().startsWith(QLatin1String("date"));
        file.WriteString(left ? CertificateLeftSection : CertificateTableSection, it.key(), it.value());
    }
    return readCertificate(file);
}
