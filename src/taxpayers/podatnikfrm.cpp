#include "taxpayers/podatnikfrm.h"

#include "widgets/maskedlineedit.h"
#include "widgets/przyciskiokna.h"
#include "widgets/uzupelnianie.h"

#include "data/dataerror.h"
#include "checks/identifiers.h"
#include "data/schema.h"
#include "data/tdm.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString MaskaNip = QStringLiteral("999-999-99-99");
const QString MaskaPesel = QStringLiteral("99999999999");
const QString MaskaKonta = QStringLiteral("99 9999 9999 9999 9999 9999 9999");

// Masked controls give and take their text in the form the table keeps.
QString tekst(const QLineEdit &kontrolka)
{
    if (const auto *maska = qobject_cast<const MaskedLineEdit *>(&kontrolka))
        return maska->storedText();
    return kontrolka.text();
}

void ustawTekst(QLineEdit &kontrolka, const QString &wartosc)
{
    if (auto *maska = qobject_cast<MaskedLineEdit *>(&kontrolka))
        maska->setStoredText(wartosc);
    else
        kontrolka.setText(wartosc);
}

void uzupelniaj(QLineEdit *kontrolka, Dataset &zrodlo, const QString &pole)
{
    new Uzupelnianie(*kontrolka, Uzupelnianie::ZPola(zrodlo, pole));
}

// A caption above its control, the caption leading to it.
void umiesc(QGridLayout *siatka, int wiersz, int kolumna, int szerokosc, const QString &etykieta,
            QWidget *kontrolka, QWidget *obok = nullptr)
{
    auto *napis = new QLabel(etykieta);
    napis->setBuddy(kontrolka);
    siatka->addWidget(napis, wiersz, kolumna, 1, szerokosc);
    if (!obok) {
        siatka->addWidget(kontrolka, wiersz + 1, kolumna, 1, szerokosc);
        return;
    }
    auto *rzad = new QHBoxLayout;
    rzad->addWidget(kontrolka, 1);
    rzad->addWidget(obok);
    siatka->addLayout(rzad, wiersz + 1, kolumna, 1, szerokosc);
}

} // namespace

TPodatnikFrm::TPodatnikFrm(TDM &dm, QWidget *parent)
    : OknoEdycji(dm, QStringLiteral("Porzucić wprowadzone dane podatnika?"), parent), dm(dm)
{
    setWindowTitle(QStringLiteral("Dane ewidencyjne"));

    Zakladki = new QTabWidget;
    Zakladki->setObjectName(QStringLiteral("Zakladki"));
    m_kolejnosc << Zakladki;
    Zakladki->addTab(ZbudujStrone(podatnik, false), QStringLiteral("Dane osoby fizycznej"));
    Zakladki->addTab(ZbudujStrone(malzonek, true), QStringLiteral("Dane małżonka"));

    PostBtn = NowyPrzycisk(QStringLiteral("PostBtn"), QStringLiteral("&Zapisz"));
    CancelBtn = NowyPrzycisk(QStringLiteral("CancelBtn"), QStringLiteral("Anuluj"));
    connect(PostBtn, &QPushButton::clicked, this, &TPodatnikFrm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(Zakladki);
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));

    for (qsizetype i = 1; i < m_kolejnosc.size(); ++i)
        setTabOrder(m_kolejnosc[i - 1], m_kolejnosc[i]);
    for (MaskedLineEdit *sprawdzane :
         {podatnik.NIP, malzonek.NIP, podatnik.Pesel, malzonek.Pesel, podatnik.Konto, malzonek.Konto})
        sprawdzane->installEventFilter(this);
}

QWidget *TPodatnikFrm::ZbudujStrone(Osoba &osoba, bool malzonka)
{
    const QString ed = malzonka ? QStringLiteral("Edm") : QStringLiteral("Ed");
    const QString m = malzonka ? QStringLiteral("M") : QString();
    auto *strona = new QWidget;

    osoba.NIP = new MaskedLineEdit(MaskaNip, MaskedLineEdit::Literals::Kept);
    NowePole(ed + QStringLiteral("NIP"), m + QStringLiteral("NIP"), osoba.NIP);
    osoba.Pesel = new MaskedLineEdit(MaskaPesel, MaskedLineEdit::Literals::Kept);
    NowePole(malzonka ? QStringLiteral("EdmPESEL") : QStringLiteral("EdPesel"), m + QStringLiteral("Pesel"),
             osoba.Pesel);
    osoba.Nazwisko = NowePole(ed + QStringLiteral("Nazwisko"), m + QStringLiteral("Nazwisko"));
    if (malzonka) {
        NazwBtn = NowyPrzycisk(QStringLiteral("NazwBtn"), QStringLiteral("»"));
        NazwBtn->setFixedWidth(NazwBtn->sizeHint().height() * 2); // a small button beside the surname
        NazwBtn->setToolTip(QStringLiteral("Wprowadź nazwisko małżonka takie samo\njak nazwisko podatnika"));
        connect(NazwBtn, &QPushButton::clicked, this, &TPodatnikFrm::NazwBtnClick);
    }
    osoba.Imie = NowePole(ed + QStringLiteral("Imie"), m + QStringLiteral("Imie"));
    uzupelniaj(osoba.Imie, dm.Imiona, QStringLiteral("Imie"));
    osoba.Dokument = NowePole(ed + QStringLiteral("Dokument"), m + QStringLiteral("Dokument"));

    auto *osobowe = new QGridLayout;
    umiesc(osobowe, 0, 0, 1, QStringLiteral("NIP"), osoba.NIP);
    umiesc(osobowe, 0, 1, 1, QStringLiteral("PESEL"), osoba.Pesel);
    umiesc(osobowe, 2, 0, 1, QStringLiteral("Nazwisko"), osoba.Nazwisko, malzonka ? NazwBtn : nullptr);
    umiesc(osobowe, 2, 1, 1, QStringLiteral("Imię"), osoba.Imie);
    umiesc(osobowe, 4, 0, 2, QStringLiteral("Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania"),
           osoba.Dokument);

    QWidget *adres = ZbudujAdres(osoba, malzonka);

    osoba.Konto = new MaskedLineEdit(MaskaKonta, MaskedLineEdit::Literals::Dropped);
    NowePole(ed + QStringLiteral("Konto"), m + QStringLiteral("Konto"), osoba.Konto);
    auto *bankowe = new QGridLayout;
    umiesc(bankowe, 0, 0, 1, QStringLiteral("Numer rachunku bankowego"), osoba.Konto);
    bankowe->setColumnStretch(1, 1);
    if (!malzonka) {
        EdUrzad = NowePole(QStringLiteral("EdUrzad"), QStringLiteral("Urzad"));
        uzupelniaj(EdUrzad, dm.Urzedy, QStringLiteral("Urzad"));
        umiesc(bankowe, 2, 0, 2, QStringLiteral("Urząd &skarbowy, do którego adresowany jest wniosek"), EdUrzad);
    }

    auto *uklad = new QVBoxLayout(strona);
    uklad->addLayout(osobowe);
    uklad->addWidget(adres);
    uklad->addLayout(bankowe);
    uklad->addStretch();
    return strona;
}

QWidget *TPodatnikFrm::ZbudujAdres(Osoba &osoba, bool malzonka)
{
    const QString ed = malzonka ? QStringLiteral("Edm") : QStringLiteral("Ed");
    const QString m = malzonka ? QStringLiteral("M") : QString();
    const auto pole = [&](const char *nazwa) {
        return NowePole(ed + QLatin1String(nazwa), m + QLatin1String(nazwa));
    };
    osoba.Kraj = pole("Kraj");
    osoba.Wojew = pole("Wojew");
    osoba.Powiat = pole("Powiat");
    osoba.Gmina = pole("Gmina");
    osoba.Ulica = pole("Ulica");
    osoba.Posesja = pole("Posesja");
    osoba.Lokal = pole("Lokal");
    osoba.Miasto = pole("Miasto");
    osoba.KodPoczt = pole("KodPoczt");
    osoba.Poczta = pole("Poczta");
    uzupelniaj(osoba.Kraj, dm.Kraje, QStringLiteral("Kraj"));
    new Uzupelnianie(*osoba.Wojew, Uzupelnianie::ZListy(Wojewodztwa));
    uzupelniaj(osoba.Powiat, dm.Powiaty, QStringLiteral("Powiat"));
    uzupelniaj(osoba.Gmina, dm.Gminy, QStringLiteral("Gmina"));
    uzupelniaj(osoba.Ulica, dm.Ulice, QStringLiteral("Ulica"));
    uzupelniaj(osoba.Miasto, dm.Miasta, QStringLiteral("Miasto"));
    uzupelniaj(osoba.Poczta, dm.Poczty, QStringLiteral("Poczta"));

    auto *grupa = new QGroupBox(QStringLiteral("Adres"));
    auto *siatka = new QGridLayout(grupa);
    umiesc(siatka, 0, 0, 2, QStringLiteral("Kraj"), osoba.Kraj);
    umiesc(siatka, 0, 2, 2, QStringLiteral("Województwo"), osoba.Wojew);
    umiesc(siatka, 0, 4, 2, QStringLiteral("Powiat"), osoba.Powiat);
    umiesc(siatka, 2, 0, 2, QStringLiteral("Gmina"), osoba.Gmina);
    umiesc(siatka, 2, 2, 2, QStringLiteral("Ulica"), osoba.Ulica);
    umiesc(siatka, 2, 4, 1, QStringLiteral("Nr domu"), osoba.Posesja);
    umiesc(siatka, 2, 5, 1, QStringLiteral("Nr lokalu"), osoba.Lokal);
    umiesc(siatka, 4, 0, 2, QStringLiteral("Miejscowość"), osoba.Miasto);
    umiesc(siatka, 4, 2, 1, QStringLiteral("Kod pocztowy"), osoba.KodPoczt);
    umiesc(siatka, 4, 3, 3, QStringLiteral("Poczta"), osoba.Poczta);
    if (malzonka) {
        UstawBtn = NowyPrzycisk(QStringLiteral("UstawBtn"),
                                QStringLiteral("&Ustaw adres małżonka taki sam jak podatnika"));
        connect(UstawBtn, &QPushButton::clicked, this, &TPodatnikFrm::UstawBtnClick);
        siatka->addWidget(UstawBtn, 6, 0, 1, 6, Qt::AlignLeft);
    }
    for (int kolumna = 0; kolumna < 6; ++kolumna)
        siatka->setColumnStretch(kolumna, 1);
    return grupa;
}

QLineEdit *TPodatnikFrm::NowePole(const QString &nazwa, const QString &pole, QLineEdit *kontrolka)
{
    if (!kontrolka) {
        kontrolka = new QLineEdit;
        kontrolka->setMaxLength(tableDef(QStringLiteral("Podatnik")).field(pole)->size);
    }
    kontrolka->setObjectName(nazwa);
    m_pola.append({kontrolka, pole});
    m_kolejnosc << kontrolka;
    return kontrolka;
}

QPushButton *TPodatnikFrm::NowyPrzycisk(const QString &nazwa, const QString &tekst)
{
    auto *przycisk = new QPushButton(tekst);
    przycisk->setObjectName(nazwa);
    // Enter in an edit presses nothing here: saving is a deliberate "Zapisz".
    przycisk->setAutoDefault(false);
    m_kolejnosc << przycisk;
    return przycisk;
}

int TPodatnikFrm::NowyPodatnik()
{
    PrzygotujNowyPodatnik();
    return exec();
}

int TPodatnikFrm::PoprawPodatnika()
{
    PrzygotujPoprawePodatnika();
    return exec();
}

void TPodatnikFrm::PrzygotujNowyPodatnik()
{
    m_dodawanie = true;
    CzyscPola();
    const QList<std::pair<QLineEdit *, QString>> domyslne = {
        {podatnik.Kraj, QStringLiteral("Kraj")},         {podatnik.Wojew, QStringLiteral("Wojew")},
        {podatnik.Powiat, QStringLiteral("Powiat")},     {podatnik.Gmina, QStringLiteral("Gmina")},
        {podatnik.Miasto, QStringLiteral("Miasto")},     {podatnik.KodPoczt, QStringLiteral("KodPoczt")},
        {podatnik.Poczta, QStringLiteral("Poczta")},     {EdUrzad, QStringLiteral("Urzad")},
    };
    for (const auto &[kontrolka, pole] : domyslne)
        kontrolka->setText(dm.Domysl.field(pole).asString());
    Zapamietaj();
    PierwszePole();
}

void TPodatnikFrm::PrzygotujPoprawePodatnika()
{
    m_dodawanie = false;
    CzyscPola();
    WczytajPola();
    Zapamietaj();
    PierwszePole();
}

void TPodatnikFrm::CzyscPola()
{
    for (const Powiazanie &p : std::as_const(m_pola))
        p.kontrolka->clear();
    podatnik.Kraj->setText(QStringLiteral("Polska"));
}

void TPodatnikFrm::WczytajPola()
{
    for (const Powiazanie &p : std::as_const(m_pola))
        ustawTekst(*p.kontrolka, dm.Podatnik.field(p.pole).asString());
}

void TPodatnikFrm::PierwszePole()
{
    (Zakladki->currentIndex() == 0 ? podatnik.NIP : malzonek.NIP)->setFocus();
}

bool TPodatnikFrm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return OknoEdycji::event(event);
}

bool TPodatnikFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == podatnik.NIP || watched == malzonek.NIP)
            SprawdzNIPy();
        else if (watched == podatnik.Pesel || watched == malzonek.Pesel)
            SprawdzPesele();
        else if (watched == podatnik.Konto || watched == malzonek.Konto)
            SprawdzKonta();
    }
    return OknoEdycji::eventFilter(watched, event);
}

void TPodatnikFrm::FormActivate()
{
    dm.OdswiezPodpowiedzi();
    SprawdzNIPy();
    SprawdzPesele();
    SprawdzKonta();
}

void TPodatnikFrm::SprawdzNIPy()
{
    PokazZnaczniki(*podatnik.NIP, *malzonek.NIP, ZnacznikiNipow);
}

void TPodatnikFrm::SprawdzPesele()
{
    PokazZnaczniki(*podatnik.Pesel, *malzonek.Pesel, ZnacznikiPeseli);
}

void TPodatnikFrm::SprawdzKonta()
{
    PokazZnaczniki(*podatnik.Konto, *malzonek.Konto, ZnacznikiKont);
}

void TPodatnikFrm::PokazZnaczniki(MaskedLineEdit &podatnika, MaskedLineEdit &malzonka,
                                  ZnacznikiPary (*regula)(QStringView, QStringView))
{
    const ZnacznikiPary z = regula(podatnika.storedText(), malzonka.storedText());
    PokazZnacznik(podatnika, z.podatnika);
    PokazZnacznik(malzonka, z.malzonka);
}

void TPodatnikFrm::NazwBtnClick()
{
    malzonek.Nazwisko->setText(podatnik.Nazwisko->text());
}

void TPodatnikFrm::UstawBtnClick()
{
    for (auto [z, na] : {std::pair{podatnik.Kraj, malzonek.Kraj}, {podatnik.Wojew, malzonek.Wojew},
                         {podatnik.Powiat, malzonek.Powiat}, {podatnik.Gmina, malzonek.Gmina},
                         {podatnik.Miasto, malzonek.Miasto}, {podatnik.KodPoczt, malzonek.KodPoczt},
                         {podatnik.Poczta, malzonek.Poczta}, {podatnik.Ulica, malzonek.Ulica},
                         {podatnik.Posesja, malzonek.Posesja}, {podatnik.Lokal, malzonek.Lokal}})
        na->setText(z->text());
}

void TPodatnikFrm::PostBtnClick()
{
    // A surname or first name of blanks counts as given.
    if (podatnik.Nazwisko->text().isEmpty())
        return BrakDanej(*podatnik.Nazwisko, QStringLiteral("Nazwisko podatnika musi być podane."));
    if (podatnik.Imie->text().isEmpty())
        return BrakDanej(*podatnik.Imie, QStringLiteral("Imię podatnika musi być podane."));
    if (ZapiszPodatnika())
        accept();
}

void TPodatnikFrm::BrakDanej(QLineEdit &kontrolka, const QString &komunikat)
{
    dm.Uwaga(komunikat);
    Zakladki->setCurrentIndex(0);
    kontrolka.setFocus();
}

bool TPodatnikFrm::ZapiszPodatnika()
{
    // The fathers' and mothers' names and the notes have no control here:
    // they are never written, so a correction keeps them as stored.
    Table &tabela = dm.Podatnik;
    try {
        if (m_dodawanie)
            tabela.insert();
        else
            tabela.edit();
        for (const Powiazanie &p : std::as_const(m_pola))
            tabela.field(p.pole).setString(tekst(*p.kontrolka));
        tabela.post();
        return true;
    } catch (const DataError &blad) {
        // The window stays open with what the user typed.
        tabela.cancel();
        dm.Uwaga(QStringLiteral("Nie udało się zapisać danych podatnika:\r") + blad.message());
        return false;
    }
}
