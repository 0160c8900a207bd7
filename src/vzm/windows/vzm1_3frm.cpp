#include "vzm/windows/vzm1_3frm.h"

#include "vzm/windows/poprzednizwrotfrm.h"
#include "vzm/windows/rozliczeniezakladka.h"
#include "vzm/windows/vzmstrony.h"

#include "widgets/datasetmodel.h"
#include "widgets/fielderror.h"
#include "widgets/fieldmark.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"
#include "widgets/przyciskiokna.h"
#include "widgets/richtext.h"
#include "widgets/uzupelnianie.h"

#include "checks/identifiers.h"
#include "core/common.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "vzm/formmodel.h"
#include "vzm/rozliczenie.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>


namespace {

// Where an edit completes what the user types from.
enum class Lista { Brak, Urzedy, Imiona, Kraje, Wojewodztwa, Powiaty, Gminy, Ulice, Miasta, Poczty };

// The personal data and address, positions 9 to 21 of the taxpayer ("F" +
// name) and 22 to 34 of the spouse ("FM" + name), in the order of the form.
struct TekstOsoby
{
    const char *nazwa;
    QString TVzm_3::*podatnika;
    QString TVzm_3::*malzonka;
    Lista lista;
};

const TekstOsoby TekstyOsoby[] = {
    {"Nazwisko", &TVzm_3::Nazwisko, &TVzm_3::MNazwisko, Lista::Brak},
    {"Imie", &TVzm_3::Imie, &TVzm_3::MImie, Lista::Imiona},
    {"Dokument", &TVzm_3::Dokument, &TVzm_3::MDokument, Lista::Kraje},
    {"Kraj", &TVzm_3::Kraj, &TVzm_3::MKraj, Lista::Kraje},
    {"Wojew", &TVzm_3::Wojew, &TVzm_3::MWojew, Lista::Wojewodztwa},
    {"Powiat", &TVzm_3::Powiat, &TVzm_3::MPowiat, Lista::Powiaty},
    {"Gmina", &TVzm_3::Gmina, &TVzm_3::MGmina, Lista::Gminy},
    {"Ulica", &TVzm_3::Ulica, &TVzm_3::MUlica, Lista::Ulice},
    {"Posesja", &TVzm_3::Posesja, &TVzm_3::MPosesja, Lista::Brak},
    {"Lokal", &TVzm_3::Lokal, &TVzm_3::MLokal, Lista::Brak},
    {"Miasto", &TVzm_3::Miasto, &TVzm_3::MMiasto, Lista::Miasta},
    {"KodPoczt", &TVzm_3::KodPoczt, &TVzm_3::MKodPoczt, Lista::Brak},
    {"Poczta", &TVzm_3::Poczta, &TVzm_3::MPoczta, Lista::Poczty},
};
constexpr int PierwszaPozycjaPodatnika = 9;
constexpr int PierwszaPozycjaMalzonka = 22;

// The identifiers, kept as typed through their masks and marked by the model.
struct Identyfikator
{
    const char *nazwa;
    void (*ustaw)(TVzm_3 &, const QString &);
    const QString &(TVzm_3::*wartosc)() const;
    const TStanPola &(TVzm_3::*stan)() const;
};

const Identyfikator Identyfikatory[] = {
    {"FNip", [](TVzm_3 &v, const QString &t) { v.SetNip(TOsoba::Podatnik, t); }, &TVzm_3::NIP, &TVzm_3::StanNip},
    {"FmNip", [](TVzm_3 &v, const QString &t) { v.SetNip(TOsoba::Malzonek, t); }, &TVzm_3::MNIP, &TVzm_3::StanMNip},
    {"FPesel", [](TVzm_3 &v, const QString &t) { v.SetPesel(TOsoba::Podatnik, t); }, &TVzm_3::Pesel,
     &TVzm_3::StanPesel},
    {"FMPesel", [](TVzm_3 &v, const QString &t) { v.SetPesel(TOsoba::Malzonek, t); }, &TVzm_3::MPesel,
     &TVzm_3::StanMPesel},
    {"FKonto", [](TVzm_3 &v, const QString &t) { v.SetKonto(t); }, &TVzm_3::Konto, &TVzm_3::StanKonto},
};

// The counts typed in number edits.
struct Liczba
{
    const char *nazwa;
    void (*ustaw)(TVzm_3 &, int);
    int (TVzm_3::*wartosc)() const;
};

const Liczba Liczby[] = {
    {"FNrKolej", [](TVzm_3 &v, int n) { v.SetNrKolej(n); }, &TVzm_3::NrKolej},
    {"FNrKoryg", [](TVzm_3 &v, int n) { v.SetNrKoryg(n); }, &TVzm_3::NrKoryg},
    {"F41", [](TVzm_3 &v, int n) { v.SetRok(41, n); }, &TVzm_3::P41},
    {"F42", [](TVzm_3 &v, int n) { v.SetRok(42, n); }, &TVzm_3::P42},
    {"F43", [](TVzm_3 &v, int n) { v.SetRok(43, n); }, &TVzm_3::P43},
    {"F59", [](TVzm_3 &v, int n) { v.SetSztuk(59, n); }, &TVzm_3::P59},
    {"F60", [](TVzm_3 &v, int n) { v.SetSztuk(60, n); }, &TVzm_3::P60},
    {"F61", [](TVzm_3 &v, int n) { v.SetSztuk(61, n); }, &TVzm_3::P61},
};

// The eleven boxes: the setter, the box's number for it, and its state.
struct Kwadrat
{
    const char *nazwa;
    void (TVzm_3::*ustaw)(int, bool);
    int nr;
    bool (TVzm_3::*stan)() const;
};

const Kwadrat Kwadraty[] = {
    {"F7_1", &TVzm_3::SetCel, 1, &TVzm_3::P7_1},   {"F7_2", &TVzm_3::SetCel, 2, &TVzm_3::P7_2},
    {"F8_1", &TVzm_3::SetP8, 1, &TVzm_3::P8_1},    {"F8_2", &TVzm_3::SetP8, 2, &TVzm_3::P8_2},
    {"F8_3", &TVzm_3::SetP8, 3, &TVzm_3::P8_3},    {"F57_1", &TVzm_3::SetP57, 1, &TVzm_3::P57_1},
    {"F57_2", &TVzm_3::SetP57, 2, &TVzm_3::P57_2}, {"F57_3", &TVzm_3::SetP57, 3, &TVzm_3::P57_3},
    {"F58_1", &TVzm_3::SetP58, 1, &TVzm_3::P58_1}, {"F58_2", &TVzm_3::SetP58, 2, &TVzm_3::P58_2},
    {"F58_3", &TVzm_3::SetP58, 3, &TVzm_3::P58_3},
};

// The positions edited by one control outside the personal data; the
// positions of the form without a control (3, 4, 40 to 49, 56 to 58) lead
// nowhere.
const std::pair<int, const char *> PozycjeKontrolek[] = {
    {1, "FNip"},   {2, "FmNip"},  {5, "FNrKolej"}, {6, "FUrzad"}, {7, "F7_1"},   {8, "F8_1"},
    {35, "F41"},   {36, "F42"},   {37, "F43"},     {38, "F44"},   {39, "F45"},   {50, "F56"},
    {51, "F57_1"}, {52, "F58_1"}, {53, "F59"},     {54, "F60"},   {55, "F61"},   {59, "F65"},
};

// The memos and their lines.
const std::pair<const char *, QStringList TVzm_3::*> Notatki[] = {{"F56", &TVzm_3::P56}, {"F65", &TVzm_3::P65}};

// The numbers of attachments, counted by the program (positions 56 to 58).
const std::pair<const char *, int (TVzm_3::*)() const> Zalaczniki[] = {
    {"F62Lbl", &TVzm_3::P62}, {"F63Lbl", &TVzm_3::P63}, {"F64Lbl", &TVzm_3::P64}};

// The labels of the limits (positions 41 to 44) in block D.3.1 and in D.3.2.
const char *const LimityD31[] = {"F47Lbl", "F48Lbl", "F49Lbl", "F50Lbl"};
const char *const LimityD32[] = {"aF47Lbl", "aF48Lbl", "aF49Lbl", "aF50Lbl"};

// Where an edit completes what the user types from; nothing for an edit
// without completion.
Uzupelnianie::Zrodlo ZrodloListy(TDM &dm, Lista lista)
{
    const auto zPola = [](Dataset &zbior, const char *pole) {
        return Uzupelnianie::ZPola(zbior, QLatin1StringView(pole));
    };
    switch (lista) {
    case Lista::Urzedy: return zPola(dm.Urzedy, "Urzad");
    case Lista::Imiona: return zPola(dm.Imiona, "Imie");
    case Lista::Kraje: return zPola(dm.Kraje, "Kraj");
    case Lista::Wojewodztwa: return Uzupelnianie::ZListy(Wojewodztwa);
    case Lista::Powiaty: return zPola(dm.Powiaty, "Powiat");
    case Lista::Gminy: return zPola(dm.Gminy, "Gmina");
    case Lista::Ulice: return zPola(dm.Ulice, "Ulica");
    case Lista::Miasta: return zPola(dm.Miasta, "Miasto");
    case Lista::Poczty: return zPola(dm.Poczty, "Poczta");
    case Lista::Brak: break;
    }
    return {};
}

// A count, read as a whole number by its edit.
int Calkowita(Money wartosc)
{
    return int(wartosc.raw() / Money::Scale);
}

// An empty date is allowed; an impossible or incomplete one is refused
// under its field.
bool SprawdzDate(MaskedLineEdit &pole)
{
    if (!TekstNaDate(pole.storedText()).isNull() || PustaData(pole.storedText()))
        return true;
    FieldError::report(&pole, QStringLiteral("Niepoprawna data"));
    return false;
}

QStringList Wiersze(const QString &tekst)
{
    if (tekst.isEmpty())
        return {};
    return tekst.split(u'\n');
}

// A text control is set only when its text differs, so that the caret and
// the completion of a control the user is in are left alone.
void UstawTekst(QLineEdit &edit, const QString &tekst)
{
    if (edit.text() != tekst)
        edit.setText(tekst);
}

bool BezCyfr(const QString &tekst)
{
    return TylkoCyfry(tekst).isEmpty();
}

void UstawMaske(MaskedLineEdit &edit, const QString &tekst)
{
    // An empty value and the bare mask are the same blank field.
    if (edit.storedText() == tekst || (BezCyfr(tekst) && BezCyfr(edit.storedText())))
        return;
    edit.setStoredText(tekst);
}

} // namespace

TVZM1_3Frm::TVZM1_3Frm(TDM &dm, TVzm_3 &vzm, TWindow &window, QWidget *parent)
    : OknoEdycji(dm, QStringLiteral("Porzucić zmiany we wniosku?"), parent), dm(dm), vzm(vzm),
      m_polozenie(window, QStringLiteral("VZM1_3Frm"), WindowPlacement::Remember::PositionAndSize)
{
    setObjectName(QStringLiteral("VZM1_3Frm"));
    resize(1200, 780);
    ZbudujZakladki();
    PowiazTeksty();
    PowiazIdentyfikatory();
    PowiazLiczby();
    PowiazKwadraty();
    PowiazPrzyciski();
    Zakladki->setCurrentIndex(0);
    m_polozenie.restore(*this);
}

TVZM1_3Frm::~TVZM1_3Frm()
{
    // The controls leave their focus while they are destroyed: nothing may
    // reach the model from them any more.
    for (auto it = m_opuszczenie.keyBegin(); it != m_opuszczenie.keyEnd(); ++it) {
        (*it)->removeEventFilter(this);
        disconnect(*it, nullptr, this, nullptr);
    }
    disconnect(Zakladki, nullptr, this, nullptr);
    m_opuszczenie.clear();
    m_polozenie.save(*this);
}

void TVZM1_3Frm::ZbudujZakladki()
{
    Zakladki = new QTabWidget;
    Zakladki->setObjectName(QStringLiteral("Zakladki"));
    const std::pair<QWidget *, const char *> strony[] = {{StronyVzm::Strona1(), "Strona &1"},
                                                         {StronyVzm::Strona2(), "Strona &2"},
                                                         {StronyVzm::Strona3(), "Strona &3"},
                                                         {StronyVzm::Strona4(), "Strona &4"}};
    for (const auto &[strona, tytul] : strony) {
        // A page taller or wider than the window scrolls; a larger window widens the form.
        auto *przewijanie = new QScrollArea;
        przewijanie->setWidgetResizable(true);
        przewijanie->setFrameShape(QFrame::NoFrame);
        przewijanie->setWidget(strona);
        Zakladki->addTab(przewijanie, QString::fromUtf8(tytul));
    }

    auto *notatki = new QWidget;
    EditBtn = new QPushButton(QStringLiteral("Edycja"));
    EditBtn->setObjectName(QStringLiteral("EditBtn"));
    EditBtn->setAutoDefault(false);
    EditBtn->setEnabled(false);
    RxDBRichEdit1 = new QTextEdit;
    RxDBRichEdit1->setObjectName(QStringLiteral("RxDBRichEdit1"));
    RxDBRichEdit1->setReadOnly(true);
    auto *ukladNotatek = new QVBoxLayout(notatki);
    auto *pasek = new QHBoxLayout;
    pasek->addWidget(EditBtn);
    pasek->addStretch();
    ukladNotatek->addLayout(pasek);
    ukladNotatek->addWidget(RxDBRichEdit1, 1);
    Zakladki->addTab(notatki, QStringLiteral("&Notatki"));

    m_weryfikacja = new QWidget;
    BladPan = new QLabel;
    BladPan->setObjectName(QStringLiteral("BladPan"));
    BladPan->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    BladPan->setMinimumHeight(BladPan->fontMetrics().height() + 10);
    auto *BledyGrid = new QTableView;
    BledyGrid->setObjectName(QStringLiteral("BledyGrid"));
    // The grid shows the data module's error list; the binding belongs to the grid.
    new GridBinding(*BledyGrid, dm.BledyTbl,
                    {{QStringLiteral("NrPola"), QStringLiteral("Pozycja"), Qt::AlignRight | Qt::AlignVCenter},
                     {QStringLiteral("Opis"), QStringLiteral("Opis")}});
    connect(BledyGrid, &QTableView::doubleClicked, this, &TVZM1_3Frm::BledyGridDblClick);
    auto *ukladWeryfikacji = new QVBoxLayout(m_weryfikacja);
    ukladWeryfikacji->addWidget(BladPan);
    ukladWeryfikacji->addWidget(BledyGrid, 1);
    Zakladki->addTab(m_weryfikacja, QStringLiteral("&Weryfikacja"));
    m_rozliczenie = new TRozliczenieZakladka;
    m_rozliczenie->DrukujBtn()->hide();
    connect(m_rozliczenie->DrukujBtn(), &QPushButton::clicked, this, [this] {
        if (m_drukujRozliczenie)
            m_drukujRozliczenie(Zrodlo());
    });
    Zakladki->addTab(m_rozliczenie, QStringLiteral("&Rozliczenie"));
    connect(Zakladki, &QTabWidget::currentChanged, this, &TVZM1_3Frm::ZakladkaZmieniona);

    // Enter in a field or a memo presses neither: saving is a deliberate "Zapisz".
    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::NicNieRobi);
    connect(PostBtn, &QPushButton::clicked, this, &TVZM1_3Frm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TVZM1_3Frm::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(Zakladki, 1);
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));
}

template <class T>
T *TVZM1_3Frm::Kontrolka(const QString &nazwa) const
{
    T *kontrolka = findChild<T *>(nazwa);
    Q_ASSERT_X(kontrolka, "TVZM1_3Frm", qPrintable(nazwa));
    return kontrolka;
}

void TVZM1_3Frm::NaOpuszczenie(QWidget *kontrolka, Opuszczenie reakcja)
{
    m_opuszczenie.insert(kontrolka, std::move(reakcja));
    if (auto *liczba = qobject_cast<TOrxEditCalc *>(kontrolka)) {
        // The calculator edit knows when it is really left (not for a popup).
        connect(liczba, &TOrxEditCalc::exited, this, [this, liczba] {
            if (const auto it = m_opuszczenie.constFind(liczba); it != m_opuszczenie.constEnd())
                (*it)();
        });
        return;
    }
    kontrolka->installEventFilter(this);
}

bool TVZM1_3Frm::eventFilter(QObject *watched, QEvent *event)
{
    // Another window or a popup taking the focus does not leave the field.
    const auto powod = event->type() == QEvent::FocusOut ? static_cast<QFocusEvent *>(event)->reason() : Qt::NoFocusReason;
    if (event->type() == QEvent::FocusOut && powod != Qt::PopupFocusReason && powod != Qt::ActiveWindowFocusReason) {
        if (const auto it = m_opuszczenie.constFind(watched); it != m_opuszczenie.constEnd())
            (*it)();
    }
    return QDialog::eventFilter(watched, event);
}

void TVZM1_3Frm::ZatwierdzBiezace()
{
    if (const auto it = m_opuszczenie.constFind(focusWidget()); it != m_opuszczenie.constEnd())
        (*it)();
}

// --- Binding the controls to the model -------------------------------------

void TVZM1_3Frm::PowiazTeksty()
{
    const auto powiaz = [this](const QString &nazwa, QString TVzm_3::*pole, Lista lista) {
        auto *edit = Kontrolka<QLineEdit>(nazwa);
        if (Uzupelnianie::Zrodlo zrodlo = ZrodloListy(dm, lista))
            new Uzupelnianie(*edit, std::move(zrodlo));
        NaOpuszczenie(edit, [this, edit, pole] {
            vzm.*pole = edit->text();
            PokazTeksty();
        });
        m_teksty << [this, edit, pole] { UstawTekst(*edit, vzm.*pole); };
    };
    powiaz(QStringLiteral("FUrzad"), &TVzm_3::Urzad, Lista::Urzedy);
    for (const TekstOsoby &t : TekstyOsoby) {
        powiaz(QStringLiteral("F") + QLatin1StringView(t.nazwa), t.podatnika, t.lista);
        powiaz(QStringLiteral("FM") + QLatin1StringView(t.nazwa), t.malzonka, t.lista);
    }

    for (const auto &[nazwa, wiersze] : Notatki) {
        auto *memo = Kontrolka<QPlainTextEdit>(QLatin1StringView(nazwa));
        NaOpuszczenie(memo, [this, memo, wiersze = wiersze] {
            vzm.*wiersze = Wiersze(memo->toPlainText());
            PokazNotatki();
        });
    }
}

void TVZM1_3Frm::PowiazIdentyfikatory()
{
    for (const Identyfikator &id : Identyfikatory) {
        auto *edit = Kontrolka<MaskedLineEdit>(QLatin1StringView(id.nazwa));
        NaOpuszczenie(edit, [this, edit, ustaw = id.ustaw] {
            ustaw(vzm, edit->storedText());
            PokazTeksty();
        });
        m_teksty << [this, edit, wartosc = id.wartosc, stan = id.stan] {
            UstawMaske(*edit, (vzm.*wartosc)());
            PokazZnacznik(*edit, (vzm.*stan)());
        };
    }
    auto *data = Kontrolka<MaskedLineEdit>(QStringLiteral("F44"));
    NaOpuszczenie(data, [this] { F44Exit(); });
}

void TVZM1_3Frm::PowiazLiczby()
{
    for (const Liczba &l : Liczby) {
        auto *edit = Kontrolka<TOrxEditCalc>(QLatin1StringView(l.nazwa));
        NaOpuszczenie(edit, [this, edit, ustaw = l.ustaw] {
            ustaw(vzm, Calkowita(edit->ValueReal()));
            PokazLiczby();
        });
        m_liczby << [this, edit, wartosc = l.wartosc] {
            const Money zModelu = Money::fromUnits((vzm.*wartosc)());
            if (edit->ValueReal() != zModelu)
                edit->SetValue(zModelu);
        };
    }
    for (const auto &[nazwa, liczba] : Zalaczniki) {
        auto *etykieta = Kontrolka<QLabel>(QLatin1StringView(nazwa));
        m_liczby << [this, etykieta, liczba = liczba] {
            etykieta->setText(QString::number((vzm.*liczba)()) + QStringLiteral(" szt."));
        };
    }
    NaOpuszczenie(Kontrolka<TOrxEditCalc>(QStringLiteral("F45")), [this] { F45Exit(); });
}

void TVZM1_3Frm::PowiazKwadraty()
{
    for (const Kwadrat &k : Kwadraty) {
        auto *kwadrat = Kontrolka<QCheckBox>(QLatin1StringView(k.nazwa));
        // Only a click by the user reaches the model; setting a box from the
        // model afterwards changes nothing there.
        connect(kwadrat, &QCheckBox::clicked, this, [this, ustaw = k.ustaw, nr = k.nr](bool zaznaczony) {
            (vzm.*ustaw)(nr, zaznaczony);
            PokazKwadraty();
        });
        m_kwadraty << [this, kwadrat, stan = k.stan] { kwadrat->setChecked((vzm.*stan)()); };
    }
}

void TVZM1_3Frm::PowiazPrzyciski()
{
    connect(Kontrolka<QPushButton>(QStringLiteral("WstawCena")), &QPushButton::clicked, this,
            &TVZM1_3Frm::WstawCenaClick);
    connect(Kontrolka<QPushButton>(QStringLiteral("PoliczBtn")), &QPushButton::clicked, this,
            &TVZM1_3Frm::PoliczBtnClick);
    connect(Kontrolka<QPushButton>(QStringLiteral("KwotyBtn")), &QPushButton::clicked, this,
            &TVZM1_3Frm::KwotyBtnClick);
    connect(Kontrolka<QAction>(QStringLiteral("PodatnikKonto")), &QAction::triggered, this,
            [this] { WstawKonto(vzm.KontoPodatnika()); });
    connect(Kontrolka<QAction>(QStringLiteral("MalzonekKonto")), &QAction::triggered, this,
            [this] { WstawKonto(vzm.KontoMalzonka()); });
    connect(EditBtn, &QPushButton::clicked, this, &TVZM1_3Frm::EditBtnClick);
}

// --- Filling from the model ---------------------------------------------------

void TVZM1_3Frm::Wypelnij()
{
    PokazTeksty();
    PokazKwadraty();
    PokazLiczby();
    PokazDate();
    PokazNotatki();
    PokazKwoty();
}

void TVZM1_3Frm::PokazTeksty()
{
    for (const auto &ustaw : std::as_const(m_teksty))
        ustaw();
}

void TVZM1_3Frm::PokazKwadraty()
{
    for (const auto &ustaw : std::as_const(m_kwadraty))
        ustaw();
}

void TVZM1_3Frm::PokazLiczby()
{
    for (const auto &ustaw : std::as_const(m_liczby))
        ustaw();
}

void TVZM1_3Frm::PokazDate()
{
    auto *data = Kontrolka<MaskedLineEdit>(QStringLiteral("F44"));
    UstawMaske(*data, DataNaTekst(vzm.P44()));
    PokazZnacznik(*data, vzm.StanP44());
}

void TVZM1_3Frm::PokazNotatki()
{
    for (const auto &[nazwa, wiersze] : Notatki) {
        auto *memo = Kontrolka<QPlainTextEdit>(QLatin1StringView(nazwa));
        const QString tekst = (vzm.*wiersze).join(u'\n');
        if (memo->toPlainText() != tekst)
            memo->setPlainText(tekst);
    }
}

void TVZM1_3Frm::PokazKwoty()
{
    auto *cena = Kontrolka<TOrxEditCalc>(QStringLiteral("F45"));
    if (cena->ValueReal() != vzm.GetPole(45))
        cena->SetValue(vzm.GetPole(45));
    for (int i = 0; i < 4; ++i) {
        QLabel *d31 = Kontrolka<QLabel>(QLatin1StringView(LimityD31[i]));
        QLabel *d32 = Kontrolka<QLabel>(QLatin1StringView(LimityD32[i]));
        d31->clear();
        d32->clear();
        // The limits belong to block D.3.1 when the first application is
        // dated up to 2010, to D.3.2 from 2011 on or when it is not dated.
        if (vzm.IsD31())
            d31->setText(Kwota2(vzm.GetPole(47 + i)));
        if (vzm.IsD32())
            d32->setText(Kwota2(vzm.GetPole(47 + i)));
        Kontrolka<QLabel>(QStringLiteral("F%1Lbl").arg(51 + i))->setText(Kwota2(vzm.GetPole(51 + i)));
    }
    Kontrolka<QLabel>(QStringLiteral("FZwrotPopLbl"))->setText(Kwota0(vzm.GetZwrotPop()));
    Kontrolka<QLabel>(QStringLiteral("F55Lbl"))->setText(Kwota0(vzm.GetPole(55)));
}

void TVZM1_3Frm::PokazNotatkiPodatnika()
{
    // The notes are the taxpayer's, read from the register; a register that
    // cannot be read leaves the tab empty and the form usable.
    try {
        Table &podatnik = dm.Podatnik;
        if (podatnik.field(QStringLiteral("PodatId")).asInteger() != vzm.PodatId())
            podatnik.locate(QStringLiteral("PodatId"), vzm.PodatId());
        loadRichText(*RxDBRichEdit1, podatnik.field(QStringLiteral("Notatki")).asString());
    } catch (const DataError &) {
        RxDBRichEdit1->clear();
    }
}

void TVZM1_3Frm::UstawMenuKonta()
{
    auto *podatnika = Kontrolka<QAction>(QStringLiteral("PodatnikKonto"));
    auto *malzonka = Kontrolka<QAction>(QStringLiteral("MalzonekKonto"));
    podatnika->setVisible(!vzm.KontoPodatnika().trimmed().isEmpty());
    malzonka->setVisible(!vzm.KontoMalzonka().trimmed().isEmpty());
    Kontrolka<QToolButton>(QStringLiteral("WstawKontoBtn"))->setVisible(podatnika->isVisible() || malzonka->isVisible());
}

// --- Handlers -------------------------------------------------------------------

void TVZM1_3Frm::F44Exit()
{
    auto *pole = Kontrolka<MaskedLineEdit>(QStringLiteral("F44"));
    if (!SprawdzDate(*pole))
        return;
    vzm.SetP44(TekstNaDate(pole->storedText()));
    PokazDate();
    PokazKwoty();
}

void TVZM1_3Frm::F45Exit()
{
    vzm.SetP45(Kontrolka<TOrxEditCalc>(QStringLiteral("F45"))->ValueReal());
    PokazKwoty();
}

void TVZM1_3Frm::WstawCenaClick()
{
    Money cena;
    try {
        dm.Domysl.first();
        cena = dm.Domysl.field(QStringLiteral("CenaMetra")).asMoney();
    } catch (const DataError &) {
        return;
    }
    if (cena <= Money())
        return;
    Kontrolka<TOrxEditCalc>(QStringLiteral("F45"))->SetValue(cena);
    F45Exit();
}

void TVZM1_3Frm::PoliczBtnClick()
{
    auto *faktur = Kontrolka<TOrxEditCalc>(QStringLiteral("F60"));
    faktur->SetValue(Money::fromUnits(vzm.VzmId() > 0 ? dm.LiczbaFaktur(vzm.VzmId()) : 0));
    // More invoices than the box holds are not taken in silence.
    if (faktur->CheckReadable())
        m_opuszczenie.value(faktur)();
}

void TVZM1_3Frm::KwotyBtnClick()
{
    TPoprzedniZwrotFrm okno(dm, this);
    const Money przed[] = {vzm.ZwrotPopA(), vzm.ZwrotPopB(), vzm.ZwrotPopC(), vzm.ZwrotPopD()};
    if (!okno.Edytuj(przed[0], przed[1], przed[2], przed[3]))
        return;
    const Money po[] = {okno.GetZwrotA(), okno.GetZwrotB(), okno.GetZwrotC(), okno.GetZwrotD()};
    for (int rodzaj = 1; rodzaj <= 4; ++rodzaj)
        vzm.SetZwrotPop(rodzaj, po[rodzaj - 1]);
    if (!std::equal(std::begin(przed), std::end(przed), std::begin(po)))
        Zmieniono();
    PokazKwoty();
}

void TVZM1_3Frm::WstawKonto(const QString &konto)
{
    auto *edit = Kontrolka<MaskedLineEdit>(QStringLiteral("FKonto"));
    edit->setStoredText(konto);
    m_opuszczenie.value(edit)();
}

void TVZM1_3Frm::EditBtnClick()
{
    if (!m_otworzNotatki)
        return;
    m_otworzNotatki();
    PokazNotatkiPodatnika();
}

bool TVZM1_3Frm::PolaCzytelne()
{
    return !TOrxEditCalc::ReportUnreadable(*this) && SprawdzDate(*Kontrolka<MaskedLineEdit>(QStringLiteral("F44")));
}

void TVZM1_3Frm::PostBtnClick()
{
    // Nothing is stored while a field holds what the model was not given.
    if (!PolaCzytelne())
        return;
    ZatwierdzBiezace();
    try {
        if (!vzm.Zapisz())
            return;
    } catch (const DataError &blad) {
        // Nothing was written; the editor stays open with everything typed.
        dm.Uwaga(blad.message());
        return;
    }
    Zapamietaj();
    accept();
}

ZrodloRozliczenia TVZM1_3Frm::Zrodlo() const
{
    return SaZmiany() ? ZrodloRozliczenia::Niezapisany : ZrodloRozliczenia::Zapisany;
}

void TVZM1_3Frm::ZakladkaZmieniona(int indeks)
{
    // The field left for the tab has handed its value over already: a
    // hidden page gives up the focus.
    if (Zakladki->widget(indeks) == m_rozliczenie) {
        m_rozliczenie->Pokaz(TRozliczenieZwrotu(dm, vzm, Zrodlo()));
        return;
    }
    if (Zakladki->widget(indeks) != m_weryfikacja)
        return;
    vzm.Weryfikuj();
    BladPan->setText(dm.OpisBledow());
}

QWidget *TVZM1_3Frm::KontrolkaPozycji(int pozycja) const
{
    QString nazwa;
    const int osoby = int(std::size(TekstyOsoby));
    if (pozycja >= PierwszaPozycjaPodatnika && pozycja < PierwszaPozycjaPodatnika + osoby)
        nazwa = QStringLiteral("F") + QLatin1StringView(TekstyOsoby[pozycja - PierwszaPozycjaPodatnika].nazwa);
    else if (pozycja >= PierwszaPozycjaMalzonka && pozycja < PierwszaPozycjaMalzonka + osoby)
        nazwa = QStringLiteral("FM") + QLatin1StringView(TekstyOsoby[pozycja - PierwszaPozycjaMalzonka].nazwa);
    for (const auto &[p, n] : PozycjeKontrolek)
        if (p == pozycja)
            nazwa = QLatin1StringView(n);
    return nazwa.isEmpty() ? nullptr : Kontrolka<QWidget>(nazwa);
}

void TVZM1_3Frm::BledyGridDblClick()
{
    Dataset &bledy = dm.BledyTbl;
    if (bledy.isEmpty())
        return;
    QWidget *kontrolka = KontrolkaPozycji(bledy.field(QStringLiteral("NrPola")).asInteger());
    if (!kontrolka)
        return;
    for (int i = 0; i < Zakladki->count(); ++i) {
        if (!Zakladki->widget(i)->isAncestorOf(kontrolka))
            continue;
        Zakladki->setCurrentIndex(i);
        if (auto *przewijanie = qobject_cast<QScrollArea *>(Zakladki->widget(i)))
            przewijanie->ensureWidgetVisible(kontrolka);
    }
    kontrolka->setFocus(Qt::OtherFocusReason);
}

// --- Entry ------------------------------------------------------------------------

void TVZM1_3Frm::Przygotuj()
{
    setWindowTitle(QStringLiteral("VZM-1 (5) ") + ::PolaczTeksty(vzm.Nazwisko, vzm.Imie));
    dm.OdswiezPodpowiedzi();
    Wypelnij();
    UstawMenuKonta();
    PokazNotatkiPodatnika();
    Zapamietaj();
}

bool TVZM1_3Frm::Edytuj()
{
    Przygotuj();
    return exec() == QDialog::Accepted;
}

void TVZM1_3Frm::UstawOtwieranieNotatek(std::function<void()> otworz)
{
    m_otworzNotatki = std::move(otworz);
    EditBtn->setEnabled(bool(m_otworzNotatki));
}

void TVZM1_3Frm::UstawDrukRozliczenia(std::function<void(ZrodloRozliczenia)> drukuj)
{
    m_drukujRozliczenie = std::move(drukuj);
    m_rozliczenie->DrukujBtn()->setVisible(bool(m_drukujRozliczenie));
}
