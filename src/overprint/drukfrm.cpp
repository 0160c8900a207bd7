#include "overprint/drukfrm.h"

#include "overprint/drukarka.h"
#include "overprint/marginesyfrm.h"
#include "overprint/stronynadruku.h"
#include "overprint/wybordrukarkifrm.h"

#include "data/tdm.h"
#include "widgets/przyciskiokna.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString BrakStron = QStringLiteral("Nie zaznaczono pozycji do wydruku.");

// Each of the pages n times, or, sorted, n times the pages.
QList<int> KolejnoscStron(const QList<int> &strony, int kopie, bool sortuj)
{
    QList<int> kolejnosc;
    if (sortuj) {
        for (int k = 0; k < kopie; ++k)
            kolejnosc += strony;
    } else {
        for (int strona : strony)
            kolejnosc += QList<int>(kopie, strona);
    }
    return kolejnosc;
}

QString ListaPlikow(const QStringList &pliki)
{
    QStringList nazwy;
    for (const QString &plik : pliki)
        nazwy << QDir::toNativeSeparators(plik);
    return nazwy.join(QLatin1Char('\r'));
}

} // namespace

TDrukFrm::TDrukFrm(TDM &dm, Drukarka &drukarka, WyborDrukarki wyborDrukarki, QWidget *parent)
    : QDialog(parent), dm(dm), drukarka(drukarka), wyborDrukarki(std::move(wyborDrukarki)),
      MarginesyFrm(new TMarginesyFrm(dm, this))
{
    if (!this->wyborDrukarki)
        this->wyborDrukarki = [&dm](Drukarka &d, QWidget *okno) {
            return TWyborDrukarkiFrm(dm, d, WybierzPlik, okno).exec() == QDialog::Accepted;
        };
    NazwaDrukarki = new QLabel;
    NazwaDrukarki->setObjectName(QStringLiteral("NazwaDrukarki"));
    QFont pogrubiona = NazwaDrukarki->font();
    pogrubiona.setBold(true);
    NazwaDrukarki->setFont(pogrubiona);
    auto *grupaDrukarki = new QGroupBox(QStringLiteral("Aktualna drukarka"));
    (new QVBoxLayout(grupaDrukarki))->addWidget(NazwaDrukarki);

    EdKopie = new QSpinBox;
    EdKopie->setObjectName(QStringLiteral("EdKopie"));
    EdKopie->setRange(1, 99);
    EdSortuj = new QCheckBox(QStringLiteral("&Sortuj"));
    EdSortuj->setObjectName(QStringLiteral("EdSortuj"));
    auto *etykietaKopii = new QLabel(QStringLiteral("&Liczba kopii"));
    etykietaKopii->setBuddy(EdKopie);
    auto *grupaKopii = new QGroupBox(QStringLiteral("Kopie"));
    auto *ukladKopii = new QHBoxLayout(grupaKopii);
    ukladKopii->addWidget(etykietaKopii);
    ukladKopii->addWidget(EdKopie);
    ukladKopii->addSpacing(12);
    ukladKopii->addWidget(EdSortuj);
    ukladKopii->addStretch();
    connect(EdKopie, &QSpinBox::valueChanged, this, &TDrukFrm::UstawSortowanie);

    auto *grupaStron = new QGroupBox(QStringLiteral("Zakres stron"));
    auto *ukladStron = new QVBoxLayout(grupaStron);
    for (int i = 0; i < LiczbaPol; ++i) {
        EdStrona[i] = new QCheckBox(QStringLiteral("Strona &%1").arg(i + 1));
        EdStrona[i]->setObjectName(QStringLiteral("EdStrona%1").arg(i + 1));
        EdStrona[i]->setChecked(true);
        ukladStron->addWidget(EdStrona[i]);
    }

    DrukujBtn = NowyPrzycisk(QStringLiteral("D&rukuj"), QStringLiteral("DrukujBtn"));
    DrukujBtn->setDefault(true);
    KalibracjaBtn = NowyPrzycisk(QStringLiteral("&Kalibracja"), QStringLiteral("KalibracjaBtn"));
    KalibracjaBtn->setToolTip(QStringLiteral(
        "Drukuje na czystej kartce krzyżyki w miejscach, w których znajdą się dane zaznaczonych stron,\n"
        "z numerami pól. Kartka przyłożona do formularza pokazuje, o ile trzeba przesunąć nadruk\n"
        "(„Marginesy” albo korekta współrzędnych pól)."));
    DrukarkaBtn = NowyPrzycisk(QStringLiteral("&Drukarka"), QStringLiteral("DrukarkaBtn"));
    MarginesyBtn = NowyPrzycisk(QStringLiteral("&Marginesy"), QStringLiteral("MarginesyBtn"));
    CancelBtn = NowyPrzycisk(QStringLiteral("&Anuluj"), QStringLiteral("CancelBtn"));
    connect(DrukujBtn, &QPushButton::clicked, this, &TDrukFrm::DrukujBtnClick);
    connect(KalibracjaBtn, &QPushButton::clicked, this, &TDrukFrm::KalibracjaBtnClick);
    connect(DrukarkaBtn, &QPushButton::clicked, this, &TDrukFrm::DrukarkaBtnClick);
    connect(MarginesyBtn, &QPushButton::clicked, this, &TDrukFrm::MarginesyBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *przyciski = new QVBoxLayout;
    for (QPushButton *p : {DrukujBtn, KalibracjaBtn, DrukarkaBtn, MarginesyBtn, CancelBtn})
        przyciski->addWidget(p);
    przyciski->addStretch();

    auto *lewa = new QVBoxLayout;
    lewa->addWidget(grupaDrukarki);
    lewa->addWidget(grupaKopii);
    lewa->addWidget(grupaStron);
    auto *uklad = new QHBoxLayout(this);
    uklad->addLayout(lewa, 1);
    uklad->addLayout(przyciski);
    uklad->setSizeConstraint(QLayout::SetFixedSize);
    NazwaDrukarki->setMinimumWidth(260);
}

void TDrukFrm::ShowWniosek(StronyNadruku &strony)
{
    setWindowTitle(QStringLiteral("Drukowanie - wniosek"));
    Pokaz(Tryb::Wniosek, strony);
}

void TDrukFrm::ShowZalacznik(StronyNadruku &strony)
{
    setWindowTitle(QStringLiteral("Drukowanie - załącznik"));
    Pokaz(Tryb::Zalacznik, strony);
}

void TDrukFrm::Pokaz(Tryb tryb, StronyNadruku &strony)
{
    this->tryb = tryb;
    this->strony = &strony;
    liczbaStron = std::min(strony.LiczbaStron(), LiczbaPol);
    for (int i = 0; i < LiczbaPol; ++i)
        EdStrona[i]->setVisible(i < liczbaStron);
    UstawSortowanie();
    PokazDrukarke();
    DrukujBtn->setFocus();
    exec();
    this->strony = nullptr;
}

void TDrukFrm::UstawSortowanie()
{
    EdSortuj->setEnabled(EdKopie->value() > 1 && liczbaStron > 1);
}

void TDrukFrm::PokazDrukarke()
{
    NazwaDrukarki->setText(drukarka.Nazwa());
}

QList<int> TDrukFrm::Zaznaczone() const
{
    QList<int> zaznaczone;
    for (int i = 0; i < LiczbaPol; ++i)
        if (EdStrona[i]->isChecked())
            zaznaczone << i + 1;
    return zaznaczone;
}

QList<int> TDrukFrm::DoDruku(const QList<int> &zaznaczone) const
{
    QList<int> doDruku;
    for (int strona : zaznaczone)
        if (strona <= liczbaStron)
            doDruku << strona;
    return doDruku;
}

bool TDrukFrm::MoznaZapisac(int dokumentow)
{
    QStringList istniejace;
    for (const QString &plik : drukarka.PlikiSerii(dokumentow))
        if (QFileInfo::exists(plik))
            istniejace << plik;
    return istniejace.isEmpty()
           || dm.Potwierdz(QStringLiteral("Te pliki już istnieją:\r%1\r\rZastąpić je nowym wydrukiem?")
                               .arg(ListaPlikow(istniejace)));
}

bool TDrukFrm::Drukuj(const QList<int> &kolejnosc, const std::function<void(int)> &drukuj)
{
    if (!drukarka.Wybrana()) {
        dm.Uwaga(Drukarka::BrakWyboru());
        DrukarkaBtn->setFocus();
        return false;
    }
    if (!MoznaZapisac(int(kolejnosc.size())))
        return false;
    drukarka.NowaSeria();
    try {
        for (int strona : kolejnosc)
            drukuj(strona);
    } catch (const BladDrukarki &blad) {
        dm.Uwaga(blad.message());
        return true;
    }
    const QStringList pliki = drukarka.PlikiSerii(int(kolejnosc.size()));
    if (!pliki.isEmpty())
        dm.Informacja(QStringLiteral("Zapisano %1:\r%2").arg(pliki.size() == 1 ? QStringLiteral("plik")
                                                                              : QStringLiteral("pliki"),
                                                            ListaPlikow(pliki)));
    return true;
}

void TDrukFrm::DrukujBtnClick()
{
    const QList<int> zaznaczone = Zaznaczone();
    if (zaznaczone.isEmpty()) {
        dm.Uwaga(BrakStron);
        reject();
        return;
    }
    const int kopie = EdKopie->value();
    // With one copy the box may still hold a tick from an earlier use.
    const bool sortuj = kopie > 1 && EdSortuj->isChecked();
    if (Drukuj(KolejnoscStron(DoDruku(zaznaczone), kopie, sortuj), [this](int strona) { strony->Drukuj(strona); }))
        accept();
}

// A trial print on plain paper: the dialog stays open, so that the user can
// set the margins and try again.
void TDrukFrm::KalibracjaBtnClick()
{
    const QList<int> zaznaczone = Zaznaczone();
    if (zaznaczone.isEmpty()) {
        dm.Uwaga(BrakStron);
        return;
    }
    Drukuj(DoDruku(zaznaczone), [this](int strona) { strony->Kalibruj(strona); });
}

void TDrukFrm::DrukarkaBtnClick()
{
    if (wyborDrukarki(drukarka, this))
        PokazDrukarke();
}

void TDrukFrm::MarginesyBtnClick()
{
    if (tryb == Tryb::Wniosek)
        MarginesyFrm->ShowMarginesyWniosek();
    else
        MarginesyFrm->ShowMarginesyZalacznik();
}
