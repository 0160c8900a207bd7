// The amounts of part D of the form: the five-year limits, the refund before
// and after the limits, and the invoice sums they are computed from.

#include "vzm/formmodel.h"

#include "data/tdm.h"

#include <algorithm>

namespace {

// Rates in percent.
constexpr long double StawkaLimituA = 9.959L;
constexpr long double StawkaLimituBC22 = 12.295L; // first application up to 31-12-2010 (VAT 22%)
constexpr long double StawkaLimituBC23 = 12.195L; // from 01-01-2011 or not dated (VAT 23%)
constexpr long double StawkaZwrotuA = 55.23L;
constexpr long double StawkaZwrotuB = 68.18L;
constexpr long double StawkaZwrotuC = 65.22L;
// Square metres behind the limit of column 5 (building permit) and column 6.
constexpr long double MetrowKolumny5 = 70;
constexpr long double MetrowKolumny6 = 30;

const QDate Data31Grudnia2010{2010, 12, 31};
const QDate Data1Stycznia2011{2011, 1, 1};

long double Procent(long double kwota, long double stawka)
{
    return Zaokraglij(2, kwota * stawka / 100);
}

long double Procent(Money kwota, long double stawka)
{
    return Procent(kwota.toReal(), stawka);
}

} // namespace

bool TVzm_3::IsD31() const
{
    return m.p44.isValid() && m.p44 <= Data31Grudnia2010;
}

bool TVzm_3::IsD32() const
{
    return !m.p44.isValid() || m.p44 >= Data1Stycznia2011;
}

Money TVzm_3::GetLimit() const
{
    return Money::fromReal(static_cast<long double>(m.limit[2]) + m.limit[3]);
}

Money TVzm_3::GetZwrotPop() const
{
    Money suma;
    for (Money kwota : m.zwrotPop)
        suma += kwota;
    return suma;
}

void TVzm_3::WczytajSumy()
{
    for (int lista = 1; lista <= 3; ++lista) {
        m.sumaK5[std::size_t(lista - 1)] = m_dm.SumaVatA(m.vzmId, lista);
        m.sumaK6[std::size_t(lista - 1)] = m_dm.SumaVatB(m.vzmId, lista);
    }
}

void TVzm_3::Przelicz()
{
    const long double cena = m.p45.toReal();
    const long double stawkaBC = IsD31() ? StawkaLimituBC22 : StawkaLimituBC23;
    m.limit = {double(Procent(cena * MetrowKolumny5, StawkaLimituA)),
               double(Procent(cena * MetrowKolumny6, StawkaLimituA)),
               double(Procent(cena * MetrowKolumny5, stawkaBC)),
               double(Procent(cena * MetrowKolumny6, stawkaBC))};

    const auto [k5A, k5B, k5C] = m.sumaK5;
    const auto [k6A, k6B, k6C] = m.sumaK6;
    // Lists B and C are rounded each by itself before they are added.
    m.przedLimitem = {double(Procent(k5A, StawkaZwrotuA)),
                      double(Procent(k6A, StawkaZwrotuA)),
                      double(Zaokraglij(2, Procent(k5B, StawkaZwrotuB) + Procent(k5C, StawkaZwrotuC))),
                      double(Zaokraglij(2, Procent(k6B, StawkaZwrotuB) + Procent(k6C, StawkaZwrotuC)))};

    // Each part is at most what is left of its limit after the previous refunds.
    long double sumaCzesci = 0;
    for (std::size_t k = 0; k < m.czescZwrotu.size(); ++k) {
        const Money pozostalo = std::max(Money(), Money::fromReal(m.limit[k]) - m.zwrotPop[k]);
        m.czescZwrotu[k] = std::min(m.przedLimitem[k], pozostalo.toDouble());
        sumaCzesci += m.czescZwrotu[k];
    }
    m.zwrot = Money::fromReal(Zaokraglij(0, sumaCzesci));

    // The refund may not exceed the total five-year limit less all previous refunds.
    const Money pozostalyLimit = GetLimit() - GetZwrotPop();
    if (m.zwrot > pozostalyLimit)
        m.zwrot = Money::fromReal(Zaokraglij(0, pozostalyLimit.toReal()));
    // A refund is never negative: not when the previous refunds have used the
    // total limit up, nor when correcting invoices outweigh the others.
    m.zwrot = std::max(m.zwrot, Money());
}
