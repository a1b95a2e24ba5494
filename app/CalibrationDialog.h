#pragma once
// "Калибровка принтера...": the calibration sheet printed on a queue, the
// readings taken from it, the calibration they stand for (or typed
// directly), and a test page of the certificate on plain paper.

#include "report/render/rudPaperCalibration.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QMenu;
class QPushButton;
class TfmMain;

// The calibration of one printer queue; OK keeps it in the settings.
class TCalibrationDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TCalibrationDialog(TfmMain &Window);

    // The queue chosen and the calibration shown.
    QString Queue() const;
    TfrxPaperCalibration Value() const;
    void SetValue(const TfrxPaperCalibration &Value);

    // Computes the calibration from the readings typed (a number in mm,
    // comma or point; empty: not read) and shows it; an impossible result
    // is reported and nothing changes.
    void Compute();
    // Prints the sheet on the queue, uncalibrated.
    void PrintSheet();
    // Prints the filled certificate with the background scan of its blank
    // on the queue, with the calibration shown (not yet kept).
    void PrintTestPage();

    QComboBox *QueueC;
    QList<QLineEdit *> ReadingX, ReadingY; // one per mark of the sheet
    QDoubleSpinBox *OffsetXE, *OffsetYE, *ScaleXE, *ScaleYE;
    QPushButton *SheetB, *ComputeB, *TestPageB;

private:
    TfmMain &FWindow;
};

// Runs the dialog for Window (through the user-interface seam); OK keeps
// the queue's calibration in the settings.
void runCalibrationDialog(TfmMain &Window);
// Adds "Калибровка принтера..." to Menu, running the dialog for Window.
void addCalibrationCommand(TfmMain &Window, QMenu *Menu);
