// Format: the printf-style formatter of the classic runtime.

#include "base/NumberFormat.h"

#include "base/Errors.h"
#include "base/TextLimits.h"

#include <QVariant>

namespace {

enum class TArgKind { Integer, Int64, Float, String, Other };

TArgKind kindOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return TArgKind::Integer;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TArgKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float:
        return TArgKind::Float;
    case QMetaType::QString:
    case QMetaType::QChar:
    case QMetaType::QByteArray:
    case QMetaType::Char:
        return TArgKind::String;
    default:
        return TArgKind::Other;
    }
}

// Reads one format text: the directives in turn, each taking its argument.
class TFormatter {
public:
    TFormatter(const QString &format, const QVariantList &args, const TFormatSettings &settings)
        : FFormat(format), FArgs(args), FSettings(settings)
    {
    }

    QString run()
    {
        QString result;
        const qsizetype length = FFormat.size();
        qsizetype start = 0;
        while (FPos < length) {
            const qsizetype percent = FFormat.indexOf(QLatin1Char('%'), FPos);
            if (percent < 0) {
                result += QStringView(FFormat).mid(start);
                break;
            }
            result += QStringView(FFormat).mid(start, percent - start);
            FPos = percent;
            const QString text = directive();
            rudCheckTextLength(qint64(result.size()) + text.size());
            result += text;
            ++FPos;
            start = FPos;
        }
        return result;
    }

private:
    [[noreturn]] void fail() const
    {
        throw EConvertError(
            QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFormat));
    }

    QChar at(qsizetype i) const { return i < FFormat.size() ? FFormat[i] : QChar(); }

    // Digits or "*" (an integer argument); -1 when neither is there.
    int readNumber()
    {
        const qsizetype begin = FPos;
        qint64 value = 0;
        while (at(FPos).unicode() >= '0' && at(FPos).unicode() <= '9') {
            value = std::min<qint64>(value * 10 + (at(FPos).unicode() - '0'), 1 << 30);
            ++FPos;
        }
        if (FPos >= FFormat.size())
            fail();
        if (at(FPos) == QLatin1Char('*')) {
            if (FPos > begin)
                fail();
            int argument;
            if (FIndex == -1) {
                argument = FArgPos;
            } else {
                argument = FIndex;
                ++FIndex;
            }
            if (argument >= FArgs.size())
                fail();
            FArgPos = argument + 1;
            const QVariant &v = FArgs[argument];
            const TArgKind kind = kindOf(v);
            if (kind != TArgKind::Integer && kind != TArgKind::Int64)
                fail();
            ++FPos;
            return int(std::clamp<qint64>(v.toLongLong(), -(1 << 30), 1 << 30));
        }
        return FPos > begin ? int(value) : -1;
    }

    // The argument of the directive, which must be of one of the kinds.
    const QVariant &take(std::initializer_list<TArgKind> kinds)
    {
        const int argument = FIndex == -1 ? FArgPos : FIndex;
        FArgPos = argument + 1;
        if (argument >= FArgs.size())
            fail();
        const QVariant &v = FArgs[argument];
        const TArgKind kind = kindOf(v);
        for (TArgKind k : kinds)
            if (k == kind)
                return v;
        fail();
    }

    // "%" [index ":"] ["-"] [width] ["." precision] type
    QString directive()
    {
        ++FPos;
        if (FPos >= FFormat.size())
            fail();
        if (at(FPos) == QLatin1Char('%'))
            return QStringLiteral("%");
        FIndex = -1;
        int width = -1, precision = -1, value = -1;
        if (at(FPos) != QLatin1Char(':'))
            value = readNumber();
        else
            value = 0;
        if (at(FPos) == QLatin1Char(':')) {
            if (value == -1)
                fail();
            FIndex = value;
            value = -1;
            ++FPos;
        }
        bool left = false;
        if (at(FPos) == QLatin1Char('-')) {
            left = true;
            ++FPos;
        }
        if (value == -1)
            value = readNumber();
        width = value;
        if (at(FPos) == QLatin1Char('.')) {
            ++FPos;
            precision = readNumber();
            if (precision == -1)
                precision = 0;
        }
        // Widths and precisions pad with spaces and zeros: one that asks
        // for more than a text may hold fails before anything is built.
        if (width > rudMaxTextLength || precision > rudMaxTextLength)
            throw EOutOfMemory(QStringLiteral("Format '%1' asks for a text longer than the %2 characters allowed")
                                   .arg(FFormat)
                                   .arg(rudMaxTextLength));
        QString text;
        switch (at(FPos).toUpper().unicode()) {
        case 'D': {
            const QVariant &v = take({TArgKind::Integer, TArgKind::Int64});
            text = QString::number(v.typeId() == QMetaType::ULongLong ? qint64(v.toULongLong())
                                                                       : v.toLongLong());
            const qsizetype zeros = precision - text.size();
            if (zeros > 0 && !text.startsWith(QLatin1Char('-')))
                text.prepend(QString(zeros, QLatin1Char('0')));
            else if (zeros + 1 > 0 && text.startsWith(QLatin1Char('-')))
                text.insert(1, QString(zeros + 1, QLatin1Char('0')));
            break;
        }
        case 'U': {
            const QVariant &v = take({TArgKind::Integer, TArgKind::Int64});
            text = kindOf(v) == TArgKind::Integer ? QString::number(quint32(v.toInt()))
                                                  : QString::number(v.toULongLong());
            if (precision > text.size())
                text.prepend(QString(precision - text.size(), QLatin1Char('0')));
            break;
        }
        case 'E':
            text = FloatToStrF(take({TArgKind::Float}).toDouble(), ffExponent,
                               precision == -1 ? 15 : precision, 3, FSettings);
            break;
        case 'F':
            text = FloatToStrF(take({TArgKind::Float}).toDouble(), ffFixed, 9999, precision, FSettings);
            break;
        case 'G':
            text = FloatToStrF(take({TArgKind::Float}).toDouble(), ffGeneral,
                               precision == -1 ? 15 : precision, 3, FSettings);
            break;
        case 'N':
            text = FloatToStrF(take({TArgKind::Float}).toDouble(), ffNumber, 9999, precision, FSettings);
            break;
        case 'M':
            text = FloatToStrF(take({TArgKind::Float}).toDouble(), ffCurrency, 9999, precision,
                               FSettings);
            break;
        case 'S': {
            const QVariant &v = take({TArgKind::String});
            text = v.toString();
            if (precision != -1 && text.size() > precision)
                text.truncate(precision);
            break;
        }
        case 'P':
            text = IntToHex(take({TArgKind::Integer, TArgKind::Int64}).toLongLong(), 16);
            break;
        case 'X': {
            const QVariant &v = take({TArgKind::Integer, TArgKind::Int64});
            const bool narrow = kindOf(v) == TArgKind::Integer;
            const quint64 bits = narrow ? quint64(quint32(v.toInt())) : v.toULongLong();
            const int limit = narrow ? 16 : 31;
            if (precision > limit) {
                text = IntToHex(qint64(bits), limit);
            } else {
                int digits = 1;
                while (digits < 16 && (quint64(1) << (digits * 4)) <= bits)
                    ++digits;
                text = IntToHex(qint64(bits), std::max(digits, precision));
            }
            break;
        }
        default:
            fail();
        }
        if (width != -1 && text.size() < width) {
            const QString pad(width - text.size(), QLatin1Char(' '));
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    const QString &FFormat;
    const QVariantList &FArgs;
    const TFormatSettings &FSettings;
    qsizetype FPos = 0;
    int FArgPos = 0;
    int FIndex = -1;
};

} // namespace

QString Format(const QString &format, const QVariantList &args)
{
    return Format(format, args, FormatSettings());
}

QString Format(const QString &format, const QVariantList &args, const TFormatSettings &settings)
{
    return TFormatter(format, args, settings).run();
}
