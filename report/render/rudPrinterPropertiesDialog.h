#pragma once
// The printer's own settings window: the paper source and the duplex mode a
// job takes when it leaves them to the printer (bin "Default", duplex
// dmNone). The choices hold for the next job only.

#include <QDialog>

class QComboBox;
class TfrxCustomPrinter;

// See the file comment; controls are named "BinCB" and "DuplexCB".
class TfrxPrinterPropertiesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TfrxPrinterPropertiesDialog(TfrxCustomPrinter *APrinter, QWidget *AParent = nullptr);
    // Runs the window through the user-interface seam; on OK the printer
    // takes the chosen bin and duplex (DialogBin, DialogDuplex).
    bool Execute();

private:
    TfrxCustomPrinter *FPrinter;
    QComboBox *FBinCB;
    QComboBox *FDuplexCB;
};
