#include "invoices/windows/importfaktur.h"

#include "core/common.h"
#include "data/dataerror.h"
#include "data/tdm.h"

#include <QRegularExpression>
#include <QSet>

namespace {

using Werdykt = TWierszImportu::Werdykt;


// An invoice in a list: its number and its seller, told by the digits of
// the NIP however they are grouped.
QString klucz(const QString &numer, const QString &nip)
{
    return numer.trimmed().toUpper() + u'\n' + TylkoCyfry(nip);
}

// A date as spreadsheets write it, as the invoice editor types it.
QString dataJakWpisana(const QString &tekst)
{
    static const QRegularExpression dmy(QStringLiteral(R"(^\s*(\d{1,2})[-.](\d{1,2})[-.](\d{4})\s*$)"));
    static const QRegularExpression ymd(QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})\s*$)"));
    QDate data;
    if (const auto m = dmy.match(tekst); m.hasMatch())
        data = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    else if (const auto m = ymd.match(tekst); m.hasMatch())
        data = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    // What does not form a date goes on as it stands, and the editor's check
    // of the date refuses it with its own message.
    return data.isValid() ? DataNaTekst(data) : tekst.trimmed().left(10);
}

// An amount by the reading rule, in whole grosze; empty is zero.
std::optional<Money> kwota(const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return Money();
    const std::optional<Money> odczytana = Money::parse(tekst);
    if (!odczytana || odczytana->raw() % 100 != 0)
        return std::nullopt;
    return odczytana;
}

} // namespace

TImportFaktur::TImportFaktur(TDM &dm, int VzmId, int lista) : dm(dm), m_vzmId(VzmId), m_lista(lista)
{
}

QString TImportFaktur::NazwaPola(PoleArkusza pole)
{
    switch (pole) {
    case PoleArkusza::Numer: return QStringLiteral("Nr faktury");
    case PoleArkusza::Data: return QStringLiteral("Data wystawienia");
    case PoleArkusza::NipSprzedawcy: return QStringLiteral("NIP sprzedawcy");
    case PoleArkusza::NazwaSprzedawcy: return QStringLiteral("Nazwa sprzedawcy");
    case PoleArkusza::KodSprzedawcy: return QStringLiteral("Kod sprzedawcy");
    case PoleArkusza::LpFakt: return QStringLiteral("Lp. z faktury");
    case PoleArkusza::Brutto: return QStringLiteral("Kwota brutto");
    case PoleArkusza::VatA: return QStringLiteral("VAT kol. 5");
    case PoleArkusza::VatB: return QStringLiteral("VAT kol. 6");
    case PoleArkusza::Brak: break;
    }
    return QStringLiteral("(pomiń)");
}

PoleArkusza TImportFaktur::Zaproponuj(const QString &naglowek)
{
    const QString n = naglowek.toLower().simplified();
    const auto ma = [&n](std::initializer_list<const char *> slowa) {
        return std::any_of(slowa.begin(), slowa.end(), [&n](const char *s) { return n.contains(QString::fromUtf8(s)); });
    };
    if (n.isEmpty())
        return PoleArkusza::Brak;
    if (ma({"nip"}))
        return PoleArkusza::NipSprzedawcy;
    if (ma({"lp", "pozycj"}))
        return PoleArkusza::LpFakt;
    if (ma({"kod"}))
        return PoleArkusza::KodSprzedawcy;
    if (ma({"nazwa", "sprzedaw", "firma", "kontrahent", "dostawca"}))
        return PoleArkusza::NazwaSprzedawcy;
    if (ma({"data"}))
        return PoleArkusza::Data;
    if (ma({"brutto"}))
        return PoleArkusza::Brutto;
    if (ma({"vat", "podatek"}))
        return ma({"6", "niewymag", "bez pozw"}) ? PoleArkusza::VatB : PoleArkusza::VatA;
    if (ma({"nr", "numer", "faktur"}))
        return PoleArkusza::Numer;
    return PoleArkusza::Brak;
}

void TImportFaktur::Ustaw(const Sheet &arkusz)
{
    m_arkusz = arkusz;
    m_naglowek = 0;
    m_kolumn = 0;
    m_kolumny.clear();
    for (const QStringList &wiersz : m_arkusz.rows)
        m_kolumn = std::max(m_kolumn, int(wiersz.size()));
    for (int r = 0; r < m_arkusz.rows.size() && m_naglowek == 0; ++r)
        if (std::any_of(m_arkusz.rows[r].begin(), m_arkusz.rows[r].end(), [](const QString &k) { return !k.trimmed().isEmpty(); }))
            m_naglowek = r + 1;
    if (m_naglowek > 0) {
        const QStringList &naglowki = m_arkusz.rows[m_naglowek - 1];
        for (int k = 0; k < naglowki.size(); ++k) {
            const PoleArkusza pole = Zaproponuj(naglowki[k]);
            if (pole != PoleArkusza::Brak && !m_kolumny.contains(pole))
                m_kolumny.insert(pole, k + 1);
        }
    }
    Ocen();
}

void TImportFaktur::Przypisz(PoleArkusza pole, int kolumna)
{
    for (auto it = m_kolumny.begin(); it != m_kolumny.end();)
        it = it.value() == kolumna || it.key() == pole ? m_kolumny.erase(it) : std::next(it);
    if (pole != PoleArkusza::Brak && kolumna > 0)
        m_kolumny.insert(pole, kolumna);
    Ocen();
}

QString TImportFaktur::Komorka(const QStringList &komorki, PoleArkusza pole) const
{
    const int k = Kolumna(pole);
    return k > 0 && k <= komorki.size() ? komorki[k - 1] : QString();
}

QString TImportFaktur::Miejsce(PoleArkusza pole) const
{
    const int k = Kolumna(pole);
    return k > 0 ? QStringLiteral("Kolumna %1 (%2): ").arg(columnName(k), NazwaPola(pole))
                 : QStringLiteral("%1 (brak kolumny): ").arg(NazwaPola(pole));
}

TWierszImportu TImportFaktur::Wiersz(const QStringList &komorki, int nrWiersza) const
{
    TWierszImportu w;
    w.NrWiersza = nrWiersza;
    TDaneFaktury &d = w.Dane;
    d.NrFakt = Komorka(komorki, PoleArkusza::Numer);
    d.Data = dataJakWpisana(Komorka(komorki, PoleArkusza::Data));
    d.NipSprzed = Komorka(komorki, PoleArkusza::NipSprzedawcy).trimmed();
    d.KodSprzed = Komorka(komorki, PoleArkusza::KodSprzedawcy).trimmed();
    d.LpFakt = Komorka(komorki, PoleArkusza::LpFakt);
    w.NazwaSprzedawcy = Komorka(komorki, PoleArkusza::NazwaSprzedawcy).trimmed();
    // What the register's fields cannot hold would be cut when stored.
    for (const auto &[pole, tekst, szerokosc] : {std::tuple{PoleArkusza::Numer, d.NrFakt, 30},
                                                 std::tuple{PoleArkusza::NipSprzedawcy, d.NipSprzed, 13},
                                                 std::tuple{PoleArkusza::KodSprzedawcy, d.KodSprzed, 10},
                                                 std::tuple{PoleArkusza::LpFakt, d.LpFakt, 150},
                                                 std::tuple{PoleArkusza::NazwaSprzedawcy, w.NazwaSprzedawcy, 50}})
        if (tekst.size() > szerokosc)
            w.Uwagi << Miejsce(pole) + QStringLiteral("tekst dłuższy niż %1 znaków.").arg(szerokosc);
    for (const auto &[pole, kwotaFaktury] : {std::pair{PoleArkusza::Brutto, &d.Brutto}, std::pair{PoleArkusza::VatA, &d.VatA},
                                            std::pair{PoleArkusza::VatB, &d.VatB}}) {
        const QString tekst = Komorka(komorki, pole);
        if (const auto odczytana = kwota(tekst))
            *kwotaFaktury = *odczytana;
        else
            w.Uwagi << Miejsce(pole) + QStringLiteral("niepoprawna kwota „%1” (kwota w złotych, najwyżej dwa miejsca po przecinku).")
                                           .arg(tekst.left(40));
    }
    return w;
}

void TImportFaktur::Ocen()
{
    m_wiersze.clear();
    if (m_naglowek == 0)
        return;
    QSet<QString> wLiscie;
    for (const TDaneFaktury &f : FakturyListy())
        wLiscie.insert(klucz(f.NrFakt, f.NipSprzed));
    QHash<QString, int> wPliku; // the key of a row -> its row number
    const PoleArkusza poleFaktury[] = {PoleArkusza::Numer, PoleArkusza::Data, PoleArkusza::NipSprzedawcy,
                                       PoleArkusza::Brutto, PoleArkusza::VatA};
    for (int r = m_naglowek; r < m_arkusz.rows.size(); ++r) {
        const QStringList &komorki = m_arkusz.rows[r];
        if (std::all_of(komorki.begin(), komorki.end(), [](const QString &k) { return k.trimmed().isEmpty(); }))
            continue;
        TWierszImportu w = Wiersz(komorki, r + 1);
        const QString k = klucz(w.Dane.NrFakt, w.Dane.NipSprzed);
        const auto numerJest = [&](const QString &) { return wLiscie.contains(k); };
        bool zly = !w.Uwagi.isEmpty();
        bool watpliwy = false;
        for (const TUsterkaFaktury &u : TFaktura::Usterki(w.Dane, true, numerJest)) {
            // The question of a malformed NIP becomes its statement.
            const QString tekst = u.tekst.section(u'\r', 0, u.rodzaj == TUsterkaFaktury::Rodzaj::Pytanie ? 0 : -1);
            w.Uwagi << Miejsce(poleFaktury[int(u.pole)]) + QString(tekst).replace(u'\r', u' ');
            zly = zly || u.rodzaj == TUsterkaFaktury::Rodzaj::Blad;
            watpliwy = true;
        }
        if (const auto wczesniej = wPliku.constFind(k); wczesniej != wPliku.cend() && !w.Dane.NrFakt.trimmed().isEmpty()) {
            w.Uwagi << Miejsce(PoleArkusza::Numer)
                           + QStringLiteral("ta sama faktura tego sprzedawcy jest już w wierszu %1 pliku.").arg(*wczesniej);
            watpliwy = true;
        } else {
            wPliku.insert(k, r + 1);
        }
        w.werdykt = zly ? Werdykt::Zly : watpliwy ? Werdykt::Watpliwy : Werdykt::Dobry;
        w.Wybrany = w.werdykt == Werdykt::Dobry;
        m_wiersze << w;
    }
}

void TImportFaktur::Wybierz(int indeks, bool wybrany)
{
    if (indeks >= 0 && indeks < m_wiersze.size())
        m_wiersze[indeks].Wybrany = wybrany && m_wiersze[indeks].werdykt != Werdykt::Zly;
}

int TImportFaktur::LiczbaWybranych() const
{
    return int(std::count_if(m_wiersze.begin(), m_wiersze.end(), [](const TWierszImportu &w) { return w.Wybrany; }));
}

std::optional<TSprzedawca> TImportFaktur::Sprzedawca(const QString &nip)
{
    // A file names few sellers in many rows: each is looked up once.
    auto it = m_sprzedawcy.find(nip);
    if (it == m_sprzedawcy.end())
        it = m_sprzedawcy.insert(nip, TFaktura(dm).SzukajNipu(nip));
    return *it;
}

QList<TSprzedawca> TImportFaktur::NowiSprzedawcy()
{
    QList<TSprzedawca> nowi;
    QSet<QString> nipy;
    for (const TWierszImportu &w : m_wiersze) {
        const QString nip = w.Dane.NipSprzed;
        if (!w.Wybrany || nip.isEmpty() || nipy.contains(TylkoCyfry(nip)) || Sprzedawca(nip))
            continue;
        nipy.insert(TylkoCyfry(nip));
        nowi << TSprzedawca{w.Dane.KodSprzed, nip, w.NazwaSprzedawcy};
    }
    return nowi;
}

int TImportFaktur::Importuj(bool dodajSprzedawcow)
{
    const QList<TSprzedawca> nowi = dodajSprzedawcow ? NowiSprzedawcy() : QList<TSprzedawca>();
    Database::Transaction transakcja = dm.transaction();
    Table &firmy = dm.Firmy;
    try {
        for (const TSprzedawca &s : nowi) {
            firmy.append();
            firmy.field(QStringLiteral("Kod")).setString(s.Kod);
            firmy.field(QStringLiteral("NIP")).setString(s.NIP);
            firmy.field(QStringLiteral("Firma")).setString(s.Firma);
            firmy.post();
        }
    } catch (const DataError &) {
        if (firmy.isEditing())
            firmy.cancel();
        throw;
    }
    m_sprzedawcy.clear(); // the register has changed
    TFaktura faktura(dm);
    faktura.Ustaw(m_vzmId, m_lista, true);
    int zapisanych = 0;
    for (const TWierszImportu &w : std::as_const(m_wiersze)) {
        if (!w.Wybrany)
            continue;
        TDaneFaktury dane = w.Dane;
        // Without a code column the code is the register's, as the editor fills it.
        if (Kolumna(PoleArkusza::KodSprzedawcy) == 0)
            if (const auto s = Sprzedawca(dane.NipSprzed))
                dane.KodSprzed = s->Kod;
        faktura.Zapisz(dane);
        ++zapisanych;
    }
    transakcja.commit();
    return zapisanych;
}

QList<TDaneFaktury> TImportFaktur::FakturyListy()
{
    TFaktura faktura(dm);
    faktura.Ustaw(m_vzmId, m_lista, false);
    return faktura.WszystkieZListy();
}

QList<OutputRow> TImportFaktur::Eksport()
{
    QList<OutputRow> wiersze;
    OutputRow naglowki;
    for (PoleArkusza pole : PolaArkusza)
        naglowki << NazwaPola(pole);
    wiersze << naglowki;
    for (const TDaneFaktury &f : FakturyListy()) {
        const auto sprzedawca = Sprzedawca(f.NipSprzed);
        wiersze << OutputRow{f.NrFakt,     TekstNaDate(f.Data), f.NipSprzed, sprzedawca ? sprzedawca->Firma : QString(),
                             f.KodSprzed,  f.LpFakt,            f.Brutto,    f.VatA,
                             f.VatB};
    }
    return wiersze;
}
