#include "core/common.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

// A whole number written in plain decimal digits only.
std::optional<int> readDigits(QStringView text)
{
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// The stored zero date of the tables; it means no date.
const QDate zeroDate{1899, 12, 30};

Money vatZBrutto(Money brutto, int stawka)
{
    const long double a = std::fabs(brutto.toReal());
    const Money vat = Money::fromReal(Zaokraglij(2, a * stawka / (100 + stawka)));
    return brutto < Money() ? -vat : vat;
}

} // namespace

QString SymbolFormularza(int formularz)
{
    static const std::array<QString, 4> symbole{QStringLiteral("VZM-1"), QStringLiteral("VZM-1/A"),
                                                QStringLiteral("VZM-1/B"), QStringLiteral("VZM-1/C")};
    return formularz >= 0 && formularz <= 3 ? symbole[formularz] : QString();
}

QString EtykietyZalacznikow(int lista)
{
    return lista >= 1 ? SymbolFormularza(lista) : QString();
}

QString TylkoCyfry(QStringView text)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

int LiczbaZalacznikow(int faktur)
{
    return faktur <= 0 ? 0 : (faktur + FakturNaZalaczniku - 1) / FakturNaZalaczniku;
}

int PierwszaPozycja(int zalacznik)
{
    return zalacznik <= 0 ? 0 : FakturNaZalaczniku * (zalacznik - 1) + 1;
}

QDate TekstNaDate(QStringView text)
{
    if (text.trimmed().isEmpty() || text.size() < 10)
        return QDate();
    const auto day = readDigits(text.mid(0, 2));
    const auto month = readDigits(text.mid(3, 2));
    const auto year = readDigits(text.mid(6, 4));
    if (!day || !month || !year)
        return QDate();
    const QDate date(*year, *month, *day); // null when not a calendar date
    return date == zeroDate ? QDate() : date;
}

QString DataNaTekst(QDate date)
{
    if (!date.isValid() || date == zeroDate)
        return QString();
    return date.toString(QStringLiteral("dd-MM-yyyy"));
}

bool PustaData(QStringView text)
{
    const QStringView t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("-  -");
}

long double Zaokraglij(int digits, long double x)
{
    const long double c = x >= 0 ? 0.5000001L : -0.5000001L;
    if (digits == 0)
        return std::trunc(x + c);
    const long double d = std::pow(10.0L, digits);
    return std::trunc(x * d + c) / d;
}

Money Vat22ZBrutto(Money brutto)
{
    return vatZBrutto(brutto, 22);
}

Money Vat23ZBrutto(Money brutto)
{
    return vatZBrutto(brutto, 23);
}

QString PolaczTeksty(QStringView a, QStringView b)
{
    return a.trimmed().toString() + QLatin1Char(' ') + b.trimmed().toString();
}

QString Kwota2(Money kwota)
{
    return kwota.format(2, true);
}

QString Kwota0(Money kwota)
{
    return kwota.format(0, true);
}

QString BrakPodatnika(int podatId)
{
    return QStringLiteral("Brak podatnika [PodatId = [%1].").arg(podatId);
}

QString PoleNieokreslone(QStringView operacja, int pole)
{
    return QStringLiteral("Procedura: %1 - pole: %2 nieokreślone.").arg(operacja.trimmed(), QString::number(pole));
}

QString NazwaPola(int n)
{
    return QLatin1Char('F') + QString::number(n);
}

void ZerujStan(TStanPola &stan)
{
    stan = TStanPola();
}
