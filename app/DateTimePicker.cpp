#include "app/DateTimePicker.h"

#include "base/FormatSettings.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <climits>
#include <cmath>

namespace {

// Whole days and time of day of a value; a day before the epoch carries its
// time as the absolute value of the fraction.
double wholeDays(TDateTime value) { return std::trunc(value); }
double timeOfDay(TDateTime value) { return std::fabs(value - std::trunc(value)); }

TDateTime withTime(double days, double time) { return days >= 0 ? days + time : days - time; }

// The dates a picker accepts: 1 January 0001 to 31 December 9999.
bool inRange(double days) { return days >= MinDateTime && days <= std::trunc(MaxDateTime); }

using TPartKind = TDateTimePicker::TPartKind;

int maxDigits(TPartKind kind) { return kind == TPartKind::Year ? 4 : 2; }
int maxValue(TPartKind kind)
{
    switch (kind) {
    case TPartKind::Day: return 31;
    case TPartKind::Month: return 12;
    case TPartKind::Year: return 9999;
    }
    return 0;
}

// Keys that end the digits of a part, as the separators of a typed date do.
bool isSeparatorKey(QChar c)
{
    return c == u'.' || c == u'/' || c == u'-' || c == u',' || c == u' ' || c == FormatSettings().DateSeparator;
}

} // namespace

TDateTimePicker::TDateTimePicker(TDateTime initial, QWidget *parent)
    : QAbstractSpinBox(parent), FDateTime(initial)
{
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAccelerated(false);
    setWrapping(false);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
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
    std::vector<TPart> parts;
    QString text;
    LayoutPicture(FormatSettings().LongDateFormat, 0, false, text, parts);
    return text;
}

// The picture is cut into the day, month and year letters, each formatted
// alone, and the text between them, formatted as a whole (weekday names,
// quoted text, separators), so the parts join up to exactly the text the
// whole picture gives. ddddd and dddddd bring in the short and the long date
// format, one level deep as in formatting.
void TDateTimePicker::LayoutPicture(const QString &picture, int nesting, bool showTyped, QString &text,
                                    std::vector<TPart> &parts) const
{
    if (nesting > 1)
        return;
    QString literal;
    const auto flush = [&] {
        if (!literal.isEmpty())
            text += FormatDateTime(literal, FDateTime);
        literal.clear();
    };
    const qsizetype n = picture.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = picture[i];
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n && picture[j] != c)
                ++j;
            literal += picture.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        const QChar letter = c.toUpper();
        if (letter != u'D' && letter != u'M' && letter != u'Y') {
            literal += c;
            ++i;
            continue;
        }
        qsizetype count = 1;
        while (i + count < n && picture[i + count].toUpper() == letter)
            ++count;
        const QString run = picture.mid(i, count);
        i += count;
        if (letter == u'D' && count >= 3 && count <= 4) {
            literal += run;
            continue;
        }
        flush();
        if (letter == u'D' && count >= 5) {
            const TFormatSettings &settings = FormatSettings();
            LayoutPicture(count == 5 ? settings.ShortDateFormat : settings.LongDateFormat, nesting + 1,
                          showTyped, text, parts);
            continue;
        }
        TPart part;
        part.Kind = letter == u'D' ? TPartKind::Day : letter == u'M' ? TPartKind::Month : TPartKind::Year;
        part.Start = int(text.size());
        const bool typing = showTyped && int(parts.size()) == FPart && !FTyped.isEmpty();
        text += typing ? FTyped : FormatDateTime(run, FDateTime);
        part.Length = int(text.size()) - part.Start;
        parts.push_back(part);
    }
    flush();
}

TDateTimePicker::TPartKind TDateTimePicker::CurrentPart() const
{
    return FParts.empty() ? TPartKind::Day : FParts[FPart].Kind;
}

void TDateTimePicker::SetCurrentPart(TPartKind kind)
{
    for (size_t i = 0; i < FParts.size(); ++i)
        if (FParts[i].Kind == kind) {
            MovePart(int(i));
            return;
        }
}

std::pair<int, int> TDateTimePicker::CurrentPartRange() const
{
    if (FParts.empty())
        return {0, 0};
    return {FParts[FPart].Start, FParts[FPart].Length};
}

void TDateTimePicker::Refresh()
{
    QString text;
    FParts.clear();
    LayoutPicture(FormatSettings().LongDateFormat, 0, true, text, FParts);
    if (FPart >= int(FParts.size()))
        FPart = FParts.empty() ? 0 : int(FParts.size()) - 1;
    lineEdit()->setText(text);
    if (hasFocus() && !FParts.empty())
        lineEdit()->setSelection(FParts[FPart].Start, FParts[FPart].Length);
    else
        lineEdit()->setCursorPosition(0);
}

// Digits fill the current part up to its width; a number that can no longer
// grow (a day from 4, a month from 2) is complete at once, and one that would
// be too big starts again from the digit just typed. A complete part takes
// effect and the next part becomes current.
void TDateTimePicker::TypeDigit(int digit)
{
    if (FParts.empty())
        return;
    const TPartKind kind = FParts[FPart].Kind;
    QString typed = FTyped + QChar(u'0' + digit);
    if (kind != TPartKind::Year && typed.toInt() > maxValue(kind))
        typed = QString(QChar(u'0' + digit));
    FTyped = typed;
    const bool complete = typed.size() >= maxDigits(kind)
        || (kind != TPartKind::Year && typed.toInt() * 10 > maxValue(kind));
    if (!complete) {
        Refresh();
        return;
    }
    CommitTyped();
    MovePart(FPart + 1);
}

// A day past the end of the month becomes its last day, also when a new
// month or year is shorter; a year of one or two digits lies in the century
// window, as in typed date texts. Zero is no day, month or year: it is
// dropped and the date stays.
void TDateTimePicker::CommitTyped()
{
    if (FTyped.isEmpty() || FParts.empty())
        return;
    const int value = FTyped.toInt();
    const qsizetype digits = FTyped.size();
    FTyped.clear();
    int year = 0, month = 0, day = 0;
    DecodeDate(Date(), year, month, day);
    if (value >= 1) {
        switch (FParts[FPart].Kind) {
        case TPartKind::Day: day = value; break;
        case TPartKind::Month: month = value; break;
        case TPartKind::Year: year = digits <= 2 ? expandTwoDigitYear(value, FormatSettings()) : value; break;
        }
        if (year >= 1 && year <= 9999 && month >= 1 && month <= 12)
            SetDate(EncodeDate(year, month, qMin(day, DaysInMonth(year, month))));
    }
    Refresh();
}

void TDateTimePicker::MovePart(int index)
{
    CommitTyped();
    if (FParts.empty())
        return;
    FPart = qBound(0, index, int(FParts.size()) - 1);
    Refresh();
}

int TDateTimePicker::PartAt(int position) const
{
    int best = 0, bestDistance = INT_MAX;
    for (size_t i = 0; i < FParts.size(); ++i) {
        const int start = FParts[i].Start, end = start + FParts[i].Length;
        const int distance = position < start ? start - position : position > end ? position - end : 0;
        if (distance < bestDistance) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return best;
}

void TDateTimePicker::stepBy(int steps)
{
    CommitTyped();
    const double days = Date() + steps;
    if (inRange(days))
        SetDate(days);
}

void TDateTimePicker::StepMonths(int months)
{
    CommitTyped();
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

bool TDateTimePicker::event(QEvent *event)
{
    // While digits are being typed, Escape drops them instead of reaching the
    // window's cancel button.
    if (event->type() == QEvent::ShortcutOverride && !FTyped.isEmpty()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QAbstractSpinBox::event(event);
}

bool TDateTimePicker::eventFilter(QObject *watched, QEvent *event)
{
    // A click chooses the part under the mouse (the one nearest to it).
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        CommitTyped();
        FPart = PartAt(lineEdit()->cursorPositionAt(at));
        Refresh();
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

void TDateTimePicker::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_F4:
        DropDown();
        return;
    case Qt::Key_Down:
        if (modifiers & Qt::AltModifier) {
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
    case Qt::Key_Left:
        MovePart(FPart - 1);
        return;
    case Qt::Key_Right:
        MovePart(FPart + 1);
        return;
    case Qt::Key_Home:
        MovePart(0);
        return;
    case Qt::Key_End:
        MovePart(int(FParts.size()) - 1);
        return;
    case Qt::Key_Backspace:
        if (!FTyped.isEmpty()) {
            FTyped.chop(1);
            Refresh();
        }
        return;
    case Qt::Key_Escape:
        if (!FTyped.isEmpty()) {
            FTyped.clear();
            Refresh();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitTyped();
        break;
    default: {
        const QString text = event->text();
        if (text.size() == 1 && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            const QChar c = text[0];
            if (c >= u'0' && c <= u'9') {
                TypeDigit(c.unicode() - u'0');
                return;
            }
            // A separator ends the digits of a part; right after a part
            // that passed on by itself it has nothing to end.
            if (isSeparatorKey(c)) {
                if (!FTyped.isEmpty())
                    MovePart(FPart + 1);
                return;
            }
        }
        break;
    }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TDateTimePicker::focusInEvent(QFocusEvent *event)
{
    QAbstractSpinBox::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason)
        FPart = 0;
    else if (event->reason() == Qt::BacktabFocusReason)
        FPart = FParts.empty() ? 0 : int(FParts.size()) - 1;
    Refresh();
}

void TDateTimePicker::focusOutEvent(QFocusEvent *event)
{
    CommitTyped();
    QAbstractSpinBox::focusOutEvent(event);
    Refresh();
}

void TDateTimePicker::DropDown()
{
    CommitTyped();
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
