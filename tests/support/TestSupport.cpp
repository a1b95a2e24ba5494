#include "support/TestSupport.h"

#include <QDir>

TRecordingUserInterface::TRecordingUserInterface() : FPrevious(setUserInterface(this)) {}

TRecordingUserInterface::~TRecordingUserInterface() { setUserInterface(FPrevious); }

TMsgResult TRecordingUserInterface::MessageBox(const QString &text, const QString &caption,
                                               TMsgIcon icon, TMsgButtons buttons)
{
    Messages.push_back({text, caption, icon, buttons});
    if (Answers.empty())
        return unattendedAnswer(buttons);
    const TMsgResult answer = Answers.front();
    Answers.pop_front();
    return answer;
}

std::optional<TFileDialogResult> TRecordingUserInterface::OpenFile(const TFileDialogOptions &options)
{
    OpenDialogs.push_back(options);
    if (FileAnswers.empty())
        return std::nullopt;
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::optional<TFileDialogResult> TRecordingUserInterface::SaveFile(const TFileDialogOptions &options)
{
    SaveDialogs.push_back(options);
    if (FileAnswers.empty())
        return std::nullopt;
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

bool TRecordingUserInterface::OpenDocument(const QString &pathOrUrl)
{
    OpenedDocuments << pathOrUrl;
    return OpenDocumentResult;
}

std::optional<QString> TRecordingUserInterface::InputPassword(const QString &caption)
{
    PasswordPrompts << caption;
    if (PasswordAnswers.empty())
        return std::nullopt;
    auto answer = PasswordAnswers.front();
    PasswordAnswers.pop_front();
    return answer;
}

int TRecordingUserInterface::ExecDialog(QObject *dialog)
{
    DialogCaptions << dialog->property("windowTitle").toString();
    if (DialogAnswers.empty())
        return 0;
    auto answer = std::move(DialogAnswers.front());
    DialogAnswers.pop_front();
    return answer(dialog);
}

QStringList TRecordingUserInterface::MessageTexts() const
{
    QStringList texts;
    for (const TMessage &message : Messages)
        texts << message.Text;
    return texts;
}

QString sourceDir()
{
    const QByteArray dir = qgetenv("RUD_SOURCE_DIR");
    return dir.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(dir);
}

void keepAwayFromMachinePrinters()
{
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        qputenv("CUPS_SERVER", QByteArrayLiteral(RUD_TEST_BINARY_DIR "/cups/no-server.sock"));
}
