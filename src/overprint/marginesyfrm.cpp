#include "overprint/marginesyfrm.h"

#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/przyciskiokna.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString SymbolPit = QStringLiteral("SymbolPit");
const QString Strona = QStringLiteral("Strona");
const QString Lewy = QStringLiteral("Lewy");
const QString Gorny = QStringLiteral("Gorny");

QSpinBox *NowyMargines(const QString &nazwa)
{
    auto *pole = new QSpinBox;
    pole->setObjectName(nazwa);
    pole->setRange(TMarginesyFrm::Najmniejszy, TMarginesyFrm::Najwiekszy);
    pole->setAlignment(Qt::AlignRight);
    return pole;
}

} // namespace

TMarginesyFrm::TMarginesyFrm(TDM &dm, QWidget *parent)
    : OknoEdycji(dm, QStringLiteral("Porzucić zmienione marginesy?"), parent), dm(dm)
{
    auto *grupa = new QGroupBox(QStringLiteral("Marginesy [mm]"));
    auto *siatka = new QGridLayout(grupa);
    siatka->addWidget(new QLabel(QStringLiteral("Lewy")), 0, 1, Qt::AlignHCenter);
    siatka->addWidget(new QLabel(QStringLiteral("Górny")), 0, 2, Qt::AlignHCenter);
    for (int i = 0; i < LiczbaWierszy; ++i) {
        const int strona = i + 1;
        Wiersz &w = wiersze[i];
        w.Lewy = NowyMargines(QStringLiteral("EdLewy%1").arg(strona));
        w.Gorny = NowyMargines(QStringLiteral("EdGorny%1").arg(strona));
        w.Etykieta = new QLabel(QStringLiteral("Strona &%1").arg(strona));
        w.Etykieta->setBuddy(w.Lewy);
        siatka->addWidget(w.Etykieta, strona, 0);
        siatka->addWidget(w.Lewy, strona, 1);
        siatka->addWidget(w.Gorny, strona, 2);
    }

    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);
    connect(PostBtn, &QPushButton::clicked, this, &TMarginesyFrm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(grupa);
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));
    uklad->setSizeConstraint(QLayout::SetFixedSize);
}

void TMarginesyFrm::ShowMarginesyWniosek()
{
    setWindowTitle(QStringLiteral("Marginesy - wniosek"));
    Pokaz(0);
}

void TMarginesyFrm::ShowMarginesyZalacznik()
{
    setWindowTitle(QStringLiteral("Marginesy - załącznik"));
    Pokaz(1);
}

void TMarginesyFrm::Pokaz(int formularz)
{
    this->formularz = formularz;
    stron = formularz == 0 ? 3 : 2;
    for (int i = 0; i < LiczbaWierszy; ++i) {
        const bool widoczny = i < stron;
        wiersze[i].Etykieta->setVisible(widoczny);
        wiersze[i].Lewy->setVisible(widoczny);
        wiersze[i].Gorny->setVisible(widoczny);
    }
    Wczytaj();
    wiersze[0].Lewy->setFocus();
    exec();
}

void TMarginesyFrm::Wczytaj()
{
    // A page without a row has no margins.
    for (int i = 0; i < LiczbaWierszy; ++i) {
        wiersze[i].Lewy->setValue(i < stron ? dm.MarginesLewy(formularz, i + 1) : 0);
        wiersze[i].Gorny->setValue(i < stron ? dm.MarginesGorny(formularz, i + 1) : 0);
    }
    Zapamietaj();
}

void TMarginesyFrm::PostBtnClick()
{
    if (Zapisz())
        accept();
}

bool TMarginesyFrm::Zapisz()
{
    auto transakcja = dm.transaction();
    try {
        for (int i = 0; i < stron; ++i)
            ZapiszStrone(i + 1, wiersze[i].Lewy->value(), wiersze[i].Gorny->value());
        transakcja.commit();
        return true;
    } catch (const DataError &blad) {
        // The transaction takes back the pages already written; the window
        // stays open with what the user typed.
        dm.Marginesy.cancel();
        dm.Uwaga(QStringLiteral("Nie udało się zapisać marginesów:\r") + blad.message());
        return false;
    }
}

void TMarginesyFrm::ZapiszStrone(int strona, int lewy, int gorny)
{
    Table &t = dm.Marginesy;
    const QString symbol = TDM::SymbolFormularza(formularz);
    if (!t.locate(SymbolPit + u';' + Strona, {symbol, strona})) {
        t.append();
        t.field(SymbolPit).setString(symbol);
        t.field(Strona).setInteger(strona);
        t.field(Lewy).setInteger(lewy);
        t.field(Gorny).setInteger(gorny);
        t.post();
        return;
    }
    // Only what changed is written.
    const bool innyLewy = t.field(Lewy).asInteger() != lewy;
    const bool innyGorny = t.field(Gorny).asInteger() != gorny;
    if (!innyLewy && !innyGorny)
        return;
    t.edit();
    if (innyLewy)
        t.field(Lewy).setInteger(lewy);
    if (innyGorny)
        t.field(Gorny).setInteger(gorny);
    t.post();
}
