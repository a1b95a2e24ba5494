#include "AppTestSupport.h"

#include "report/render/SystemFonts.h"

#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"

#include <QLineEdit>
#include <QTimer>

TShownMainWindow::TShownMainWindow() : Settings(russianFormatSettings())
{
    registerSystemFonts();
    Window = std::make_unique<TfmMain>();
    Window->show();
    Window->activateWindow();
    Active = QTest::qWaitForWindowActive(Window.get());
}

TShownMainWindow::~TShownMainWindow() { Window.reset(); }

void TShownMainWindow::TypeAndLeave(QWidget *control, const QString &text, bool clearFirst)
{
    control->setFocus(Qt::MouseFocusReason);
    if (clearFirst)
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->clear();
    QTest::keyClicks(control, text);
    QTest::keyClick(control, Qt::Key_Tab);
}

bool whenPrepared(const std::function<void(TfrxPreviewForm &)> &Inspect, const std::function<void()> &Start)
{
    bool inspected = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TfrxPreviewForm *>(QApplication::activeModalWidget());
        if (!form || form->Preview()->Running() || form->Preview()->PageCount() == 0)
            return;
        poll.stop();
        Inspect(*form);
        inspected = true;
        form->close();
    });
    poll.start();
    Start();
    return inspected;
}
