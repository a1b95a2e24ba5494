#pragma once
// The date picker of the entry window.

#include "base/DateTime.h"

#include <QAbstractSpinBox>
#include <vector>

class QCalendarWidget;
class QToolButton;

// A date field that shows its value in the long date format of the regional
// settings and keeps a time of day of its own: setting the date replaces only
// the day, so pickers set to the same date compare equal by date even though
// they carry a time. Up/Down step a day, PageUp/PageDown a month,
// Ctrl+PageUp/PageDown a year; the arrow button, F4 or Alt+Down open a
// calendar. The day, month and year of the text are parts of their own: a
// click or Left/Right/Home/End choose one, and typed digits set it (the month
// by its number, also where the text names it); a part whose digits are
// complete passes on to the next, and a separator key, leaving the part or
// the picker, Enter or a step take the digits typed so far.
class TDateTimePicker : public QAbstractSpinBox {
    Q_OBJECT
public:
    // What a part of the text stands for.
    enum class TPartKind { Day, Month, Year };

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

    // The part typed digits go to.
    TPartKind CurrentPart() const;
    // Makes the part of that kind current (when the format shows it).
    void SetCurrentPart(TPartKind kind);
    // Where the current part lies in the shown text (start, length).
    std::pair<int, int> CurrentPartRange() const;

    // Opens the drop-down calendar on the current date.
    void DropDown();

    void stepBy(int steps) override;

signals:
    // The value changed (by the operator or the program).
    void Changed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    QSize sizeHint() const override;

private:
    // A day, month or year in the shown text.
    struct TPart {
        TPartKind Kind;
        int Start = 0;
        int Length = 0;
    };

    // Appends the text of the value in picture to text and where its day,
    // month and year lie to parts; showTyped puts the digits typed so far in
    // place of the current part.
    void LayoutPicture(const QString &picture, int nesting, bool showTyped, QString &text,
                       std::vector<TPart> &parts) const;
    void TypeDigit(int digit);
    // Applies the digits typed into the current part, if any.
    void CommitTyped();
    void MovePart(int index);
    int PartAt(int position) const;
    void StepMonths(int months);
    void Refresh();

    TDateTime FDateTime;
    std::vector<TPart> FParts;
    int FPart = 0;
    QString FTyped;
    QToolButton *FButton = nullptr;
    QCalendarWidget *FCalendar = nullptr;
};
