#pragma once
// The school's settings for the federal register export, and where the
// program keeps them (its settings file, a section of their own).

#include "records/FrdoSettings.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// The export settings kept in the program's settings file; the defaults
// while nothing is kept.
TFrdoSettings savedFrdoSettings();
// Keeps Settings in the program's settings file (saved at once, atomically).
void saveFrdoSettings(const TFrdoSettings &Settings);

// Every setting as an edit (the form of training as a list); an empty
// programme name names each certificate's programme from its own line.
class TFrdoSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    TFrdoSettingsDialog(const TFrdoSettings &Settings, QWidget *Parent = nullptr);
    TFrdoSettings Settings() const;

    QLineEdit *DocumentKindE, *ProgrammeKindE, *ProgrammeNameE, *ProfessionE, *FinancingE, *EducationFormE;
    QComboBox *StudyFormCB;
};
