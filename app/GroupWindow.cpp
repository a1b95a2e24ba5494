#include "app/GroupWindow.h"

#include "app/FitDialog.h"
#include "app/main.h"
#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString numbered(const char *prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

const QString DateFormat = QStringLiteral("dd.MM.yyyy");

QPushButton *button(QWidget *Parent, const char *Name, const QString &Caption)
{
    auto *b = new QPushButton(Caption, Parent);
    b->setObjectName(QLatin1String(Name));
    return b;
}

// A cell edited by choosing one of Texts (a grade of the entry window's
// list, a sex); the empty choice clears it.
class TChoiceDelegate final : public QStyledItemDelegate {
public:
    TChoiceDelegate(const QStringList &Texts, QObject *Parent) : QStyledItemDelegate(Parent), FTexts(Texts) {}
    QWidget *createEditor(QWidget *Parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *box = new QComboBox(Parent);
        box->addItems(FTexts);
        return box;
    }
    void setEditorData(QWidget *Editor, const QModelIndex &Index) const override
    {
        auto *box = static_cast<QComboBox *>(Editor);
        box->setCurrentIndex(qMax(0, box->findText(Index.data().toString())));
    }
    void setModelData(QWidget *Editor, QAbstractItemModel *Model, const QModelIndex &Index) const override
    {
        Model->setData(Index, static_cast<QComboBox *>(Editor)->currentText());
    }

private:
    QStringList FTexts;
};

QString dateText(const QDate &Date) { return Date.isValid() ? Date.toString(DateFormat) : QString(); }

} // namespace

TGroupCheckDialog::TGroupCheckDialog(const QList<TCertificateRecord> &Records, QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(QStringLiteral("Проверка напечатанных свидетельств"));
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(QStringLiteral("Снимите отметку с бланков, испорченных при печати: они будут списаны,\n"
                                           "а свидетельства напечатаны снова на следующих свободных бланках."),
                            this);
    layout->addWidget(hint);
    ListT = new QTableWidget(int(Records.size()), 3, this);
    ListT->setObjectName(QStringLiteral("ListT"));
    ListT->setHorizontalHeaderLabels({QStringLiteral("Годен"), QStringLiteral("Бланк"), QStringLiteral("ФИО")});
    ListT->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListT->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < Records.size(); ++i) {
        auto *good = new QTableWidgetItem;
        good->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        good->setCheckState(Qt::Checked);
        ListT->setItem(i, 0, good);
        ListT->setItem(i, 1, new QTableWidgetItem((Records[i].Series + QLatin1Char(' ') + Records[i].Number).trimmed()));
        ListT->setItem(i, 2, new QTableWidgetItem(Records[i].FullName));
    }
    ListT->horizontalHeader()->setStretchLastSection(true);
    ListT->resizeColumnsToContents();
    layout->addWidget(ListT);
    auto *form = new QFormLayout;
    ReasonE = new QLineEdit(QStringLiteral("Испорчен при печати"), this);
    ReasonE->setObjectName(QStringLiteral("ReasonE"));
    auto *reason = new QLabel(QStringLiteral("&Причина списания:"), this);
    reason->setBuddy(ReasonE);
    form->addRow(reason, ReasonE);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Подтвердить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Решить позже"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!Spoiled().isEmpty() && ReasonE->text().trimmed().isEmpty()) {
            ReasonE->setFocus();
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // The space bar ticks and unticks the current row.
    ListT->setCurrentCell(0, 0);
    ListT->setFocus();
    resize(560, 480);
}

QList<int> TGroupCheckDialog::Good() const
{
    QList<int> rows;
    for (int i = 0; i < ListT->rowCount(); ++i)
        if (ListT->item(i, 0)->checkState() == Qt::Checked)
            rows << i;
    return rows;
}

QList<int> TGroupCheckDialog::Spoiled() const
{
    QList<int> rows;
    for (int i = 0; i < ListT->rowCount(); ++i)
        if (ListT->item(i, 0)->checkState() != Qt::Checked)
            rows << i;
    return rows;
}

TfmGroup::TfmGroup(TfmMain &Main, QWidget *Parent) : QWidget(Parent, Qt::Window), FMain(Main)
{
    setObjectName(QStringLiteral("fmGroup"));
    setWindowTitle(QStringLiteral("Печать группы"));
    auto *layout = new QVBoxLayout(this);

    // Short rows that wrap, so that a small screen (or a large scale
    // factor) still shows every field and button.
    auto *common = new QLabel(QStringLiteral("Общие сведения (организация, программа, даты, часы, руководитель, "
                                             "протокол) берутся из главного окна."),
                              this);
    common->setWordWrap(true);
    layout->addWidget(common);
    auto *top = new QHBoxLayout;
    SeriesE = new QLineEdit(Main.Edit_4->text(), this);
    SeriesE->setObjectName(QStringLiteral("SeriesE"));
    SeriesE->setMaxLength(Main.Edit_4->maxLength());
    SeriesE->setMaximumWidth(80);
    auto *series = new QLabel(QStringLiteral("&Серия бланков:"), this);
    series->setBuddy(SeriesE);
    top->addWidget(series);
    top->addWidget(SeriesE);
    SheetC = new QComboBox(this);
    SheetC->setObjectName(QStringLiteral("SheetC"));
    SheetC->setEnabled(false);
    auto *sheet = new QLabel(QStringLiteral("&Лист:"), this);
    sheet->setBuddy(SheetC);
    top->addWidget(sheet);
    top->addWidget(SheetC);
    top->addStretch(1);
    layout->addLayout(top);

    // A column of the list read that the reader matched wrongly or not at
    // all is given its field by hand; the list is read again.
    auto *mapping = new QHBoxLayout;
    ColumnC = new QComboBox(this);
    ColumnC->setObjectName(QStringLiteral("ColumnC"));
    auto *columnL = new QLabel(QStringLiteral("Стол&бец списка:"), this);
    columnL->setBuddy(ColumnC);
    FieldC = new QComboBox(this);
    FieldC->setObjectName(QStringLiteral("FieldC"));
    FieldC->addItem(QStringLiteral("(не читать)"), QString());
    for (const auto &[key, caption] : groupListFields())
        FieldC->addItem(caption, key);
    auto *field = new QLabel(QStringLiteral("&как:"), this);
    field->setBuddy(FieldC);
    MapB = button(this, "MapB", QStringLiteral("Сопоставит&ь"));
    mapping->addWidget(columnL);
    mapping->addWidget(ColumnC, 1);
    mapping->addWidget(field);
    mapping->addWidget(FieldC, 1);
    mapping->addWidget(MapB);
    layout->addLayout(mapping);
    // Long headers and captions do not widen the window past a small screen.
    for (QComboBox *box : {ColumnC, FieldC}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(6);
    }
    for (QWidget *w : {static_cast<QWidget *>(ColumnC), static_cast<QWidget *>(FieldC), static_cast<QWidget *>(MapB)})
        w->setEnabled(false);

    Table = new QTableWidget(0, cColumns, this);
    Table->setObjectName(QStringLiteral("Table"));
    QStringList headers{QStringLiteral("Печатать"), QStringLiteral("ФИО")};
    for (int i = 1; i <= 10; ++i)
        headers << QStringLiteral("Оценка %1").arg(i);
    headers << QStringLiteral("Начало обучения") << QStringLiteral("Окончание обучения")
            << QStringLiteral("Дата рождения") << QStringLiteral("Пол") << QStringLiteral("СНИЛС")
            << QStringLiteral("Гражданство");
    Table->setHorizontalHeaderLabels(headers);
    const QStringList subjects = groupSubjectNames();
    for (int i = 0; i < 10; ++i) {
        Table->horizontalHeaderItem(cGrade1 + i)->setToolTip(subjects[i]);
        const QComboBox *box = Main.Component<QComboBox>(numbered("cmb_", i + 1));
        QStringList texts{QString()};
        for (int item = 0; item < box->count(); ++item)
            if (!box->itemText(item).isEmpty())
                texts << box->itemText(item);
        Table->setItemDelegateForColumn(cGrade1 + i, new TChoiceDelegate(texts, Table));
    }
    Table->setItemDelegateForColumn(cSex, new TChoiceDelegate({QString(), QStringLiteral("М"), QStringLiteral("Ж")}, Table));
    Table->resizeColumnToContents(cPrint);
    Table->setColumnWidth(cName, 240);
    for (int i = 0; i < 10; ++i)
        Table->setColumnWidth(cGrade1 + i, 80);
    Table->setTabKeyNavigation(true);
    layout->addWidget(Table, 1);

    ProblemsM = new QPlainTextEdit(this);
    ProblemsM->setObjectName(QStringLiteral("ProblemsM"));
    ProblemsM->setReadOnly(true);
    ProblemsM->setMaximumHeight(80);
    ProblemsM->setMinimumHeight(40);
    ProblemsM->setPlaceholderText(QStringLiteral("Здесь будут перечислены строки с ошибками."));
    layout->addWidget(ProblemsM);

    auto *buttons = new QGridLayout;
    ImportB = button(this, "ImportB", QStringLiteral("&Импорт..."));
    AddB = button(this, "AddB", QStringLiteral("&Добавить"));
    RemoveB = button(this, "RemoveB", QStringLiteral("&Удалить"));
    CheckB = button(this, "CheckB", QStringLiteral("П&роверить"));
    PreviewB = button(this, "PreviewB", QStringLiteral("Пр&осмотр..."));
    PrintB = button(this, "PrintB", QStringLiteral("&Печать..."));
    CloseB = button(this, "CloseB", QStringLiteral("&Закрыть"));
    // The list's buttons above, the print's below.
    int column = 0;
    for (QPushButton *b : {ImportB, AddB, RemoveB})
        buttons->addWidget(b, 0, column++);
    column = 0;
    for (QPushButton *b : {CheckB, PreviewB, PrintB, CloseB})
        buttons->addWidget(b, 1, column++);
    buttons->setColumnStretch(4, 1);
    layout->addLayout(buttons);

    auto handle = [this](void (TfmGroup::*Handler)()) {
        return [this, Handler] {
            try {
                (this->*Handler)();
            } catch (const Exception &error) {
                showMessage(error.Message());
            }
        };
    };
    connect(ImportB, &QPushButton::clicked, this, handle(&TfmGroup::ImportClick));
    connect(AddB, &QPushButton::clicked, this, [this] {
        AddRow();
        Table->setCurrentCell(Table->rowCount() - 1, cName);
        Table->setFocus();
    });
    connect(RemoveB, &QPushButton::clicked, this, &TfmGroup::RemoveRow);
    connect(MapB, &QPushButton::clicked, this, handle(&TfmGroup::MapClick));
    connect(CheckB, &QPushButton::clicked, this, [this] { Check(); });
    connect(PreviewB, &QPushButton::clicked, this, handle(&TfmGroup::PreviewClick));
    connect(PrintB, &QPushButton::clicked, this, handle(&TfmGroup::PrintClick));
    connect(CloseB, &QPushButton::clicked, this, &QWidget::close);
    // Another sheet of the list read replaces the rows.
    connect(SheetC, &QComboBox::activated, this, [this] {
        try {
            Import(FListFile, SheetC->currentText());
        } catch (const Exception &error) {
            showMessage(error.Message());
        }
    });
    // As designed where the screen holds it, else at the screen's size.
    QSize size(1000, 600);
    if (const QScreen *screen = Main.screen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

void TfmGroup::AddRow(const TGroupTrainee &Trainee)
{
    const int row = Table->rowCount();
    Table->insertRow(row);
    auto *tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    tick->setCheckState(Qt::Checked);
    Table->setItem(row, cPrint, tick);
    Table->setItem(row, cName, new QTableWidgetItem(Trainee.FullName));
    for (int i = 0; i < 10; ++i)
        Table->setItem(row, cGrade1 + i, new QTableWidgetItem(Trainee.Grades[i]));
    Table->setItem(row, cStart, new QTableWidgetItem(dateText(Trainee.TrainingStart)));
    Table->setItem(row, cEnd, new QTableWidgetItem(dateText(Trainee.TrainingEnd)));
    Table->setItem(row, cBirth, new QTableWidgetItem(dateText(Trainee.BirthDate)));
    Table->setItem(row, cSex, new QTableWidgetItem(Trainee.Sex));
    Table->setItem(row, cSnils, new QTableWidgetItem(Trainee.Snils));
    Table->setItem(row, cCitizenship, new QTableWidgetItem(Trainee.Citizenship));
}

void TfmGroup::RemoveRow()
{
    const int row = Table->currentRow();
    if (row >= 0)
        Table->removeRow(row);
}

void TfmGroup::Import(const QString &FileName, const QString &Sheet)
{
    TGroupListOptions options = groupListOptions();
    options.Sheet = Sheet;
    if (FileName != FListFile)
        FMapping.clear();
    options.Mapping = FMapping;
    const TGroupList list = readGroupList(FileName, options);
    FListFile = FileName;
    ColumnC->clear();
    for (int i = 0; i < list.Headers.size(); ++i)
        ColumnC->addItem(QStringLiteral("%1. %2").arg(i + 1).arg(list.Headers[i]), i);
    for (QWidget *w : {static_cast<QWidget *>(ColumnC), static_cast<QWidget *>(FieldC), static_cast<QWidget *>(MapB)})
        w->setEnabled(!list.Headers.isEmpty());
    Table->setRowCount(0);
    for (const TGroupTrainee &trainee : list.Trainees)
        AddRow(trainee);
    {
        const QSignalBlocker blocker(SheetC);
        SheetC->clear();
        SheetC->addItems(list.Sheets);
        SheetC->setCurrentIndex(qMax(0, int(list.Sheets.indexOf(Sheet))));
        SheetC->setEnabled(list.Sheets.size() > 1);
    }
    QStringList lines;
    lines << QStringLiteral("Из файла %1 прочитано обучающихся: %2.")
                 .arg(QFileInfo(FileName).fileName())
                 .arg(list.Trainees.size());
    if (!list.UnknownColumns.isEmpty())
        lines << QStringLiteral("Не распознаны и пропущены столбцы: %1.").arg(list.UnknownColumns.join(QStringLiteral(", ")));
    lines << list.Problems;
    ShowProblems(lines);
}

void TfmGroup::MapClick()
{
    if (ColumnC->currentIndex() < 0 || FListFile.isEmpty())
        return;
    FMapping.insert(ColumnC->currentData().toInt(), FieldC->currentData().toString());
    Import(FListFile, SheetC->currentText());
}

void TfmGroup::ImportClick()
{
    TFileDialogOptions options;
    options.Title = QStringLiteral("Список группы");
    options.Filter = QStringLiteral("Списки (*.csv;*.xlsx)|*.csv;*.xlsx|Все файлы (*)|*");
    const std::optional<TFileDialogResult> chosen = userInterface().OpenFile(options);
    if (chosen)
        Import(chosen->FileName);
}

QList<TGroupTrainee> TfmGroup::Ticked(QStringList &Faults) const
{
    QList<TGroupTrainee> trainees;
    auto text = [this](int Row, int Column) {
        const QTableWidgetItem *item = Table->item(Row, Column);
        return item ? item->text().trimmed() : QString();
    };
    for (int row = 0; row < Table->rowCount(); ++row) {
        if (Table->item(row, cPrint)->checkState() != Qt::Checked)
            continue;
        TGroupTrainee trainee;
        trainee.Row = row + 1;
        trainee.FullName = text(row, cName).simplified();
        for (int i = 0; i < 10; ++i)
            trainee.Grades[i] = text(row, cGrade1 + i);
        const struct {
            int Column;
            QDate *Date;
        } dates[] = {{cStart, &trainee.TrainingStart}, {cEnd, &trainee.TrainingEnd}, {cBirth, &trainee.BirthDate}};
        for (const auto &date : dates) {
            const QString given = text(row, date.Column);
            *date.Date = QDate::fromString(given, DateFormat);
            if (!given.isEmpty() && !date.Date->isValid())
                Faults << QStringLiteral("Строка %1: дата «%2» в столбце «%3» не читается (нужно дд.мм.гггг).")
                              .arg(row + 1)
                              .arg(given, Table->horizontalHeaderItem(date.Column)->text());
        }
        trainee.Sex = text(row, cSex);
        trainee.Snils = text(row, cSnils);
        if (const QString code = text(row, cCitizenship); !code.isEmpty())
            trainee.Citizenship = code;
        trainees << trainee;
    }
    return trainees;
}

void TfmGroup::ShowProblems(const QStringList &Lines) { ProblemsM->setPlainText(Lines.join(QLatin1Char('\n'))); }

bool TfmGroup::Check()
{
    QStringList faults;
    const QList<TGroupTrainee> trainees = Ticked(faults);
    if (trainees.isEmpty())
        faults << QStringLiteral("Не отмечен для печати ни один обучающийся.");
    const QString series = SeriesE->text().trimmed();
    const QString saved = FMain.Edit_4->text();
    FMain.Edit_4->setText(series);
    faults << checkGroup(FMain, trainees);
    FMain.Edit_4->setText(saved);
    if (faults.isEmpty()) {
        ShowProblems({QStringLiteral("Ошибок нет: к печати готово свидетельств: %1.").arg(trainees.size())});
        return true;
    }
    faults.prepend(QStringLiteral("Печать невозможна, пока строки не исправлены или не сняты с печати:"));
    ShowProblems(faults);
    return false;
}

// The series of the window is the entry window's for the group's print
// only; the entry window gets its own back.
bool TfmGroup::PrepareTicked(QList<TGroupCertificate> &Certificates)
{
    if (!Check())
        return false;
    QStringList faults;
    const QList<TGroupTrainee> trainees = Ticked(faults);
    const QString saved = FMain.Edit_4->text();
    const auto restore = qScopeGuard([&] { FMain.Edit_4->setText(saved); });
    FMain.Edit_4->setText(SeriesE->text().trimmed());
    return ConfirmFit(trainees) && prepareGroup(FMain, trainees, Certificates, FShrink);
}

// Every trainee's certificate is checked before the group prepares; the
// values are listed by row, and "shrink" shrinks them on their own
// certificates only.
bool TfmGroup::ConfirmFit(const QList<TGroupTrainee> &Trainees)
{
    FShrink = false;
    const TGroupFit fit = checkGroupFit(FMain, Trainees);
    return askFit(fit.Problems.join(QLatin1Char('\n')),
                  [&] {
                      FShrink = true;
                      return fit.Left.join(QLatin1Char('\n'));
                  },
                  this);
}

void TfmGroup::PreviewClick()
{
    QList<TGroupCertificate> certificates;
    if (!PrepareTicked(certificates))
        return;
    TfrxReport *report = FMain.rudReport1;
    // The check follows the print, so the preview waits for it; the page
    // list names the trainees.
    report->PreviewOptions()->SetModal(true);
    report->PreviewOptions()->SetOutlineVisible(true);
    QList<TCertificateRecord> records;
    {
        TGroupRecorder recorder(FMain, certificates, false);
        report->ShowPreparedReport();
        records = recorder.Records();
    }
    if (!records.isEmpty())
        AfterPrint(certificates, records);
}

void TfmGroup::PrintClick()
{
    QList<TGroupCertificate> certificates;
    if (!PrepareTicked(certificates))
        return;
    QList<TCertificateRecord> records;
    {
        TGroupRecorder recorder(FMain, certificates, false);
        FMain.rudReport1->Print();
        records = recorder.Records();
    }
    if (!records.isEmpty())
        AfterPrint(certificates, records);
}

// The spoiled blanks are voided, the good certificates confirmed, and the
// spoiled ones printed again on the next free blanks, checked in turn.
// Records follow the certificates in print order, job after job. A
// certificate without a blank number (a series without stock) is simply
// taken off the register before it is printed again.
void TfmGroup::AfterPrint(QList<TGroupCertificate> Certificates, QList<TCertificateRecord> Records)
{
    while (!Records.isEmpty()) {
        TGroupCheckDialog dialog(Records, this);
        if (userInterface().ExecDialog(&dialog) != 1)
            return;
        TRegister &reg = FMain.Register();
        QList<qint64> good;
        for (int i : dialog.Good())
            good << Records[i].Id;
        if (!good.isEmpty())
            reg.Confirm(good);
        QList<TGroupTrainee> again;
        for (int i : dialog.Spoiled()) {
            const TCertificateRecord &record = Records[i];
            if (record.Number.isEmpty())
                reg.Withdraw(record.Id);
            else
                reg.Void(record.Series, record.Number, dialog.ReasonE->text().trimmed());
            again << Certificates[i % Certificates.size()].Trainee;
        }
        if (again.isEmpty())
            return;
        const QString saved = FMain.Edit_4->text();
        const auto restore = qScopeGuard([&] { FMain.Edit_4->setText(saved); });
        FMain.Edit_4->setText(SeriesE->text().trimmed());
        if (!prepareGroup(FMain, again, Certificates, FShrink))
            return;
        TGroupRecorder recorder(FMain, Certificates, false);
        FMain.rudReport1->Print();
        Records = recorder.Records();
        if (Records.isEmpty())
            showMessage(QStringLiteral("Свидетельства на месте списанных бланков не напечатаны (%1). "
                                       "Напечатайте их снова: строки остались в списке группы.")
                            .arg(again.size()));
    }
}
