// The amounts of part D of the form: the five-year limits, the refund before
// and after the limits, and the invoice sums they are computed from.

#include "vzm/formmodel.h"

#include "data/tdm.h"

#include <algorithm>

namespace {

using namespace StawkiZwrotu;

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
    TPrzebiegZwrotu &p = m.przebieg;
    p = {};
    const long double cena = m.p45.toReal();
    p.StawkaLimituBC = IsD31() ? LimituBC22 : LimituBC23;
    m.limit = {double(Procent(cena * MetrowKolumny5, LimituA)),
               double(Procent(cena * MetrowKolumny6, LimituA)),
               double(Procent(cena * MetrowKolumny5, p.StawkaLimituBC)),
               double(Procent(cena * MetrowKolumny6, p.StawkaLimituBC))};

    const std::array<long double, 3> stawki = {ZwrotuA, ZwrotuB, ZwrotuC};
    for (std::size_t lista = 0; lista < stawki.size(); ++lista) {
        p.ZwrotK5[lista] = double(Procent(m.sumaK5[lista], stawki[lista]));
        p.ZwrotK6[lista] = double(Procent(m.sumaK6[lista], stawki[lista]));
    }
    // Lists B and C are rounded each by itself before they are added.
    m.przedLimitem = {p.ZwrotK5[0], p.ZwrotK6[0],
                      double(Zaokraglij(2, static_cast<long double>(p.ZwrotK5[1]) + p.ZwrotK5[2])),
                      double(Zaokraglij(2, static_cast<long double>(p.ZwrotK6[1]) + p.ZwrotK6[2]))};

    // Each part is at most what is left of its limit after the previous refunds.
    long double sumaCzesci = 0;
    for (std::size_t k = 0; k < m.czescZwrotu.size(); ++k) {
        p.LimitPozostaly[k] = std::max(Money(), Money::fromReal(m.limit[k]) - m.zwrotPop[k]);
        m.czescZwrotu[k] = std::min(m.przedLimitem[k], p.LimitPozostaly[k].toDouble());
        p.LimitPoWniosku[k] = p.LimitPozostaly[k] - Money::fromReal(m.czescZwrotu[k]);
        sumaCzesci += m.czescZwrotu[k];
    }
    p.SumaCzesci = double(sumaCzesci);
    p.SumaZaokraglona = Money::fromReal(Zaokraglij(0, sumaCzesci));
    m.zwrot = p.SumaZaokraglona;

    // The refund may not exceed the total five-year limit less all previous refunds.
    p.LimitCalkowity = GetLimit() - GetZwrotPop();
    if (m.zwrot > p.LimitCalkowity) {
        m.zwrot = Money::fromReal(Zaokraglij(0, p.LimitCalkowity.toReal()));
        p.Ograniczona = true;
    }
    // A refund is never negative: not when the previous refunds have used the
    // total limit up, nor when correcting invoices outweigh the others.
    m.zwrot = std::max(m.zwrot, Money());
    p.LimitCalkowityPoWniosku = p.LimitCalkowity - m.zwrot;
}
