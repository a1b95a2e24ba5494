#include "AppTestSupport.h"

#include "report/render/SystemFonts.h"

#include <QLineEdit>

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
