#include "report/render/rudProgressWindow.h"

#include "report/model/rudRes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

TfrxProgressForm::TfrxProgressForm()
{
    FWidget = new QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    FWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(FWidget);
    FLabel = new QLabel(FWidget);
    FLabel->setMinimumWidth(220);
    layout->addWidget(FLabel);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *cancel = new QPushButton(rudResources().Get(QStringLiteral("clCancel")), FWidget);
    row->addWidget(cancel);
    row->addStretch();
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, [this] { FTerminated = true; });
}

TfrxProgressForm::~TfrxProgressForm()
{
    delete FWidget;
}

void TfrxProgressForm::Show(const QString &Caption)
{
    FWidget->setWindowTitle(Caption);
    FWidget->show();
}

void TfrxProgressForm::SetMessage(const QString &Text)
{
    FLabel->setText(Text);
}

std::unique_ptr<TfrxProgressWindow> rudMakeProgressWindow()
{
    // Without a widget application (command line, core tests) no window.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    return std::make_unique<TfrxProgressForm>();
}
