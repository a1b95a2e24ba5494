#pragma once
// The "Print" window: printer, pages, copies, print mode and the other
// choices of one print job. It reads the report's print options when shown
// and writes them back on OK; the job restores them afterwards, so the
// choices hold for that job only. The printer chosen becomes current at once
// and stays current; Cancel brings the previous one back.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class TfrxReport;

// See the file comment. Controls carry object names for tests: PrinterCB,
// WhereL, PropButton, FileCB, AllRB, CurPageRB, PageNumbersRB, PageNumbersE,
// CopiesE, CollateCB, CollateImage, PrintModeCB, SheetCB, PrintPagesCB,
// OrderCB, DuplexCB, OkB, CancelB.
class TfrxPrintDialog final : public QDialog {
    Q_OBJECT
public:
    // ACurrentPage: the page the preview shows (1-based; 0 disables
    // "Current page").
    TfrxPrintDialog(TfrxReport *AReport, int ACurrentPage, QWidget *AParent = nullptr);
    // Runs the window through the user-interface seam; true on OK.
    bool Execute();
    // OK first asks for the file when printing to file (cancelling that
    // cancels the window), then stores the choices.
    void done(int Result) override;

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void FillSheets();
    void PrinterChanged(int Index);
    void ModeChanged(int Index);
    void UpdateCollateImage();
    bool AskFileName();
    void StoreOptions();

    TfrxReport *FReport;
    int FCurrentPage;
    int FOldPrinterIndex;
    QString FFileName;
    QComboBox *FPrinterCB;
    QLabel *FWhereL;
    QCheckBox *FFileCB;
    QRadioButton *FAllRB, *FCurPageRB, *FPageNumbersRB;
    QLineEdit *FPageNumbersE;
    QSpinBox *FCopiesE;
    QCheckBox *FCollateCB;
    QLabel *FCollateImage;
    QComboBox *FPrintModeCB, *FSheetCB, *FPrintPagesCB, *FOrderCB, *FDuplexCB;
};
