#include "base/UserInterface.h"

#include <QTextStream>

namespace {

class TSilentUserInterface final : public TUserInterface {
public:
    TMsgResult MessageBox(const QString &, const QString &, TMsgIcon, TMsgButtons buttons) override
    {
        return unattendedAnswer(buttons);
    }
    std::optional<TFileDialogResult> OpenFile(const TFileDialogOptions &) override { return std::nullopt; }
    std::optional<TFileDialogResult> SaveFile(const TFileDialogOptions &) override { return std::nullopt; }
    bool OpenDocument(const QString &) override { return false; }
};

TSilentUserInterface silentUi;
TUserInterface *currentUi = nullptr;
QString appTitle;

} // namespace

std::optional<QString> TUserInterface::InputPassword(const QString &)
{
    return std::nullopt;
}

int TUserInterface::ExecDialog(QObject *)
{
    return 0;
}

TMsgResult unattendedAnswer(TMsgButtons buttons)
{
    switch (buttons) {
    case TMsgButtons::Ok: return TMsgResult::Ok;
    case TMsgButtons::YesNo: return TMsgResult::No;
    case TMsgButtons::OkCancel:
    case TMsgButtons::YesNoCancel: break;
    }
    return TMsgResult::Cancel;
}

TConsoleUserInterface::TConsoleUserInterface(std::FILE *stream, const QString &prefix)
    : FStream(stream), FPrefix(prefix), FPrevious(setUserInterface(this))
{
}

TConsoleUserInterface::~TConsoleUserInterface() { setUserInterface(FPrevious); }

TMsgResult TConsoleUserInterface::MessageBox(const QString &text, const QString &, TMsgIcon, TMsgButtons buttons)
{
    QTextStream out(FStream);
    out << FPrefix << text << '\n';
    out.flush();
    ++FShown;
    return unattendedAnswer(buttons);
}

std::optional<TFileDialogResult> TConsoleUserInterface::OpenFile(const TFileDialogOptions &) { return std::nullopt; }

std::optional<TFileDialogResult> TConsoleUserInterface::SaveFile(const TFileDialogOptions &) { return std::nullopt; }

bool TConsoleUserInterface::OpenDocument(const QString &) { return false; }

TUserInterface &userInterface() { return currentUi ? *currentUi : silentUi; }

TUserInterface *setUserInterface(TUserInterface *ui)
{
    TUserInterface *previous = currentUi;
    currentUi = ui;
    return previous;
}

QString applicationTitle() { return appTitle; }
void setApplicationTitle(const QString &title) { appTitle = title; }

void showMessage(const QString &text)
{
    userInterface().MessageBox(text, applicationTitle(), TMsgIcon::Information, TMsgButtons::Ok);
}
