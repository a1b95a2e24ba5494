#pragma once
// The user interface of the running program: real Qt message boxes and file
// dialogs behind the seam of base/UserInterface.h.

#include "base/UserInterface.h"

class QWidget;

// Qt implementation of TUserInterface; dialogs are modal to the active window.
class TQtUserInterface final : public TUserInterface {
public:
    TMsgResult MessageBox(const QString &text, const QString &caption, TMsgIcon icon,
                          TMsgButtons buttons) override;
    std::optional<TFileDialogResult> OpenFile(const TFileDialogOptions &options) override;
    std::optional<TFileDialogResult> SaveFile(const TFileDialogOptions &options) override;
    bool OpenDocument(const QString &pathOrUrl) override;
    // A QInputDialog in password echo mode.
    std::optional<QString> InputPassword(const QString &caption) override;
    // QDialog::exec of the window.
    int ExecDialog(QObject *dialog) override;
};

// Turns a "Description|*.ext|..." filter into Qt's "Description (*.ext);;..." form;
// the returned list holds one Qt filter per pair, in order.
QStringList qtFilterList(const QString &pairs);

// The extension a name typed without one receives, as the desktop's classic
// dialogs do: with a default extension set, the selected filter's own
// extension wins when it names exactly one ("*.vod" -> "vod"); otherwise the
// default extension itself. Empty when no default extension is set.
QString defaultSuffixFor(const QString &qtFilter, const QString &defaultExt);
