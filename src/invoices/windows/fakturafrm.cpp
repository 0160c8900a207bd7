#include "invoices/windows/fakturafrm.h"

#include "invoices/windows/editkwota.h"
#include "invoices/windows/kwotyfrm.h"
#include "invoices/windows/materialyfrm.h"
#include "invoices/windows/sprzedfrm.h"

#include "core/common.h"
#include "core/polishtext.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/krata.h"
#include "widgets/przyciskiokna.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// The descriptions of the lists A, B and C in the status line.
const QString OpisyList[] = {QStringLiteral("odliczane w PIT - opodatkowane wg stawki VAT 22%"),
                             QStringLiteral("nieodliczane w PIT - opodatkowane wg stawki VAT 22%"),
                             QStringLiteral("nieodliczane w PIT - opodatkowane wg stawki VAT 23%")};

// Turns every letter typed into a capital, Polish ones included.
class WielkieLitery : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = polishUpper(input);
        return Acceptable;
    }
};

// A padlock, for the toggles that keep a field for the next invoice.
QIcon ikonaKlodki()
{
    QPixmap obraz(16, 16);
    obraz.fill(Qt::transparent);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1.6));
    p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
    p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
    p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7.5));
    p.setPen(QPen(QColor(120, 90, 0), 1));
    p.setBrush(QColor(230, 180, 40));
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
    return QIcon(obraz);
}

QToolButton *narzedzie(const char *name, const QString &text, const QString &hint = {})
{
    auto *button = new QToolButton;
    button->setObjectName(QLatin1StringView(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton *klodka(const char *name, const QString &hint)
{
    QToolButton *button = narzedzie(name, {}, hint);
    button->setIcon(ikonaKlodki());
    button->setCheckable(true);
    return button;
}

QLineEdit *edycja(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1StringView(name));
    return edit;
}

// A caption over its control, the caption's "&" taking the user there.
QVBoxLayout *podpisane(const QString &podpis, QWidget *pole, QLayout *wiersz = nullptr)
{
    auto *uklad = new QVBoxLayout;
    uklad->setSpacing(1);
    auto *label = new QLabel(podpis);
    label->setBuddy(pole);
    uklad->addWidget(label);
    if (wiersz)
        uklad->addLayout(wiersz);
    else
        uklad->addWidget(pole);
    return uklad;
}

QHBoxLayout *obok(std::initializer_list<QWidget *> kontrolki)
{
    auto *uklad = new QHBoxLayout;
    uklad->setSpacing(2);
    for (QWidget *w : kontrolki)
        uklad->addWidget(w);
    return uklad;
}

const QString SumaPodpowiedz = QStringLiteral("Sumowanie pozycji z faktury\n(Alt + strzałka w górę)");

} // namespace

TFakturaFrm::TFakturaFrm(TDM &dm, TWindow &window, QWidget *parent)
    : OknoEdycji(dm, OknoEdycji::Pytanie, parent),
      dm(dm),
      m_window(window),
      m_placement(window, QStringLiteral("FakturaFrm"), WindowPlacement::Remember::Position),
      m_faktura(dm)
{
    setObjectName(QStringLiteral("FakturaFrm"));
    utworzKontrolki();
    resize(600, sizeHint().height());
    CapsBtn->setChecked(true);
    UstawCaps(true);
    m_placement.restore(*this);
}

TFakturaFrm::~TFakturaFrm()
{
    m_placement.save(*this);
}

void TFakturaFrm::utworzKontrolki()
{
    EdNumer = edycja("EdNumer");
    CapsBtn = narzedzie("CapsBtn", QStringLiteral("CAPS"), QStringLiteral("Pozwala na wprowadzanie\ntylko dużych liter"));
    CapsBtn->setCheckable(true);
    connect(CapsBtn, &QToolButton::toggled, this, &TFakturaFrm::UstawCaps);

    ZalaczLbl = new QLabel;
    ZalaczLbl->setObjectName(QStringLiteral("ZalaczLbl"));
    QFont gruba = ZalaczLbl->font();
    gruba.setBold(true);
    gruba.setPointSizeF(gruba.pointSizeF() * 1.3);
    ZalaczLbl->setFont(gruba);
    CloseBtn = narzedzie("CloseBtn", QStringLiteral("Zamknij"));
    CloseBtn->setAutoRaise(true);
    connect(CloseBtn, &QToolButton::clicked, this, &QDialog::reject);
    auto *ramka = new QFrame;
    ramka->setFrameShape(QFrame::StyledPanel);
    auto *ukladRamki = new QHBoxLayout(ramka);
    ukladRamki->setContentsMargins(8, 2, 2, 2);
    ukladRamki->addWidget(ZalaczLbl);
    ukladRamki->addStretch();
    ukladRamki->addWidget(CloseBtn);

    EdData = new MaskedLineEdit(QStringLiteral("99-99-9999"), MaskedLineEdit::Literals::Kept);
    EdData->setObjectName(QStringLiteral("EdData"));
    EdData->setMaximumWidth(EdData->minimumWidth() + 10);
    DataBlok = klodka("DataBlok", QStringLiteral("Ta sama data dla następnej faktury"));
    EdLp = edycja("EdLp");

    // Wide enough for a whole code and a whole NIP.
    const auto szerokosc = [](QLineEdit *edit, const QString &wzor) {
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(wzor) + 16);
    };
    EdKod = edycja("EdKod");
    szerokosc(EdKod, QStringLiteral("WWWWWWWW"));
    FirmaBtn = narzedzie("FirmaBtn", QStringLiteral("…"), QStringLiteral("Wykaz sprzedawców\n(Alt + strzałka w górę)"));
    connect(FirmaBtn, &QToolButton::clicked, this, &TFakturaFrm::FirmaBtnClick);
    EdNip = edycja("EdNip");
    EdNip->setMaxLength(13);
    szerokosc(EdNip, QStringLiteral("999-999-99-99"));
    FirmaBlok = klodka("FirmaBlok", QStringLiteral("Ten sam sprzedawca dla następnej faktury"));
    NazwaFirmy = new QLabel;
    NazwaFirmy->setObjectName(QStringLiteral("NazwaFirmy"));
    NazwaFirmy->setFrameShape(QFrame::StyledPanel);
    NazwaFirmy->setFrameShadow(QFrame::Sunken);
    NazwaFirmy->setMinimumHeight(EdKod->sizeHint().height());
    auto *sprzedawca = new QGroupBox(QStringLiteral("Sprzedawca"));
    auto *ukladSprzedawcy = new QGridLayout(sprzedawca);
    ukladSprzedawcy->addLayout(podpisane(QStringLiteral("&Kod"), EdKod, obok({EdKod, FirmaBtn})), 0, 0);
    ukladSprzedawcy->addLayout(podpisane(QStringLiteral("NIP"), EdNip, obok({EdNip, FirmaBlok})), 0, 1);
    ukladSprzedawcy->addLayout(podpisane(QStringLiteral("Nazwa"), NazwaFirmy), 0, 2);
    ukladSprzedawcy->setColumnStretch(2, 1);
    for (QLineEdit *pole : {EdKod, EdNip})
        pole->installEventFilter(this);
    NaKlawisz(EdKod, Qt::Key_Up, Qt::AltModifier, [this] { FirmaBtnClick(); });
    NaKlawisz(EdNip, Qt::Key_Up, Qt::AltModifier, [this] { FirmaBtnClick(); });

    // Enter computes the VAT in a VAT field and does nothing elsewhere.
    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::NicNieRobi);
    MaterialyBtn = new QPushButton(QStringLiteral("&Materiały"));
    MaterialyBtn->setObjectName(QStringLiteral("MaterialyBtn"));
    MaterialyBtn->setFocusPolicy(Qt::ClickFocus);
    // Enter means something only in the VAT fields.
    for (QPushButton *button : {PostBtn, CancelBtn, MaterialyBtn})
        button->setAutoDefault(false);
    connect(PostBtn, &QPushButton::clicked, this, &TFakturaFrm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(MaterialyBtn, &QPushButton::clicked, this, &TFakturaFrm::MaterialyBtnClick);
    auto *przyciski = new QHBoxLayout;
    przyciski->addWidget(PostBtn);
    przyciski->addWidget(CancelBtn);
    przyciski->addStretch();
    przyciski->addWidget(MaterialyBtn);

    Panel1 = new QLabel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    auto *gora = new QHBoxLayout;
    gora->addLayout(podpisane(QStringLiteral("Nr &faktury"), EdNumer, obok({EdNumer, CapsBtn})), 1);
    gora->addSpacing(12);
    gora->addWidget(ramka, 1);

    auto *data = new QHBoxLayout;
    data->addLayout(podpisane(QStringLiteral("&Data wystawienia"), EdData, obok({EdData, DataBlok})));
    data->addStretch();

    auto *uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(8, 8, 8, 4);
    uklad->addLayout(gora);
    uklad->addLayout(data);
    uklad->addLayout(podpisane(QStringLiteral("&Lp. z faktury dotycząca wykazywanego wydatku"), EdLp));
    uklad->addWidget(sprzedawca);
    uklad->addWidget(utworzKwoty());
    uklad->addWidget(new QLabel(QStringLiteral("Enter w polu VAT - wylicz VAT z brutto")));
    uklad->addSpacing(4);
    uklad->addLayout(przyciski);
    uklad->addWidget(Panel1);

    setTabOrder(EdNumer, EdData);
    setTabOrder(EdData, EdLp);
    setTabOrder(EdLp, EdKod);
    setTabOrder(EdKod, EdNip);
    setTabOrder(EdNip, EdBrutto);
    setTabOrder(EdBrutto, EdVatA);
    setTabOrder(EdVatA, EdVatB);
    setTabOrder(EdVatB, PostBtn);
    setTabOrder(PostBtn, CancelBtn);
}

QWidget *TFakturaFrm::utworzKwoty()
{
    EdBrutto = NowePoleKwoty(QStringLiteral("EdBrutto"));
    EdVatA = NowePoleKwoty(QStringLiteral("EdVatA"));
    EdVatB = NowePoleKwoty(QStringLiteral("EdVatB"));
    BruttoBtn = narzedzie("BruttoBtn", QStringLiteral("Σ"), SumaPodpowiedz);
    VatABtn = narzedzie("VatABtn", QStringLiteral("Σ"), SumaPodpowiedz);
    VatBBtn = narzedzie("VatBBtn", QStringLiteral("Σ"), SumaPodpowiedz);

    const struct {
        TOrxEditCalc *pole;
        QToolButton *suma;
        QString podpis;
    } komorki[] = {
        {EdBrutto, BruttoBtn, QStringLiteral("Kwota &brutto wydatku\nuprawniającego do \nzwrotu")},
        {EdVatA, VatABtn, QStringLiteral("&wymagającej\npozwolenia na\nbudowę")},
        {EdVatB, VatBBtn, QStringLiteral("&niewymagającej\npozwolenia na\nbudowę")},
    };
    TKrata *kraty[3];
    for (int k = 0; k < 3; ++k) {
        const auto &komorka = komorki[k];
        komorka.suma->setAutoRaise(true);
        connect(komorka.suma, &QToolButton::clicked, this, [this, k] { SumaBtnClick(k); });
        NaKlawisz(komorka.pole, Qt::Key_Up, Qt::AltModifier, [this, k] { SumaBtnClick(k); });
        connect(komorka.pole, &TOrxEditCalc::exited, this, &TFakturaFrm::OdswiezRoznice);
        QVBoxLayout *zawartosc = podpisane(komorka.podpis, komorka.pole, obok({komorka.pole, komorka.suma}));
        zawartosc->insertStretch(1);
        kraty[k] = NowaKrata(QString(), zawartosc, TloKraty::Pole);
    }
    for (TOrxEditCalc *vat : {EdVatA, EdVatB})
        NaKlawisz(vat, Qt::Key_Return, Qt::NoModifier, [this, vat] {
            vat->SetValue(TFaktura::VatZBrutto(EdBrutto->Value(), m_faktura.Lista()));
            OdswiezRoznice();
        });

    RoznicaVatA = new QLabel;
    RoznicaVatA->setObjectName(QStringLiteral("RoznicaVatA"));
    RoznicaVatB = new QLabel;
    RoznicaVatB->setObjectName(QStringLiteral("RoznicaVatB"));

    auto *kwoty = new QWidget;
    auto *siatka = new QGridLayout(kwoty);
    siatka->setContentsMargins(0, 4, 0, 0);
    siatka->setSpacing(0);
    siatka->addWidget(kraty[0], 0, 0, 2, 1);
    siatka->addWidget(NowaKrata(QStringLiteral("Kwota podatku VAT dotycząca inwestycji"), new QHBoxLayout, TloKraty::Opis),
                      0, 1, 1, 2);
    siatka->addWidget(kraty[1], 1, 1);
    siatka->addWidget(kraty[2], 1, 2);
    siatka->addWidget(new QLabel(QStringLiteral("Różnica [rzecz.-oblicz.]")), 2, 0, Qt::AlignRight);
    siatka->addWidget(RoznicaVatA, 2, 1, Qt::AlignRight);
    siatka->addWidget(RoznicaVatB, 2, 2, Qt::AlignRight);
    for (int column = 0; column < 3; ++column)
        siatka->setColumnStretch(column, 1);
    siatka->setVerticalSpacing(2);
    return kwoty;
}

void TFakturaFrm::Przygotuj(int VzmId, int lista, bool nowa)
{
    m_faktura.Ustaw(VzmId, lista, nowa);
    Wyczysc();
    EdData->clear();
    EdKod->clear();
    EdNip->clear();
    NazwaFirmy->clear();
    if (!nowa) {
        Pokaz(m_faktura.Wczytaj());
        EdNipExit();
    }
    OdswiezRoznice();
    const QString etykieta = EtykietyZalacznikow(lista);
    ZalaczLbl->setText(etykieta);
    Panel1->setText(QLatin1Char(' ') + etykieta + QLatin1Char(' ') + OpisyList[std::clamp(lista, 1, 3) - 1]);
    QString tytul;
    if (dm.Podatnik.isOpen() && !dm.Podatnik.isEmpty())
        tytul = PolaczTeksty(dm.Podatnik.field(QStringLiteral("Nazwisko")).asString(),
                             dm.Podatnik.field(QStringLiteral("Imie")).asString());
    setWindowTitle(tytul);
    Zapamietaj();
    EdNumer->setFocus();
}

int TFakturaFrm::NowaFaktura(int VzmId, int lista)
{
    Przygotuj(VzmId, lista, true);
    return exec();
}

int TFakturaFrm::PoprawFakture(int VzmId, int lista)
{
    Przygotuj(VzmId, lista, false);
    return exec();
}

bool TFakturaFrm::SaZmiany() const
{
    return OknoEdycji::SaZmiany() || (m_faktura.Nowa() && m_faktura.SaPozycje());
}

void TFakturaFrm::done(int result)
{
    // Lines entered for an invoice that was never stored are dropped.
    m_faktura.OproznijPozycje();
    m_placement.save(*this);
    QDialog::done(result);
}

// The fields that never carry over to the next invoice.
void TFakturaFrm::Wyczysc()
{
    EdNumer->clear();
    EdLp->clear();
    for (TOrxEditCalc *pole : {EdBrutto, EdVatA, EdVatB})
        pole->Clear();
}

void TFakturaFrm::Pokaz(const TDaneFaktury &dane)
{
    EdNumer->setText(dane.NrFakt);
    EdLp->setText(dane.LpFakt);
    EdData->setStoredText(dane.Data);
    EdKod->setText(dane.KodSprzed);
    EdNip->setText(dane.NipSprzed);
    EdBrutto->SetValue(dane.Brutto);
    for (const auto &[pole, kwota] : {std::pair{EdVatA, dane.VatA}, std::pair{EdVatB, dane.VatB}}) {
        if (kwota.isZero())
            pole->Clear();
        else
            pole->SetValue(kwota);
    }
}

TDaneFaktury TFakturaFrm::Dane() const
{
    TDaneFaktury dane;
    dane.NrFakt = CapsBtn->isChecked() ? polishUpper(EdNumer->text()) : EdNumer->text();
    dane.Data = EdData->storedText();
    dane.LpFakt = EdLp->text();
    dane.KodSprzed = EdKod->text();
    dane.NipSprzed = EdNip->text();
    dane.Brutto = EdBrutto->Value();
    dane.VatA = EdVatA->Value();
    dane.VatB = EdVatB->Value();
    return dane;
}

void TFakturaFrm::UstawCaps(bool wielkie)
{
    if (wielkie) {
        EdNumer->setValidator(new WielkieLitery(EdNumer));
        EdNumer->setText(polishUpper(EdNumer->text()));
    } else {
        delete EdNumer->validator();
        EdNumer->setValidator(nullptr);
    }
}

void TFakturaFrm::OdswiezRoznice()
{
    const Money brutto = EdBrutto->Value();
    RoznicaVatA->setText(TFaktura::Roznica(EdVatA->Value(), brutto, m_faktura.Lista()));
    RoznicaVatB->setText(TFaktura::Roznica(EdVatB->Value(), brutto, m_faktura.Lista()));
}

void TFakturaFrm::Skup(PoleFaktury pole)
{
    switch (pole) {
    case PoleFaktury::Numer: EdNumer->setFocus(); break;
    case PoleFaktury::Data: EdData->setFocus(); break;
    case PoleFaktury::Nip: EdNip->setFocus(); break;
    case PoleFaktury::Brutto: EdBrutto->setFocus(); break;
    case PoleFaktury::VatA: EdVatA->setFocus(); break;
    }
}

void TFakturaFrm::PostBtnClick()
{
    if (TOrxEditCalc::ReportUnreadable(*this))
        return;
    const TDaneFaktury dane = Dane();
    if (const auto pole = m_faktura.Sprawdz(dane)) {
        Skup(*pole);
        return;
    }
    try {
        m_faktura.Zapisz(dane);
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return;
    }
    if (!m_faktura.Nowa()) {
        accept();
        return;
    }
    Wyczysc();
    if (!DataBlok->isChecked())
        EdData->clear();
    if (!FirmaBlok->isChecked()) {
        EdKod->clear();
        EdNip->clear();
        NazwaFirmy->clear();
    }
    OdswiezRoznice();
    Zapamietaj();
    EdNumer->setFocus();
}

bool TFakturaFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Only the user leaving the field, not another window taking the focus.
        const Qt::FocusReason powod = static_cast<QFocusEvent *>(event)->reason();
        if (powod != Qt::ActiveWindowFocusReason && powod != Qt::PopupFocusReason) {
            if (watched == EdKod)
                EdKodExit();
            else if (watched == EdNip)
                EdNipExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFakturaFrm::EdKodExit()
{
    if (const auto firma = m_faktura.SzukajKodu(EdKod->text())) {
        EdNip->setText(firma->NIP);
        NazwaFirmy->setText(firma->Firma);
    }
}

void TFakturaFrm::EdNipExit()
{
    NazwaFirmy->clear();
    if (const auto firma = m_faktura.SzukajNipu(EdNip->text())) {
        EdKod->setText(firma->Kod);
        NazwaFirmy->setText(firma->Firma);
    }
}

void TFakturaFrm::FirmaBtnClick()
{
    if (!m_sprzedawcy)
        m_sprzedawcy = new TSprzedFrm(dm, m_window, this);
    if (m_sprzedawcy->exec() != QDialog::Accepted)
        return;
    EdKod->setText(m_sprzedawcy->Kod());
    EdNip->setText(m_sprzedawcy->NIP());
    NazwaFirmy->setText(m_sprzedawcy->Firma());
    EdBrutto->setFocus();
}

void TFakturaFrm::MaterialyBtnClick()
{
    if (!m_materialy)
        m_materialy = new TMaterialyFrm(dm, m_window, this);
    m_materialy->exec();
}

void TFakturaFrm::SumaBtnClick(int kwota)
{
    if (!m_kwoty)
        m_kwoty = new TKwotyFrm(dm, m_window, this);
    if (m_kwoty->PokazPozycje(m_faktura.FaktIdBiezacej(), m_faktura.Lista()) != QDialog::Accepted)
        return;
    const Money razem[] = {m_kwoty->RazemBrutto(), m_kwoty->RazemVatA(), m_kwoty->RazemVatB()};
    TOrxEditCalc *pola[] = {EdBrutto, EdVatA, EdVatB};
    pola[kwota]->SetValue(razem[kwota]);
    OdswiezRoznice();
}
