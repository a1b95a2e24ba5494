#pragma once
// The page options editor: paper, orientation, margins, paper source,
// columns and page switches of a report page, in the designer's unit.

#include "designer/rudComponentEditors.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TfrxCustomDesigner;
class TfrxReportPage;

// "Page Options": the modal window that edits one report page. Lengths are
// shown in the designer's unit and stored in the page in millimetres; the
// paper and bin lists are those of the current printer.
class TfrxPageEditorForm : public QDialog {
    Q_OBJECT
public:
    // Fills the fields from Page (see Execute). Designer gives the unit and
    // is the window's owner.
    TfrxPageEditorForm(TfrxCustomDesigner *Designer, TfrxReportPage *Page);
    ~TfrxPageEditorForm() override;

    // Runs the window modally (userInterface().ExecDialog). On OK the fields
    // are applied to the page and to the pages of the sub-report objects on
    // it, and the result is true; Cancel changes nothing. A length field that
    // holds no number raises EConvertError while applying: the fields before
    // it are applied, the ones after it are not.
    bool Execute();

    TfrxReportPage *Page() const { return FPage; }

    QTabWidget *PageControl = nullptr;
    // "Paper" tab.
    QComboBox *SizeCB = nullptr;
    QLineEdit *WidthE = nullptr, *HeightE = nullptr;
    QRadioButton *PortraitRB = nullptr, *LandscapeRB = nullptr;
    QLabel *PortraitImg = nullptr, *LandscapeImg = nullptr;
    QLineEdit *MarginLeftE = nullptr, *MarginTopE = nullptr, *MarginRightE = nullptr, *MarginBottomE = nullptr;
    QComboBox *Tray1CB = nullptr, *Tray2CB = nullptr;
    // "Other options" tab. ColumnsNumberE is the read-only text of the
    // up-down control UpDown1.
    QSpinBox *UpDown1 = nullptr;
    QLineEdit *ColumnsNumberE = nullptr;
    QLineEdit *ColumnWidthE = nullptr;
    QPlainTextEdit *ColumnPositionsM = nullptr;
    QCheckBox *PrintOnPrevCB = nullptr, *MirrorMarginsCB = nullptr, *EndlessWidthCB = nullptr,
              *EndlessHeightCB = nullptr, *LargeHeightCB = nullptr;
    QComboBox *DuplexCB = nullptr;
    QPushButton *OkB = nullptr, *CancelB = nullptr;
    // The unit names after the length fields.
    QList<QLabel *> UnitLabels;

protected:
    // F1 opens the help topic of this window.
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void BuildPaperTab(QWidget *Tab);
    void BuildOptionsTab(QWidget *Tab);
    QLineEdit *LengthEdit(const char *Name, QWidget *Parent);
    // Fills every field from the page; change handlers are suppressed.
    void FormShow();
    // The paper or the orientation changed: the printer's view paper is set
    // from the fields and its size written back into WidthE and HeightE.
    void PaperChanged();
    void OrientationClick();
    void UpdateOrientationImages();
    // Width or height typed: the size becomes the custom entry.
    void SizeTyped();
    // New number of columns: equal columns across the printable width.
    void ColumnsChanged(int Value);
    // Writes the fields into Page; raises EConvertError for a non-number.
    void ApplyTo(TfrxReportPage *Page);
    // A length in millimetres as the text of the designer's unit, and back.
    QString ToUnits(double mm, bool Horizontal) const;
    double ToMM(const QLineEdit *Edit, bool Horizontal) const;
    // Runs a change handler, showing a conversion error instead of letting
    // it leave the event loop.
    template <class F> void Guarded(F Handler);

    TfrxCustomDesigner *FDesigner;
    TfrxReportPage *FPage;
    bool FUpdating = false;
};

// The component editor of report pages: the page options window.
class TfrxPageEditor : public TfrxComponentEditor {
public:
    using TfrxComponentEditor::TfrxComponentEditor;
    // Runs the window for the page; true when it was applied (also when a
    // conversion error stopped it half-way: the error is shown and the
    // fields before it stay applied). False, without a window, for a
    // sub-report's page or when the designer forbids changing page options.
    bool Edit() override;
    bool HasEditor() const override;
};

// True when a sub-report object of Page's report prints Page.
bool rudIsSubreportPage(TfrxReportPage *Page);
