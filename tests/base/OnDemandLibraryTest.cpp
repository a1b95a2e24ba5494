#include "base/Errors.h"
#include "base/OnDemandLibrary.h"

#include <gtest/gtest.h>

// A library is loaded by name and version on the first function asked for;
// a missing library or function is an error naming it and its package.
TEST(OnDemandLibrary, LoadsOnFirstUseAndNamesWhatIsMissing)
{
    using TFunction = void (*)();
    TOnDemandLibrary zip(QStringLiteral("zip"), 4, QStringLiteral("libzip4"));
    EXPECT_NE(zip.Function<TFunction>("zip_open"), nullptr);
    try {
        zip.Function<TFunction>("zip_no_such_function");
        ADD_FAILURE() << "a missing function resolved";
    } catch (const EInOutError &error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String("zip_no_such_function"))) << error.what();
        EXPECT_TRUE(error.Message().contains(QLatin1String("libzip4"))) << error.what();
    }

    TOnDemandLibrary missing(QStringLiteral("rud-no-such-library"), 1, QStringLiteral("rud-no-such-package"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            missing.Function<TFunction>("anything");
            ADD_FAILURE() << "a missing library loaded";
        } catch (const EInOutError &error) {
            EXPECT_TRUE(error.Message().contains(QLatin1String("rud-no-such-library"))) << error.what();
            EXPECT_TRUE(error.Message().contains(QLatin1String("rud-no-such-package"))) << error.what();
        }
    }
}
