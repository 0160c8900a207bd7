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

// The blanks that group thousands: spaces, the no-break space of the Polish
// format and the narrow one.
bool isBlank(QChar c)
{
    return c.isSpace() || c == Money::GroupSeparator || c == QChar(0x202F);
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The digits of a whole part written with `group` (or blanks) between its
// thousands: the first group of one to three digits, every other of three.
std::optional<QString> wholeDigits(QStringView whole, QChar group)
{
    QString digits;
    int run = 0;
    bool grouped = false;
    for (QChar c : whole) {
        if (isDigit(c)) {
            digits += c;
            ++run;
        } else if (isBlank(c) || (!group.isNull() && c == group)) {
            if (run == 0 || run > 3 || (grouped && run != 3))
                return std::nullopt;
            grouped = true;
            run = 0;
        } else {
            return std::nullopt;
        }
    }
    if (grouped && run != 3)
        return std::nullopt;
    return digits;
}

} // namespace

Money Money::fromReal(long double zloty)
{
    return Money(static_cast<qint64>(std::llroundl(zloty * Scale)));
}

std::optional<Money> Money::parse(QStringView text)
{
    QStringView s = text.trimmed();
    if (s.endsWith(u"zł", Qt::CaseInsensitive))
        s = s.chopped(2).trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.startsWith(QLatin1Char('-'));
        s = s.sliced(1).trimmed();
    }

    const qsizetype comma = s.lastIndexOf(QLatin1Char(','));
    const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
    qsizetype point = -1;
    QChar group;
    if (comma >= 0 && dot >= 0) {
        point = std::max(comma, dot);
        group = comma > dot ? QLatin1Char('.') : QLatin1Char(',');
    } else if (comma >= 0) {
        point = comma;
    } else if (dot >= 0) {
        // "1.220" could be either: only a lone dot before the grosze is a point.
        const qsizetype after = s.size() - dot - 1;
        if (s.count(QLatin1Char('.')) != 1 || after < 1 || after > 2)
            return std::nullopt;
        point = dot;
    }
    if (point >= 0 && s.first(point).contains(s.at(point)))
        return std::nullopt;

    const QStringView fraction = point < 0 ? QStringView() : s.sliced(point + 1);
    if (!std::all_of(fraction.begin(), fraction.end(), isDigit))
        return std::nullopt;
    const std::optional<QString> whole = wholeDigits(point < 0 ? s : s.first(point), group);
    if (!whole || (whole->isEmpty() && fraction.isEmpty()) || whole->size() > 14)
        return std::nullopt;

    qint64 raw = whole->isEmpty() ? 0 : whole->toLongLong() * Scale;
    const QString kept = fraction.left(4).toString().leftJustified(4, QLatin1Char('0'));
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
