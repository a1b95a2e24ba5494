// Differential test of the number and date runtime against Free Pascal's
// SysUtils: a Pascal program with the same cases is compiled at test time,
// run, and its output compared with ours line by line.
//
// Cases left out on purpose, where Free Pascal departs from the classic
// runtime this system follows (each is covered by a unit test of its own):
// - an empty ";" section of a FormatFloat picture: Free Pascal falls back to
//   the general format, the classic rule is to use the positive section;
// - %e and %g without a precision: Free Pascal writes 17 digits, the classic
//   default is 15;
// - StrToFloat of ".", "e5", "1e+", "Inf", "NaN" or text with tabs, which
//   Free Pascal's Val accepts and the classic scanner refuses;
// - FormatFloat of a value that rounds to nothing with the picture's
//   decimals: Free Pascal keeps the value's exponent and writes "0,0" for
//   0.04 with "0.#", where the classic result is "0";
// - StrToFloat of a text with blanks around it when the thousands separator
//   is a space (Free Pascal refuses every text holding that separator);
// - StrToInt of a decimal text outside the 32-bit range, which Free Pascal's
//   Val wraps around and the classic runtime refuses;
// - StrToDate of a single number and of numbers with spaces inside them;
// - FormatDateTime with letters outside the picture letters (Free Pascal
//   upper-cases them) or a lone "a" (Free Pascal raises).

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

QString hexBits(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return QStringLiteral("%1").arg(bits, 16, 16, QLatin1Char('0')).toUpper();
}

QString pascalString(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString pascalDouble(double value) { return QStringLiteral("D('%1')").arg(hexBits(value)); }

// One generated case: the Pascal statement that prints a line, the line we
// print, and a description for the report.
struct TCase {
    QString Pascal;
    QString Ours;
    QString What;
};

// True for a nonzero value that a plain picture rounds to zero.
bool roundsToNothing(const QString &picture, double value)
{
    if (value == 0 || picture.isEmpty() || picture.contains(QLatin1Char('E'), Qt::CaseInsensitive))
        return false;
    const QString section = picture.section(QLatin1Char(';'), 0, 0);
    const qsizetype point = section.indexOf(QLatin1Char('.'));
    int decimals = 0;
    if (point >= 0)
        for (QChar c : section.mid(point))
            decimals += c == QLatin1Char('0') || c == QLatin1Char('#');
    return std::fabs(value) < 0.5 * std::pow(10.0, -decimals);
}

class TCaseList {
public:
    explicit TCaseList(const TFormatSettings &settings) : FSettings(settings) {}

    void add(const QString &pascal, const std::function<QString()> &ours, const QString &what)
    {
        QString line;
        try {
            line = ours();
        } catch (const Exception &) {
            line = QStringLiteral("ERROR");
        }
        FCases.push_back({pascal, line, what});
    }

    void formatFloat(const QString &picture, double value)
    {
        if (roundsToNothing(picture, value))
            return;
        add(QStringLiteral("FF(%1, %2)").arg(pascalString(picture), pascalDouble(value)),
            [&] { return FormatFloat(picture, value, FSettings); },
            QStringLiteral("FormatFloat('%1', %2)").arg(picture).arg(value, 0, 'g', 17));
    }

    void floatToStr(double value)
    {
        add(QStringLiteral("FTS(%1)").arg(pascalDouble(value)),
            [&] { return FloatToStr(value, FSettings); },
            QStringLiteral("FloatToStr(%1)").arg(value, 0, 'g', 17));
    }

    void floatToStrF(double value, const char *format, TFloatFormat f, int precision, int digits)
    {
        add(QStringLiteral("W(FloatToStrF(E(%1), %2, %3, %4, fs))")
                .arg(pascalDouble(value), QLatin1String(format)).arg(precision).arg(digits),
            [&] { return FloatToStrF(value, f, precision, digits, FSettings); },
            QStringLiteral("FloatToStrF(%1, %2, %3, %4)").arg(value, 0, 'g', 17).arg(QLatin1String(format)).arg(precision).arg(digits));
    }

    // `pascalArgs` and `args` name the same values.
    void format(const QString &fmt, const QString &pascalArgs, const QVariantList &args)
    {
        add(QStringLiteral("FM(%1, [%2])").arg(pascalString(fmt), pascalArgs),
            [&] { return Format(fmt, args, FSettings); },
            QStringLiteral("Format('%1', [%2])").arg(fmt, pascalArgs));
    }

    void round(double value)
    {
        add(QStringLiteral("W(IntToStr(Round(%1)))").arg(pascalDouble(value)),
            [&] { return QString::number(RoundHalfEven(value)); },
            QStringLiteral("Round(%1)").arg(value, 0, 'g', 17));
    }

    void strToFloat(const QString &text)
    {
        add(QStringLiteral("SF(%1)").arg(pascalString(text)),
            [&] {
                double v = 0;
                return TryStrToFloat(text, v, FSettings) ? QStringLiteral("OK ") + hexBits(v)
                                                         : QStringLiteral("ERROR");
            },
            QStringLiteral("StrToFloat('%1')").arg(text));
    }

    void strToInt(const QString &text)
    {
        add(QStringLiteral("SI(%1)").arg(pascalString(text)),
            [&] {
                int v = 0;
                return TryStrToInt(text, v) ? QStringLiteral("OK %1").arg(v) : QStringLiteral("ERROR");
            },
            QStringLiteral("StrToInt('%1')").arg(text));
    }

    void formatDateTime(const QString &picture, TDateTime value)
    {
        add(QStringLiteral("FD(%1, %2)").arg(pascalString(picture), pascalDouble(value)),
            [&] { return FormatDateTime(picture, value, FSettings); },
            QStringLiteral("FormatDateTime('%1', %2)").arg(picture).arg(value, 0, 'g', 17));
    }

    void dateToStr(TDateTime value)
    {
        add(QStringLiteral("W(DateToStr(%1, fs))").arg(pascalDouble(value)),
            [&] { return DateToStr(value, FSettings); },
            QStringLiteral("DateToStr(%1)").arg(value, 0, 'g', 17));
    }

    void strToDate(const QString &text)
    {
        add(QStringLiteral("SD(%1)").arg(pascalString(text)),
            [&] {
                TDateTime v = 0;
                return TryStrToDate(text, v, FSettings) ? QStringLiteral("OK ") + hexBits(v)
                                                        : QStringLiteral("ERROR");
            },
            QStringLiteral("StrToDate('%1')").arg(text));
    }

    const std::vector<TCase> &cases() const { return FCases; }

private:
    const TFormatSettings &FSettings;
    std::vector<TCase> FCases;
};

// The settings of one side of the comparison, in Pascal.
QString pascalSettings(const TFormatSettings &s)
{
    QString p;
    QTextStream out(&p);
    auto ch = [](QChar c) { return pascalString(QString(c)); };
    out << "  fs := DefaultFormatSettings;\n"
        << "  fs.DecimalSeparator := " << ch(s.DecimalSeparator) << ";\n"
        << "  fs.ThousandSeparator := " << ch(s.ThousandSeparator) << ";\n"
        << "  fs.DateSeparator := " << ch(s.DateSeparator) << ";\n"
        << "  fs.TimeSeparator := " << ch(s.TimeSeparator) << ";\n"
        << "  fs.ShortDateFormat := " << pascalString(s.ShortDateFormat) << ";\n"
        << "  fs.LongDateFormat := " << pascalString(s.LongDateFormat) << ";\n"
        << "  fs.ShortTimeFormat := " << pascalString(s.ShortTimeFormat) << ";\n"
        << "  fs.LongTimeFormat := " << pascalString(s.LongTimeFormat) << ";\n"
        << "  fs.TimeAMString := " << pascalString(s.TimeAMString) << ";\n"
        << "  fs.TimePMString := " << pascalString(s.TimePMString) << ";\n"
        << "  fs.CurrencyString := " << pascalString(s.CurrencyString) << ";\n"
        << "  fs.CurrencyFormat := " << s.CurrencyFormat << ";\n"
        << "  fs.NegCurrFormat := " << s.NegCurrFormat << ";\n"
        << "  fs.CurrencyDecimals := " << s.CurrencyDecimals << ";\n"
        << "  fs.TwoDigitYearCenturyWindow := " << s.TwoDigitYearCenturyWindow << ";\n";
    for (int i = 0; i < 12; ++i)
        out << "  fs.ShortMonthNames[" << i + 1 << "] := " << pascalString(s.ShortMonthNames[i])
            << "; fs.LongMonthNames[" << i + 1 << "] := " << pascalString(s.LongMonthNames[i]) << ";\n";
    for (int i = 0; i < 7; ++i)
        out << "  fs.ShortDayNames[" << i + 1 << "] := " << pascalString(s.ShortDayNames[i])
            << "; fs.LongDayNames[" << i + 1 << "] := " << pascalString(s.LongDayNames[i]) << ";\n";
    return p;
}

const char *ProgramHead = R"(program diff;
{$mode objfpc}{$H+}
uses SysUtils;
var fs: TFormatSettings;
function D(const h: string): Double; var q: QWord; begin q := StrToQWord('$' + h); Move(q, Result, 8); end;
function Bits(d: Double): string; var q: QWord; begin Move(d, q, 8); Result := IntToHex(q, 16); end;
function E(d: Double): Extended; begin Result := d; end;
procedure W(const s: string); begin writeln(s); end;
procedure FF(const p: string; d: Double); begin W(FormatFloat(p, d, fs)); end;
procedure FTS(d: Double); var e: Extended; begin e := d; W(FloatToStr(e, fs)); end;
procedure FD(const p: string; d: Double); begin W(FormatDateTime(p, d, fs)); end;
procedure FM(const f: string; const a: array of const);
begin
  try W(Format(f, a, fs)); except on Exception do W('ERROR'); end;
end;
procedure SF(const s: string); var e: Extended;
begin
  if TryStrToFloat(s, e, fs) and (Abs(e) <= 1.7976931348623157e308) then W('OK ' + Bits(e)) else W('ERROR');
end;
procedure SI(const s: string); var i: Integer;
begin if TryStrToInt(s, i) then W('OK ' + IntToStr(i)) else W('ERROR'); end;
procedure SD(const s: string); var t: TDateTime;
begin if TryStrToDate(s, t, fs) then W('OK ' + Bits(t)) else W('ERROR'); end;
begin
)";

// Comma settings: the separators of a Russian system (a plain space for
// thousands, since the Pascal side writes single bytes) with ASCII names.
TFormatSettings commaSettings()
{
    TFormatSettings s = englishFormatSettings();
    const TFormatSettings ru = russianFormatSettings();
    s.DecimalSeparator = ru.DecimalSeparator;
    s.ThousandSeparator = QLatin1Char(' ');
    s.DateSeparator = ru.DateSeparator;
    s.ShortDateFormat = ru.ShortDateFormat;
    s.LongDateFormat = QStringLiteral("d mmmm yyyy 'g.'");
    s.ShortTimeFormat = ru.ShortTimeFormat;
    s.LongTimeFormat = ru.LongTimeFormat;
    s.TimeAMString = QStringLiteral("am");
    s.TimePMString = QStringLiteral("pm");
    s.CurrencyString = QStringLiteral("r.");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    return s;
}

TFormatSettings pointSettings() { return englishFormatSettings(); }

std::vector<double> sampleValues()
{
    std::vector<double> values = {0.0, -0.0, 2.25, 0.15, 1.005, 2.675, 0.5, 1.5, 2.5, -2.5, 3.5,
                                  0.05, 0.045, 0.95, 9.95, 99.995, 999.9999, 1234.5, -1234.5,
                                  1234567.891, -1234567.891, 0.001, -0.001, 0.000123456, 1e-20,
                                  1e15, 1e17, 123456789012345678.0, 41982.6347830324,
                                  3.14159265358979, 1.0 / 3, -2.0 / 3, 100, 1e6, 7, -7, 12.5,
                                  0.1 + 0.2, 2.5e-5, 987654.321};
    QRandomGenerator random(20150503);
    for (int i = 0; i < 20; ++i)
        values.push_back((random.generateDouble() - 0.3) * std::pow(10.0, random.bounded(-3, 9)));
    for (int i = 0; i < 10; ++i)
        values.push_back(double(random.bounded(-100000, 100000)) / 100.0);
    return values;
}

void addNumberCases(TCaseList &list)
{
    const QStringList pictures = {
        QStringLiteral("0.#"), QStringLiteral("0.##"), QStringLiteral("0"), QStringLiteral("#"),
        QStringLiteral("#.##"), QStringLiteral("0.00"), QStringLiteral("#,##0.00"),
        QStringLiteral("#,##0"), QStringLiteral("0.00E+00"), QStringLiteral("0.###E-0"),
        QStringLiteral("##0.0E+0"), QStringLiteral("0.0;(0.0);'zero'"), QStringLiteral("0.0;-0.0"),
        QStringLiteral("00-00"), QStringLiteral("\"$\"#,##0.00"), QStringLiteral("'Total: '0.0"),
        QStringLiteral("000000"), QStringLiteral("#,##0.###"), QStringLiteral("0.000000000"),
        QStringLiteral(""), QStringLiteral("#,#"), QStringLiteral("0.0e+000"), QStringLiteral("x0.0y")};
    const std::vector<double> values = sampleValues();
    for (const QString &picture : pictures)
        for (double v : values)
            list.formatFloat(picture, v);

    for (double v : values) {
        list.floatToStr(v);
        list.round(v);
        list.floatToStrF(v, "ffFixed", ffFixed, 15, 2);
        list.floatToStrF(v, "ffNumber", ffNumber, 15, 1);
        list.floatToStrF(v, "ffExponent", ffExponent, 6, 2);
        list.floatToStrF(v, "ffGeneral", ffGeneral, 6, 0);
        list.floatToStrF(v, "ffCurrency", ffCurrency, 15, 2);
    }
    QRandomGenerator random(41982);
    for (int i = 0; i < 150; ++i) {
        quint64 bits = random.generate64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            list.floatToStr(v);
    }
    for (double v : {1e20, 1e-5, 1e-6, 1.5e-300, 1.7976931348623157e308, 5e-324, 1e14, 1e21,
                     123456789012345.6, 0.1, 1.0 / 7, 2.5e15})
        list.floatToStr(v);
    for (double v : {0.5, 1.5, 2.5, -0.5, -1.5, 2.4999999999999996, 1e15 + 0.5, -3.5, 4.5})
        list.round(v);
}

void addFormatCases(TCaseList &list)
{
    const std::vector<double> values = {3.14159, 1234.5, -1234.5, 0.0001, 2.25, 1e20, 0.0, -0.001,
                                        1234567.5, 12.5, 1.005};
    for (double v : values) {
        const QString p = pascalDouble(v);
        for (const char *fmt : {"%f", "%.2f", "%.0f", "%8.3f", "%-10.1f|", "%n", "%.1n", "%m",
                                "%.0m", "%.3e", "%10.2e", "%.3g", "%.15g", "%2.2f", "%*.*f"})
            if (QByteArray(fmt).contains('*'))
                list.format(QLatin1String(fmt), QStringLiteral("8, 2, ") + p, {8, 2, v});
            else
                list.format(QLatin1String(fmt), p, {v});
    }
    for (int v : {0, 42, -42, 255, 2147483647, -2147483647 - 1}) {
        const QString p = QString::number(v);
        for (const char *fmt : {"%d", "%5d", "%-5d|", "%.4d", "%x", "%.4x", "%u", "%8.3d", "%X"})
            list.format(QLatin1String(fmt), p, {v});
    }
    list.format(QStringLiteral("%d"), QStringLiteral("Int64(12345678901)"), {qlonglong(12345678901)});
    list.format(QStringLiteral("%x"), QStringLiteral("Int64(-1)"), {qlonglong(-1)});
    list.format(QStringLiteral("%s|%10s|%-10s|%.2s"), QStringLiteral("'abc', 'abc', 'abc', 'abc'"),
                {"abc", "abc", "abc", "abc"});
    list.format(QStringLiteral("%1:s %0:s %s"), QStringLiteral("'a', 'b', 'c'"), {"a", "b", "c"});
    list.format(QStringLiteral("100%% %s"), QStringLiteral("'done'"), {"done"});
    list.format(QStringLiteral("%*d|%-*d|"), QStringLiteral("6, 42, 6, 42"), {6, 42, 6, 42});
    list.format(QStringLiteral("%d"), QStringLiteral("'x'"), {"x"});
    list.format(QStringLiteral("%s"), QStringLiteral("42"), {42});
    list.format(QStringLiteral("%f"), QStringLiteral("42"), {42});
    list.format(QStringLiteral("%d %d"), QStringLiteral("1"), {1});
    list.format(QStringLiteral("%d"), pascalDouble(1.5), {1.5});
    list.format(QStringLiteral("%5"), QStringLiteral("1"), {1});
    list.format(QStringLiteral("Sum: %.2f rub."), pascalDouble(1234.567), {1234.567});
}

void addParseCases(TCaseList &list, const TFormatSettings &s)
{
    const QString d(s.DecimalSeparator);
    const QStringList floats = {
        QStringLiteral("12"), QStringLiteral("-12"), QStringLiteral("+12"),
        QStringLiteral("2") + d + QStringLiteral("5"),
        d + QStringLiteral("5"), QStringLiteral("5") + d,
        QStringLiteral("1e5"), QStringLiteral("1E-5"),
        QStringLiteral("-1") + d + QStringLiteral("5e+3"), QStringLiteral("1e"), QStringLiteral(""),
        QStringLiteral(" "), QStringLiteral("abc"), QStringLiteral("12a"), QStringLiteral("1 2"),
        QStringLiteral("- 1"), QStringLiteral("1") + d + QStringLiteral("2") + d + QStringLiteral("3"),
        QStringLiteral("$10"), QStringLiteral("0") + d + QStringLiteral("1"),
        QStringLiteral("41982") + d + QStringLiteral("6347830324"), QStringLiteral("1e308"),
        QStringLiteral("1e400"), QStringLiteral("2,5"), QStringLiteral("2.5"), QStringLiteral("1 000"),
        QStringLiteral("0000012"), QStringLiteral("-0"), QStringLiteral("123456789012345678901234567890")};
    for (const QString &f : floats)
        list.strToFloat(f);
    if (s.ThousandSeparator != QLatin1Char(' ')) {
        list.strToFloat(QStringLiteral(" 2") + d + QStringLiteral("5 "));
        list.strToFloat(QStringLiteral("  -7") + d + QStringLiteral("25"));
    }
    for (const char *i : {"12", "-12", "+12", " 12", "12 ", "$FF", "$ffffffff", "0x1F", "-$10",
                          "2147483647", "-2147483648", "", "-", "$", "12a", "1.5", "0012", "x10"})
        list.strToInt(QLatin1String(i));

    const std::vector<TDateTime> dates = {EncodeDate(2015, 5, 3), EncodeDate(2015, 5, 3) + 0.5,
                                          EncodeDate(1899, 12, 30), -1.25, EncodeDate(2000, 2, 29),
                                          EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31),
                                          EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 999),
                                          EncodeDate(1999, 1, 9) + EncodeTime(0, 5, 7, 30),
                                          EncodeDate(2015, 5, 3) + EncodeTime(12, 0, 0, 0),
                                          41982.6347830324, 36526.99999999};
    const QStringList pictures = {
        QStringLiteral("d.m.yy"), QStringLiteral("dd.mm.yyyy"), QStringLiteral("ddd dddd"),
        QStringLiteral("ddddd"), QStringLiteral("dddddd"), QStringLiteral("mmm mmmm"),
        QStringLiteral("h:n:s"), QStringLiteral("hh:nn:ss.zzz"), QStringLiteral("hh:mm"),
        QStringLiteral("h:mm am/pm"), QStringLiteral("hh:nn a/p"), QStringLiteral("h ampm"),
        QStringLiteral("c"), QStringLiteral("t"), QStringLiteral("tt"), QStringLiteral("yyyy/mm/dd"),
        QStringLiteral("\"Date:\" dd mmmm yyyy"), QStringLiteral("'at' hh 'h'"), QStringLiteral(""),
        QStringLiteral("yyyymmddhhnnsszzz"), QStringLiteral("d-m-y"), QStringLiteral("z")};
    for (const QString &picture : pictures)
        for (TDateTime v : dates)
            list.formatDateTime(picture, v);
    for (TDateTime v : dates)
        list.dateToStr(v);

    const QString sep(s.DateSeparator);
    auto date = [&](const char *a, const char *b, const char *c) {
        QString t = QLatin1String(a) + sep + QLatin1String(b);
        if (c)
            t += sep + QLatin1String(c);
        return t;
    };
    const bool dmy = s.ShortDateFormat.startsWith(QLatin1Char('d'), Qt::CaseInsensitive);
    for (const QString &t : {date("03", "05", "2015"), date("3", "5", "2015"), date("31", "12", "1999"),
                             date("29", "02", "2016"), date("29", "02", "2015"), date("31", "04", "2015"),
                             date("03", "05", "15"), date("03", "05", "75"), date("03", "05", "0015"),
                             date("12", "13", "2015"), date("13", "12", "2015"), date("0", "5", "2015"),
                             date("03", "05", "2015") + sep, date("03", "05", "2015") + QLatin1String("x"),
                             QStringLiteral("03/05/2015"), QStringLiteral("03-05-2015"),
                             QStringLiteral("2015.05.03"), QStringLiteral(""), QStringLiteral("abc"),
                             date("03", "05", "2015") + QLatin1String(" "), date("1", "1", "1")})
        list.strToDate(t);
    Q_UNUSED(dmy);
}

// Compiles and runs the Pascal program of the cases; the lines it printed.
QStringList runPascal(const QString &fpc, const std::vector<TCase> &cases, const TFormatSettings &s,
                      QString &error)
{
    QTemporaryDir dir;
    QString source = QString::fromLatin1(ProgramHead) + pascalSettings(s);
    for (const TCase &c : cases)
        source += QStringLiteral("  ") + c.Pascal + QStringLiteral(";\n");
    source += QStringLiteral("end.\n");
    QFile file(dir.filePath(QStringLiteral("prog.pas")));
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write the program");
        return {};
    }
    file.write(source.toUtf8());
    file.close();

    QProcess compiler;
    compiler.setWorkingDirectory(dir.path());
    compiler.start(fpc, {QStringLiteral("-Mobjfpc"), QStringLiteral("-O1"), QStringLiteral("prog.pas")});
    if (!compiler.waitForFinished(120000) || compiler.exitCode() != 0) {
        error = QStringLiteral("fpc failed:\n") + QString::fromLocal8Bit(compiler.readAllStandardOutput());
        return {};
    }
    QProcess program;
    program.start(dir.filePath(QStringLiteral("prog")), {});
    if (!program.waitForFinished(60000) || program.exitCode() != 0) {
        error = QStringLiteral("the compiled program failed: ")
                + QString::fromLocal8Bit(program.readAllStandardError());
        return {};
    }
    QString output = QString::fromUtf8(program.readAllStandardOutput());
    output.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = output.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void compareWithPascal(const TFormatSettings &settings, const char *name)
{
    const QString fpc = QStandardPaths::findExecutable(QStringLiteral("fpc"));
    if (fpc.isEmpty())
        GTEST_SKIP() << "fpc is not installed";
    TCaseList list(settings);
    addNumberCases(list);
    addFormatCases(list);
    addParseCases(list, settings);
    const std::vector<TCase> &cases = list.cases();

    QString error;
    const QStringList theirs = runPascal(fpc, cases, settings, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(size_t(theirs.size()), cases.size()) << "line count of the Pascal output";
    int mismatches = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        if (cases[i].Ours == theirs[int(i)])
            continue;
        ++mismatches;
        ADD_FAILURE() << name << ": " << cases[i].What.toStdString() << "\n  fpc:  \""
                      << theirs[int(i)].toStdString() << "\"\n  ours: \"" << cases[i].Ours.toStdString()
                      << "\"";
    }
    EXPECT_EQ(mismatches, 0) << "of " << cases.size() << " cases";
    EXPECT_GT(cases.size(), 1500u);
}

} // namespace

TEST(DifferentialTest, MatchesFreePascalWithCommaSettings)
{
    compareWithPascal(commaSettings(), "comma");
}

TEST(DifferentialTest, MatchesFreePascalWithPointSettings)
{
    compareWithPascal(pointSettings(), "point");
}
