#pragma once
// The group window: a list of trainees printed over the entry window's
// common values as one report and one print job, and the check after it
// that confirms the good certificates and prints the spoiled ones again.

#include "app/GroupPrint.h"

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class TfmMain;

// The after-print check: the group's certificates with their blanks, every
// one ticked as good; the operator unticks the spoiled ones. OK answers;
// closing answers nothing (the records stay printed, unconfirmed).
class TGroupCheckDialog final : public QDialog {
    Q_OBJECT
public:
    TGroupCheckDialog(const QList<TCertificateRecord> &Records, QWidget *Parent = nullptr);
    // The records still ticked as good, and the others, in the list's order.
    QList<int> Good() const;
    QList<int> Spoiled() const;
    QTableWidget *ListT;
    // Why the unticked blanks are voided (asked once for all).
    QLineEdit *ReasonE;
};

// The group window ("Печать группы..."). Each row is a trainee; the tick
// column says who prints.
class TfmGroup final : public QWidget {
    Q_OBJECT
public:
    explicit TfmGroup(TfmMain &Main, QWidget *Parent = nullptr);

    // The table's columns: tick, name, the ten grades, own training start
    // and end, birth date, sex, СНИЛС, citizenship.
    enum TColumn { cPrint, cName, cGrade1, cStart = cGrade1 + 10, cEnd, cBirth, cSex, cSnils, cCitizenship, cColumns };

    // Reads a list (CSV or XLSX) into the table, replacing its rows; the
    // sheet given (empty: the first); its problems and unknown columns shown.
    void Import(const QString &FileName, const QString &Sheet = QString());
    // "Импорт...": a list chosen in the open dialog.
    void ImportClick();
    // "Сопоставить": the column chosen in ColumnC is read as the field of
    // FieldC (or not at all) and the list read again; kept for that file.
    void MapClick();
    // A row added at the end (ticked, empty) or the current one removed.
    void AddRow(const TGroupTrainee &Trainee = {});
    void RemoveRow();
    // The ticked rows as trainees, Row being the table's row number (1-based);
    // a date cell that does not read makes a fault in Faults.
    QList<TGroupTrainee> Ticked(QStringList &Faults) const;
    // The checks of every ticked row, shown below the table; true when none fails.
    bool Check();
    // Checks, asks about the values that would be cut (shrink, print as is
    // or go back), prepares the ticked rows and shows the group's preview; a
    // print from it is recorded and checked afterwards.
    void PreviewClick();
    // Checks and asks as PreviewClick does, prepares and prints the ticked
    // rows as one job (the print dialog first), then the after-print check.
    void PrintClick();
    // The after-print check of Records (the job's records of Certificates),
    // repeated with the reprints until every one is confirmed or the
    // operator closes it.
    void AfterPrint(QList<TGroupCertificate> Certificates, QList<TCertificateRecord> Records);

    QLineEdit *SeriesE;
    QComboBox *SheetC, *ColumnC, *FieldC;
    QTableWidget *Table;
    QPlainTextEdit *ProblemsM;
    QPushButton *MapB, *ImportB, *AddB, *RemoveB, *CheckB, *PreviewB, *PrintB, *CloseB;

private:
    bool PrepareTicked(QList<TGroupCertificate> &Certificates);
    bool ConfirmFit(const QList<TGroupTrainee> &Trainees);
    void ShowProblems(const QStringList &Lines);

    TfmMain &FMain;
    QString FListFile;
    QMap<int, QString> FMapping;
    // The operator chose to shrink what would be cut: the reprints after
    // the check are shrunk as the job was.
    bool FShrink = false;
};
