#include "widgets/orxeditcalc.h"

#include "widgets/fielderror.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>

#include <optional>

namespace {

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

void TOrxEditCalc::SetWholeDigits(int digits)
{
    m_wholeDigits = digits;
}

bool TOrxEditCalc::CheckReadable()
{
    if (Read())
        return true;
    m_invalid = true;
    ReportError();
    return false;
}

TOrxEditCalc *TOrxEditCalc::ReportUnreadable(QWidget &window)
{
    for (TOrxEditCalc *control : window.findChildren<TOrxEditCalc *>())
        if (control->isEnabled() && !control->CheckReadable())
            return control;
    return nullptr;
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
    // A text that does not read stays for the user to see and correct.
    if (const std::optional<Money> value = Read()) {
        m_value = *value;
        Display(true);
    }
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
    const bool report = m_options.testFlag(coCheckOnExit);
    if (!ReadText(report)) {
        // Reported, the control keeps the focus; unreported, the text stays as typed.
        m_entered = report;
        return;
    }
    m_entered = false;
    Display(false);
    emit exited();
}

void TOrxEditCalc::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ParentChange && m_value.isZero() && parentWidget())
        Clear();
}

void TOrxEditCalc::keyPressEvent(QKeyEvent *event)
{
    // The keypad's decimal key types the Polish separator, whatever the layout.
    const bool keypadPoint = event->modifiers().testFlag(Qt::KeypadModifier)
        && (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if (keypadPoint && !isReadOnly()) {
        insert(QStringLiteral(","));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

std::optional<Money> TOrxEditCalc::Read() const
{
    const QString whole = text();
    if (whole.trimmed().isEmpty())
        return Money();
    std::optional<Money> value = Money::parse(whole);
    if (!m_shownText.isNull() && whole == m_shownText) {
        value = m_shownValue;
    } else if (!value && m_displayFormat.count(QLatin1Char(';')) >= 2) {
        const QString zero = m_displayFormat.section(QLatin1Char(';'), 2).trimmed();
        if (whole.trimmed().compare(zero, Qt::CaseInsensitive) == 0)
            value = Money();
    }
    if (!value || m_wholeDigits <= 0)
        return value;
    qint64 largest = 1;
    for (int i = 0; i < m_wholeDigits; ++i)
        largest *= 10;
    const bool cropsNegative = m_options.testFlag(coCheckLowLimit) && m_options.testFlag(coCropBeyondLimit)
        && m_lowLimit >= Money();
    if (value->raw() % Money::Scale != 0 || *value >= Money::fromUnits(largest)
        || (*value < Money() && !cropsNegative))
        return std::nullopt;
    return value;
}

bool TOrxEditCalc::ReadText(bool reportErrors)
{
    if (const std::optional<Money> value = Read()) {
        m_value = *value;
        m_invalid = false;
        return true;
    }
    m_invalid = true;
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
        m_shownText = text();
        m_shownValue = *value;
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
    FieldError::report(this, ErrorText);
}
