#pragma once
// Every print of a certificate goes into the school's register: the blank
// is taken and the certificate recorded after the operator has confirmed
// the Print window and before the first page goes out; a job that then
// sends no page gives the blank back.

#include "records/Register.h"

#include <QList>
#include <QString>
#include <optional>

class TCertificateHost;
class TfrxReport;

// Tells the operator that a failed print's record stays in the register
// (Why: the register's error).
void showWithdrawFailed(const QString &Why);

// Records the prints of the host's report while it lives (the print
// command's preview, or one command-line print); the designer's prints and
// PDF output are never recorded because no recorder watches them.
class TPrintRecorder {
public:
    // AskForBlank: a series with stock shows the blank dialog (over the
    // host's window); otherwise Number is the blank asked for, empty for the
    // next free one.
    TPrintRecorder(TCertificateHost &Host, bool AskForBlank, const QString &Number = QString());
    // Gives back the blank of a job that failed before its end, and stops watching.
    ~TPrintRecorder();
    TPrintRecorder(const TPrintRecorder &) = delete;
    TPrintRecorder &operator=(const TPrintRecorder &) = delete;

    // The records of the prints that went out, in order.
    const QList<TCertificateRecord> &Records() const { return FRecords; }

private:
    void BeforeJob();
    void AfterJob();
    void WithdrawPending() noexcept;

    TCertificateHost &FHost;
    TfrxReport *FReport;
    bool FAskForBlank;
    QString FNumber;
    std::optional<TCertificateRecord> FPending;
    int FPagesOut = 0;
    QList<TCertificateRecord> FRecords;
};
