#include "taxpayers/domyslnefrm.h"

#include "widgets/orxeditcalc.h"
#include "widgets/przyciskiokna.h"

#include "data/dataerror.h"
#include "checks/identifiers.h"
#include "data/schema.h"
#include "data/tdm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

const QString TDomyslneFrm::Brak = QStringLiteral("<Brak>");

namespace {

const QString FormatCeny = QStringLiteral(",0.00;-,0.00;  ");

QGroupBox *grupa(const QString &tytul, QWidget *kontrolka)
{
    auto *g = new QGroupBox(tytul);
    (new QVBoxLayout(g))->addWidget(kontrolka);
    return g;
}

} // namespace

TDomyslneFrm::TDomyslneFrm(TDM &dm, QWidget *parent) : OknoEdycji(dm, OknoEdycji::Pytanie, parent), dm(dm)
{
    setWindowTitle(QStringLiteral("Parametry domyślne"));

    EdKraj = NowePole(QStringLiteral("EdKraj"), QStringLiteral("Kraj"));
    EdWojew = new QComboBox;
    EdWojew->setObjectName(QStringLiteral("EdWojew"));
    EdWojew->addItems(Wojewodztwa);
    EdWojew->addItem(Brak);
    EdWojew->setMaxVisibleItems(int(Wojewodztwa.size()) + 1);
    EdPowiat = NowePole(QStringLiteral("EdPowiat"), QStringLiteral("Powiat"));
    EdGmina = NowePole(QStringLiteral("EdGmina"), QStringLiteral("Gmina"));
    EdMiasto = NowePole(QStringLiteral("EdMiasto"), QStringLiteral("Miasto"));
    EdKodPoczt = NowePole(QStringLiteral("EdKodPoczt"), QStringLiteral("KodPoczt"));
    EdPoczta = NowePole(QStringLiteral("EdPoczta"), QStringLiteral("Poczta"));
    EdUrzad = NowePole(QStringLiteral("EdUrzad"), QStringLiteral("Urzad"));
    EdCena = new TOrxEditCalc;
    EdCena->setObjectName(QStringLiteral("EdCena"));
    EdCena->SetDisplayFormat(FormatCeny);
    EdCena->SetCheckOptions(coCheckOnExit);

    auto *adres = new QGroupBox(QStringLiteral("Adres zamieszkania"));
    auto *formularz = new QFormLayout(adres);
    formularz->addRow(QStringLiteral("&Kraj"), EdKraj);
    formularz->addRow(QStringLiteral("&Województwo"), EdWojew);
    formularz->addRow(QStringLiteral("&Powiat"), EdPowiat);
    formularz->addRow(QStringLiteral("&Gmina"), EdGmina);
    formularz->addRow(QStringLiteral("&Miejscowość"), EdMiasto);
    formularz->addRow(QStringLiteral("K&od pocztowy"), EdKodPoczt);
    formularz->addRow(QStringLiteral("Po&czta"), EdPoczta);

    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);
    connect(PostBtn, &QPushButton::clicked, this, &TDomyslneFrm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(adres);
    uklad->addWidget(grupa(QStringLiteral("Urząd skarbowy"), EdUrzad));
    uklad->addWidget(grupa(QStringLiteral("Cena metra kwadratowego powierzchni użytkowej"), EdCena));
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));

    QWidget *kolejnosc[] = {EdKraj,    EdWojew,  EdPowiat, EdGmina, EdMiasto, EdKodPoczt,
                            EdPoczta,  EdUrzad,  EdCena,   PostBtn, CancelBtn};
    for (size_t i = 1; i < std::size(kolejnosc); ++i)
        setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
}

QLineEdit *TDomyslneFrm::NowePole(const QString &nazwa, const QString &pole)
{
    auto *kontrolka = new QLineEdit;
    kontrolka->setObjectName(nazwa);
    kontrolka->setMaxLength(tableDef(QStringLiteral("Domysl")).field(pole)->size);
    return kontrolka;
}

void TDomyslneFrm::showEvent(QShowEvent *event)
{
    // Only a showing by the program: the window system's showing again
    // (after minimizing) must not overwrite what the user typed.
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

void TDomyslneFrm::FormActivate()
{
    Table &d = dm.Domysl;
    EdKraj->setText(d.field(QStringLiteral("Kraj")).asString());
    // Only a name written exactly as in the list is chosen.
    const qsizetype wojew = Wojewodztwa.indexOf(d.field(QStringLiteral("Wojew")).asString());
    EdWojew->setCurrentIndex(wojew < 0 ? EdWojew->count() - 1 : int(wojew));
    EdPowiat->setText(d.field(QStringLiteral("Powiat")).asString());
    EdGmina->setText(d.field(QStringLiteral("Gmina")).asString());
    EdMiasto->setText(d.field(QStringLiteral("Miasto")).asString());
    EdKodPoczt->setText(d.field(QStringLiteral("KodPoczt")).asString());
    EdPoczta->setText(d.field(QStringLiteral("Poczta")).asString());
    EdUrzad->setText(d.field(QStringLiteral("Urzad")).asString());
    EdCena->SetValue(d.field(QStringLiteral("CenaMetra")).asMoney());
    Zapamietaj();
}

void TDomyslneFrm::PostBtnClick()
{
    if (Zapisz())
        accept();
}

bool TDomyslneFrm::Zapisz()
{
    if (!EdCena->CheckReadable())
        return false;
    Table &d = dm.Domysl;
    try {
        if (d.isEmpty())
            d.append(); // the first record of an empty table
        else
            d.edit();
        d.field(QStringLiteral("Kraj")).setString(EdKraj->text());
        d.field(QStringLiteral("Wojew")).setString(EdWojew->currentText() == Brak ? QString() : EdWojew->currentText());
        d.field(QStringLiteral("Powiat")).setString(EdPowiat->text());
        d.field(QStringLiteral("Gmina")).setString(EdGmina->text());
        d.field(QStringLiteral("Miasto")).setString(EdMiasto->text());
        d.field(QStringLiteral("KodPoczt")).setString(EdKodPoczt->text());
        d.field(QStringLiteral("Poczta")).setString(EdPoczta->text());
        d.field(QStringLiteral("Urzad")).setString(EdUrzad->text());
        d.field(QStringLiteral("CenaMetra")).setMoney(EdCena->ValueReal()); // four decimals, as the amount is kept
        d.post();
        return true;
    } catch (const DataError &blad) {
        // The window stays open with what the user typed.
        d.cancel();
        dm.Uwaga(QStringLiteral("Nie udało się zapisać parametrów domyślnych:\r") + blad.message());
        return false;
    }
}
