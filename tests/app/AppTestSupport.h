#pragma once
// The entry window as the tests meet it: Russian regional settings, a
// recording user interface, the window shown and active so that focus moves
// as it does for the operator.

#include "app/main.h"
#include "base/FormatSettings.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

class TfrxPreviewForm;

struct TShownMainWindow {
    TShownMainWindow();
    ~TShownMainWindow();

    // Puts the focus into a control, types text there and tabs out of it.
    void TypeAndLeave(QWidget *control, const QString &text, bool clearFirst = true);

    TRecordingUserInterface Ui;
    TFormatSettingsScope Settings;
    std::unique_ptr<TfmMain> Window;
    bool Active = false;
};

// Runs Start (the print command), and Inspect on the preview window once its
// preparation has ended, then closes it; answers whether Inspect ran.
bool whenPrepared(const std::function<void(TfrxPreviewForm &)> &Inspect, const std::function<void()> &Start);
