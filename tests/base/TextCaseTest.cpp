// upperCased must give exactly what QString::toUpper gives: it builds the
// lookup keys of script names and cached expressions.

#include "base/TextCase.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(TextCase, UpperCasedEqualsToUpper)
{
    const QStringList samples{
        QString(),
        QStringLiteral("abc"),
        QStringLiteral("ABC_123"),
        QStringLiteral("<a> + <B> * 2"),
        QStringLiteral("Page#"),
        QStringLiteral("z`{@[az"), // neighbours of the letter ranges stay
        QStringLiteral("итого [a]"),
        QStringLiteral("straße"),   // one letter becomes two
        QStringLiteral("ǅ ǆ"),       // title case
        QString::fromUtf16(u"\U00010428x"), // a letter outside the BMP
    };
    for (const QString &s : samples)
        EXPECT_EQ(upperCased(s), s.toUpper()) << s.toStdString();
}

TEST(TextCase, UpperCasedLeavesItsArgumentAlone)
{
    const QString text = QStringLiteral("memo1.text");
    const QString shared = text;
    EXPECT_EQ(upperCased(shared), QStringLiteral("MEMO1.TEXT"));
    EXPECT_EQ(shared, QStringLiteral("memo1.text"));
    EXPECT_EQ(text, QStringLiteral("memo1.text"));
}
