#include "app/main.h"

#include "app/ErrorBox.h"
#include "app/PrintRecorder.h"
#include "app/RegisterWindow.h"
#include "app/TemplateLocation.h"
#include "base/DateTime.h"
#include "base/Errors.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>

// The booklet area's scroll position as the window was designed: the fields
// of both pages are in view, from the left page's lines to the grade column.
static constexpr int storedScrollX = 129, storedScrollY = 5;

void throwMissingComponent(const QString &name)
{
    throw EGeneralError(QStringLiteral("Component '%1' not found").arg(name));
}

TfmMain::TfmMain(QWidget *parent)
    : QMainWindow(parent), TemplateFolder(userTemplateFolder()), ShippedTemplate(shippedTemplatePath())
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Свидетельство о профессии водителя (книжка А5 с протоколом)"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    move(0, 0);

    CreateMenu();
    CreateRegisterMenu();
    CreateRegions();
    CreateLeftPage();
    CreateRightPage();
    CreatePanels();
    CreateComponents();
    ConnectHandlers();
    resize(DesignedClientWidth, DesignedClientHeight + MainMenu1->sizeHint().height());
    FitToScreen();
    FormCreate();
    // Typing goes straight into the first field.
    Edit_1->setFocus();
}

TfmMain::~TfmMain() = default;

QObject *TfmMain::FindComponent(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    const QList<QObject *> all = findChildren<QObject *>();
    for (QObject *object : all) {
        if (object->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return object;
    }
    return nullptr;
}

void TfmMain::FormCreate()
{
    const TDateTime today = Date();
    for (int i = 1; i <= 4; ++i)
        Component<TDateTimePicker>(QStringLiteral("DateTimePicker%1").arg(i))->SetDate(today);
}

void TfmMain::N4Click() { close(); }
void TfmMain::BitBtn1Click() { close(); }
void TfmMain::Button1Click() { N7->trigger(); }
void TfmMain::Button2Click() { N6->trigger(); }

void TfmMain::Handle(void (TfmMain::*handler)())
{
    runHandler([this, handler] { (this->*handler)(); });
}

void TfmMain::ConnectHandlers()
{
    connect(Edit_8, &QLineEdit::textChanged, this, [this] { Handle(&TfmMain::Edit_8Change); });
    for (int i = 1; i <= 10; ++i)
        Component<TEdit>(QStringLiteral("edt_%1").arg(i))->installEventFilter(this);

    connect(N10, &QAction::triggered, this, [this] { Handle(&TfmMain::N10Click); });
    connect(N2, &QAction::triggered, this, [this] { Handle(&TfmMain::N2Click); });
    connect(N3, &QAction::triggered, this, [this] { Handle(&TfmMain::N3Click); });
    connect(N4, &QAction::triggered, this, [this] { Handle(&TfmMain::N4Click); });
    connect(N6, &QAction::triggered, this, [this] { Handle(&TfmMain::N6Click); });
    connect(N7, &QAction::triggered, this, [this] { Handle(&TfmMain::N7Click); });
    connect(N11, &QAction::triggered, this, [this] { Handle(&TfmMain::Button3Click); });
    connect(Button3, &QPushButton::clicked, this, [this] { Handle(&TfmMain::Button3Click); });
    connect(Button1, &QPushButton::clicked, this, [this] { Handle(&TfmMain::Button1Click); });
    connect(Button2, &QPushButton::clicked, this, [this] { Handle(&TfmMain::Button2Click); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { Handle(&TfmMain::BitBtn1Click); });

    // BitBtn2 is the window's cancel button: Escape presses it. An open
    // drop-down list or calendar is a popup of its own and takes Escape first.
    auto *cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancel->setContext(Qt::WindowShortcut);
    connect(cancel, &QShortcut::activated, BitBtn2, &QPushButton::click);
}

void TfmMain::FitToScreen()
{
    // Where the screen's free area (without panels and docks) holds the
    // designed window, it keeps its designed size and place. Otherwise it
    // takes that area: maximized, so that a window manager fits its frame
    // in too, and sized to it for a desktop without one. The booklet area
    // then scrolls and the bottom panels rearrange their controls.
    const QScreen *own = screen();
    if (!own)
        return;
    const QRect available = own->availableGeometry();
    if (available.width() >= width() && available.height() >= height())
        return;
    setGeometry(available);
    setWindowState(Qt::WindowMaximized);
}

bool TfmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving an hours cell for another control of the window. Switching to
    // another window, opening a menu or a message box, or closing is no exit.
    if (event->type() == QEvent::FocusOut && !FClosing && isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Handle(&TfmMain::edt_1Change);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!FScrolledToStart) {
        FScrolledToStart = true;
        ScrollBox1->horizontalScrollBar()->setValue(storedScrollX);
        ScrollBox1->verticalScrollBar()->setValue(storedScrollY);
    }
}

void TfmMain::closeEvent(QCloseEvent *event)
{
    // Closing never asks: nothing is saved and nothing is checked.
    FClosing = true;
    event->accept();
    QMainWindow::closeEvent(event);
}
