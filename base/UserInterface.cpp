#include "base/UserInterface.h"

namespace {

class TSilentUserInterface final : public TUserInterface {
public:
    TMsgResult MessageBox(const QString &, const QString &, TMsgIcon, TMsgButtons buttons) override
    {
        return buttons == TMsgButtons::Ok ? TMsgResult::Ok
               : buttons == TMsgButtons::YesNo ? TMsgResult::No
                                               : TMsgResult::Cancel;
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
