#include "invoices/windows/kwotyfrm.h"

#include "invoices/windows/editkwota.h"
#include "invoices/windows/faktura.h"

#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/przyciskiokna.h"
#include "widgets/datasetmodel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *przycisk(const char *name, const QString &text)
{
    auto *button = new QToolButton;
    button->setObjectName(QLatin1StringView(name));
    button->setText(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TKwotyFrm::TKwotyFrm(TDM &dm, TWindow &window, QWidget *parent)
    : QDialog(parent), dm(dm), m_placement(window, QStringLiteral("KwotyFrm"), WindowPlacement::Remember::PositionAndSize)
{
    setObjectName(QStringLiteral("KwotyFrm"));
    setWindowTitle(QStringLiteral("Pozycje faktury"));
    resize(640, 320);

    DodajBtn = przycisk("DodajBtn", QStringLiteral("&Dodaj"));
    PoprawBtn = przycisk("PoprawBtn", QStringLiteral("&Popraw"));
    UsunBtn = przycisk("UsunBtn", QStringLiteral("&Usuń"));
    connect(DodajBtn, &QToolButton::clicked, this, &TKwotyFrm::DodajBtnClick);
    connect(PoprawBtn, &QToolButton::clicked, this, &TKwotyFrm::PoprawBtnClick);
    connect(UsunBtn, &QToolButton::clicked, this, &TKwotyFrm::UsunBtnClick);
    auto *pasek = new QHBoxLayout;
    pasek->setSpacing(2);
    for (QToolButton *button : {DodajBtn, PoprawBtn, UsunBtn})
        pasek->addWidget(button);
    pasek->addStretch();

    Grid = new QTableView;
    Grid->setObjectName(QStringLiteral("Grid"));

    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);
    connect(PostBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto *przyciski = new QVBoxLayout;
    przyciski->addWidget(PostBtn);
    przyciski->addWidget(CancelBtn);
    przyciski->addStretch();

    auto *srodek = new QHBoxLayout;
    srodek->addWidget(Grid, 1);
    srodek->addLayout(przyciski);

    StatusBar = new QLabel;
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFrameShape(QFrame::StyledPanel);
    StatusBar->setFrameShadow(QFrame::Sunken);

    auto *uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(4, 4, 4, 4);
    uklad->addLayout(pasek);
    uklad->addLayout(srodek, 1);
    uklad->addWidget(StatusBar);

    m_placement.restore(*this);
}

TKwotyFrm::~TKwotyFrm() = default;

bool TKwotyFrm::Przygotuj(int FaktId, int lista)
{
    m_faktId = FaktId;
    m_lista = lista;
    TPozycjeFaktury pozycje(dm, FaktId);
    if (!pozycje.Otworz()) {
        dm.Uwaga(QStringLiteral("Nie udało się otworzyć tabeli Kwoty.db!"));
        return false;
    }
    delete m_binding;
    const Qt::Alignment doPrawej = Qt::AlignRight | Qt::AlignVCenter;
    const QString kwota = QStringLiteral("#,##0.00");
    Dataset &pokazane = pozycje.Pokazane();
    m_binding = new GridBinding(*Grid, pokazane,
                                {{QStringLiteral("Opis"), QStringLiteral("Opis")},
                                 {QStringLiteral("Brutto"), QStringLiteral("Brutto"), doPrawej, kwota},
                                 {QStringLiteral("VatA"), QStringLiteral("VAT [kol. 5]"), doPrawej, kwota},
                                 {QStringLiteral("VatB"), QStringLiteral("VAT [kol. 6]"), doPrawej, kwota}});
    Grid->setColumnWidth(0, 180);
    for (int column = 1; column <= 3; ++column)
        Grid->setColumnWidth(column, 100);
    connect(&pokazane, &Dataset::cursorMoved, m_binding, [this] { UstawPrzyciski(); });
    connect(&pokazane, &Dataset::rowsChanged, m_binding, [this] { UstawPrzyciski(); });
    Przelicz();
    UstawPrzyciski();
    Grid->setFocus();
    return true;
}

int TKwotyFrm::PokazPozycje(int FaktId, int lista)
{
    if (!Przygotuj(FaktId, lista))
        return QDialog::Rejected;
    return exec();
}

void TKwotyFrm::done(int result)
{
    m_placement.save(*this);
    QDialog::done(result);
}

void TKwotyFrm::Przelicz()
{
    const TSumyKwot sumy = TPozycjeFaktury(dm, m_faktId).Sumy();
    m_razemBrutto = sumy.Brutto;
    m_razemVatA = sumy.VatA;
    m_razemVatB = sumy.VatB;
    StatusBar->setText(TPozycjeFaktury::OpisSumy(m_razemBrutto));
}

void TKwotyFrm::UstawPrzyciski()
{
    const bool jest = TPozycjeFaktury(dm, m_faktId).JestPozycja();
    PoprawBtn->setEnabled(jest);
    UsunBtn->setEnabled(jest);
}

void TKwotyFrm::DodajBtnClick()
{
    {
        TEditKwota edytor(dm, this);
        edytor.DodajPozycje(m_faktId, m_lista);
    }
    Przelicz();
    UstawPrzyciski();
}

void TKwotyFrm::PoprawBtnClick()
{
    {
        TEditKwota edytor(dm, this);
        edytor.PoprawPozycje(m_faktId, m_lista);
    }
    Przelicz();
    UstawPrzyciski();
}

void TKwotyFrm::UsunBtnClick()
{
    if (!dm.Potwierdz(QStringLiteral("Usunąć bieżącą pozycję z wykazu?")))
        return;
    try {
        TPozycjeFaktury(dm, m_faktId).Usun();
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
    }
    Przelicz();
    UstawPrzyciski();
}
