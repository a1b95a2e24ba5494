#pragma once
// The date picker of the entry window.

#include "base/DateTime.h"

#include <QAbstractSpinBox>

class QCalendarWidget;
class QToolButton;

// A date field that shows its value in the long date format of the regional
// settings and keeps a time of day of its own: setting the date replaces only
// the day, so pickers set to the same date compare equal by date even though
// they carry a time. Up/Down step a day, PageUp/PageDown a month,
// Ctrl+PageUp/PageDown a year; the arrow button, F4 or Alt+Down open a
// calendar.
class TDateTimePicker : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TDateTimePicker(TDateTime initial, QWidget *parent = nullptr);

    // The whole value: date and the picker's time of day.
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime value);
    // The date alone (the whole days of the value).
    TDateTime Date() const;
    // Replaces the day and keeps the time of day.
    void SetDate(TDateTime date);

    // The shown text, as formatted from the value.
    QString DisplayText() const;

    // Opens the drop-down calendar on the current date.
    void DropDown();

    void stepBy(int steps) override;

signals:
    // The value changed (by the operator or the program).
    void Changed();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    QSize sizeHint() const override;

private:
    void StepMonths(int months);
    void Refresh();

    TDateTime FDateTime;
    QToolButton *FButton = nullptr;
    QCalendarWidget *FCalendar = nullptr;
};
