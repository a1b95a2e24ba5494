#pragma once
// Helpers every room's tests share.

#include "base/UserInterface.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// A user interface that records every message and dialog and answers from
// queues the test fills; an empty queue answers as nobody there would
// (unattendedAnswer).
class TRecordingUserInterface final : public TUserInterface {
public:
    struct TMessage {
        QString Text;
        QString Caption;
        TMsgIcon Icon;
        TMsgButtons Buttons;
    };

    TRecordingUserInterface();
    ~TRecordingUserInterface() override;

    TMsgResult MessageBox(const QString &text, const QString &caption, TMsgIcon icon,
                          TMsgButtons buttons) override;
    std::optional<TFileDialogResult> OpenFile(const TFileDialogOptions &options) override;
    std::optional<TFileDialogResult> SaveFile(const TFileDialogOptions &options) override;
    bool OpenDocument(const QString &pathOrUrl) override;
    // Records the caption and answers from PasswordAnswers (cancel when empty).
    std::optional<QString> InputPassword(const QString &caption) override;
    // Records the window's title and lets the next DialogAnswers entry set its
    // controls and give the result (cancel when empty).
    int ExecDialog(QObject *dialog) override;

    // Texts of the messages shown so far, in order.
    QStringList MessageTexts() const;

    std::vector<TMessage> Messages;
    std::vector<TFileDialogOptions> OpenDialogs, SaveDialogs;
    QStringList OpenedDocuments;
    std::deque<TMsgResult> Answers;                         // next message answers
    std::deque<std::optional<TFileDialogResult>> FileAnswers; // next file dialogs answer
    bool OpenDocumentResult = false;
    QStringList PasswordPrompts;                            // captions of the password prompts
    std::deque<std::optional<QString>> PasswordAnswers;     // next password prompts answer
    QStringList DialogCaptions;                             // titles of the own windows run
    std::deque<std::function<int(QObject *)>> DialogAnswers; // next own windows answer

private:
    TUserInterface *FPrevious;
};

// The folder of the source tree (for test data under resources/ or tests/).
QString sourceDir();

// Points the program's printer look-ups (and those of the programs a test
// starts) at a socket nobody listens on, unless a print server was chosen
// already (the printing tests choose the private one of the build folder):
// a test never sees the printers of the machine it runs on.
void keepAwayFromMachinePrinters();
