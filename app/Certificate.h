#pragma once
// One certificate's values, apart from any window: what the entry window's
// controls hold, what a certificate file keeps, and what the print template's
// memos are filled from. The entry window, the print command without it and
// the group print all go through this one value.

#include "base/DateTime.h"
#include "records/TraineeDetails.h"

#include <QString>
#include <QStringList>

// The longest text an entry field holds: a longer one is cut there.
constexpr int CertificateMaxText = 32767;

// The certificate as the entry window holds it; the numbers follow the
// window's controls and the file's keys.
struct TCertificate {
    // Edit_1 ... Edit_10 ("edit_N"): school (two lines), town, series,
    // trainee's full name, programme, qualification, category, head of the
    // school, protocol number.
    QString Edits[10];
    // DateTimePicker1 ... DateTimePicker4 ("dateN"), whole days: start and
    // end of training, issue, protocol.
    TDateTime Dates[4] = {0, 0, 0, 0};
    // edt_1 ... edt_10 (hours of the ten subjects) and edt_11 (their total),
    // as texts: a file may hold anything there.
    QString Hours[11];
    // cmb_1 ... cmb_10: positions in certificateGradeTexts(N - 1); -1: none.
    int Grades[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    // cmb_kpp: position in certificateTransmissionTexts(); -1: none.
    int Transmission = -1;
    // What the booklet does not print (the federal register export needs it).
    TTraineeDetails Details;

    // The texts of the selected items; "" for none.
    QString GradeText(int Subject) const;
    QString TransmissionText() const;
};

// The items of the grade list of subject 0..9 (a pass list for the first
// nine, marks for the last).
QStringList certificateGradeTexts(int Subject);
// The items of the transmission list.
QStringList certificateTransmissionTexts();

// Sum of the ten hours; raises EConvertError on a text that is not a number
// (an empty one included).
double certificateHoursSum(const TCertificate &Certificate);

// The message of the first check before printing that fails, in the order
// the operator is told about them; "" when all pass.
QString certificateEntryFault(const TCertificate &Certificate);
