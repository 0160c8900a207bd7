#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

// An amount of money with four decimal places, held exactly as a whole number
// of ten-thousandths of a złoty. Sums and differences are exact; reals enter
// only through fromReal, which rounds to the nearest ten-thousandth.
//
// Text is always in the Polish notation (decimal comma, a non-breaking space
// between thousands), whatever the machine's locale: the form is a Polish form.
class Money
{
public:
    static constexpr qint64 Scale = 10000;
    // The thousands separator of the Polish number format.
    static constexpr QChar GroupSeparator = QChar(0x00A0);

    constexpr Money() = default;

    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromUnits(qint64 zloty) { return Money(zloty * Scale); }
    // Rounds to the nearest ten-thousandth, halves away from zero.
    static Money fromReal(long double zloty);
    // Reads an amount as a Polish user types it, or refuses it; never guesses.
    // "," is the decimal separator; blanks and no-break spaces group thousands;
    // where both "." and "," appear, the last of them is the decimal separator
    // and the other groups thousands ("1.220,50", "1,220.50"); a lone "."
    // followed by one or two digits is the decimal separator ("1220.50").
    // Groups hold three digits (the first one to three); a sign may lead and
    // " zł" may follow. More than four decimals are rounded. Anything else
    // ("1.220", "1.2.3", "12 34", "12a", empty) gives no value.
    static std::optional<Money> parse(QStringView text);

    constexpr qint64 raw() const { return m_raw; }
    long double toReal() const { return static_cast<long double>(m_raw) / Scale; }
    double toDouble() const { return static_cast<double>(toReal()); }
    constexpr bool isZero() const { return m_raw == 0; }

    constexpr Money operator-() const { return Money(-m_raw); }
    constexpr Money operator+(Money o) const { return Money(m_raw + o.m_raw); }
    constexpr Money operator-(Money o) const { return Money(m_raw - o.m_raw); }
    constexpr Money &operator+=(Money o) { m_raw += o.m_raw; return *this; }
    constexpr Money &operator-=(Money o) { m_raw -= o.m_raw; return *this; }
    constexpr auto operator<=>(const Money &) const = default;

    // The amount with `decimals` places (0 to 4, rounded half away from zero),
    // with or without thousands separators: "%.2n" is format(2, true).
    QString format(int decimals, bool thousands) const;

    // The display formats of the windows and prints, in the notation of the
    // classic format strings: "#,##0.00", "#,##0", "#0", "###0", "0", and
    // sectioned ones such as ",0.00;-,0.00; " (positive;negative;zero). A comma
    // before the decimal point asks for thousands separators; the zeros after
    // it give the decimals; other characters of a section are copied.
    QString format(QStringView pattern) const;

private:
    explicit constexpr Money(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};

Q_DECLARE_METATYPE(Money)
