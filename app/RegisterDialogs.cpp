#include "app/RegisterDialogs.h"

#include "base/UserInterface.h"
#include "records/Register.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLineEdit *field(QWidget *Parent, const char *Name, const QString &Text = QString())
{
    auto *edit = new QLineEdit(Text, Parent);
    edit->setObjectName(QLatin1String(Name));
    return edit;
}

// OK and Cancel with Russian captions; Enter presses OK, Escape Cancel.
QDialogButtonBox *okCancel(QDialog *Dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, Dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, Dialog, &QDialog::reject);
    return buttons;
}

// OK only while every one of Edits holds something.
void requireAll(QDialogButtonBox *Buttons, const QList<QLineEdit *> &Edits)
{
    auto update = [Buttons, Edits] {
        bool filled = true;
        for (QLineEdit *edit : Edits)
            filled = filled && !edit->text().trimmed().isEmpty();
        Buttons->button(QDialogButtonBox::Ok)->setEnabled(filled);
    };
    for (QLineEdit *edit : Edits)
        QObject::connect(edit, &QLineEdit::textChanged, Buttons, update);
    update();
}

} // namespace

TBlankDialog::TBlankDialog(const QString &Series, const QString &NextFree, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Бланк свидетельства"));
    auto *form = new QFormLayout(this);
    auto *series = new QLabel(Series, this);
    series->setObjectName(QStringLiteral("SeriesL"));
    form->addRow(QStringLiteral("Серия:"), series);
    NumberE = field(this, "NumberE", NextFree);
    auto *label = new QLabel(QStringLiteral("&Номер бланка:"), this);
    label->setBuddy(NumberE);
    form->addRow(label, NumberE);
    auto *hint = new QLabel(QStringLiteral("Следующий свободный номер: %1").arg(NextFree), this);
    form->addRow(hint);
    auto *buttons = okCancel(this);
    requireAll(buttons, {NumberE});
    form->addRow(buttons);
    NumberE->selectAll();
    NumberE->setFocus();
}

QString TBlankDialog::Number() const { return NumberE->text().trimmed(); }

TVoidDialog::TVoidDialog(const QString &Series, const QString &Number, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Испортить бланк"));
    auto *form = new QFormLayout(this);
    SeriesE = field(this, "SeriesE", Series);
    NumberE = field(this, "NumberE", Number);
    ReasonE = field(this, "ReasonE");
    form->addRow(QStringLiteral("&Серия:"), SeriesE);
    form->addRow(QStringLiteral("&Номер:"), NumberE);
    form->addRow(QStringLiteral("&Причина:"), ReasonE);
    FButtons = okCancel(this);
    requireAll(FButtons, {SeriesE, NumberE, ReasonE});
    form->addRow(FButtons);
    (Series.isEmpty() ? SeriesE : Number.isEmpty() ? NumberE : ReasonE)->setFocus();
}

TBlanksDialog::TBlanksDialog(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Поступление бланков"));
    auto *form = new QFormLayout(this);
    SeriesE = field(this, "SeriesE");
    FirstE = field(this, "FirstE");
    LastE = field(this, "LastE");
    form->addRow(QStringLiteral("&Серия:"), SeriesE);
    form->addRow(QStringLiteral("&Первый номер:"), FirstE);
    form->addRow(QStringLiteral("П&оследний номер:"), LastE);
    form->addRow(new QLabel(QStringLiteral("Номера — как напечатаны на бланках, с ведущими нулями."), this));
    FButtons = okCancel(this);
    requireAll(FButtons, {SeriesE, FirstE, LastE});
    form->addRow(FButtons);
}

TRegisterSettingsDialog::TRegisterSettingsDialog(const QString &Location, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Настройки реестра"));
    auto *rows = new QVBoxLayout(this);
    LocationE = field(this, "LocationE", Location);
    LocationE->setMinimumWidth(420);
    LocationE->setPlaceholderText(QStringLiteral("файл по умолчанию"));
    auto *label = new QLabel(QStringLiteral("&Файл реестра или адрес сервера PostgreSQL\n"
                                            "(postgresql://пользователь@сервер:порт/база; пусто — файл по умолчанию):"),
                             this);
    label->setBuddy(LocationE);
    rows->addWidget(label);
    auto *line = new QHBoxLayout;
    line->addWidget(LocationE);
    auto *browse = new QPushButton(QStringLiteral("&Обзор..."), this);
    browse->setObjectName(QStringLiteral("BrowseB"));
    line->addWidget(browse);
    rows->addLayout(line);
    rows->addWidget(okCancel(this));
    connect(browse, &QPushButton::clicked, this, [this] {
        TFileDialogOptions options;
        options.Title = QStringLiteral("Файл реестра");
        options.Filter = QStringLiteral("Реестр (*.sqlite)|*.sqlite|Все файлы|*");
        options.DefaultExt = QStringLiteral("sqlite");
        options.FileName = LocationE->text().startsWith(QLatin1String("postgresql:")) ? QString() : LocationE->text();
        if (const std::optional<TFileDialogResult> chosen = userInterface().SaveFile(options))
            LocationE->setText(chosen->FileName);
    });
}

void checkRegisterLocation(const QString &Location)
{
    if (Location.startsWith(QLatin1String("postgresql:")) && !QUrl(Location).password().isEmpty())
        throw ERegisterError(QStringLiteral("Пароль в настройках не хранится. Уберите его из адреса "
                                            "и укажите в файле ~/.pgpass или в переменной PGPASSWORD."));
}

TArchiveSettingsDialog::TArchiveSettingsDialog(const TArchiveSettings &Settings, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Архив PDF"));
    auto *rows = new QVBoxLayout(this);
    EnabledC = new QCheckBox(QStringLiteral("&Сохранять каждое напечатанное свидетельство в PDF"), this);
    EnabledC->setObjectName(QStringLiteral("EnabledC"));
    EnabledC->setChecked(Settings.Enabled);
    rows->addWidget(EnabledC);
    FolderE = field(this, "FolderE", Settings.Folder);
    FolderE->setMinimumWidth(420);
    FolderE->setPlaceholderText(defaultArchiveFolder());
    FolderE->setEnabled(Settings.Enabled);
    auto *label = new QLabel(QStringLiteral("&Папка архива (пусто — папка по умолчанию; в ней — папки по годам):"), this);
    label->setBuddy(FolderE);
    rows->addWidget(label);
    rows->addWidget(FolderE);
    rows->addWidget(okCancel(this));
    connect(EnabledC, &QCheckBox::toggled, FolderE, &QWidget::setEnabled);
}

TArchiveSettings TArchiveSettingsDialog::Result() const
{
    return TArchiveSettings{EnabledC->isChecked(), FolderE->text().trimmed()};
}
