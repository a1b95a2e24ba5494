// The aggregate window of the memo editor: picks a function, a data band
// and an expression and builds the aggregate call from them.

#include "designer/rudAggregateDialog.h"

#include "base/UserInterface.h"
#include "designer/rudCustomDesigner.h"
#include "report/model/rudBand.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreviewDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The aggregate functions the report knows, COUNT last (it takes no expression).
const char *const functions[] = {"SUM", "AVG", "MIN", "MAX", "COUNT"};

} // namespace

TfrxAggregateDialog::TfrxAggregateDialog(TfrxCustomDesigner *Designer, TfrxReport *Report, QWidget *Parent)
    : QDialog(Parent), FDesigner(Designer)
{
    setObjectName(QStringLiteral("TfrxAggregateDialog"));
    setWindowTitle(rudGet(3902));

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    FunctionCB = new QComboBox(this);
    FunctionCB->setObjectName(QStringLiteral("FunctionCB"));
    for (const char *name : functions)
        FunctionCB->addItem(QLatin1String(name));
    ExpressionE = new QLineEdit(this);
    ExpressionE->setObjectName(QStringLiteral("ExpressionE"));
    ExpressionB = new QToolButton(this);
    ExpressionB->setObjectName(QStringLiteral("ExpressionB"));
    ExpressionB->setText(QStringLiteral("..."));
    ExpressionB->setToolTip(rudGet(3901));
    auto *expressionRow = new QHBoxLayout;
    expressionRow->addWidget(ExpressionE);
    expressionRow->addWidget(ExpressionB);
    BandCB = new QComboBox(this);
    BandCB->setObjectName(QStringLiteral("BandCB"));
    // The first entry names no band: the engine then takes the band whose
    // footer holds the memo.
    BandCB->addItem(QString());
    if (Report)
        for (TfrxComponent *object : QList<TfrxComponent *>(Report->AllObjects()))
            if (qobject_cast<TfrxDataBand *>(object))
                BandCB->addItem(object->Name());
    CountInvisibleCB = new QCheckBox(QStringLiteral("Count invisible bands"), this);
    CountInvisibleCB->setObjectName(QStringLiteral("CountInvisibleCB"));
    RunningTotalCB = new QCheckBox(QStringLiteral("Running total"), this);
    RunningTotalCB->setObjectName(QStringLiteral("RunningTotalCB"));
    form->addRow(QStringLiteral("Function:"), FunctionCB);
    form->addRow(QStringLiteral("Expression:"), expressionRow);
    form->addRow(QStringLiteral("Data band:"), BandCB);
    form->addRow(CountInvisibleCB);
    form->addRow(RunningTotalCB);
    layout->addLayout(form);
    layout->addWidget(rudOkCancelButtons(this));

    connect(FunctionCB, &QComboBox::currentIndexChanged, this, [this] { FunctionChanged(); });
    connect(ExpressionB, &QToolButton::clicked, this, [this] {
        const QString expression = FDesigner ? FDesigner->InsertExpression(ExpressionE->text()) : QString();
        if (!expression.isEmpty())
            ExpressionE->setText(expression);
    });
}

void TfrxAggregateDialog::FunctionChanged()
{
    ExpressionE->setEnabled(FunctionCB->currentText() != QLatin1String("COUNT"));
    ExpressionB->setEnabled(ExpressionE->isEnabled());
}

QString TfrxAggregateDialog::Call() const
{
    const int flags = (CountInvisibleCB->isChecked() ? 1 : 0) | (RunningTotalCB->isChecked() ? 2 : 0);
    QStringList args;
    const bool count = FunctionCB->currentText() == QLatin1String("COUNT");
    if (!count)
        args << ExpressionE->text().trimmed();
    const QString band = BandCB->currentText();
    // Flags after no band need a place holder: 0 stands for the default band.
    if (!band.isEmpty() || flags != 0)
        args << (band.isEmpty() ? QStringLiteral("0") : band);
    if (flags != 0)
        args << QString::number(flags);
    return FunctionCB->currentText() + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
}

bool TfrxAggregateDialog::Execute()
{
    return userInterface().ExecDialog(this) == QDialog::Accepted;
}
