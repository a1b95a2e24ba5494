// The rules the entry window keeps while the operator types: the category
// mirrors, the hours format and total, the checks before printing, and the
// clear command.

#include "app/main.h"

#include "base/DateTime.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"

#include <QComboBox>
#include <QLabel>

namespace {

// Hours are shown with at least one integer digit and at most one decimal.
const QString hoursPicture = QStringLiteral("0.#");

QString numbered(const char *prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

// The labels size themselves to their text and keep their left edge.
void setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace

void TfmMain::Edit_8Change()
{
    const QString category = Edit_8->text();
    setCaption(Label1, category);
    setCaption(Label2, category);
    setCaption(Label3, category);
}

void TfmMain::edt_1Change()
{
    // All ten cells, in order; a cell that does not parse stops the run there.
    for (int i = 1; i <= 10; ++i) {
        TEdit *cell = Component<TEdit>(numbered("edt_", i));
        if (cell->text().isEmpty())
            cell->setText(QStringLiteral("0"));
        const double hours = StrToFloat(cell->text());
        cell->setText(FormatFloat(hoursPicture, hours));
    }
    edt_11->setText(FormatFloat(hoursPicture, SumAll()));
}

double TfmMain::SumAll() const { return certificateHoursSum(Certificate()); }

QString TfmMain::EntryFault() const { return certificateEntryFault(Certificate()); }

bool TfmMain::CorrectAll()
{
    const QString fault = EntryFault();
    if (!fault.isEmpty()) {
        showMessage(fault);
        return false;
    }
    return true;
}

void TfmMain::N6Click()
{
    for (int i = 1; i <= 10; ++i) {
        Component<TEdit>(numbered("edit_", i))->setText(QString());
        Component<TEdit>(numbered("edt_", i))->setText(QStringLiteral("0"));
        Component<QComboBox>(numbered("cmb_", i))->setCurrentIndex(-1);
    }
    const TDateTime today = Date();
    for (int i = 1; i <= 4; ++i)
        Component<TDateTimePicker>(numbered("DateTimePicker", i))->SetDate(today);
    cmb_kpp->setCurrentIndex(-1);
    // The total follows the cleared cells; a stale total would be printed.
    edt_11->setText(QStringLiteral("0"));
    TraineeDetails = TTraineeDetails();
    SetDuplicateOf(nullptr);
}
