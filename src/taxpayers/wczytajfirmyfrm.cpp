#include "taxpayers/wczytajfirmyfrm.h"

#include "data/tdm.h"
#include "taxpayers/zaawansowanie.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

TWczytajFirmyFrm::TWczytajFirmyFrm(TDM &dm, QWidget *parent, const QString &katalog, const QString &helperPath)
    : QDialog(parent), dm(dm), m_katalog(katalog.isNull() ? TDM::SciezkaPoprzedniej() : katalog), m_helper(helperPath)
{
    setObjectName(QStringLiteral("WczytajFirmyFrm"));
    setWindowTitle(QStringLiteral("Wczytanie danych ewidencyjnych sprzedawców"));

    auto *grupa = GrupaZaawansowania(this, Postep);

    StartBtn = new QPushButton(QStringLiteral("&Start"), this);
    StartBtn->setObjectName(QStringLiteral("StartBtn"));
    CloseBtn = new QPushButton(QStringLiteral("&Zamknij"), this);
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    auto *przyciski = new QHBoxLayout;
    przyciski->addStretch();
    przyciski->addWidget(StartBtn);
    przyciski->addWidget(CloseBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grupa);
    layout->addLayout(przyciski);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    grupa->setMinimumWidth(400);

    connect(StartBtn, &QPushButton::clicked, this, &TWczytajFirmyFrm::StartBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TWczytajFirmyFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Postep->setRange(0, 100);
    Postep->setValue(0);
    StartBtn->setFocus();
}

void TWczytajFirmyFrm::StartBtnClick()
{
    StartBtn->setEnabled(false);
    CloseBtn->setEnabled(false);
    const auto odblokuj = qScopeGuard([this] {
        StartBtn->setEnabled(true);
        CloseBtn->setEnabled(true);
        CloseBtn->setFocus();
    });
    Wczytaj();
}

void TWczytajFirmyFrm::Wczytaj()
{
    ImportPoprzedniej Zrod(dm, m_helper);
    bool wybrany = false;
    const QString katalog = KatalogPoprzedniej(m_katalog, QStringLiteral("Firmy.DB"), this, WybierzKatalog, &wybrany);
    if (!Zrod.OtworzFirmy(katalog))
        return;
    if (wybrany)
        ZapamietajKatalogPoprzedniej(katalog);
    m_katalog = katalog;
    if (Zrod.LiczbaFirm() == 0) {
        dm.Uwaga(ImportPoprzedniej::BrakPozycji);
        return;
    }
    dm.Firmy.disableControls();
    const auto zwolnij = qScopeGuard([this] { dm.Firmy.enableControls(); });
    // The sellers are stored many to a transaction, each whole: an error
    // stops the import, yet those copied before it stay.
    const std::optional<int> n = KopiujZPostepem(
        dm, Postep, int(Zrod.LiczbaFirm()), [&Zrod](int i) { return Zrod.WczytajFirme(i); }, [&Zrod] { Zrod.Zatwierdz(); });
    if (!n)
        return;
    dm.Uwaga(QStringLiteral("Liczba wczytanych sprzedawców: ") + QString::number(*n));
}
