#pragma once
// The preview's two dialogs: "Find Text" and "Page Settings".

#include "report/model/rudEnums.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TfrxReportPage;

// Asks for the text to find, case sensitivity and whether to start at page 1.
class TfrxSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrxSearchDialog(QWidget *Parent = nullptr);
    QLineEdit *TextE = nullptr;
    QCheckBox *TopCB = nullptr;
    QCheckBox *CaseCB = nullptr;
};

// Paper, orientation and margins of a page, shown in the designer's unit
// (centimetres, or inches when the settings store says so).
class TfrxPageSettingsForm : public QDialog {
    Q_OBJECT
public:
    // InchUnits: lengths in inches ("in"), else in centimetres ("cm").
    TfrxPageSettingsForm(bool InchUnits, QWidget *Parent = nullptr);
    // Shows the page's values.
    void SetPage(const TfrxReportPage *Page);
    // Gives the page the dialog's orientation, size, paper code and margins.
    void ApplyTo(TfrxReportPage *Page) const;
    bool ApplyToAll() const;

    QComboBox *SizeCB = nullptr;
    QDoubleSpinBox *WidthE = nullptr, *HeightE = nullptr;
    QRadioButton *PortraitRB = nullptr, *LandscapeRB = nullptr;
    QDoubleSpinBox *LeftE = nullptr, *TopE = nullptr, *RightE = nullptr, *BottomE = nullptr;
    QRadioButton *CurrentRB = nullptr, *AllRB = nullptr;

private:
    void PaperChanged();
    void OrientationChanged();
    double ToMM(double Value) const;
    double FromMM(double MM) const;

    bool FInches;
    bool FUpdating = false;
};

// The unit of lengths in the designer, from the settings store of the
// report's IniFile: key "Units" (1 = inches) of the designer's section
// "Form5.TfrxDesignerForm", else of the older "Form.TfrxDesignerForm".
bool rudDesignerUsesInches(const QString &IniFile);

// The dialogs' OK/Cancel row (resource texts 1 and 2, buttons "OkB" and
// "CancelB", OK the default), accepting or rejecting Dialog.
QDialogButtonBox *rudOkCancelButtons(QDialog *Dialog);
