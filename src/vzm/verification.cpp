// The filling rules of the VZM-1 form. The list is advice only: it never
// stops saving or printing, and errors and warnings are not told apart.

#include "vzm/formmodel.h"

#include "checks/identifiers.h"
#include "data/tdm.h"

namespace {

bool Podane(const QString &tekst)
{
    return !tekst.trimmed().isEmpty();
}

const QString NieWypelniaSieDlaP8_1 = QStringLiteral("Pozycji tej nie wypełnia się gdy zaznaczono kwadrat 1 w poz.8");
const QString NieZaznaczonoKwadratu = QStringLiteral("Nie zaznaczono żadnego kwadratu");

} // namespace

void TVzm_3::Weryfikuj()
{
    m_dm.CzyscBledy();
    const auto blad = [this](int pozycja, const QString &opis) { m_dm.DodajBlad(TBlad{pozycja, opis}); };

    const bool nip = !PustyNip(m.nip);
    const bool mNip = !PustyNip(m.mnip);
    const bool pesel = !PustyPesel(m.pesel);
    const bool mPesel = !PustyPesel(m.mpesel);
    const bool dokument = Podane(Dokument);
    const bool mDokument = Podane(MDokument);
    const bool wPolsce = CzyPolska(Kraj);
    const bool wspolnie = P8_2() || P8_3(); // a married person, alone or jointly

    if (!nip && !pesel && !dokument)
        blad(1, QStringLiteral("NIP podatnika nie podany"));
    if (nip && !PoprawnyNip(m.nip))
        blad(1, QStringLiteral("Nieprawidłowy NIP podatnika"));
    if (P8_1() && mNip)
        blad(2, NieWypelniaSieDlaP8_1);
    if (wspolnie && !mNip && !mPesel && !mDokument)
        blad(2, QStringLiteral("NIP małżonka nie podany"));
    if (nip && m.nip == m.mnip) {
        blad(1, QStringLiteral("NIP podatnika i małżonka jest taki sam"));
        blad(2, QStringLiteral("NIP podatnika i małżonka jest taki sam"));
    }
    if (NumerNaFormularzu(m.nrKolej) != m.nrKolej)
        blad(5, QStringLiteral("Numer kolejny wniosku %1 jest większy niż %2: nie zmieści się w polu formularza")
                    .arg(m.nrKolej).arg(NajwiekszyNumer));
    if (NumerNaFormularzu(m.nrKoryg) != m.nrKoryg)
        blad(7, QStringLiteral("Numer korygowanego wniosku %1 jest większy niż %2: nie zmieści się w polu formularza")
                    .arg(m.nrKoryg).arg(NajwiekszyNumer));
    if (!IsKorekta() && m.nrKolej == 0)
        blad(5, QStringLiteral("Kolejny numer składanego wniosku nie podany"));
    if (IsKorekta() && m.nrKolej != 0)
        blad(5, QStringLiteral("Pozycji tej nie wypełnia w przypadku składania korekty wniosku"));
    if (!Podane(Urzad))
        blad(6, QStringLiteral("Nazwa urzędu skarbowego nie podana"));
    if (!P7_1() && !P7_2())
        blad(7, QStringLiteral("Cel złożenia formularza nie podany"));
    if (P7_1() && m.nrKoryg != 0)
        blad(7, QStringLiteral("Pozycję <korekta wniosku o nr ..> należy wypełniać tylko w przypadku korekty wniosku"));
    if (P7_2() && m.nrKoryg == 0)
        blad(7, QStringLiteral("Numer korygowanego wniosku nie podany"));
    if (!P8_1() && !P8_2() && !P8_3())
        blad(8, NieZaznaczonoKwadratu);
    if (!Podane(Nazwisko))
        blad(9, QStringLiteral("Nazwisko podatnika nie podane"));
    if (!Podane(Imie))
        blad(10, QStringLiteral("Imię podatnika nie podane"));
    if (pesel && !PoprawnyPesel(m.pesel))
        blad(1, QStringLiteral("Nieprawidłowy PESEL"));
    if (dokument && (nip || pesel))
        blad(11, QStringLiteral("Rodzaj i numer dokumentu tożsamości należy podać gdy brak NIP i PESEL"));
    if (!Podane(Kraj))
        blad(12, QStringLiteral("Nazwa kraju nie podana"));
    if (!Podane(Wojew))
        blad(13, QStringLiteral("Nazwa województwa nie podana"));
    if (Podane(Wojew) && wPolsce && !PoprawneWojewodztwo(Wojew))
        blad(13, QStringLiteral("Nieprawidłowa nazwa województwa"));
    if (!Podane(Powiat))
        blad(14, QStringLiteral("Nazwa powiatu nie podana"));
    if (!Podane(Gmina))
        blad(15, QStringLiteral("Nazwa gminy nie podana"));
    if (!Podane(Ulica))
        blad(16, QStringLiteral("Nazwa ulicy nie podana"));
    if (!Podane(Posesja))
        blad(17, QStringLiteral("Numer domu nie podany"));
    if (!Podane(Miasto))
        blad(19, QStringLiteral("Nazwa miejscowości nie podana"));
    if (!Podane(KodPoczt))
        blad(20, QStringLiteral("Kod pocztowy nie podany"));
    if (Podane(KodPoczt) && wPolsce && !PoprawnyKodPocztowy(KodPoczt))
        blad(20, QStringLiteral("Nieprawidłowy numer kod pocztowego"));
    if (P8_1()) {
        // A person not married fills in no item of the spouse.
        const std::pair<int, bool> malzonek[] = {
            {22, Podane(MNazwisko)}, {23, Podane(MImie)},   {2, mPesel},           {24, mDokument},
            {25, Podane(MKraj)},     {26, Podane(MWojew)},  {27, Podane(MPowiat)}, {28, Podane(MGmina)},
            {29, Podane(MUlica)},    {30, Podane(MPosesja)}, {31, Podane(MLokal)}, {32, Podane(MMiasto)},
            {33, Podane(MKodPoczt)}, {34, Podane(MPoczta)},
        };
        for (const auto &[pozycja, wypelnione] : malzonek)
            if (wypelnione)
                blad(pozycja, NieWypelniaSieDlaP8_1);
    }
    if (wspolnie && !Podane(MNazwisko))
        blad(22, QStringLiteral("Nazwisko małżonka nie podane"));
    if (wspolnie && !Podane(MImie))
        blad(23, QStringLiteral("Imię małżonka nie podane"));
    for (int i = 0; i < 3; ++i)
        if (m.rok[i] != 0 && RokNaFormularzu(m.rok[i]) == 0)
            blad(35 + i, QStringLiteral("Rok rozpoczęcia inwestycji %1 jest niepoprawny: formularz przyjmuje lata %2–%3")
                             .arg(m.rok[i]).arg(NajwczesniejszyRok).arg(NajpozniejszyRok));
    if (m.nrKolej > 1 && !m.p44.isValid())
        blad(38, QStringLiteral("Data złożenia pierwszego wniosku musi być podana"));
    if (m.p45.isZero())
        blad(39, QStringLiteral("Cena metra kwadratowego powierzchni użytkowej musi być podana"));
    if (!P57_1() && !P57_2() && !P57_3())
        blad(51, QStringLiteral("Sposób wypłaty kwoty zwrotu musi być podany"));
    if (P57_3() && !P58_1() && !P58_2() && !P58_3())
        blad(52, NieZaznaczonoKwadratu);
    if (P57_3() && !Podane(m.konto))
        blad(52, QStringLiteral("Numer rachunku bankowego musi być podany"));
    if (Podane(m.konto) && !PoprawneKonto(m.konto))
        blad(52, QStringLiteral("Nieprawidłowy numer rachunku bankowego"));
    // Attachments A, B and C are counted in positions 56, 57 and 58.
    for (const auto &[lista, numer] : m_dm.FakturyZDlugimiPozycjami(m.vzmId, NajdluzszePozycjeFaktury))
        blad(56 + QStringLiteral("ABC").indexOf(lista),
             QStringLiteral("Lp. z faktury nr %1 (VZM-1/%2) mają ponad %3 znaków: na wydruku załącznika mogą zostać "
                            "ucięte")
                 .arg(numer, lista).arg(NajdluzszePozycjeFaktury));
    if (P59() == 0 && SumaK5A() + SumaK5B() > Money())
        blad(53, QStringLiteral("Kopia pozwolenia na budowę musi być dołączona do wniosku"));
    if (P60() == 0)
        blad(54, QStringLiteral("Liczba kopii faktur dokumentujących wydatki musi być podana"));
    if (P61() == 0 && SumaK6A() + SumaK6B() > Money())
        blad(55, QStringLiteral("Kopia dokumentu potwierdzająca tytuł prawny do budynku (lokalu) mieszkalnego musi "
                                "być dołączona do wniosku"));
}
