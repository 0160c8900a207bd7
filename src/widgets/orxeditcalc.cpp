#include "widgets/orxeditcalc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>

#include <optional>

namespace {

// The separators of the Polish number format, used whatever the locale.
constexpr QChar DecimalSeparator = QLatin1Char(',');
constexpr QChar ThousandsSeparator = Money::GroupSeparator;

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// The strict reading: an optional sign, digits and at most one decimal
// separator, nothing else; at least one digit.
std::optional<Money> strictMoney(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && isSign(text[i]))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c))
            digits = true;
        else if (c == DecimalSeparator && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    return Money::parse(text);
}

TOrxEditCalc::ErrorReporter &errorReporter()
{
    static TOrxEditCalc::ErrorReporter reporter;
    return reporter;
}

TOrxEditCalc::BeepHook &beepHook()
{
    static TOrxEditCalc::BeepHook hook;
    return hook;
}

} // namespace

TOrxEditCalc::TOrxEditCalc(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    resize(121, 21);
    m_color = palette().color(QPalette::Base);
    connect(this, &QLineEdit::textChanged, this, &TOrxEditCalc::Change);
    SetValue(Money());
    // Placed on a parent with the value 0: an empty field.
    if (parentWidget())
        Clear();
}

Money TOrxEditCalc::Value()
{
    ReadText(false);
    if (m_options.testFlag(coCheckHighLimit) && m_value > m_highLimit)
        return m_highLimit;
    if (m_options.testFlag(coCheckLowLimit) && m_value < m_lowLimit)
        return m_lowLimit;
    return m_value;
}

void TOrxEditCalc::SetValue(Money value)
{
    m_value = value;
    Redisplay();
}

Money TOrxEditCalc::ValueReal()
{
    ReadText(false);
    return m_value;
}

void TOrxEditCalc::SetValueReal(Money value)
{
    SetValue(value);
}

Money TOrxEditCalc::ValueDispalyed()
{
    ReadText(false);
    if (!hasFocus()) {
        if (m_options.testFlag(coCheckHighLimit) && m_value > m_highLimit)
            return m_options.testFlag(coCropBeyondLimit) ? m_highLimit : m_value;
        if (m_options.testFlag(coCheckLowLimit) && m_value < m_lowLimit)
            return m_options.testFlag(coCropBeyondLimit) ? m_lowLimit : m_value;
    }
    return m_value;
}

void TOrxEditCalc::SetLowLimit(Money limit)
{
    m_lowLimit = limit;
    Redisplay();
}

void TOrxEditCalc::SetHighLimit(Money limit)
{
    m_highLimit = limit;
    Redisplay();
}

void TOrxEditCalc::SetCheckOptions(TOrxEditCheckOptions options)
{
    m_options = options;
    Redisplay();
}

bool TOrxEditCalc::IsEmpty() const
{
    return text().trimmed().isEmpty();
}

void TOrxEditCalc::SetIsEmpty(bool empty)
{
    if (empty) {
        Clear();
        return;
    }
    setText(QStringLiteral("0"));
    Redisplay();
}

void TOrxEditCalc::SetColor(const QColor &color)
{
    m_color = color;
    Redisplay();
}

void TOrxEditCalc::SetColorAbove(const QColor &color)
{
    m_colorAbove = color;
    Redisplay();
}

void TOrxEditCalc::SetColorBelow(const QColor &color)
{
    m_colorBelow = color;
    Redisplay();
}

void TOrxEditCalc::SetDisplayFormat(const QString &format)
{
    m_displayFormat = format;
    Redisplay();
}

void TOrxEditCalc::Clear()
{
    QLineEdit::clear();
    m_value = Money();
    Redisplay();
}

TOrxEditCalc::ErrorReporter TOrxEditCalc::SetErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = std::move(errorReporter());
    errorReporter() = std::move(reporter);
    return previous;
}

std::unique_ptr<QMessageBox> TOrxEditCalc::ErrorBox(const QString &text, QPoint at, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Błąd"), text, QMessageBox::Ok,
                                             parent);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    // Placed where it was asked for, not centred over the window.
    box->move(at);
    return box;
}

TOrxEditCalc::BeepHook TOrxEditCalc::SetBeepHook(BeepHook hook)
{
    BeepHook previous = std::move(beepHook());
    beepHook() = std::move(hook);
    return previous;
}

void TOrxEditCalc::focusInEvent(QFocusEvent *event)
{
    // Coming back to the window, out of a popup, or back after an error
    // does not enter the control again.
    if (m_entered) {
        QLineEdit::focusInEvent(event);
        return;
    }
    m_entered = true;
    // After a failed reading the user sees what they typed.
    if (!m_invalid)
        Display(true);
    QLineEdit::focusInEvent(event);
    emit entered();
    selectAll();
}

void TOrxEditCalc::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Another window or a popup taking the focus does not leave the control.
    if (!m_entered || event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    m_entered = false;
    emit exited();
    const bool report = m_options.testFlag(coCheckOnExit);
    if (!ReadText(report) && report)
        return;
    Display(false);
}

void TOrxEditCalc::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ParentChange && m_value.isZero() && parentWidget())
        Clear();
}

bool TOrxEditCalc::ReadText(bool reportErrors)
{
    const QString whole = text();
    if (whole.trimmed().isEmpty()) {
        m_value = Money();
        return true;
    }

    // Cut what cannot belong to the number at either end ("12,50 zł"), drop
    // the thousands separators.
    QString cleaned = whole;
    qsizetype from = 0;
    while (from < cleaned.size() && !isSign(cleaned[from]) && !isDigit(cleaned[from])
           && cleaned[from] != DecimalSeparator)
        ++from;
    qsizetype to = cleaned.size();
    while (to > from && !isDigit(cleaned[to - 1]) && cleaned[to - 1] != DecimalSeparator)
        --to;
    cleaned = cleaned.mid(from, to - from);
    cleaned.remove(ThousandsSeparator);

    if (const std::optional<Money> value = strictMoney(cleaned)) {
        m_value = *value;
        m_invalid = false;
        return true;
    }
    m_invalid = true;

    // The text the display format shows for zero reads as zero.
    if (m_displayFormat.count(QLatin1Char(';')) >= 2) {
        const QString zero = m_displayFormat.section(QLatin1Char(';'), 2);
        if (cleaned.compare(zero, Qt::CaseInsensitive) == 0) {
            m_value = Money();
            m_invalid = false;
            return true;
        }
    }

    // Whatever is left of the number, read as well as it can be.
    QString kept;
    for (const QChar c : cleaned)
        if (isSign(c) || isDigit(c) || c == DecimalSeparator)
            kept += c;
    m_value = Money::parse(kept).value_or(Money());

    if (reportErrors)
        ReportError();
    else
        Beep();
    return false;
}

void TOrxEditCalc::Display(bool focused)
{
    if (!parentWidget())
        return;
    // Setting the text here is no edit to check.
    const bool checkOnChange = m_options.testFlag(coCheckOnChange);
    m_options.setFlag(coCheckOnChange, false);

    if (text().trimmed().isEmpty() && m_value.isZero()) {
        Show(std::nullopt, m_color);
    } else if (focused) {
        Show(m_value, m_color);
    } else if (m_options.testFlag(coCheckHighLimit) && m_value > m_highLimit) {
        if (m_options.testFlag(coCropBeyondLimit)) {
            // The limit becomes the text, and so the value.
            m_value = m_highLimit;
            Show(m_highLimit, m_color);
        } else {
            Show(m_value, m_colorAbove);
        }
    } else if (m_options.testFlag(coCheckLowLimit) && m_value < m_lowLimit) {
        if (m_options.testFlag(coCropBeyondLimit)) {
            m_value = m_lowLimit;
            Show(m_lowLimit, m_color);
        } else {
            Show(m_value, m_colorBelow);
        }
    } else {
        Show(m_value, m_color);
    }

    m_options.setFlag(coCheckOnChange, checkOnChange);
}

void TOrxEditCalc::Redisplay()
{
    Display(hasFocus());
}

void TOrxEditCalc::Show(std::optional<Money> value, const QColor &background)
{
    if (value) {
        // Without a format: money with the Polish currency settings.
        setText(m_displayFormat.isEmpty() ? value->format(2, true) + QStringLiteral(" zł")
                                          : value->format(m_displayFormat));
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Base, background);
    setPalette(colours);
}

void TOrxEditCalc::Change()
{
    emit changed();
    m_invalid = false;
    if (m_options.testFlag(coCheckOnChange))
        ReadText(false);
}

void TOrxEditCalc::Beep()
{
    QApplication::beep();
    if (const BeepHook &hook = beepHook())
        hook();
}

void TOrxEditCalc::ReportError()
{
    // The focus stays in the control: leaving it is undone once the focus
    // change in progress has ended, and the text stays as typed.
    m_entered = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QPoint at = mapToGlobal(QPoint(0, height()));
            if (const ErrorReporter &reporter = errorReporter())
                reporter(this, ErrorText, at);
            else
                ErrorBox(ErrorText, at, window())->exec();
            // The window the box covered takes the keyboard back.
            if (!window()->isActiveWindow())
                window()->activateWindow();
            setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}
