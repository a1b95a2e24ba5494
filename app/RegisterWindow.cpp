#include "app/RegisterWindow.h"

#include "app/ErrorBox.h"
#include "app/RegisterDialogs.h"
#include "app/main.h"
#include "base/UserInterface.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QFileInfo>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A date edit whose lowest date stands for "no limit" and shows as empty.
const QDate openDate(2000, 1, 1);

QDate limit(const QDateEdit *Edit) { return Edit->date() == openDate ? QDate() : Edit->date(); }

QDateEdit *dateEdit(QWidget *Parent, const char *Name)
{
    auto *edit = new QDateEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(openDate);
    edit->setSpecialValueText(QStringLiteral("—"));
    edit->setDate(openDate);
    return edit;
}

QPushButton *button(QWidget *Parent, const char *Name, const QString &Caption)
{
    auto *b = new QPushButton(Caption, Parent);
    b->setObjectName(QLatin1String(Name));
    return b;
}

QString blank(const TCertificateRecord &Record)
{
    return (Record.Series + QLatin1Char(' ') + Record.Number).trimmed();
}

} // namespace

void TRegisterModel::SetRecords(QList<TCertificateRecord> Records)
{
    beginResetModel();
    FRecords = std::move(Records);
    endResetModel();
}

int TRegisterModel::rowCount(const QModelIndex &Parent) const { return Parent.isValid() ? 0 : int(FRecords.size()); }
int TRegisterModel::columnCount(const QModelIndex &Parent) const { return Parent.isValid() ? 0 : colCount; }

QVariant TRegisterModel::data(const QModelIndex &Index, int Role) const
{
    if (!Index.isValid() || (Role != Qt::DisplayRole && Role != SortRole))
        return {};
    const TCertificateRecord &r = FRecords[Index.row()];
    const bool display = Role == Qt::DisplayRole;
    switch (Index.column()) {
    case colSeries: return r.Series;
    case colNumber: return r.Number;
    case colState: return recordStateName(r.State);
    case colName: return r.FullName;
    case colIssueDate:
        return display ? QVariant(r.IssueDate.toString(QStringLiteral("dd.MM.yyyy"))) : QVariant(r.IssueDate);
    case colPrinted:
        return display ? QVariant(r.PrintedAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")))
                       : QVariant(r.PrintedAt);
    case colPrinter: return r.Printer;
    case colDuplicate: return r.OriginalId ? QStringLiteral("дубликат") : QString();
    case colReason: return r.VoidReason;
    }
    return {};
}

QVariant TRegisterModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    static const char *const titles[colCount] = {"Серия",     "Номер",     "Состояние", "ФИО",    "Дата выдачи",
                                                 "Напечатано", "Принтер", "Дубликат",  "Причина порчи"};
    if (Orientation == Qt::Horizontal && Role == Qt::DisplayRole && Section >= 0 && Section < colCount)
        return QString::fromUtf8(titles[Section]);
    return QAbstractTableModel::headerData(Section, Orientation, Role);
}

TfmRegister::TfmRegister(TfmMain *Main) : QWidget(Main, Qt::Window), FMain(Main)
{
    setObjectName(QStringLiteral("fmRegister"));
    setWindowTitle(QStringLiteral("Реестр свидетельств"));
    // As designed where the screen holds it; a smaller screen (or a large
    // scale factor) gets the window at the screen's size.
    QSize size(1000, 640);
    if (const QScreen *screen = Main->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);

    SearchE = new QLineEdit(this);
    SearchE->setObjectName(QStringLiteral("SearchE"));
    SearchE->setPlaceholderText(QStringLiteral("ФИО, серия или номер"));
    SearchE->setClearButtonEnabled(true);
    FromE = dateEdit(this, "FromE");
    ToE = dateEdit(this, "ToE");
    StateCB = new QComboBox(this);
    StateCB->setObjectName(QStringLiteral("StateCB"));
    StateCB->addItems({QStringLiteral("Все"), recordStateName(TRecordState::rsIssued),
                       recordStateName(TRecordState::rsSpoiled), QStringLiteral("Дубликаты"),
                       recordStateName(TRecordState::rsPrinted)});

    // Two short rows rather than one long one, so that a small screen (or
    // a large scale factor) still shows every field.
    auto *search = new QHBoxLayout;
    auto *filters = new QHBoxLayout;
    auto addLabelled = [&](QHBoxLayout *Row, const QString &Caption, QWidget *Field, int Stretch = 0) {
        auto *label = new QLabel(Caption, this);
        label->setBuddy(Field);
        Row->addWidget(label);
        Row->addWidget(Field, Stretch);
    };
    addLabelled(search, QStringLiteral("&Поиск:"), SearchE, 1);
    addLabelled(filters, QStringLiteral("Напечатаны &с"), FromE);
    addLabelled(filters, QStringLiteral("п&о"), ToE);
    filters->addSpacing(12);
    addLabelled(filters, QStringLiteral("&Состояние:"), StateCB);
    filters->addStretch(1);

    Records = new TRegisterModel(this);
    Sorted = new QSortFilterProxyModel(this);
    Sorted->setSourceModel(Records);
    Sorted->setSortRole(TRegisterModel::SortRole);
    RecordsView = new QTableView(this);
    RecordsView->setObjectName(QStringLiteral("RecordsView"));
    RecordsView->setModel(Sorted);
    RecordsView->setSortingEnabled(true);
    RecordsView->sortByColumn(-1, Qt::AscendingOrder); // the register's own order until a header is clicked
    RecordsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    RecordsView->setSelectionMode(QAbstractItemView::SingleSelection);
    RecordsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RecordsView->setTabKeyNavigation(false);
    RecordsView->setWordWrap(false);
    // Fixed row heights and column widths: long lists never measure every row.
    RecordsView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    RecordsView->verticalHeader()->hide();
    const int widths[TRegisterModel::colCount] = {60, 70, 80, 240, 90, 120, 100, 80, 160};
    for (int i = 0; i < TRegisterModel::colCount; ++i)
        RecordsView->setColumnWidth(i, widths[i]);
    RecordsView->horizontalHeader()->setStretchLastSection(true);

    Stock = new QStandardItemModel(0, 5, this);
    Stock->setHorizontalHeaderLabels({QStringLiteral("Серия"), QStringLiteral("Получено"), QStringLiteral("Выдано"),
                                      QStringLiteral("Не подтверждено"), QStringLiteral("Испорчено"),
                                      QStringLiteral("Свободно")});
    StockView = new QTableView(this);
    StockView->setObjectName(QStringLiteral("StockView"));
    StockView->setModel(Stock);
    StockView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StockView->setTabKeyNavigation(false);
    StockView->verticalHeader()->hide();
    StockView->horizontalHeader()->setStretchLastSection(true);
    StockView->setMaximumHeight(130);

    OpenB = button(this, "OpenB", QStringLiteral("&Открыть в окне ввода"));
    DuplicateB = button(this, "DuplicateB", QStringLiteral("&Дубликат"));
    VoidB = button(this, "VoidB", QStringLiteral("&Испортить бланк..."));
    ArchiveB = button(this, "ArchiveB", QStringLiteral("PDF из &архива"));
    BlanksB = button(this, "BlanksB", QStringLiteral("Поступление &бланков..."));
    CloseB = button(this, "CloseB", QStringLiteral("&Закрыть"));
    FrdoB = button(this, "FrdoB", QStringLiteral("Выгрузка в &ФИС ФРДО..."));
    FrdoB->setToolTip(QStringLiteral("Выданные свидетельства в файл XLSX для ФИС ФРДО; даты фильтра "
                                     "ограничивают дату выдачи"));
    auto *commands = new QHBoxLayout;
    for (QPushButton *b : {OpenB, DuplicateB, VoidB, ArchiveB})
        commands->addWidget(b);
    commands->addStretch(1);
    auto *stockCommands = new QHBoxLayout;
    stockCommands->addWidget(BlanksB);
    stockCommands->addWidget(FrdoB);
    stockCommands->addStretch(1);
    stockCommands->addWidget(CloseB);

    auto *stockLabel = new QLabel(QStringLiteral("Бланки по с&ериям:"), this);
    stockLabel->setBuddy(StockView);
    auto *rows = new QVBoxLayout(this);
    rows->addLayout(search);
    rows->addLayout(filters);
    rows->addWidget(RecordsView, 1);
    rows->addLayout(commands);
    rows->addWidget(stockLabel);
    rows->addWidget(StockView);
    rows->addLayout(stockCommands);

    auto refresh = [this] { runHandler([this] { Refresh(); }); };
    // Typing reads the list again once the operator pauses: a register on
    // a server is not queried for every key.
    auto *typing = new QTimer(this);
    typing->setSingleShot(true);
    typing->setInterval(250);
    connect(typing, &QTimer::timeout, this, refresh);
    connect(SearchE, &QLineEdit::textChanged, typing, qOverload<>(&QTimer::start));
    connect(FromE, &QDateEdit::dateChanged, this, refresh);
    connect(ToE, &QDateEdit::dateChanged, this, refresh);
    connect(StateCB, &QComboBox::currentIndexChanged, this, refresh);
    connect(OpenB, &QPushButton::clicked, this, [this] { runHandler([this] { OpenSelected(false); }); });
    connect(DuplicateB, &QPushButton::clicked, this, [this] { runHandler([this] { OpenSelected(true); }); });
    connect(VoidB, &QPushButton::clicked, this, [this] { runHandler([this] { VoidBlank(); }); });
    connect(ArchiveB, &QPushButton::clicked, this, [this] { runHandler([this] { OpenArchived(); }); });
    connect(BlanksB, &QPushButton::clicked, this, [this] { runHandler([this] { AddBlanks(); }); });
    connect(CloseB, &QPushButton::clicked, this, &QWidget::close);
    connect(FrdoB, &QPushButton::clicked, this, [this] {
        runHandler([this] { FMain->ExportFrdo(limit(FromE), limit(ToE)); });
    });
    connect(RecordsView, &QTableView::activated, this, [this] { runHandler([this] { OpenSelected(false); }); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    const QList<QWidget *> order{SearchE, FromE, ToE, StateCB, RecordsView, StockView,
                                 OpenB, DuplicateB, VoidB, BlanksB, FrdoB, CloseB};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

TRegisterFilter TfmRegister::Filter() const
{
    TRegisterFilter filter;
    filter.Text = SearchE->text().trimmed();
    filter.From = limit(FromE);
    filter.To = limit(ToE);
    switch (StateCB->currentIndex()) {
    case 1: filter.State = TRecordState::rsIssued; break;
    case 2: filter.State = TRecordState::rsSpoiled; break;
    case 3: filter.DuplicatesOnly = true; break;
    case 4: filter.State = TRecordState::rsPrinted; break;
    default: break;
    }
    return filter;
}

void TfmRegister::Refresh()
{
    TRegister &reg = FMain->Register();
    // A long list leaves the certificates' values in the register: the one
    // record opened reads them then.
    TRegisterFilter filter = Filter();
    filter.WithoutValues = true;
    Records->SetRecords(reg.List(filter));
    Stock->removeRows(0, Stock->rowCount());
    for (const TBlankStock &s : reg.Stock()) {
        QList<QStandardItem *> row;
        row << new QStandardItem(s.Series);
        for (int n : {s.Received, s.Issued, s.Printed, s.Spoiled, s.Free}) {
            auto *item = new QStandardItem(QString::number(n));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row << item;
        }
        Stock->appendRow(row);
    }
    if (!RecordsView->currentIndex().isValid() && Sorted->rowCount() > 0)
        RecordsView->setCurrentIndex(Sorted->index(Sorted->rowCount() - 1, 0));
}

std::optional<TCertificateRecord> TfmRegister::Selected() const
{
    const QModelIndex current = RecordsView->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return Records->Record(Sorted->mapToSource(current).row());
}

void TfmRegister::OpenSelected(bool Duplicate)
{
    const std::optional<TCertificateRecord> selected = Selected();
    if (!selected) {
        userInterface().MessageBox(QStringLiteral("Выберите запись в списке."), windowTitle(), TMsgIcon::Information,
                                   TMsgButtons::Ok);
        return;
    }
    const std::optional<TCertificateRecord> record = FMain->Register().Find(selected->Id);
    if (!record) {
        userInterface().MessageBox(QStringLiteral("Записи %1 больше нет в реестре.").arg(selected->Id), windowTitle(),
                                   TMsgIcon::Information, TMsgButtons::Ok);
        Refresh();
        return;
    }
    if (record->Values.isEmpty()) {
        userInterface().MessageBox(QStringLiteral("Бланк %1 испорчен без свидетельства: открывать нечего.")
                                       .arg(blank(*record)),
                                   windowTitle(), TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    FMain->OpenRecord(*record, Duplicate);
    FMain->raise();
    FMain->activateWindow();
}

void TfmRegister::VoidBlank()
{
    const std::optional<TCertificateRecord> record = Selected();
    TVoidDialog dialog(record ? record->Series : QString(), record ? record->Number : QString(), this);
    if (userInterface().ExecDialog(&dialog) != 1)
        return;
    FMain->Register().Void(dialog.SeriesE->text().trimmed(), dialog.NumberE->text().trimmed(),
                           dialog.ReasonE->text().trimmed());
    Refresh();
}

void TfmRegister::OpenArchived()
{
    const std::optional<TCertificateRecord> record = Selected();
    if (!record || record->ArchivePath.isEmpty()) {
        userInterface().MessageBox(QStringLiteral("У этой записи нет копии в архиве PDF."), windowTitle(),
                                   TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    if (!QFileInfo(record->ArchivePath).isFile() || !userInterface().OpenDocument(record->ArchivePath))
        userInterface().MessageBox(QStringLiteral("Не удалось открыть файл архива:\n%1").arg(record->ArchivePath),
                                   windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
}

void TfmRegister::AddBlanks()
{
    if (askAndAddBlanks(FMain->Register(), this))
        Refresh();
}

bool askAndAddBlanks(TRegister &Register, QWidget *Parent)
{
    TBlanksDialog dialog(Parent);
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    Register.AddBlanks(dialog.SeriesE->text().trimmed(), dialog.FirstE->text().trimmed(),
                       dialog.LastE->text().trimmed());
    return true;
}
