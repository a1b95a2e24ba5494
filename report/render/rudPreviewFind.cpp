// Text search in the preview: the "Find Text" dialog and the walk over the
// text outputs of the prepared pages.

#include "report/render/rudPreviewDialogs.h"

#include "base/UserInterface.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreview.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

TfrxSearchDialog::TfrxSearchDialog(QWidget *Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(rudGet(300));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(rudGet(301), this));
    TextE = new QLineEdit(this);
    TextE->setObjectName(QStringLiteral("TextE"));
    layout->addWidget(TextE);
    auto *options = new QGroupBox(rudGet(302), this);
    auto *optionsLayout = new QVBoxLayout(options);
    TopCB = new QCheckBox(rudGet(304), options);
    TopCB->setObjectName(QStringLiteral("TopCB"));
    CaseCB = new QCheckBox(rudGet(305), options);
    CaseCB->setObjectName(QStringLiteral("CaseCB"));
    optionsLayout->addWidget(TopCB);
    optionsLayout->addWidget(CaseCB);
    layout->addWidget(options);
    layout->addWidget(rudOkCancelButtons(this));
}

void TfrxPreview::Find()
{
    if (FRunning)
        return;
    TfrxSearchDialog dialog(window());
    dialog.TextE->setText(FSearchText);
    dialog.CaseCB->setChecked(FSearchCase);
    if (userInterface().ExecDialog(&dialog) == QDialog::Accepted && !dialog.TextE->text().isEmpty())
        FindText(dialog.TextE->text(), dialog.TopCB->isChecked(), dialog.CaseCB->isChecked());
}

bool TfrxPreview::FindText(const QString &SearchString, bool FromTop, bool IsCaseSensitive)
{
    FSearchText = SearchString;
    FSearchCase = IsCaseSensitive;
    FSearched = true;
    FFoundRecord = -1;
    FWorkspace->FoundPage = -1;
    return SearchFrom(FromTop ? 0 : FPageNo - 1);
}

void TfrxPreview::FindNext()
{
    // Repeats only a search that was made.
    if (!FSearched || FRunning)
        return;
    SearchFrom(FWorkspace->FoundPage >= 0 ? FWorkspace->FoundPage : FPageNo - 1);
}

bool TfrxPreview::SearchFrom(int StartPage)
{
    const Qt::CaseSensitivity sensitivity = FSearchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int count = PageCount();
    for (int page = std::max(0, StartPage); page < count; ++page) {
        // A page other than the one of the last hit is searched from its start.
        const int after = page == FWorkspace->FoundPage ? FFoundRecord : -1;
        const QList<TfrxPreviewTextRecord> records = PageTextRecords(page);
        for (int i = after + 1; i < records.size(); ++i) {
            if (!records[i].Text.contains(FSearchText, sensitivity))
                continue;
            FWorkspace->FoundPage = page;
            FWorkspace->FoundRect = records[i].Bounds;
            FFoundRecord = i;
            if (page + 1 != FPageNo)
                SetPageNo(page + 1);
            const QRect pageRect = FWorkspace->PageRect(page);
            const QRectF hit = records[i].Bounds;
            FWorkspace->ScrollIntoView(QRect(int(pageRect.left() + hit.left() * FZoom),
                                             int(pageRect.top() + hit.top() * FZoom),
                                             int(std::ceil(hit.width() * FZoom)),
                                             int(std::ceil(hit.height() * FZoom))));
            FWorkspace->viewport()->update();
            return true;
        }
    }
    FWorkspace->FoundPage = -1;
    FFoundRecord = -1;
    FWorkspace->viewport()->update();
    showMessage(rudResources().Get(QStringLiteral("clStrNotFound")));
    return false;
}

QDialogButtonBox *rudOkCancelButtons(QDialog *Dialog)
{
    auto *buttons = new QDialogButtonBox(Dialog);
    QPushButton *ok = buttons->addButton(rudGet(1), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkB"));
    ok->setDefault(true);
    buttons->addButton(rudGet(2), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelB"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, Dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, Dialog, &QDialog::reject);
    return buttons;
}
