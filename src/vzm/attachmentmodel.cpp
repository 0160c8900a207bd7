#include "vzm/attachmentmodel.h"

#include "vzm/podatnik.h"

#include "core/common.h"
#include "data/dataerror.h"
#include "data/tdm.h"

#include <QScopeGuard>

namespace {

// Amount boxes show positive amounts only: a correcting invoice's negative
// amount, and a zero, leave the box empty.
QString TekstKwoty(Money kwota)
{
    return kwota > Money() ? Kwota2(kwota) : QString();
}

} // namespace

TVZMab::TVZMab(TDM &dm) : m_dm(dm)
{
}

bool TVZMab::Wczytaj(int PodatId, int VzmId, int Rodzaj, int NrZal)
{
    m_rodzaj = Rodzaj;
    m_oznacz = TDM::LiteraListy(Rodzaj);
    m_symbol = EtykietyZalacznikow(Rodzaj);
    m_podatId = PodatId;
    m_vzmId = VzmId;
    m_nrZal = NrZal;
    WyczyscWiersze();
    for (QString *pole : {&m_nip, &m_nazwisko, &m_imie, &m_pesel, &m_dokument, &m_mnip, &m_mnazwisko, &m_mimie,
                          &m_mpesel, &m_mdokument})
        pole->clear();
    if (!UstawPodatnika(m_dm, PodatId))
        return false;
    WczytajPodatnika();
    WczytajFaktury();
    PoliczSumy();
    return true;
}

void TVZMab::WczytajPodatnika()
{
    Table &t = m_dm.Podatnik;
    const std::pair<const char *, QString *> pola[] = {
        {"NIP", &m_nip},       {"MNIP", &m_mnip},           {"Nazwisko", &m_nazwisko}, {"Imie", &m_imie},
        {"Pesel", &m_pesel},   {"Dokument", &m_dokument},   {"MNazwisko", &m_mnazwisko}, {"MImie", &m_mimie},
        {"MPesel", &m_mpesel}, {"MDokument", &m_mdokument},
    };
    for (const auto &[kolumna, pole] : pola)
        *pole = t.field(QString::fromLatin1(kolumna)).asString();
}

void TVZMab::WczytajFaktury()
{
    Query &q = m_dm.FaktObj;
    const auto zamknij = qScopeGuard([&q] { q.close(); });
    try {
        q.close();
        q.setParam(QStringLiteral("VzmId"), m_vzmId);
        q.setParam(QStringLiteral("Oznacz"), m_oznacz);
        q.open();
        const int pierwsza = PierwszaPozycja(m_nrZal);
        if (pierwsza < 1 || q.recordCount() < pierwsza)
            return;
        q.moveTo(pierwsza - 1);
        for (int wiersz = 1; wiersz <= Wierszy && !q.eof(); ++wiersz, q.next()) {
            const int b = PierwszaKratka(wiersz);
            m_tekst[b] = q.field(QStringLiteral("NrFakt")).asString();
            m_tekst[b + 1] = DataNaTekst(q.field(QStringLiteral("DataWyst")).asDate());
            m_tekst[b + 2] = q.field(QStringLiteral("NipSprzed")).asString();
            UstawKwote(b + 3, q.field(QStringLiteral("Brutto")).asMoney());
            UstawKwote(b + 4, q.field(QStringLiteral("VatA")).asMoney());
            UstawKwote(b + 5, q.field(QStringLiteral("VatB")).asMoney());
            m_lpFakt[wiersz] = q.field(QStringLiteral("LpFakt")).asString();
        }
    } catch (const DataError &) {
        // The attachment is printed without rows; the rows read so far are dropped.
        WyczyscWiersze();
    }
}

void TVZMab::WyczyscWiersze()
{
    m_tekst.fill(QString());
    m_kwota.fill(Money());
    m_lpFakt.fill(QString());
}

void TVZMab::UstawKwote(int box, Money kwota)
{
    m_kwota[box] = kwota;
    m_tekst[box] = TekstKwoty(kwota);
}

void TVZMab::PoliczSumy()
{
    for (int kolumna = 0; kolumna < 3; ++kolumna) {
        Money suma;
        for (int wiersz = 1; wiersz <= Wierszy; ++wiersz)
            suma += m_kwota[PierwszaKratka(wiersz) + 3 + kolumna];
        UstawKwote(SumaBrutto + kolumna, suma);
    }
}

QString TVZMab::GetTekst(int box) const
{
    return box >= PierwszyTekst && box <= SumaVatB ? m_tekst[box] : QString();
}

Money TVZMab::GetKwota(int box) const
{
    return box >= PierwszaKwota && box <= SumaVatB ? m_kwota[box] : Money();
}

QString TVZMab::GetLpFakt(int row) const
{
    return row >= 1 && row <= Wierszy ? m_lpFakt[row] : QString();
}
