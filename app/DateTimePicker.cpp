#include "app/DateTimePicker.h"

#include "base/FormatSettings.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <cmath>

namespace {

// Whole days and time of day of a value; a day before the epoch carries its
// time as the absolute value of the fraction.
double wholeDays(TDateTime value) { return std::trunc(value); }
double timeOfDay(TDateTime value) { return std::fabs(value - std::trunc(value)); }

TDateTime withTime(double days, double time) { return days >= 0 ? days + time : days - time; }

// The dates a picker accepts: 1 January 0001 to 31 December 9999.
bool inRange(double days) { return days >= MinDateTime && days <= std::trunc(MaxDateTime); }

} // namespace

TDateTimePicker::TDateTimePicker(TDateTime initial, QWidget *parent)
    : QAbstractSpinBox(parent), FDateTime(initial)
{
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAccelerated(false);
    setWrapping(false);
    lineEdit()->setReadOnly(true);
    FButton = new QToolButton(this);
    FButton->setArrowType(Qt::DownArrow);
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setAutoRaise(true);
    connect(FButton, &QToolButton::clicked, this, &TDateTimePicker::DropDown);
    Refresh();
}

void TDateTimePicker::SetDateTime(TDateTime value)
{
    if (value == FDateTime)
        return;
    FDateTime = value;
    Refresh();
    emit Changed();
}

TDateTime TDateTimePicker::Date() const { return wholeDays(FDateTime); }

void TDateTimePicker::SetDate(TDateTime date)
{
    SetDateTime(withTime(wholeDays(date), timeOfDay(FDateTime)));
}

QString TDateTimePicker::DisplayText() const
{
    return FormatDateTime(FormatSettings().LongDateFormat, FDateTime);
}

void TDateTimePicker::Refresh()
{
    lineEdit()->setText(DisplayText());
    lineEdit()->setCursorPosition(0);
}

void TDateTimePicker::stepBy(int steps)
{
    const double days = Date() + steps;
    if (inRange(days))
        SetDate(days);
}

void TDateTimePicker::StepMonths(int months)
{
    const QDate moved = dateTimeToQDate(Date()).addMonths(months);
    if (moved.isValid() && moved.year() >= 1 && moved.year() <= 9999)
        SetDate(qDateToDateTime(moved));
}

QAbstractSpinBox::StepEnabled TDateTimePicker::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (inRange(Date() + 1))
        enabled |= StepUpEnabled;
    if (inRange(Date() - 1))
        enabled |= StepDownEnabled;
    return enabled;
}

void TDateTimePicker::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_F4:
        DropDown();
        return;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier) {
            DropDown();
            return;
        }
        break;
    case Qt::Key_PageUp:
        StepMonths(ctrl ? 12 : 1);
        return;
    case Qt::Key_PageDown:
        StepMonths(ctrl ? -12 : -1);
        return;
    default:
        break;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TDateTimePicker::DropDown()
{
    if (!FCalendar) {
        FCalendar = new QCalendarWidget(this);
        FCalendar->setWindowFlags(Qt::Popup);
        FCalendar->setGridVisible(true);
        connect(FCalendar, &QCalendarWidget::clicked, this, [this](QDate chosen) {
            SetDate(qDateToDateTime(chosen));
            FCalendar->hide();
        });
        connect(FCalendar, &QCalendarWidget::activated, this, [this](QDate chosen) {
            SetDate(qDateToDateTime(chosen));
            FCalendar->hide();
        });
    }
    FCalendar->setSelectedDate(dateTimeToQDate(Date()));
    FCalendar->adjustSize();
    FCalendar->move(mapToGlobal(QPoint(0, height())));
    FCalendar->show();
    FCalendar->setFocus();
}

void TDateTimePicker::resizeEvent(QResizeEvent *event)
{
    QAbstractSpinBox::resizeEvent(event);
    const int side = height() - 2;
    FButton->setGeometry(width() - side - 1, 1, side, side);
    QMargins margins = lineEdit()->textMargins();
    margins.setRight(side);
    lineEdit()->setTextMargins(margins);
}

void TDateTimePicker::showEvent(QShowEvent *event)
{
    // The regional settings may have been set after the picker was built.
    Refresh();
    QAbstractSpinBox::showEvent(event);
}

QSize TDateTimePicker::sizeHint() const
{
    const QSize hint = QAbstractSpinBox::sizeHint();
    return {fontMetrics().horizontalAdvance(DisplayText()) + height() + 12, hint.height()};
}
