// upperCased and lowerCased must give exactly what QString::toUpper and
// toLower give: they build the lookup keys of script names, cached
// expressions, aliases and class names.

#include "base/TextCase.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(TextCase, UpperAndLowerCasedEqualQtsMappings)
{
    const QStringList samples{
        QString(),
        QStringLiteral("abc"),
        QStringLiteral("ABC_123"),
        QStringLiteral("<a> + <B> * 2"),
        QStringLiteral("Page#"),
        QStringLiteral("z`{@[az"), // neighbours of the letter ranges stay
        QStringLiteral("Page0.Memo12"),
        QStringLiteral("İI"),       // dotted capital I lowers to two units
        QStringLiteral("итого [a]"),
        QStringLiteral("straße"),   // one letter becomes two
        QStringLiteral("ǅ ǆ"),       // title case
        QString::fromUtf16(u"\U00010428x"), // a letter outside the BMP
    };
    for (const QString &s : samples) {
        EXPECT_EQ(upperCased(s), s.toUpper()) << s.toStdString();
        EXPECT_EQ(lowerCased(s), s.toLower()) << s.toStdString();
        EXPECT_EQ(lowerCased(s.toUpper()), s.toUpper().toLower()) << s.toStdString();
    }
}

TEST(TextCase, UpperCasedLeavesItsArgumentAlone)
{
    const QString text = QStringLiteral("memo1.text");
    const QString shared = text;
    EXPECT_EQ(upperCased(shared), QStringLiteral("MEMO1.TEXT"));
    EXPECT_EQ(lowerCased(QStringLiteral("TfrxMemoView")), QStringLiteral("tfrxmemoview"));
    EXPECT_EQ(shared, QStringLiteral("memo1.text"));
    EXPECT_EQ(text, QStringLiteral("memo1.text"));
}
