#include "support/TestSupport.h"

#include <QDir>

namespace {

// The next answer of Queue, taken off it; none when it is empty. The value
// is moved out of an answer known to hold one: copying the optional itself
// makes GCC's optimiser warn that its text may be used uninitialised.
template <class T> std::optional<T> takeAnswer(std::deque<std::optional<T>> &Queue)
{
    if (Queue.empty())
        return std::nullopt;
    const bool given = Queue.front().has_value();
    T value = given ? std::move(*Queue.front()) : T();
    Queue.pop_front();
    if (!given)
        return std::nullopt;
    return value;
}

} // namespace

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
    return takeAnswer(FileAnswers);
}

std::optional<TFileDialogResult> TRecordingUserInterface::SaveFile(const TFileDialogOptions &options)
{
    SaveDialogs.push_back(options);
    return takeAnswer(FileAnswers);
}

bool TRecordingUserInterface::OpenDocument(const QString &pathOrUrl)
{
    OpenedDocuments << pathOrUrl;
    return OpenDocumentResult;
}

std::optional<QString> TRecordingUserInterface::InputPassword(const QString &caption)
{
    PasswordPrompts << caption;
    return takeAnswer(PasswordAnswers);
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
