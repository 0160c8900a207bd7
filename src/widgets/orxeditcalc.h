#pragma once

#include "core/money.h"

#include <QColor>
#include <QFlags>
#include <QLineEdit>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

// What the calculator edit checks, bit 0 upwards.
enum TOrxEditCheckOption : quint8 {
    coCheckLowLimit = 0x01,   // a value below LowLimit is out of range
    coCheckHighLimit = 0x02,  // a value above HighLimit is out of range
    coCheckOnChange = 0x04,   // every change of the text is read (an unreadable one beeps)
    coCheckOnExit = 0x08,     // leaving with an unreadable text shows an error and keeps the focus
    coCropBeyondLimit = 0x10, // an out-of-range value is replaced by its limit when left
};
Q_DECLARE_FLAGS(TOrxEditCheckOptions, TOrxEditCheckOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOrxEditCheckOptions)

// A one-line, right-aligned edit of an amount of money. While it has no
// focus it shows its value through the display format (Polish notation,
// whatever the machine's locale) and marks a value beyond a checked limit by
// its background, or replaces it by the limit. Users read Value or ValueReal
// and IsEmpty and write Value; they never parse the text themselves.
//
// The text is read by the program's one reading rule (Money::parse); the
// text of the display format's zero section reads as 0, and the text the
// control last showed reads as the value it showed, all its decimals kept.
// Whatever else is unreadable: it is never guessed, never replaced, and the
// value stays the last one read. Leaving with an unreadable text shows
// "Niepoprawna zawartość pola" under the control and keeps the focus there
// (coCheckOnExit; without it only a beep); "exited" tells of a leaving whose
// text was read. A control for whole numbers reads nothing else.
// The numeric keypad's decimal key types ",".
//
// Nothing is shown while the control has no parent; a control placed on its
// parent with the value 0 shows an empty field.
class TOrxEditCalc : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(Money Value READ Value WRITE SetValue)
    Q_PROPERTY(Money ValueReal READ ValueReal WRITE SetValueReal)
    Q_PROPERTY(Money LowLimit READ LowLimit WRITE SetLowLimit)
    Q_PROPERTY(Money HighLimit READ HighLimit WRITE SetHighLimit)
    Q_PROPERTY(TOrxEditCheckOptions CheckOptions READ CheckOptions WRITE SetCheckOptions)
    Q_PROPERTY(Money ValueDispalyed READ ValueDispalyed)
    Q_PROPERTY(bool IsEmpty READ IsEmpty WRITE SetIsEmpty)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QColor ColorAbove READ ColorAbove WRITE SetColorAbove)
    Q_PROPERTY(QColor ColorBelow READ ColorBelow WRITE SetColorBelow)
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)

public:
    static constexpr TOrxEditCheckOptions DefaultCheckOptions{coCheckLowLimit, coCheckHighLimit, coCheckOnExit,
                                                              coCropBeyondLimit};
    static inline const QColor DefaultColorAbove{0, 255, 255}; // aqua
    static inline const QColor DefaultColorBelow{0, 255, 0};   // lime
    // The text of the error shown when the control is left with an unreadable text.
    static inline const QString ErrorText = QStringLiteral("Niepoprawna zawartość pola");

    explicit TOrxEditCalc(QWidget *parent = nullptr);

    // The value read from the text, pulled into the checked limits.
    Money Value();
    void SetValue(Money value);
    // The value read from the text, no limits applied.
    Money ValueReal();
    void SetValueReal(Money value);
    Money LowLimit() const { return m_lowLimit; }
    void SetLowLimit(Money limit);
    Money HighLimit() const { return m_highLimit; }
    void SetHighLimit(Money limit);
    TOrxEditCheckOptions CheckOptions() const { return m_options; }
    void SetCheckOptions(TOrxEditCheckOptions options);
    // The value as the control shows it: cropped to a checked limit when it
    // is not focused and coCropBeyondLimit is set.
    Money ValueDispalyed();
    // True while the trimmed text is empty. Setting true empties the field
    // (value 0); setting false writes "0" and redisplays.
    bool IsEmpty() const;
    void SetIsEmpty(bool empty);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    QColor ColorAbove() const { return m_colorAbove; }
    void SetColorAbove(const QColor &color);
    QColor ColorBelow() const { return m_colorBelow; }
    void SetColorBelow(const QColor &color);
    QString DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format);

    // Whole numbers from 0 to the largest of `digits` digits (0: any
    // amount); a negative one only where a cropped low limit takes it.
    void SetWholeDigits(int digits);

    // Empties the text and sets the value to 0.
    void Clear();
    // True while the last reading of the text failed and the text has not
    // changed since.
    bool IsInvalid() const { return m_invalid; }
    // Whether the text reads; neither beeps nor reports.
    bool IsReadable() const { return Read().has_value(); }
    // When the text does not read, shows the error under the control, which
    // takes the focus back; answers whether it reads.
    bool CheckReadable();
    // The first control among `window`'s that does not read, reported as by
    // CheckReadable; null when all of them read. Saves ask it first.
    static TOrxEditCalc *ReportUnreadable(QWidget &window);

    // The process-wide beep is QApplication::beep(); the hook, when set, is
    // called after each one. Answers the previous hook.
    using BeepHook = std::function<void()>;
    static BeepHook SetBeepHook(BeepHook hook);

public slots:
    void clear() { Clear(); }

signals:
    // The notifications of the control, each after the base behaviour of the
    // line edit: every change of the text, entering, leaving.
    void changed();
    void entered();
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The value of the text, or nothing when it does not read.
    std::optional<Money> Read() const;
    // Reads the text into the value; false when it could not be read (after
    // the beep or, with reportErrors, after the error has been reported).
    bool ReadText(bool reportErrors);
    void Display(bool focused);
    void Redisplay();
    // Sets the text to the formatted value (when there is one) and the background.
    void Show(std::optional<Money> value, const QColor &background);
    void Change();
    void Beep();
    void ReportError();

    Money m_value;
    Money m_lowLimit;
    Money m_highLimit;
    TOrxEditCheckOptions m_options = DefaultCheckOptions;
    QColor m_color;
    QColor m_colorAbove = DefaultColorAbove;
    QColor m_colorBelow = DefaultColorBelow;
    QString m_displayFormat;
    int m_wholeDigits = 0;
    // What the control last showed, and the value it showed.
    QString m_shownText;
    Money m_shownValue;
    bool m_invalid = false;
    // Between entering and leaving the control (kept when another window,
    // a popup or the error box takes the focus for a while).
    bool m_entered = false;
};
