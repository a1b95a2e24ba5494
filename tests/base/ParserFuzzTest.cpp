// Random and mutated texts into every parser and formatter: each call
// either succeeds or raises EConvertError (EInvalidOp for Round), never more.

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>

namespace {

QString randomText(QRandomGenerator &random, const QString &alphabet, int maxLength)
{
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

template <typename F>
void survives(F &&f)
{
    try {
        f();
    } catch (const EConvertError &) {
    } catch (const EInvalidOp &) {
    }
}

} // namespace

TEST(ParserFuzzTest, ParsersNeverFailOtherwise)
{
    QRandomGenerator random(1899);
    const QString numberish = QStringLiteral("0123456789+-.,eE $xXaF:/ ;%#'\"*dsfgnmuxp\t") + QChar(0xA0);
    const TFormatSettings settings[] = {russianFormatSettings(), englishFormatSettings()};
    for (int i = 0; i < 20000; ++i) {
        const TFormatSettings &s = settings[i % 2];
        const QString text = randomText(random, numberish, 24);
        double d;
        int n;
        qint64 l;
        TDateTime t;
        survives([&] { TryStrToFloat(text, d, s); StrToFloat(text, s); });
        survives([&] { TryStrToInt(text, n); TryStrToInt64(text, l); StrToInt(text); });
        survives([&] { TryStrToDate(text, t, s); TryStrToDateTime(text, t, s); StrToTime(text, s); });
        survives([&] { Format(text, {1, 2.5, QStringLiteral("x"), qlonglong(-3)}, s); });
        survives([&] { FormatFloat(text, random.generateDouble() * 1e6 - 5e5, s); });
        survives([&] { FormatDateTime(text, random.generateDouble() * 60000 - 10000, s); });
    }
}

TEST(ParserFuzzTest, FormattersTakeAnyDouble)
{
    QRandomGenerator random(2015);
    const TFormatSettings s = russianFormatSettings();
    const QStringList pictures = {"0.#", "#,##0.00", "0.00E+00", "", "#", "0.000000000000000000000",
                                  "yyyy mm dd hh nn ss zzz", "c"};
    for (int i = 0; i < 20000; ++i) {
        quint64 bits = random.generate64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        survives([&] {
            EXPECT_FALSE(FloatToStr(v, s).isEmpty());
            FormatFloat(pictures[i % 6], v, s);
            FloatToStrF(v, TFloatFormat(i % 5), i % 20, i % 6, s);
            Format("%e %f %g %n %m %.3f", {v, v, v, v, v, v}, s);
            FormatDateTime(pictures[6 + i % 2], v, s);
            double back;
            const QString text = FloatToStr(v, s);
            if (std::isfinite(v) && TryStrToFloat(text, back, s)) {
                EXPECT_NEAR(back, v, std::abs(v) * 1e-14) << text.toStdString();
            }
            RoundHalfEven(v);
        });
        // Any double is a day of the week or a conversion error, never an overflow.
        survives([&] {
            const int day = DayOfWeek(v);
            EXPECT_TRUE(day >= 1 && day <= 7) << v;
        });
    }
}
