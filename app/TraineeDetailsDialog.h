#pragma once
// The trainee's details the booklet does not print: surname, name and
// patronymic (split from the full name until edited), birth date, sex,
// СНИЛС and citizenship. A wrong СНИЛС or birth date is shown at once and
// keeps OK disabled. Runs through the user-interface seam (ExecDialog).

#include "records/TraineeDetails.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

class TTraineeDetailsDialog final : public QDialog {
    Q_OBJECT
public:
    // Details as entered so far; FullName, the booklet's name, gives the
    // name parts while none was entered.
    TTraineeDetailsDialog(const TTraineeDetails &Details, const QString &FullName, QWidget *Parent = nullptr);
    // The details as the dialog holds them: name parts that are only the
    // split of the full name are kept empty, so that they follow it.
    TTraineeDetails Details() const;
    // Why the fields cannot be taken, one line each ("" when they can).
    QString Fault() const;

    QLineEdit *SurnameE, *NameE, *PatronymicE, *BirthE, *SnilsE, *CitizenshipE;
    QComboBox *SexCB;
    QLabel *FaultL;

private:
    void Check();
    QString FFullName;
    QDialogButtonBox *FButtons;
};
