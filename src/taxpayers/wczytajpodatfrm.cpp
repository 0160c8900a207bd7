#include "taxpayers/wczytajpodatfrm.h"

#include "data/tdm.h"
#include "taxpayers/zaawansowanie.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

TWczytajPodatFrm::TWczytajPodatFrm(TDM &dm, QWidget *parent, const QString &katalog, const QString &helperPath)
    : QDialog(parent), dm(dm), m_katalog(katalog.isNull() ? TDM::SciezkaPoprzedniej() : katalog), Zrod(dm, helperPath)
{
    setObjectName(QStringLiteral("WczytajPodatFrm"));
    setWindowTitle(QStringLiteral("Wczytanie danych podatników"));
    setMinimumWidth(570);
    resize(570, 420);

    EdLista = new QListWidget(this);
    EdLista->setObjectName(QStringLiteral("EdLista"));

    auto *grupa = GrupaZaawansowania(this, Postep);

    ZaznaczBtn = new QPushButton(QStringLiteral("Zaznacz &wszystkich"), this);
    ZaznaczBtn->setObjectName(QStringLiteral("ZaznaczBtn"));
    StartBtn = new QPushButton(QStringLiteral("&Start"), this);
    StartBtn->setObjectName(QStringLiteral("StartBtn"));
    CloseBtn = new QPushButton(QStringLiteral("&Zamknij"), this);
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    for (QPushButton *b : {ZaznaczBtn, StartBtn, CloseBtn})
        b->setAutoDefault(false);

    auto *dol = new QHBoxLayout;
    dol->addWidget(grupa, 1);
    dol->addWidget(ZaznaczBtn);
    dol->addWidget(StartBtn);
    dol->addWidget(CloseBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(EdLista, 1);
    layout->addLayout(dol);

    connect(ZaznaczBtn, &QPushButton::clicked, this, &TWczytajPodatFrm::ZaznaczBtnClick);
    connect(StartBtn, &QPushButton::clicked, this, &TWczytajPodatFrm::StartBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TWczytajPodatFrm::Przygotuj()
{
    m_kandydaci.clear();
    EdLista->clear();
    bool wybrany = false;
    const QString katalog = KatalogPoprzedniej(m_katalog, QStringLiteral("Podatnik.DB"), this, WybierzKatalog, &wybrany);
    // A table that cannot be opened has been told of: one message is enough.
    if (!Zrod.OtworzPodatnikow(katalog))
        return false;
    if (wybrany)
        ZapamietajKatalogPoprzedniej(katalog);
    m_katalog = katalog;
    m_kandydaci = Zrod.Kandydaci();
    for (const Kandydat &kandydat : std::as_const(m_kandydaci)) {
        auto *item = new QListWidgetItem(kandydat.tekst, EdLista);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (EdLista->count() == 0) {
        dm.Uwaga(ImportPoprzedniej::BrakPozycji);
        return false;
    }
    return true;
}

void TWczytajPodatFrm::ZaznaczBtnClick()
{
    for (int i = 0; i < EdLista->count(); ++i)
        EdLista->item(i)->setCheckState(Qt::Checked);
}

void TWczytajPodatFrm::StartBtnClick()
{
    bool zaznaczono = false;
    for (int i = 0; i < EdLista->count() && !zaznaczono; ++i)
        zaznaczono = EdLista->item(i)->checkState() == Qt::Checked;
    if (!zaznaczono) {
        dm.Uwaga(QStringLiteral("Nie zaznaczono podatników do wczytania."));
        return;
    }
    dm.Podatnik.disableControls();
    const auto zwolnij = qScopeGuard([this] { dm.Podatnik.enableControls(); });
    // The taxpayers are stored many to a transaction, each whole: an error
    // stops the import, yet those copied before it stay.
    const std::optional<int> n = KopiujZPostepem(
        dm, Postep, int(m_kandydaci.size()),
        [&](int i) {
            return EdLista->item(i)->checkState() == Qt::Checked && Zrod.WczytajPodatnika(m_kandydaci.at(i).podatId);
        },
        [this] { Zrod.Zatwierdz(); });
    if (!n)
        return;
    dm.Uwaga(QStringLiteral("Liczba wczytanych podatników: ") + QString::number(*n));
}
