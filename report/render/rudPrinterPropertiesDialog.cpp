#include "report/render/rudPrinterPropertiesDialog.h"

#include "report/model/rudRes.h"
#include "report/render/rudPrinter.h"

#include "base/UserInterface.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace {
// Platform duplex values of the duplex list's entries after "Default".
const int duplexValues[] = {2, 3, 1};
} // namespace

TfrxPrinterPropertiesDialog::TfrxPrinterPropertiesDialog(TfrxCustomPrinter *APrinter, QWidget *AParent)
    : QDialog(AParent), FPrinter(APrinter), FBinCB(new QComboBox(this)), FDuplexCB(new QComboBox(this))
{
    TfrxResources &res = rudResources();
    setWindowTitle(APrinter->Name());
    FBinCB->setObjectName(QStringLiteral("BinCB"));
    FBinCB->addItems(APrinter->BinNames());
    FBinCB->setCurrentIndex(APrinter->DialogBin() >= 0 ? APrinter->BinIndex(APrinter->DialogBin()) : 0);
    FDuplexCB->setObjectName(QStringLiteral("DuplexCB"));
    FDuplexCB->addItems({res.Get(QStringLiteral("dupDefault")), res.Get(QStringLiteral("dupVert")),
                         res.Get(QStringLiteral("dupHorz")), res.Get(QStringLiteral("dupSimpl"))});
    for (int i = 0; i < 3; ++i)
        if (APrinter->DialogDuplex() == duplexValues[i])
            FDuplexCB->setCurrentIndex(i + 1);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Paper source:"), FBinCB);
    form->addRow(res.Get(QStringLiteral("216")) + QLatin1Char(':'), FDuplexCB);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(res.Get(QStringLiteral("1")), QDialogButtonBox::AcceptRole);
    buttons->addButton(res.Get(QStringLiteral("2")), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

bool TfrxPrinterPropertiesDialog::Execute()
{
    if (userInterface().ExecDialog(this) != QDialog::Accepted)
        return false;
    FPrinter->SetDialogBin(FBinCB->currentIndex() > 0 ? FPrinter->BinNameToNumber(FBinCB->currentText()) : -1);
    const int duplex = FDuplexCB->currentIndex();
    FPrinter->SetDialogDuplex(duplex > 0 ? duplexValues[duplex - 1] : -1);
    return true;
}
