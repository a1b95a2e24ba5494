#include "base/Errors.h"
#include "base/UserInterface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(UserInterface, SilentInterfaceNeverBlocksAndNeverConfirms)
{
    // Without an installed interface every question is answered negatively.
    EXPECT_EQ(userInterface().MessageBox("t", "c", TMsgIcon::Question, TMsgButtons::YesNo), TMsgResult::No);
    EXPECT_EQ(userInterface().MessageBox("t", "c", TMsgIcon::Question, TMsgButtons::YesNoCancel),
              TMsgResult::Cancel);
    EXPECT_FALSE(userInterface().OpenFile({}).has_value());
    EXPECT_FALSE(userInterface().SaveFile({}).has_value());
    EXPECT_FALSE(userInterface().OpenDocument("/nowhere"));
}

TEST(UserInterface, RecordingInterfaceIsInstalledForItsLifetime)
{
    {
        TRecordingUserInterface ui;
        setApplicationTitle("Title");
        showMessage("hello");
        ui.Answers.push_back(TMsgResult::Yes);
        EXPECT_EQ(userInterface().MessageBox("q", "c", TMsgIcon::Question, TMsgButtons::YesNo), TMsgResult::Yes);
        ASSERT_EQ(ui.Messages.size(), 2u);
        EXPECT_EQ(ui.Messages[0].Text, "hello");
        EXPECT_EQ(ui.Messages[0].Caption, "Title");
        EXPECT_EQ(ui.Messages[0].Icon, TMsgIcon::Information);
        ui.FileAnswers.push_back(TFileDialogResult{"/tmp/a.vod", 1});
        TFileDialogOptions options;
        options.InitialDir = "/tmp";
        EXPECT_EQ(userInterface().SaveFile(options)->FileName, "/tmp/a.vod");
        EXPECT_EQ(ui.SaveDialogs.at(0).InitialDir, "/tmp");
    }
    // Gone again: the silent interface answers.
    EXPECT_EQ(userInterface().MessageBox("t", "c", TMsgIcon::None, TMsgButtons::OkCancel), TMsgResult::Cancel);
    setApplicationTitle(QString());
}

TEST(Errors, MessageIsKeptAndReadableAsUtf8)
{
    try {
        throw EConvertError(QStringLiteral("'абв' is not a valid integer value"));
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'абв' is not a valid integer value"));
        EXPECT_STREQ(e.what(), "'абв' is not a valid integer value");
    }
}
