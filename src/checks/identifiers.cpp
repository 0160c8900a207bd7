#include "checks/identifiers.h"

#include "core/polishtext.h"

#include <algorithm>
#include <array>

const QStringList Wojewodztwa = {
    QStringLiteral("Dolnośląskie"),
    QStringLiteral("Kujawsko-Pomorskie"),
    QStringLiteral("Lubelskie"),
    QStringLiteral("Lubuskie"),
    QStringLiteral("Łódzkie"),
    QStringLiteral("Małopolskie"),
    QStringLiteral("Mazowieckie"),
    QStringLiteral("Opolskie"),
    QStringLiteral("Podkarpackie"),
    QStringLiteral("Podlaskie"),
    QStringLiteral("Pomorskie"),
    QStringLiteral("Śląskie"),
    QStringLiteral("Świętokrzyskie"),
    QStringLiteral("Warmińsko-Mazurskie"),
    QStringLiteral("Wielkopolskie"),
    QStringLiteral("Zachodniopomorskie"),
};

namespace {

// QChar::isDigit() would also accept other scripts' digits.
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(QChar c)
{
    return c.unicode() - u'0';
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

bool isSeparator(QChar c)
{
    return c == u' ' || c == u'-' || c == u'_';
}

// Only blanks are trimmed, not other white space.
QStringView trimBlanks(QStringView text)
{
    while (text.startsWith(u' '))
        text = text.mid(1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

template <std::size_t N>
int weightedSum(QStringView digits, const std::array<int, N> &weights)
{
    int sum = 0;
    for (std::size_t i = 0; i < N; ++i)
        sum += weights[i] * digitValue(digits[qsizetype(i)]);
    return sum;
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

QString BezSeparatorow(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!isSeparator(c))
            kept += c;
    }
    return kept;
}

bool PustyNip(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isSeparator);
}

bool PustyPesel(QStringView text)
{
    return PustyNip(text);
}

bool PusteKonto(QStringView text)
{
    return PustyNip(text);
}

bool SumaKontrolnaNip(QStringView digits)
{
    if (digits.size() != 10 || !allDigits(digits))
        return false;
    int remainder = weightedSum(digits, std::array{6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11;
    if (remainder == 10)
        remainder = 0; // a remainder of 10 is accepted with check digit 0
    return remainder == digitValue(digits[9]);
}

bool PoprawnyNip(QStringView text)
{
    QStringView t = trimBlanks(text);
    if (PustyNip(t))
        return true;
    if (t.size() > 2 && startsWithIgnoringCase(t, u"PL"))
        t = trimBlanks(t.mid(2));
    // Ten bare digits, or thirteen with the three dashes of the mask.
    if (t.size() != 10 && t.size() != 13)
        return false;
    if (!std::all_of(t.begin(), t.end(), [](QChar c) { return isDigit(c) || isSeparator(c); }))
        return false;
    const QString digits = BezSeparatorow(t);
    if (digits.size() != 10 || digits.startsWith(u"000"))
        return false;
    return SumaKontrolnaNip(digits);
}

bool SumaKontrolnaPesel(QStringView digits)
{
    if (digits.size() != 11 || !allDigits(digits))
        return false;
    const int sum = weightedSum(digits, std::array{1, 3, 7, 9, 1, 3, 7, 9, 1, 3});
    return (10 - sum % 10) % 10 == digitValue(digits[10]); // 10 becomes check digit 0
}

bool PoprawnyPesel(QStringView text)
{
    if (PustyPesel(text))
        return true;
    if (text.size() != 11 || !allDigits(text))
        return false;
    // The month carries the century: +80 for the 1800s, +20 for the 2000s,
    // +40 and +60 for the next two; every offset is a multiple of 20.
    if (!inRange(text.mid(2, 2).toInt() % 20, 1, 12))
        return false;
    // The day is not checked against the length of the month.
    if (!inRange(text.mid(4, 2).toInt(), 1, 31))
        return false;
    return SumaKontrolnaPesel(text);
}

bool PoprawneKonto(QStringView text)
{
    if (PusteKonto(text))
        return true;
    const QString t = BezSeparatorow(text);
    if (t.size() != 26 || !allDigits(t))
        return false;
    // The IBAN check (MOD 97-10) of "PL" and the 26 digits: the check digits
    // move to the end after the country code, P = 25 and L = 21. The remainder
    // is carried digit by digit, so the 30-digit number is never formed.
    const QString rearranged = t.mid(2) + QLatin1String("2521") + t.left(2);
    int remainder = 0;
    for (QChar c : rearranged)
        remainder = (remainder * 10 + digitValue(c)) % 97;
    return remainder == 1;
}

bool PoprawnyKodPocztowy(QStringView text)
{
    if (trimBlanks(text).isEmpty())
        return true;
    // Checked as typed: blanks around the code make it wrong.
    return text.size() == 6 && allDigits(text.left(2)) && text[2] == u'-' && allDigits(text.mid(3));
}

bool PoprawneWojewodztwo(QStringView text)
{
    const QString name = polishUpper(trimBlanks(text));
    return std::any_of(Wojewodztwa.begin(), Wojewodztwa.end(),
                       [&name](const QString &w) { return polishUpper(w) == name; });
}

bool CzyPolska(QStringView text)
{
    return polishUpper(trimBlanks(text)) == u"POLSKA";
}
