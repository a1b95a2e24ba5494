// Building the entry window's controls: names, places, sizes, fonts, limits
// and item lists. Booklet positions are in the booklet area's own pixels: x
// from the left edge of the left page, y from the top of the pages.

#include "app/main.h"

#include "app/CalibrationDialog.h"

#include "app/ErrorBox.h"
#include "app/PanelLayout.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "report/model/rudPngImage.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace {

// Width of the left page as shown (the page picture is two pixels wider) and
// the booklet area's extent: the right page runs from x 698 for 697 pixels.
constexpr int leftPageShown = 698, rightPageWidth = 697, bookletHeight = 515;
// The bottom panels' designed heights.
constexpr int panel1Height = 66, panel2Height = 52;

QFont tahoma(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

template <class T> T *place(T *control, const char *name, int x, int y, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, width, height);
    return control;
}

TEdit *edit(QWidget *parent, const char *name, QRect box, const QFont &font,
            Qt::Alignment alignment = Qt::AlignHCenter, int maxLength = 0)
{
    auto *control = place(new TEdit(parent), name, box.x(), box.y(), box.width(), box.height());
    control->setFont(font);
    control->setAlignment(alignment | Qt::AlignVCenter);
    control->SetMaxLength(maxLength);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Text, Qt::black);
    control->setPalette(palette);
    return control;
}

QComboBox *dropDownList(QWidget *parent, const char *name, QRect box, const QFont &font,
                        const QStringList &items)
{
    auto *control = place(new QComboBox(parent), name, box.x(), box.y(), box.width(), box.height());
    control->setFont(font);
    control->setEditable(false);
    control->addItems(items);
    control->setCurrentIndex(-1);
    return control;
}

// The booklet page pictures are compiled in as PNG streams.
QPixmap bookletPicture(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\".").arg(resource));
    return QPixmap::fromImage(rudDecodePng(file.readAll()));
}

// A booklet page that decodes its picture when it is first shown: the
// print and PDF commands build the window without ever showing it.
class TBookletPicture final : public QLabel {
public:
    TBookletPicture(QWidget *parent, const QString &resource) : QLabel(parent), FResource(resource) {}

protected:
    void showEvent(QShowEvent *event) override
    {
        if (!FResource.isEmpty()) {
            const QString resource = std::exchange(FResource, QString());
            runHandler([&] { setPixmap(bookletPicture(resource)); });
        }
        QLabel::showEvent(event);
    }

private:
    QString FResource; // empty once decoded
};

QLabel *picture(QWidget *parent, const char *name, int x, int width, const QString &resource)
{
    auto *image = place(new TBookletPicture(parent, resource), name, x, 0, width, bookletHeight);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

QLabel *categoryMirror(QWidget *parent, const char *name, int x, int y)
{
    auto *label = place(new QLabel(parent), name, x, y, 0, 0);
    label->setFont(tahoma(12, true));
    label->setAlignment(Qt::AlignCenter);
    label->adjustSize();
    return label;
}

QPushButton *button(QWidget *parent, const char *name, QRect box, const QString &caption)
{
    auto *control = place(new QPushButton(caption, parent), name, box.x(), box.y(), box.width(),
                          box.height());
    control->setFont(tahoma(13, true));
    // Enter presses a button that has the focus, as Space does.
    control->setAutoDefault(true);
    return control;
}

// A bottom panel; its layout (TPanelLayout) gives its height: one designed
// row where the window is as wide as designed, more where it is narrower.
QFrame *panel(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

} // namespace

static void initBookletResources() { Q_INIT_RESOURCE(booklet); }

void TfmMain::CreateMenu()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    N1 = MainMenu1->addMenu(QStringLiteral("Файл"));
    N1->setObjectName(QStringLiteral("N1"));
    N10 = N1->addAction(QStringLiteral("Открыть"));
    N10->setObjectName(QStringLiteral("N10"));
    N2 = N1->addAction(QStringLiteral("Сохранить как..."));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = N1->addAction(QStringLiteral("Сохранить"));
    N3->setObjectName(QStringLiteral("N3"));
    N3->setEnabled(false); // until a certificate file has been opened
    N4 = N1->addAction(QStringLiteral("Выход"));
    N4->setObjectName(QStringLiteral("N4"));
    N5 = MainMenu1->addMenu(QStringLiteral("Печать"));
    N5->setObjectName(QStringLiteral("N5"));
    N6 = N5->addAction(QStringLiteral("Очистить форму"));
    N6->setObjectName(QStringLiteral("N6"));
    N7 = N5->addAction(QStringLiteral("Печать свидетельства"));
    N7->setObjectName(QStringLiteral("N7"));
    N5->addSeparator();
    N11 = N5->addAction(QStringLiteral("Настройка шаблона печати"));
    N11->setObjectName(QStringLiteral("N11"));
    // No edit or picker of the window uses Ctrl+T.
    N11->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    addCalibrationCommand(*this, N5);
}

void TfmMain::CreateRegions()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto *rows = new QVBoxLayout(client);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    ScrollBox1 = new QScrollArea(client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    // The booklet area is no tab stop of its own: focus goes to its fields,
    // and the area scrolls to show the one that has it.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    Splitter1 = new QFrame(client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setFixedWidth(3);
    Splitter1->setCursor(Qt::SplitHCursor);
    top->addWidget(ScrollBox1, 1);
    top->addWidget(Splitter1);
    rows->addLayout(top, 1);

    Panel1 = panel(client, "Panel1");
    Panel2 = panel(client, "Panel2");
    rows->addWidget(Panel1);
    rows->addWidget(Panel2);
    setCentralWidget(client);

    Booklet = new QWidget;
    Booklet->setObjectName(QStringLiteral("Booklet"));
    Booklet->resize(leftPageShown + rightPageWidth, bookletHeight);
    ScrollBox1->setWidget(Booklet);

    initBookletResources();
    Image4 = picture(Booklet, "Image4", 0, leftPageShown, QStringLiteral(":/booklet/left.png"));
    Image1 = picture(Booklet, "Image1", leftPageShown, rightPageWidth,
                     QStringLiteral(":/booklet/right.png"));
}

void TfmMain::CreateLeftPage()
{
    QWidget *b = Booklet;
    const TDateTime created = Now(); // one time of day shared by all four pickers
    Edit_1 = edit(b, "Edit_1", {16, 24, 657, 22}, tahoma(12));
    Edit_2 = edit(b, "Edit_2", {16, 54, 657, 22}, tahoma(12));
    Edit_3 = edit(b, "Edit_3", {164, 88, 365, 22}, tahoma(12));
    Edit_4 = edit(b, "Edit_4", {80, 191, 81, 21}, tahoma(11, true), Qt::AlignLeft, 4);
    Edit_5 = edit(b, "Edit_5", {16, 237, 657, 24}, tahoma(13));
    // Beside the blank's number, on a free part of the page: the window is
    // printing a duplicate (empty otherwise).
    DuplicateLabel = place(new QLabel(b), "DuplicateLabel", 260, 191, 413, 21);
    DuplicateLabel->setFont(tahoma(12, true));
    DuplicateLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    DateTimePicker1 = place(new TDateTimePicker(created, b), "DateTimePicker1", 48, 275, 297, 21);
    DateTimePicker2 = place(new TDateTimePicker(created, b), "DateTimePicker2", 376, 275, 297, 21);
    Edit_6 = edit(b, "Edit_6", {16, 350, 657, 22}, tahoma(12));
    Edit_7 = edit(b, "Edit_7", {244, 402, 429, 21}, tahoma(11));
    Edit_8 = edit(b, "Edit_8", {244, 429, 101, 21}, tahoma(11, true));
    Edit_10 = edit(b, "Edit_10", {328, 456, 110, 21}, tahoma(11), Qt::AlignLeft);
    DateTimePicker4 = place(new TDateTimePicker(created, b), "DateTimePicker4", 35, 485, 342, 21);
    DateTimePicker3 = new TDateTimePicker(created); // placed on Panel1
}

void TfmMain::CreateRightPage()
{
    QWidget *b = Booklet;
    // Rows of the subject table: y of the hours cell and of the grade box.
    static const struct {
        const char *Hours, *Grade;
        int HoursY, GradeY;
    } rows[10] = {
        {"edt_1", "cmb_1", 55, 55},     {"edt_2", "cmb_2", 82, 81},    {"edt_3", "cmb_3", 109, 109},
        {"edt_4", "cmb_4", 136, 137},   {"edt_5", "cmb_5", 198, 200},  {"edt_6", "cmb_6", 248, 248},
        {"edt_7", "cmb_7", 295, 295},   {"edt_8", "cmb_8", 369, 371},  {"edt_9", "cmb_9", 419, 421},
        {"edt_10", "cmb_10", 458, 459},
    };
    TEdit **hours[10] = {&edt_1, &edt_2, &edt_3, &edt_4, &edt_5, &edt_6, &edt_7, &edt_8, &edt_9, &edt_10};
    QComboBox **grades[10] = {&cmb_1, &cmb_2, &cmb_3, &cmb_4, &cmb_5,
                              &cmb_6, &cmb_7, &cmb_8, &cmb_9, &cmb_10};
    for (int i = 0; i < 10; ++i) {
        *hours[i] = edit(b, rows[i].Hours, {1216, rows[i].HoursY, 51, 21}, tahoma(11), Qt::AlignHCenter, 5);
        (*hours[i])->setText(QStringLiteral("0"));
        *grades[i] = dropDownList(b, rows[i].Grade, {1299, rows[i].GradeY, 86, 19}, tahoma(9),
                                  certificateGradeTexts(i));
    }
    edt_11 = edit(b, "edt_11", {1216, 486, 51, 21}, tahoma(11), Qt::AlignHCenter, 6);
    edt_11->setText(QStringLiteral("0"));
    edt_11->setEnabled(false); // shows the sum; the operator cannot type into it

    Label1 = categoryMirror(b, "Label1", 904, 213);
    Label2 = categoryMirror(b, "Label2", 833, 260);
    Label3 = categoryMirror(b, "Label3", 1138, 289);
    cmb_kpp = dropDownList(b, "cmb_kpp", {721, 307, 224, 19}, tahoma(9, true),
                           certificateTransmissionTexts());
}

void TfmMain::CreatePanels()
{
    Label4 = place(new QLabel(QStringLiteral("Дата выдачи свидетельства:"), Panel1), "Label4", 18, 24, 0, 0);
    Label4->setFont(tahoma(13, true));
    Label4->adjustSize();
    DateTimePicker3->setParent(Panel1);
    place(DateTimePicker3, "DateTimePicker3", 221, 22, 205, 21);
    Label5 = place(new QLabel(QStringLiteral("Руководитель ОУ:"), Panel1), "Label5", 469, 24, 0, 0);
    Label5->setFont(tahoma(13, true));
    Label5->adjustSize();
    Edit_9 = edit(Panel1, "Edit_9", {597, 22, 205, 21}, tahoma(11));
    Button3 = button(Panel1, "Button3", {906, 12, 238, 40}, QStringLiteral("Настройка шаблона печати"));

    Button1 = button(Panel2, "Button1", {787, 6, 154, 40}, QStringLiteral("ПЕЧАТЬ"));
    Button2 = button(Panel2, "Button2", {947, 6, 155, 40}, QStringLiteral("ОЧИСТИТЬ"));
    BitBtn2 = button(Panel2, "BitBtn2", {1108, 6, 161, 40}, QStringLiteral("Выход"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    auto *dateAndHead = new TPanelLayout(Panel1, DesignedClientWidth, panel1Height);
    dateAndHead->AddControl(Label4, true);
    dateAndHead->AddControl(DateTimePicker3);
    dateAndHead->AddControl(Label5, true);
    dateAndHead->AddControl(Edit_9);
    dateAndHead->AddControl(Button3);
    auto *commands = new TPanelLayout(Panel2, DesignedClientWidth, panel2Height);
    commands->AddControl(Button1);
    commands->AddControl(Button2);
    commands->AddControl(BitBtn2);
}
