#pragma once
// The small progress window shown while a report is prepared with
// old-style progress (or exported or printed): a message line and a Cancel
// button. The engine only talks to this interface; the window itself lives
// with the other windows and is installed at start-up.

#include <QString>
#include <functional>
#include <memory>

// A shown progress window.
class TfrxProgressWindow {
public:
    virtual ~TfrxProgressWindow() = default;
    // Shows the window (not modal) with its caption.
    virtual void Show(const QString &Caption) = 0;
    virtual void SetMessage(const QString &Text) = 0;
    // True once the user pressed Cancel.
    virtual bool Terminated() const = 0;
};

// Makes a new progress window, or nullptr when none can be shown.
using TfrxProgressWindowFactory = std::function<std::unique_ptr<TfrxProgressWindow>()>;

// Installs the factory (the window room does at start-up; tests may install
// a recording one). Without one no progress window is shown.
void rudSetProgressWindowFactory(TfrxProgressWindowFactory Factory);
// A new window from the installed factory, or nullptr.
std::unique_ptr<TfrxProgressWindow> rudCreateProgressWindow();
