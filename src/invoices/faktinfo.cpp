#include "invoices/faktinfo.h"

namespace {

constexpr int FakturNaZalaczniku = 27;
constexpr int PierwszaPozycjaWiersza = 10;
constexpr int PozycjiNaWiersz = 6;
// Page 1 holds positions 10 to 51 (rows 1 to 7), page 2 positions 52 to 171.
constexpr int OstatniaPozycjaStrony1 = 51;

} // namespace

void TFaktInfo::Ustaw(int lp)
{
    if (lp <= 0)
        return;
    m_lp = lp;
    m_nrZal = (lp - 1) / FakturNaZalaczniku + 1;
    const int wiersz = (lp - 1) % FakturNaZalaczniku + 1;
    m_pozycja = (wiersz - 1) * PozycjiNaWiersz + PierwszaPozycjaWiersza;
    m_strona = m_pozycja <= OstatniaPozycjaStrony1 ? 1 : 2;
}
