#pragma once
// A group's certificates as one report: every trainee of a list takes the
// entry window's common values (school, programme, dates, hours, ...) with
// their own name, grades and, when given, training dates; the checks of the
// print command run per trainee; the certificates are prepared one after
// another into one set of prepared pages, printed as one job, and each is
// recorded on the next free blank of the series in print order.

#include "records/GroupList.h"
#include "records/Register.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class TCertificateHost;
class TfrxReport;

// The subjects of the booklet's table as printed on its rows 1..10.
QStringList groupSubjectNames();
// The options a group list is read with: the subject names and the grade
// lists of the certificate's ten subjects.
TGroupListOptions groupListOptions();

// The print command's checks for every trainee, over the common values of
// the host's certificate: one line per failing row, "Строка N (ФИО):
// message". A trainee takes the common values with their own name, each
// grade given (an empty one keeps the common one) and the training dates given.
QStringList checkGroup(const TCertificateHost &Host, const QList<TGroupTrainee> &Trainees);

// What would be cut on a group's blanks, one line per value, "Строка N
// (ФИО): field: «value»": Problems as filled, Left what a font shrunk down
// to 6 pt does not fit either.
struct TGroupFit {
    QStringList Problems, Left;
};

// Loads the print template and checks every trainee's filled certificate
// (over the host's common values, as prepareGroup fills it) with the
// layout that draws it. The template's fonts are put back as they were.
// Raises the template's errors and a row's fault as prepareGroup does.
TGroupFit checkGroupFit(TCertificateHost &Host, const QList<TGroupTrainee> &Trainees);

// One certificate of a prepared group: the trainee and every value
// printed, as the register keeps them.
struct TGroupCertificate {
    TGroupTrainee Trainee;
    QMap<QString, QString> Values;
    int FirstPage = 0; // its first page in the prepared report (0-based)
};

// Loads the print template and prepares every trainee's certificate (over
// the host's common values), in order, into the host's report (the pages of
// earlier trainees kept); the outline names each trainee at the first page
// of their certificate. The values are printed as they stand (never
// evaluated). Raises the template's errors as the print command does;
// false with the report's Errors when a preparation failed.
// With Shrink the values that would be cut on a certificate are printed
// in a smaller font (6 pt at least) on that certificate alone.
bool prepareGroup(TCertificateHost &Host, const QList<TGroupTrainee> &Trainees, QList<TGroupCertificate> &Certificates,
                  bool Shrink = false);

// Records a prepared group's print in the register while it lives: right
// before the job starts every certificate takes the next free blank of its
// series (as printed) in print order and is recorded (printed, unconfirmed,
// unless Issued); a job that sends no page or stops gives every blank back.
class TGroupRecorder {
public:
    TGroupRecorder(TCertificateHost &Host, const QList<TGroupCertificate> &Certificates, bool Issued);
    ~TGroupRecorder();
    TGroupRecorder(const TGroupRecorder &) = delete;
    TGroupRecorder &operator=(const TGroupRecorder &) = delete;

    // The records of the jobs that went out, in print order (empty before):
    // a group printed twice from one preview has each certificate twice.
    const QList<TCertificateRecord> &Records() const { return FRecords; }

private:
    void BeforeJob();
    void AfterJob();
    void WithdrawPending() noexcept;

    TCertificateHost &FHost;
    TfrxReport *FReport;
    QList<TGroupCertificate> FCertificates;
    bool FIssued;
    QList<TCertificateRecord> FPending, FRecords;
    int FPagesOut = 0;
};
