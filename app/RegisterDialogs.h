#pragma once
// The small dialogs of the register: the blank of a print, voiding a blank,
// blanks received, where the register is, and the PDF archive. Each runs through the
// user-interface seam (ExecDialog), so tests answer it by setting its fields.

#include "app/PdfArchive.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;

// The blank a certificate is printed on: the series (fixed) and the number,
// proposed as the next free one; OK prints, Cancel calls the print off.
class TBlankDialog final : public QDialog {
    Q_OBJECT
public:
    TBlankDialog(const QString &Series, const QString &NextFree, QWidget *Parent = nullptr);
    QString Number() const;
    QLineEdit *NumberE;
};

// A blank to void: series, number and the reason, all required.
class TVoidDialog final : public QDialog {
    Q_OBJECT
public:
    TVoidDialog(const QString &Series, const QString &Number, QWidget *Parent = nullptr);
    QLineEdit *SeriesE, *NumberE, *ReasonE;

private:
    QDialogButtonBox *FButtons;
};

// Blanks received: a series and the first and last number of the range.
class TBlanksDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TBlanksDialog(QWidget *Parent = nullptr);
    QLineEdit *SeriesE, *FirstE, *LastE;

private:
    QDialogButtonBox *FButtons;
};

// Where the register is: empty for the default file, a file path (chosen
// with "Обзор...") or a PostgreSQL address.
class TRegisterSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    TRegisterSettingsDialog(const QString &Location, QWidget *Parent = nullptr);
    QLineEdit *LocationE;
};

// Refuses a location that carries a password (the program never keeps one
// in its settings): raises ERegisterError saying where to put it instead.
void checkRegisterLocation(const QString &Location);

// The PDF archive: whether every printed certificate is also kept as a PDF,
// and in which folder (empty for the default one).
class TArchiveSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TArchiveSettingsDialog(const TArchiveSettings &Settings, QWidget *Parent = nullptr);
    // The settings as the fields hold them (the folder trimmed).
    TArchiveSettings Result() const;

    QCheckBox *EnabledC;
    QLineEdit *FolderE;
};
