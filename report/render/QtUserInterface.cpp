#include "report/render/QtUserInterface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

QStringList qtFilterList(const QString &pairs)
{
    QStringList result;
    const QStringList parts = pairs.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description often carries its pattern already ("Report (*.fr3)");
        // Qt reads the pattern from the parentheses, so add them only when absent.
        if (parts[i].contains(QLatin1Char('(')))
            result << parts[i];
        else
            result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

QString defaultSuffixFor(const QString &qtFilter, const QString &defaultExt)
{
    if (defaultExt.isEmpty())
        return QString();
    const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = qtFilter.lastIndexOf(QLatin1Char(')'));
    const QString patterns = open >= 0 && close > open ? qtFilter.mid(open + 1, close - open - 1) : qtFilter;
    const QStringList list = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (list.size() == 1 && list[0].startsWith(QLatin1String("*."))) {
        const QString ext = list[0].mid(2);
        if (!ext.isEmpty() && !ext.contains(QLatin1Char('*')) && !ext.contains(QLatin1Char('?')))
            return ext;
    }
    return defaultExt;
}

TMsgResult TQtUserInterface::MessageBox(const QString &text, const QString &caption, TMsgIcon icon,
                                        TMsgButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(caption);
    switch (icon) {
    case TMsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return TMsgResult::Ok;
    case QMessageBox::Yes: return TMsgResult::Yes;
    case QMessageBox::No: return TMsgResult::No;
    default: return TMsgResult::Cancel;
    }
}

namespace {

std::optional<TFileDialogResult> runFileDialog(const TFileDialogOptions &options, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!options.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qtFilterList(options.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, options.FilterIndex, int(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!options.DefaultExt.isEmpty()) {
        const auto applySuffix = [&dialog, &options](const QString &filter) {
            dialog.setDefaultSuffix(defaultSuffixFor(filter, options.DefaultExt));
        };
        applySuffix(filters.isEmpty() ? QString() : dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, applySuffix);
    }
    if (!options.FileName.isEmpty())
        dialog.selectFile(options.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    TFileDialogResult result;
    result.FileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    result.FilterIndex = filters.isEmpty() ? 1 : int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return result;
}

} // namespace

std::optional<TFileDialogResult> TQtUserInterface::OpenFile(const TFileDialogOptions &options)
{
    return runFileDialog(options, false);
}

std::optional<TFileDialogResult> TQtUserInterface::SaveFile(const TFileDialogOptions &options)
{
    return runFileDialog(options, true);
}

bool TQtUserInterface::OpenDocument(const QString &pathOrUrl)
{
    const QUrl url = QUrl::fromUserInput(pathOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}

std::optional<QString> TQtUserInterface::InputPassword(const QString &caption)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(caption);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

namespace {

// Ends an event loop when the watched window is hidden (closed).
class THideWatcher : public QObject {
public:
    explicit THideWatcher(QEventLoop &Loop) : FLoop(Loop) {}
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() == QEvent::Hide)
            FLoop.quit();
        return QObject::eventFilter(Watched, Event);
    }

private:
    QEventLoop &FLoop;
};

} // namespace

int TQtUserInterface::ExecDialog(QObject *dialog)
{
    if (auto *window = qobject_cast<QDialog *>(dialog))
        return window->exec();
    // A main window shown modally: the call returns when it is closed.
    auto *widget = qobject_cast<QWidget *>(dialog);
    if (!widget)
        return 0;
    QEventLoop loop;
    THideWatcher watcher(loop);
    widget->installEventFilter(&watcher);
    if (widget->windowModality() == Qt::NonModal)
        widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    if (widget->isVisible())
        loop.exec(QEventLoop::DialogExec);
    widget->removeEventFilter(&watcher);
    return 1;
}
