#pragma once
// The small progress window shown while a report is prepared with
// old-style progress (or exported or printed): a message line and a Cancel
// button. The engine only talks to this interface; the window itself lives
// with the other windows, which offer it as one of the report's services.

#include <QString>

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
