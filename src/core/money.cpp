#include "core/money.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 powerOfTen(int n)
{
    qint64 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// |raw| rounded to `decimals` places, as a whole number of 10^-decimals units.
quint64 roundedMagnitude(qint64 raw, int decimals)
{
    const quint64 magnitude = raw < 0 ? quint64(0) - quint64(raw) : quint64(raw);
    const quint64 divisor = quint64(powerOfTen(4 - decimals));
    return (magnitude + divisor / 2) / divisor;
}

QString groupedDigits(quint64 whole, bool thousands, int minimumDigits)
{
    QString digits = whole == 0 && minimumDigits == 0 ? QString() : QString::number(whole);
    while (digits.size() < minimumDigits)
        digits.prepend(QLatin1Char('0'));
    if (!thousands)
        return digits;
    QString grouped;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += Money::GroupSeparator;
        grouped += digits[i];
    }
    return grouped;
}

struct NumberPattern
{
    QString prefix;
    QString suffix;
    bool hasPlaceholders = false;
    bool thousands = false;
    int minimumDigits = 0;
    int fixedDecimals = 0;
    int optionalDecimals = 0;
};

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('.');
}

NumberPattern parseSection(QStringView section)
{
    NumberPattern p;
    bool afterPoint = false;
    bool inBody = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (p.hasPlaceholders ? p.suffix : p.prefix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (!isPlaceholder(c)) {
            (inBody ? p.suffix : p.prefix) += c;
            continue;
        }
        inBody = true;
        p.hasPlaceholders = true;
        if (c == QLatin1Char('.'))
            afterPoint = true;
        else if (c == QLatin1Char(','))
            p.thousands = p.thousands || !afterPoint;
        else if (afterPoint)
            (c == QLatin1Char('0') ? p.fixedDecimals : p.optionalDecimals) += 1;
        else if (c == QLatin1Char('0'))
            ++p.minimumDigits;
    }
    p.fixedDecimals = std::min(p.fixedDecimals, 4);
    p.optionalDecimals = std::min(p.optionalDecimals, 4 - p.fixedDecimals);
    return p;
}

QString formatMagnitude(qint64 raw, const NumberPattern &p)
{
    if (!p.hasPlaceholders)
        return p.prefix;
    const int decimals = p.fixedDecimals + p.optionalDecimals;
    const quint64 units = roundedMagnitude(raw, decimals);
    const quint64 scale = quint64(powerOfTen(decimals));
    QString text = p.prefix + groupedDigits(units / scale, p.thousands, p.minimumDigits);
    if (decimals > 0) {
        QString fraction = QString::number(units % scale).rightJustified(decimals, QLatin1Char('0'));
        while (fraction.size() > p.fixedDecimals && fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        if (!fraction.isEmpty())
            text += QLatin1Char(',') + fraction;
    }
    return text + p.suffix;
}

bool isBlank(QChar c)
{
    return c.isSpace() || c == Money::GroupSeparator || c == QChar(0x202F) || c == QLatin1Char('\'');
}

} // namespace

Money Money::fromReal(long double zloty)
{
    return Money(static_cast<qint64>(std::llroundl(zloty * Scale)));
}

std::optional<Money> Money::parse(QStringView text)
{
    QString s;
    for (QChar c : text)
        if (!isBlank(c))
            s += c;
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.startsWith(QLatin1Char('-'));
        s.remove(0, 1);
    }
    if (s.isEmpty())
        return std::nullopt;

    // The decimal separator is the last comma or dot, unless a dot is
    // repeated (then dots only group thousands, as in "1.234.567").
    const qsizetype comma = s.lastIndexOf(QLatin1Char(','));
    const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
    qsizetype point = std::max(comma, dot);
    if (comma < 0 && s.count(QLatin1Char('.')) > 1)
        point = -1;
    if (dot < 0 && s.count(QLatin1Char(',')) > 1)
        return std::nullopt;

    QString whole = point < 0 ? s : s.left(point);
    const QString fraction = point < 0 ? QString() : s.mid(point + 1);
    whole.remove(QLatin1Char('.'));
    if (point >= 0 && s.at(point) == QLatin1Char('.'))
        whole.remove(QLatin1Char(','));
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    for (QChar c : whole + fraction)
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    if (whole.size() > 14)
        return std::nullopt;

    qint64 raw = whole.isEmpty() ? 0 : whole.toLongLong() * Scale;
    const QString kept = fraction.left(4).leftJustified(4, QLatin1Char('0'));
    raw += kept.toLongLong();
    if (fraction.size() > 4 && fraction.at(4) >= QLatin1Char('5'))
        raw += 1;
    return Money(negative ? -raw : raw);
}

QString Money::format(int decimals, bool thousands) const
{
    NumberPattern p;
    p.hasPlaceholders = true;
    p.thousands = thousands;
    p.minimumDigits = 1;
    p.fixedDecimals = std::clamp(decimals, 0, 4);
    const QString magnitude = formatMagnitude(m_raw, p);
    const bool shownAsZero = roundedMagnitude(m_raw, p.fixedDecimals) == 0;
    return m_raw < 0 && !shownAsZero ? QLatin1Char('-') + magnitude : magnitude;
}

QString Money::format(QStringView pattern) const
{
    QList<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= pattern.size(); ++i)
        if (i == pattern.size() || pattern[i] == QLatin1Char(';')) {
            sections.append(pattern.mid(start, i - start));
            start = i + 1;
        }
    const NumberPattern positive = parseSection(sections.value(0));
    const int decimals = positive.fixedDecimals + positive.optionalDecimals;
    if (sections.size() >= 3 && roundedMagnitude(m_raw, decimals) == 0)
        return formatMagnitude(0, parseSection(sections[2]));
    if (m_raw < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return formatMagnitude(m_raw, parseSection(sections[1]));
    const QString magnitude = formatMagnitude(m_raw, positive);
    const bool negative = m_raw < 0 && roundedMagnitude(m_raw, decimals) != 0;
    return negative ? QLatin1Char('-') + magnitude : magnitude;
}
