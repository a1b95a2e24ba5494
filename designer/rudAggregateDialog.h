#pragma once
// The small window that builds an aggregate call ("SUM(<Qty>,MasterData1)")
// for the memo editor's "Insert Aggregate" button.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class TfrxCustomDesigner;
class TfrxReport;

// "Insert Aggregate": function, expression, data band and flags of one
// aggregate call, given back between the memo's expression delimiters.
class TfrxAggregateDialog : public QDialog {
    Q_OBJECT
public:
    // Lists the data bands of Report; Designer answers the expression button.
    TfrxAggregateDialog(TfrxCustomDesigner *Designer, TfrxReport *Report, QWidget *Parent);

    // Runs the window (userInterface().ExecDialog); true for OK.
    bool Execute();
    // The call built from the fields, without delimiters: "SUM(<Qty>)",
    // "AVG(<Qty>,MasterData1,3)", "COUNT(MasterData1)". The band is given
    // when one is chosen or flags follow (then 0 for none); flags only when
    // not 0.
    QString Call() const;

    QComboBox *FunctionCB = nullptr;
    QLineEdit *ExpressionE = nullptr;
    QToolButton *ExpressionB = nullptr;
    QComboBox *BandCB = nullptr;
    QCheckBox *CountInvisibleCB = nullptr, *RunningTotalCB = nullptr;

private:
    void FunctionChanged();

    TfrxCustomDesigner *FDesigner;
};
