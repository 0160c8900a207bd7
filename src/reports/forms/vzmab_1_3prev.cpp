#include "reports/forms/vzmab_1_3prev.h"

#include "core/polishtext.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// The six identification boxes, in the order of the form: the box of the
// overprint's field `Pole` reaches to the box of field `DoPola`, or to the
// form's right edge (0).
struct PoleOsoby
{
    int Pole;
    const char *Opis;
    int DoPola;
    const QString &(TVZMab::*Wartosc)() const;
};

const std::array<PoleOsoby, 6> PolaOsob{{
    {4, "4. Nazwisko", 5, &TVZMab::Nazwisko},
    {5, "5. Pierwsze imię", 0, &TVZMab::Imie},
    {7, "6. Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania", 0, &TVZMab::Dokument},
    {8, "7. Nazwisko", 9, &TVZMab::MNazwisko},
    {9, "8. Pierwsze imię", 0, &TVZMab::MImie},
    {11, "9. Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania", 0, &TVZMab::MDokument},
}};

struct NaglowekListy
{
    const char *Wykaz;  // with markup
    const char *Stawka;
};

// By the list: A, B, C.
const std::array<NaglowekListy, 3> NaglowkiList{{
    {"<+b>WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW <+u>ODLICZANYCH<-u> W RAMACH ULG MIESZKANIOWYCH,<-b>",
     "OPODATKOWANYCH PODATKIEM VAT WG STAWKI 22%"},
    {"<+b>WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW <+u>NIEODLICZANYCH<-u> W RAMACH ULG MIESZKANIOWYCH,<-b>",
     "OPODATKOWANYCH PODATKIEM VAT WG STAWKI 22%"},
    {"<+b>WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW <+u>NIEODLICZANYCH<-u> W RAMACH ULG MIESZKANIOWYCH,<-b>",
     "OPODATKOWANYCH PODATKIEM VAT WG STAWKI 23%"},
}};

PunktPola punkt(int pole)
{
    return PunktZTabeli(WspVzmab, pole);
}

// The NIP's and the PESEL's digits as far apart as the overprint puts them
// (the PESEL of the spouse, printed in the steps of the paper form's boxes,
// stays within half a millimetre of this pitch).
constexpr double MiejsceIdentyfikatora = 58.0 / 11;
// The attachment number's two digits, as the overprint spaces them.
constexpr double MiejsceNumeru = 5.0;
// The combs of the identifiers stand this high on their point.
constexpr double WysokoscIdentyfikatora = 5;

} // namespace

TVZMab_1_3Prev::TVZMab_1_3Prev(TVZMab &zalacznik) : TVZMabPrev(zalacznik, 1)
{
    const UkladWiersza tabela = UkladWiersza::Dla(1);
    const double lewa = tabela.Krawedzie.front();
    const double prawa = tabela.Krawedzie.back();
    const double srodek = (lewa + prawa) / 2;

    DodajNaglowek();
    DodajIdentyfikator(QRectF(QPointF(lewa, 12), QPointF(srodek, 22)),
                       QStringLiteral("1. Identyfikator podatkowy (NIP albo numer PESEL) osoby fizycznej"), 1, 6,
                       m_nip, m_pesel);
    DodajIdentyfikator(QRectF(QPointF(srodek, 12), QPointF(prawa, 22)),
                       QStringLiteral("2. Identyfikator podatkowy (NIP albo numer PESEL) małżonka"), 2, 10, m_mnip,
                       m_mpesel);
    DodajTytul(lewa, prawa);
    DodajDaneIdentyfikacyjne(lewa, prawa);
    DodajGloweTabeli(RamkaTekstu(punkt(11), 0, UkladWiersza::Wysokosc).bottom() + 5.5);
    DodajWiersze(1, 7);
    DodajObjasnienia(lewa, UkladWiersza::Dla(7).Dol + 1);
    DodajStopke(prawa);
}

void TVZMab_1_3Prev::DodajIdentyfikator(const QRectF &ramka, const QString &opis, int poleNip, int polePesel,
                                        TQRNIP *&nip, TQRPlotek *&pesel)
{
    Dodaj<TQRTextBox>(ramka)->Caption = opis;
    const PunktPola naNip = punkt(poleNip);
    const PunktPola naPesel = punkt(polePesel);
    const double dol = naNip.y + WysokoscIdentyfikatora;
    const double etykieta = dol - 3.5;
    Napis(QRectF(naNip.x - 12, etykieta, 9.5, 3), QStringLiteral("NIP"), 7, true, Qt::AlignRight);
    nip = DodajGrzebien<TQRNIP>(naNip, TQRNIP::Miejsc, MiejsceIdentyfikatora, dol);
    Napis(QRectF(naPesel.x - 12, etykieta, 9.5, 3), QStringLiteral("PESEL"), 7, true, Qt::AlignRight);
    pesel = DodajGrzebien<TQRPlotek>(naPesel, 11, MiejsceIdentyfikatora, dol);
}

// The list's symbol and heading at the left; at the right, the shaded frame of
// the attachment with its number.
void TVZMab_1_3Prev::DodajTytul(double lewa, double prawa)
{
    const double lewaRamki = prawa - 64.5;
    m_symbol = Napis(QRectF(lewa + 1.5, 23.5, 40, 5.5), QString(), 12, true);
    m_wykaz = Dodaj<TQRSmartLabel>(QRectF(lewa, 30.5, lewaRamki - lewa, 4.5));
    m_wykaz->Font = TQRFont(QStringLiteral("Arial"), 10);
    m_srodekWykazu = (lewa + lewaRamki) / 2 - Report.Margins.left();
    m_stawka = Napis(QRectF(lewa, 36.5, lewaRamki - lewa, 5), QString(), 11, true, Qt::AlignHCenter);

    const PunktPola naNumer = punkt(3);
    const double dolNumeru = naNumer.y + WysokoscIdentyfikatora;
    Tlo(QRectF(QPointF(lewaRamki, 22.5), QPointF(prawa, dolNumeru + 2.5)));
    Cieniowany(Napis(QRectF(lewaRamki + 2.5, 24.5, prawa - lewaRamki - 5, 4),
                     QStringLiteral("Załącznik do formularza VZM-1."), 9, true));
    Dodaj<TQRTextBox>(QRectF(QPointF(lewaRamki + 2.5, 32.5), QPointF(prawa - 1.5, dolNumeru + 1)))->Caption =
        QStringLiteral("3. Kolejny numer składanego załącznika");
    m_nrZal = DodajGrzebien<TQRMonth>(naNumer, 2, MiejsceNumeru, dolNumeru);
    m_nrZal->PrintZero = false;
}

// Section A: the names and documents of the taxpayer and the spouse, each
// person's boxes beside a shaded cell naming the person.
void TVZMab_1_3Prev::DodajDaneIdentyfikacyjne(double lewa, double prawa)
{
    std::array<QRectF, 6> ramki;
    for (size_t i = 0; i < PolaOsob.size(); ++i) {
        const PoleOsoby &pole = PolaOsob[i];
        const QRectF wzor = RamkaTekstu(punkt(pole.Pole), 0, UkladWiersza::Wysokosc);
        const double koniec = pole.DoPola ? RamkaTekstu(punkt(pole.DoPola), 0, 0).left() : prawa;
        ramki[i] = QRectF(QPointF(wzor.left(), wzor.top()), QPointF(koniec, wzor.bottom()));
    }
    const double gora = ramki.front().top();
    DodajSekcje(QRectF(QPointF(lewa, gora - 5.5), QPointF(prawa, gora)), QStringLiteral("A. DANE IDENTYFIKACYJNE *)"),
                QString());
    const double lewaRamek = ramki.front().left();
    KomorkaCieniowana(QRectF(QPointF(lewa, ramki[0].top()), QPointF(lewaRamek, ramki[2].bottom())),
                      {QStringLiteral("OSOBY"), QStringLiteral("FIZYCZNEJ")}, 8);
    KomorkaCieniowana(QRectF(QPointF(lewa, ramki[3].top()), QPointF(lewaRamek, ramki[5].bottom())),
                      {QStringLiteral("MAŁŻONKA")}, 8);
    for (size_t i = 0; i < PolaOsob.size(); ++i) {
        m_osoby[i] = Dodaj<TQRTextBox>(ramki[i]);
        m_osoby[i]->Caption = QString::fromUtf8(PolaOsob[i].Opis);
        Dane(m_osoby[i]);
    }
    const double dol = ramki.back().bottom();
    DodajSekcje(QRectF(QPointF(lewa, dol), QPointF(prawa, dol + 5.5)),
                QStringLiteral("B. WYKAZ FAKTUR DOKUMENTUJĄCYCH PONIESIONE WYDATKI"),
                QStringLiteral("(określone w art.3 ust.1-3 ustawy)"));
}

void TVZMab_1_3Prev::DodajSekcje(const QRectF &ramka, const QString &tytul, const QString &dopisek)
{
    Tlo(ramka);
    TQRFont pogrubiona(QStringLiteral("Arial"), 10);
    pogrubiona.setBold(true);
    const double szerokosc = SzerokoscMm(pogrubiona, tytul) + 0.5;
    const double gora = ramka.center().y() - WysokoscMm(pogrubiona) / 2;
    Cieniowany(Napis(QRectF(ramka.left() + 1.5, gora, szerokosc, 4.5), tytul, 10, true));
    if (!dopisek.isEmpty())
        Cieniowany(Napis(QRectF(ramka.left() + 3.5 + szerokosc, gora + 0.6, 80, 4), dopisek, 8, false));
}

void TVZMab_1_3Prev::DodajObjasnienia(double lewa, double gora)
{
    Napis(QRectF(lewa, gora, 270, 2.5),
          QStringLiteral("*) Poz.6 (odpowiednio 9) należy wypełnić, jeżeli osobie fizycznej (odpowiednio małżonkowi) "
                         "nie nadano identyfikatora podatkowego (NIP albo numer PESEL)."),
          6, false);
    Napis(QRectF(lewa, gora + 2.7, 270, 2.5),
          QStringLiteral("**) Jeżeli z danej faktury podstawą ubiegania się o kwotę zwrotu nie są wszystkie wydatki a "
                         "jedynie wykazane w poszczególnych pozycjach (Lp.) np. 1, 5, 6 i 7, w kolumnie 1a należy "
                         "wpisać te pozycje."),
          6, false);
}

void TVZMab_1_3Prev::Wypelnij()
{
    TVZMabPrev::Wypelnij();
    m_nip->NIP = m_zalacznik.NIP();
    m_pesel->Text = m_zalacznik.Pesel();
    m_mnip->NIP = m_zalacznik.MNIP();
    m_mpesel->Text = m_zalacznik.MPesel();

    const NaglowekListy &naglowek = NaglowkiList[std::clamp(m_zalacznik.Rodzaj(), 1, 3) - 1];
    m_symbol->Caption = m_zalacznik.Symbol();
    m_wykaz->Caption = QString::fromUtf8(naglowek.Wykaz);
    // The heading is bold throughout; it is centred by the width of its text.
    TQRFont pogrubiona = m_wykaz->Font;
    pogrubiona.setBold(true);
    static const QRegularExpression znacznik(QStringLiteral("<[+-][buis]>"));
    m_wykaz->Width = SzerokoscMm(pogrubiona, QString(m_wykaz->Caption).remove(znacznik)) + 1;
    m_wykaz->Left = m_srodekWykazu - m_wykaz->Width / 2;
    m_stawka->Caption = QString::fromUtf8(naglowek.Stawka);

    m_nrZal->setMonth(NumerNaFormularzu(m_zalacznik.NrZal()));
    for (size_t i = 0; i < PolaOsob.size(); ++i)
        m_osoby[i]->Text = polishUpper((m_zalacznik.*PolaOsob[i].Wartosc)());
}
