#pragma once
// The register window: the certificates printed and the blanks voided,
// searchable by name, series and number, date and state; the blank stock
// per series; and the commands on a record (open it in the entry window,
// reprint it as a duplicate, void a blank) and on the stock (blanks received).

#include "records/Register.h"

#include <QAbstractTableModel>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class TfmMain;

// The records of a list as table rows; the sort role gives each column's
// value in its own type (dates as dates), so that sorting is by value.
class TRegisterModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { colSeries, colNumber, colState, colName, colIssueDate, colPrinted, colPrinter, colDuplicate,
                   colReason, colCount };
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TRegisterModel(QObject *Parent = nullptr) : QAbstractTableModel(Parent) {}
    void SetRecords(QList<TCertificateRecord> Records);
    const TCertificateRecord &Record(int Row) const { return FRecords[Row]; }

    int rowCount(const QModelIndex &Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

private:
    QList<TCertificateRecord> FRecords;
};

// The window; one per entry window, opened from its "Реестр" menu.
class TfmRegister final : public QWidget {
    Q_OBJECT
public:
    explicit TfmRegister(TfmMain *Main);

    // Reads the list (with the filter) and the stock from the register again.
    void Refresh();
    // The record of the current row; nothing without one.
    std::optional<TCertificateRecord> Selected() const;

    // The commands of the buttons; failures reach the standard error box.
    // "Открыть в окне ввода" / "Дубликат": the record into the entry window
    // (a duplicate's next print is linked to it).
    void OpenSelected(bool Duplicate);
    // "Испортить бланк...": the selected record's blank or one typed.
    void VoidBlank();
    // "Поступление бланков...".
    void AddBlanks();
    // "PDF из архива": the selected certificate's archive file, opened by
    // the desktop's PDF viewer.
    void OpenArchived();

    QLineEdit *SearchE;
    QDateEdit *FromE, *ToE;
    QComboBox *StateCB;
    QTableView *RecordsView, *StockView;
    // FrdoB: the federal register export of the certificates issued within
    // the filter's dates.
    QPushButton *OpenB, *DuplicateB, *VoidB, *ArchiveB, *BlanksB, *FrdoB, *CloseB;
    TRegisterModel *Records;
    QSortFilterProxyModel *Sorted;
    QStandardItemModel *Stock;

private:
    TRegisterFilter Filter() const;
    TfmMain *FMain;
};

// "Поступление бланков..." from the main menu or the register window: asks
// for the range and adds it to Register; false when cancelled.
bool askAndAddBlanks(TRegister &Register, QWidget *Parent);
