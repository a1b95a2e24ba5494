#pragma once
// The one seam through which the system talks to the person at the screen:
// modal messages, questions, file choices, opening a document. The program
// installs an implementation with Qt dialogs; tests install one that records
// what was shown and answers as told, so no test ever blocks on a window.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// The icon a modal message carries.
enum class TMsgIcon { None, Information, Warning, Error, Question };
// The buttons a modal message offers.
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The button that closed a modal message.
enum class TMsgResult { Ok, Cancel, Yes, No };

// What a file-open or file-save dialog is asked to show.
struct TFileDialogOptions {
    QString Title;          // empty: the platform's own title
    QString InitialDir;     // empty: the platform's choice
    QString FileName;       // proposed name
    QString Filter;         // "Description|*.ext|Description2|*.e2" pairs; empty: no filter
    int FilterIndex = 1;    // 1-based entry preselected
    QString DefaultExt;     // added to a name typed without an extension
    bool OverwritePrompt = false;
};

// Answer of a file dialog: the chosen full path and the 1-based filter entry.
struct TFileDialogResult {
    QString FileName;
    int FilterIndex = 1;
};

// Abstract user interface; see the file comment.
class TUserInterface {
public:
    virtual ~TUserInterface() = default;
    // A modal message box; returns the button pressed.
    virtual TMsgResult MessageBox(const QString &text, const QString &caption, TMsgIcon icon,
                                  TMsgButtons buttons) = 0;
    // A file-open dialog; nothing when cancelled.
    virtual std::optional<TFileDialogResult> OpenFile(const TFileDialogOptions &options) = 0;
    // A file-save dialog; nothing when cancelled.
    virtual std::optional<TFileDialogResult> SaveFile(const TFileDialogOptions &options) = 0;
    // Hands a file or address to the desktop's default handler; false when none took it.
    virtual bool OpenDocument(const QString &pathOrUrl) = 0;
    // A modal prompt for a password (typed text hidden) under caption; the
    // text entered, or nothing when cancelled. The default cancels.
    virtual std::optional<QString> InputPassword(const QString &caption);
    // Runs one of the system's own modal windows (a QDialog) and returns its
    // result code (1 accepted, 0 cancelled). Tests answer it by setting the
    // window's controls instead of showing it. The default cancels.
    virtual int ExecDialog(QObject *dialog);
};

// The answer to a message nobody is there to answer: OK where OK is the
// only button, otherwise the refusal (No to a yes/no question, else Cancel).
// Every interface without a person (silent, console, a test's empty queue)
// answers so.
TMsgResult unattendedAnswer(TMsgButtons buttons);

// The user interface of a run without windows, installed while it lives:
// each message is written as one line (after Prefix) to Stream, answered by
// unattendedAnswer; file dialogs and prompts are cancelled.
class TConsoleUserInterface final : public TUserInterface {
public:
    explicit TConsoleUserInterface(std::FILE *stream = stderr, const QString &prefix = QString());
    ~TConsoleUserInterface() override;
    TConsoleUserInterface(const TConsoleUserInterface &) = delete;
    TConsoleUserInterface &operator=(const TConsoleUserInterface &) = delete;

    TMsgResult MessageBox(const QString &text, const QString &caption, TMsgIcon icon,
                          TMsgButtons buttons) override;
    std::optional<TFileDialogResult> OpenFile(const TFileDialogOptions &options) override;
    std::optional<TFileDialogResult> SaveFile(const TFileDialogOptions &options) override;
    bool OpenDocument(const QString &pathOrUrl) override;
    // Number of messages written so far.
    int Shown() const { return FShown; }

private:
    std::FILE *FStream;
    QString FPrefix;
    int FShown = 0;
    TUserInterface *FPrevious;
};

// The installed user interface. Before any is installed, a silent one that
// answers Cancel/No, chooses no file and cancels every prompt serves, so
// nothing ever blocks.
TUserInterface &userInterface();
// Installs ui (not owned; nullptr restores the silent one); returns the previous one.
TUserInterface *setUserInterface(TUserInterface *ui);

// The application's caption used for messages that have none of their own.
QString applicationTitle();
void setApplicationTitle(const QString &title);

// ShowMessage of the runtime: an information box with OK and the application's title.
void showMessage(const QString &text);
