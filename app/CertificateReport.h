#pragma once
// The print template filled with one certificate, and what prints it: the
// entry window, or the print command without any window.

#include "app/Certificate.h"

#include <QString>
#include <optional>

class QWidget;
class TfrxReport;
class TRegister;
struct TCertificateRecord;

// A part of a date as the blank wants it: "day" two digits ("03"), "month"
// the month's name in the genitive ("мая"), "year" the year without its first
// three digits ("5" for 2015); any other kind (compared exactly) gives "".
QString Monthstr(const QString &nbr, TDateTime myDate);

// Loads the print template into Report: UserCopy, made from Shipped first
// when there is none (else Shipped); a missing file raises EInOutError naming it.
void loadPrintTemplate(TfrxReport *Report, const QString &UserCopy, const QString &Shipped);

// Writes Certificate into the 48 memos of the loaded template, in their
// fixed order, each printed as it stands (never evaluated); stops with an
// error at a missing memo and with "Invalid class typecast" at an object of
// a memo's name that is no memo.
void fillCertificateReport(TfrxReport *Report, const TCertificate &Certificate);

// What prints certificates: its report, the certificate it holds, the
// print template and the school's register.
class TCertificateHost {
public:
    virtual ~TCertificateHost() = default;

    virtual TfrxReport *Report() const = 0;
    virtual TCertificate Certificate() const = 0;
    // Loads the print template into Report() (loadPrintTemplate).
    virtual void LoadTemplate() = 0;
    // The register, opened on first use; raises ERegisterError when it cannot be.
    virtual TRegister &Register() = 0;
    // The record the next print duplicates; nothing for an ordinary print.
    virtual std::optional<qint64> DuplicateOf() const { return std::nullopt; }
    // Sets or (nullptr) clears it.
    virtual void SetDuplicateOf(const TCertificateRecord *) {}
    // The window the print's dialogs belong to; nullptr without one.
    virtual QWidget *DialogWindow() { return nullptr; }

    // The print command up to the preview: checks the entries (false after
    // their message), loads the template and fills it with Certificate().
    // A missing template file or memo raises an error naming it.
    bool FillReport();
};
