#pragma once
// The progress window of the engine: a small tool window with one message
// line and a Cancel button.

#include "report/engine/rudProgress.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <memory>

// Qt progress window; Cancel sets Terminated, which the engine reads at its
// next progress report.
class TfrxProgressForm final : public TfrxProgressWindow {
public:
    TfrxProgressForm();
    ~TfrxProgressForm() override;
    void Show(const QString &Caption) override;
    void SetMessage(const QString &Text) override;
    bool Terminated() const override { return FTerminated; }
    // The window itself (for tests and screenshots).
    QWidget *Widget() const { return FWidget; }

private:
    QPointer<QWidget> FWidget;
    QPointer<QLabel> FLabel;
    bool FTerminated = false;
};

// A new TfrxProgressForm (the ProgressWindow service); nullptr without a
// widget application.
std::unique_ptr<TfrxProgressWindow> rudMakeProgressWindow();
