#include "app/ErrorBox.h"

#include "base/Errors.h"
#include "base/UserInterface.h"

void showException(const Exception &error)
{
    userInterface().MessageBox(error.Message(), applicationTitle(), TMsgIcon::Error, TMsgButtons::Ok);
}

void showException(const std::exception &error)
{
    userInterface().MessageBox(QString::fromUtf8(error.what()), applicationTitle(), TMsgIcon::Error,
                               TMsgButtons::Ok);
}

void runHandler(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const Exception &error) {
        showException(error);
    } catch (const std::exception &error) {
        showException(error);
    }
}
