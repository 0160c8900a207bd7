#include "vzm/formmodel.h"

#include "vzm/podatnik.h"

#include "checks/identifiers.h"
#include "data/tdm.h"

namespace {

// The plain personal and address texts of Podatnik.DB, by column. The four
// identifiers go through their setters and are not listed here.
struct PoleTekstowe
{
    const char *kolumna;
    QString TVzm_3::*pole;
};

const std::array<PoleTekstowe, 31> &polaPodatnika()
{
    static const std::array<PoleTekstowe, 31> pola{{
        {"Urzad", &TVzm_3::Urzad},
        {"Nazwisko", &TVzm_3::Nazwisko},
        {"Imie", &TVzm_3::Imie},
        {"ImieOjca", &TVzm_3::ImieOjca},
        {"ImieMatki", &TVzm_3::ImieMatki},
        {"Dokument", &TVzm_3::Dokument},
        {"Kraj", &TVzm_3::Kraj},
        {"Wojew", &TVzm_3::Wojew},
        {"Powiat", &TVzm_3::Powiat},
        {"Gmina", &TVzm_3::Gmina},
        {"Ulica", &TVzm_3::Ulica},
        {"Posesja", &TVzm_3::Posesja},
        {"Lokal", &TVzm_3::Lokal},
        {"Miasto", &TVzm_3::Miasto},
        {"KodPoczt", &TVzm_3::KodPoczt},
        {"Poczta", &TVzm_3::Poczta},
        {"MNazwisko", &TVzm_3::MNazwisko},
        {"MImie", &TVzm_3::MImie},
        {"MImieOjca", &TVzm_3::MImieOjca},
        {"MImieMatki", &TVzm_3::MImieMatki},
        {"MDokument", &TVzm_3::MDokument},
        {"MKraj", &TVzm_3::MKraj},
        {"MWojew", &TVzm_3::MWojew},
        {"MPowiat", &TVzm_3::MPowiat},
        {"MGmina", &TVzm_3::MGmina},
        {"MUlica", &TVzm_3::MUlica},
        {"MPosesja", &TVzm_3::MPosesja},
        {"MLokal", &TVzm_3::MLokal},
        {"MMiasto", &TVzm_3::MMiasto},
        {"MKodPoczt", &TVzm_3::MKodPoczt},
        {"MPoczta", &TVzm_3::MPoczta},
    }};
    return pola;
}

// The columns of VZMy.DB for the four kinds of refund, A to D.
constexpr const char *KolumnyZwrotu[] = {"ZwrotA", "ZwrotB", "ZwrotC", "ZwrotD"};
constexpr const char *KolumnyZwrotuPop[] = {"ZwrotPopA", "ZwrotPopB", "ZwrotPopC", "ZwrotPopD"};

QString pole(const char *nazwa)
{
    return QString::fromLatin1(nazwa);
}

// Memo text to lines: a line ends at CR, LF or CR LF; a break after the
// last line does not start another one.
QStringList PodzielLinie(const QString &tekst)
{
    QStringList linie;
    QString linia;
    for (qsizetype i = 0; i < tekst.size(); ++i) {
        const QChar c = tekst[i];
        if (c != u'\r' && c != u'\n') {
            linia += c;
            continue;
        }
        if (c == u'\r' && i + 1 < tekst.size() && tekst[i + 1] == u'\n')
            ++i;
        linie << linia;
        linia.clear();
    }
    if (!linia.isEmpty())
        linie << linia;
    return linie;
}

// Lines to memo text: CR LF after every line.
QString PolaczLinie(const QStringList &linie)
{
    QString tekst;
    for (const QString &linia : linie)
        tekst += linia + QStringLiteral("\r\n");
    return tekst;
}

void Oznacz(TStanPola &stan, const QString &opis)
{
    stan = {KolorBledny, opis, true};
}

// Box n (1-based) of a group of boxes, when it exists.
template <std::size_t N>
bool *Kwadrat(std::array<bool, N> &kwadraty, int n)
{
    return n >= 1 && n <= int(N) ? &kwadraty[std::size_t(n - 1)] : nullptr;
}

} // namespace

int RokNaFormularzu(int rok)
{
    return rok >= NajwczesniejszyRok && rok <= NajpozniejszyRok ? rok : 0;
}

int NumerNaFormularzu(int numer)
{
    return numer >= 0 && numer <= NajwiekszyNumer ? numer : 0;
}

TVzm_3::TVzm_3(TDM &dm) : m_dm(dm)
{
    Wyczysc();
}

void TVzm_3::Wyczysc()
{
    const int podatId = m.podatId;
    const int vzmId = m.vzmId;
    m = Wartosci();
    m.podatId = podatId; // the keys are Wczytaj's business
    m.vzmId = vzmId;
    for (const PoleTekstowe &p : polaPodatnika())
        (this->*p.pole).clear();
    P56.clear();
    P65.clear();
    SetNip(TOsoba::Malzonek, QString());
    SetPesel(TOsoba::Malzonek, QString());
    SetKonto(QString());
    SetCel(1, true);
}

bool TVzm_3::Wczytaj(int PodatId, int VzmId)
{
    Wyczysc();
    m.podatId = PodatId;
    m.vzmId = VzmId;
    if (!UstawPodatnika(m_dm, PodatId))
        return false;
    WczytajPodatnika();
    if (VzmId == 0) {
        SetNrKolej(m_dm.NastepnyNrKolej(PodatId));
        m.proponowanyNrKolej = m.nrKolej;
        SetCel(1, true);
    }
    m.zalacznikow = {m_dm.LiczbaZalA(VzmId), m_dm.LiczbaZalB(VzmId), m_dm.LiczbaZalC(VzmId)};
    if (VzmId > 0) {
        WczytajSumy();
        WczytajWniosek();
    }
    Przelicz();
    return true;
}

void TVzm_3::WczytajPodatnika()
{
    Table &t = m_dm.Podatnik;
    for (const PoleTekstowe &p : polaPodatnika())
        this->*p.pole = t.field(pole(p.kolumna)).asString();
    SetNip(TOsoba::Podatnik, t.field(pole("NIP")).asString());
    SetPesel(TOsoba::Podatnik, t.field(pole("Pesel")).asString());
    SetNip(TOsoba::Malzonek, t.field(pole("MNIP")).asString());
    SetPesel(TOsoba::Malzonek, t.field(pole("MPesel")).asString());
    m.kontoPodatnika = t.field(pole("Konto")).asString();
    m.kontoMalzonka = t.field(pole("MKonto")).asString();
}

void TVzm_3::WczytajWniosek()
{
    Table &t = m_dm.VzmyTbl;
    if (!t.locate(pole("VzmId"), m.vzmId))
        return;
    SetNrKolej(t.field(pole("NrKolej")).asInteger());
    const bool korekta = t.field(pole("Korekta")).asBoolean();
    SetCel(1, !korekta);
    SetCel(2, korekta);
    SetNrKoryg(t.field(pole("NrKoryg")).asInteger());
    for (std::size_t k = 0; k < m.zwrotPop.size(); ++k)
        m.zwrotPop[k] = t.field(pole(KolumnyZwrotuPop[k])).asMoney();
    m.sztuk[1] = t.field(pole("Faktur")).asInteger();
    WczytajWpisy();
}

void TVzm_3::WczytajWpisy()
{
    Table &t = m_dm.VzmTbl_3;
    if (!t.locate(pole("VzmId"), m.vzmId))
        return;
    const auto kwadrat = [&t](const char *p8, int n) {
        return t.field(QStringLiteral("%1_%2").arg(QLatin1String(p8)).arg(n)).asBoolean();
    };
    for (int n = 1; n <= 3; ++n)
        SetP8(n, kwadrat("P8", n));
    for (int f = 41; f <= 43; ++f)
        SetRok(f, t.field(QStringLiteral("P%1").arg(f)).asInteger());
    SetP44(t.field(pole("P44")).asDate());
    m.p45 = t.field(pole("P45")).asMoney();
    P56 = PodzielLinie(t.field(pole("P56")).asString());
    for (int n = 1; n <= 3; ++n)
        SetP57(n, kwadrat("P57", n));
    for (int n = 1; n <= 3; ++n)
        SetP58(n, kwadrat("P58", n));
    SetKonto(t.field(pole("Konto")).asString());
    for (int f = 59; f <= 61; ++f)
        SetSztuk(f, t.field(QStringLiteral("P%1").arg(f)).asInteger());
    P65 = PodzielLinie(t.field(pole("P65")).asString());
}

bool TVzm_3::Zapisz()
{
    // Everything is checked before the first write: a save never lands in
    // another application's record, and never stops half-way for a known reason.
    if (!UstawPodatnika(m_dm, m.podatId))
        return false;
    if (m.vzmId > 0 && !m_dm.VzmyTbl.locate(pole("VzmId"), m.vzmId)) {
        m_dm.Uwaga(QStringLiteral("Wniosek nie istnieje w bazie danych (VzmId = %1). Zmiany nie zostały zapisane.")
                       .arg(m.vzmId));
        return false;
    }
    auto transakcja = m_dm.transaction();
    int vzmId = 0;
    try {
        ZapiszPodatnika();
        if (m.vzmId < 1)
            NumerujNowy();
        vzmId = ZapiszWniosek();
        ZapiszWpisy(vzmId);
    } catch (...) {
        // The transaction rolls the posted records back; the unposted one is dropped here.
        for (Table *t : {&m_dm.Podatnik, &m_dm.VzmyTbl, &m_dm.VzmTbl_3})
            t->cancel();
        throw;
    }
    transakcja.commit();
    m.vzmId = vzmId; // a second save of a new application updates it instead of adding a copy
    return true;
}

void TVzm_3::ZapiszPodatnika()
{
    Table &t = m_dm.Podatnik;
    t.edit();
    for (const PoleTekstowe &p : polaPodatnika())
        t.field(pole(p.kolumna)).setString(this->*p.pole);
    t.field(pole("NIP")).setString(m.nip);
    t.field(pole("Pesel")).setString(m.pesel);
    t.field(pole("MNIP")).setString(m.mnip);
    t.field(pole("MPesel")).setString(m.mpesel);
    t.post();
}

void TVzm_3::NumerujNowy()
{
    m_dm.database().lockNumbering(QStringLiteral("VZMy"), m.podatId);
    if (m.nrKolej != m.proponowanyNrKolej)
        return; // a number the user chose stays
    m.nrKolej = std::max(m.nrKolej, m_dm.NastepnyNrKolej(m.podatId));
}

int TVzm_3::ZapiszWniosek()
{
    Table &t = m_dm.VzmyTbl;
    if (m.vzmId < 1) {
        t.append();
        t.field(pole("PodatId")).setInteger(m.podatId);
    } else {
        t.edit(); // Zapisz has located the record
    }
    t.field(pole("NrKolej")).setInteger(m.nrKolej);
    t.field(pole("Korekta")).setBoolean(IsKorekta());
    t.field(pole("NrKoryg")).setInteger(m.nrKoryg);
    t.field(pole("Faktur")).setInteger(P60());
    t.field(pole("Zwrot")).setMoney(m.zwrot);
    t.field(pole("Wersja")).setInteger(5);
    for (std::size_t k = 0; k < m.czescZwrotu.size(); ++k) {
        t.field(pole(KolumnyZwrotu[k])).setMoney(Money::fromReal(m.czescZwrotu[k]));
        t.field(pole(KolumnyZwrotuPop[k])).setMoney(m.zwrotPop[k]);
    }
    t.field(pole("DataPier")).setDate(m.p44);
    t.post();
    return t.field(pole("VzmId")).asInteger();
}

void TVzm_3::ZapiszWpisy(int vzmId)
{
    Table &t = m_dm.VzmTbl_3;
    if (m.vzmId > 0 && t.locate(pole("VzmId"), m.vzmId)) {
        t.edit();
    } else {
        t.append();
        t.field(pole("VzmId")).setInteger(vzmId);
    }
    const auto kwadraty = [&t](const char *p, const std::array<bool, 3> &wartosci) {
        for (int n = 1; n <= 3; ++n)
            t.field(QStringLiteral("%1_%2").arg(QLatin1String(p)).arg(n)).setBoolean(wartosci[std::size_t(n - 1)]);
    };
    kwadraty("P8", m.p8);
    for (int i = 0; i < 3; ++i)
        t.field(QStringLiteral("P%1").arg(41 + i)).setInteger(m.rok[std::size_t(i)]);
    t.field(pole("P44")).setDate(m.p44);
    t.field(pole("P45")).setMoney(m.p45);
    t.field(pole("P56")).setString(PolaczLinie(P56));
    kwadraty("P57", m.p57);
    kwadraty("P58", m.p58);
    t.field(pole("Konto")).setString(m.konto);
    for (int i = 0; i < 3; ++i)
        t.field(QStringLiteral("P%1").arg(59 + i)).setInteger(m.sztuk[std::size_t(i)]);
    t.field(pole("P65")).setString(PolaczLinie(P65));
    t.post();
}

// --- Setters -----------------------------------------------------------------

void TVzm_3::SetNip(TOsoba kto, const QString &text)
{
    (kto == TOsoba::Podatnik ? m.nip : m.mnip) = text;
    for (auto [stan, nip] : {std::pair{&m.stanNip, &m.nip}, std::pair{&m.stanMNip, &m.mnip}}) {
        ZerujStan(*stan);
        if (!PoprawnyNip(*nip))
            Oznacz(*stan, QStringLiteral("Nieprawidłowy NIP"));
    }
    if (!PustyNip(m.nip) && m.nip == m.mnip) {
        Oznacz(m.stanNip, QStringLiteral("NIP podatnika i małżonka jest taki sam"));
        Oznacz(m.stanMNip, QStringLiteral("NIP podatnika i małżonka jest taki sam"));
    }
}

void TVzm_3::SetPesel(TOsoba kto, const QString &text)
{
    const bool podatnik = kto == TOsoba::Podatnik;
    (podatnik ? m.pesel : m.mpesel) = text;
    // Only this person's mark is recomputed: a flag for equal numbers on the
    // other one stays until that field is set again.
    TStanPola &stan = podatnik ? m.stanPesel : m.stanMPesel;
    ZerujStan(stan);
    if (!PoprawnyPesel(text))
        Oznacz(stan, QStringLiteral("Nieprawidłowy PESEL"));
    if (!PustyPesel(m.pesel) && m.pesel == m.mpesel) {
        Oznacz(m.stanPesel, QStringLiteral("PESEL podatnika i małżonka jest taki sam"));
        Oznacz(m.stanMPesel, QStringLiteral("PESEL podatnika i małżonka jest taki sam"));
    }
}

void TVzm_3::SetKonto(const QString &text)
{
    m.konto = text;
    ZerujStan(m.stanKonto);
    if (!PoprawneKonto(text))
        Oznacz(m.stanKonto, QStringLiteral("Nieprawidłowy numer rachunku bankowego"));
}

void TVzm_3::SetP44(const QDate &date)
{
    const QDate data = date.isValid() ? date : QDate();
    if (data == m.p44)
        return;
    m.p44 = data;
    ZerujStan(m.stanP44);
    if (data.isValid() && data < Data1Stycznia2006)
        Oznacz(m.stanP44, QStringLiteral("Data złożenia wniosku jest\rwcześniejsza niż 1-01-2006 r."));
    Przelicz();
}

void TVzm_3::SetP45(Money cena)
{
    if (cena < Money())
        return;
    // Kept to the grosz the form prints, so that the limits use what it shows.
    m.p45 = Money::fromReal(Zaokraglij(2, cena.toReal()));
    Przelicz();
}

void TVzm_3::SetNrKolej(int n)
{
    if (n >= 0)
        m.nrKolej = n;
}

void TVzm_3::SetNrKoryg(int n)
{
    if (n >= 0)
        m.nrKoryg = n;
}

void TVzm_3::SetCel(int box, bool on)
{
    bool *kwadrat = Kwadrat(m.cel, box);
    if (!kwadrat)
        return;
    if (on)
        m.cel = {};
    *kwadrat = on;
}

void TVzm_3::SetP8(int box, bool on)
{
    bool *kwadrat = Kwadrat(m.p8, box);
    if (!kwadrat)
        return;
    if (on)
        m.p8 = {};
    *kwadrat = on;
}

void TVzm_3::SetP57(int box, bool on)
{
    bool *kwadrat = Kwadrat(m.p57, box);
    if (!kwadrat)
        return;
    const bool bank = box == 3;
    // Without payment through a bank there is no account to tick: this also
    // covers unticking box 3 itself.
    if ((on && !bank) || (!on && bank))
        m.p58 = {};
    if (on)
        m.p57 = {};
    *kwadrat = on;
}

void TVzm_3::SetP58(int box, bool on)
{
    bool *kwadrat = Kwadrat(m.p58, box);
    if (!kwadrat)
        return;
    *kwadrat = on;
    if (!on)
        return;
    // The account of a person filing alone excludes both accounts of a joint
    // application; those two may be ticked together.
    if (box == 1)
        m.p58[1] = m.p58[2] = false;
    else
        m.p58[0] = false;
    // Choosing an account means payment through a bank.
    SetP57(3, true);
}

void TVzm_3::SetRok(int field, int year)
{
    if (field >= 41 && field <= 43)
        m.rok[std::size_t(field - 41)] = year;
}

void TVzm_3::SetSztuk(int field, int n)
{
    if (field >= 59 && field <= 61 && n >= 0)
        m.sztuk[std::size_t(field - 59)] = n;
}

void TVzm_3::SetZwrotPop(int kind, Money kwota)
{
    if (kind < 1 || kind > 4 || kwota < Money())
        return;
    m.zwrotPop[std::size_t(kind - 1)] = kwota;
    Przelicz();
}

// --- Readers -----------------------------------------------------------------

Money TVzm_3::GetPole(int field)
{
    if (field == 45)
        return m.p45;
    if (field >= 47 && field <= 50)
        return Money::fromReal(m.limit[std::size_t(field - 47)]);
    if (field >= 51 && field <= 54)
        return Money::fromReal(m.przedLimitem[std::size_t(field - 51)]);
    if (field == 55)
        return m.zwrot;
    if (field >= 59 && field <= 61)
        return Money::fromUnits(m.sztuk[std::size_t(field - 59)]);
    if (field >= 62 && field <= 64)
        return Money::fromUnits(m.zalacznikow[std::size_t(field - 62)]);
    m_dm.Uwaga(PoleNieokreslone(u"GetPole", field));
    return Money();
}

bool TVzm_3::GetDruk(int field)
{
    if (field == 45 || field == 55 || (field >= 62 && field <= 64))
        return true;
    if ((field >= 47 && field <= 54) || (field >= 59 && field <= 61))
        return GetPole(field) > Money();
    m_dm.Uwaga(PoleNieokreslone(u"GetDruk", field));
    return false;
}

QString TVzm_3::GetKonto(int group) const
{
    if (group == 1)
        return m.konto.left(2);
    if (group >= 2 && group <= 7)
        return m.konto.mid(4 * group - 6, 4);
    return QString();
}
