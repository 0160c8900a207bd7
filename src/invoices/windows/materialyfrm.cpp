#include "invoices/windows/materialyfrm.h"

#include "core/polishtext.h"
#include "data/tdm.h"
#include "widgets/datasetmodel.h"
#include "widgets/windowplacement.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString PolePKWiU = QStringLiteral("PKWiU");
const QString PoleMaterial = QStringLiteral("Material");
constexpr int KolumnaPKWiU = 0;
constexpr int KolumnaMaterial = 1;

// One list of materials copied into memory: the window shows and filters
// the copy and never touches the table.
class WykazMaterialow
{
public:
    WykazMaterialow(const QString &nazwa, FieldType typNazwy)
        : m_kopia(nazwa, {{PolePKWiU, FieldType::Text, 20}, {PoleMaterial, typNazwy, typNazwy == FieldType::Text ? 255 : 0}})
    {
        m_kopia.open();
    }

    MemTable &kopia() { return m_kopia; }

    // Copies the table's records in its order, each value trimmed, in place
    // of what the copy held.
    void Wczytaj(Table &tabela)
    {
        if (!tabela.isOpen())
            tabela.open();
        m_kopia.emptyTable();
        const int pkwiu = tabela.fieldIndex(PolePKWiU);
        const int material = tabela.fieldIndex(PoleMaterial);
        const FieldDef &defPKWiU = m_kopia.fields()[KolumnaPKWiU];
        const FieldDef &defMaterial = m_kopia.fields()[KolumnaMaterial];
        QList<SqlRow> wiersze;
        const int liczba = tabela.recordCount();
        wiersze.reserve(liczba);
        for (int row = 0; row < liczba; ++row)
            wiersze.append({Dataset::toStorage(defPKWiU, tabela.valueAt(row, pkwiu).toString().trimmed()),
                            Dataset::toStorage(defMaterial, tabela.valueAt(row, material).toString().trimmed())});
        m_kopia.appendRecords(wiersze);
        m_kopia.first();
    }

    // Shows the rows whose symbol contains `symbol` and whose name contains
    // `nazwa`, both already upper case; an empty fragment matches every row,
    // two empty ones switch the filter off. The grids do not repaint midway.
    void Filtruj(const QString &symbol, const QString &nazwa)
    {
        m_kopia.disableControls();
        if (symbol.isEmpty() && nazwa.isEmpty()) {
            m_kopia.setFilter({});
        } else {
            m_kopia.setFilter([symbol, nazwa](const SqlRow &wiersz) {
                return zawiera(wiersz.value(KolumnaPKWiU), symbol) && zawiera(wiersz.value(KolumnaMaterial), nazwa);
            });
        }
        m_kopia.enableControls();
    }

private:
    static bool zawiera(const QVariant &wartosc, const QString &fragment)
    {
        return fragment.isEmpty() || polishUpper(wartosc.toString()).contains(fragment);
    }

    MemTable m_kopia;
};

// The whole name of the current row; empty when no row shows.
QString nazwaBiezacego(MemTable &wykaz)
{
    return wykaz.field(PoleMaterial).asString();
}

// What a tab says of its list: how many positions it holds, and that a
// product not on it may still be refundable.
QString OpisWykazu(int pozycji)
{
    return QStringLiteral("Wykaz zawiera %1 poz. i może być niepełny: brak wyrobu w wykazie nie oznacza, że "
                          "wydatek nie podlega zwrotowi. Pełny wykaz można wczytać z pliku.")
        .arg(pozycji);
}

QLabel *EtykietaLiczby(const QString &nazwa)
{
    auto *etykieta = new QLabel;
    etykieta->setObjectName(nazwa);
    etykieta->setWordWrap(true);
    return etykieta;
}

} // namespace

struct TMaterialyFrm::Impl
{
    Impl(TMaterialyFrm &q, TDM &dm, TWindow &window, WyborPliku wyborPliku);

    QWidget *ZbudujStroneA();
    QWidget *ZbudujStroneB();
    QGroupBox *ZbudujSzukanie();
    void Filtruj();
    void PokazLiczby();
    void WczytajBtnClick();

    TMaterialyFrm &q;
    TDM &dm;
    WyborPliku wyborPliku;
    WindowPlacement placement;
    WykazMaterialow wykazA{QStringLiteral("MaterialyA"), FieldType::Text};
    WykazMaterialow wykazB{QStringLiteral("MaterialyB"), FieldType::Memo};

    QTabWidget *PageControl;
    QTableView *GridA;
    QLabel *NazwaA;
    QTableView *GridB;
    QPlainTextEdit *NazwaB;
    QLineEdit *PKWiU;
    QLineEdit *Nazwa;
    QToolButton *CzyscBtn;
    QLabel *LiczbaA;
    QLabel *LiczbaB;
    QPushButton *WczytajBtn;
    QPushButton *OKBtn;
};

TMaterialyFrm::Impl::Impl(TMaterialyFrm &q, TDM &dm, TWindow &window, WyborPliku wyborPliku)
    : q(q), dm(dm), wyborPliku(std::move(wyborPliku)),
      placement(window, QStringLiteral("MaterialyFrm"), WindowPlacement::Remember::Position)
{
    wykazA.Wczytaj(dm.WykazA);
    wykazB.Wczytaj(dm.WykazB);

    PageControl = new QTabWidget;
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->addTab(ZbudujStroneA(), QStringLiteral("P&rzed 1 stycznia 2011 r."));
    PageControl->addTab(ZbudujStroneB(), QStringLiteral("&Od 1 stycznia 2011 r."));

    OKBtn = new QPushButton(QStringLiteral("OK"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    QObject::connect(OKBtn, &QPushButton::clicked, &q, &QDialog::accept);
    WczytajBtn = new QPushButton(QStringLiteral("&Wczytaj wykaz z pliku…"));
    WczytajBtn->setObjectName(QStringLiteral("WczytajBtn"));
    WczytajBtn->setAutoDefault(false);
    WczytajBtn->setToolTip(QStringLiteral("Zastępuje wykaz z pokazanej zakładki wykazem z pliku CSV\n"
                                          "o kolumnach Lp;PKWiU;Material (średnik między polami, UTF-8)."));
    QObject::connect(WczytajBtn, &QPushButton::clicked, &q, [this] { WczytajBtnClick(); });
    PokazLiczby();

    auto *przyciski = new QVBoxLayout;
    przyciski->addStretch();
    przyciski->addWidget(WczytajBtn);
    przyciski->addWidget(OKBtn);
    auto *dol = new QHBoxLayout;
    dol->addWidget(ZbudujSzukanie(), 1);
    dol->addLayout(przyciski);

    auto *uklad = new QVBoxLayout(&q);
    uklad->setContentsMargins(6, 6, 6, 6);
    uklad->addWidget(PageControl, 1);
    uklad->addLayout(dol);
}

QWidget *TMaterialyFrm::Impl::ZbudujStroneA()
{
    GridA = new QTableView;
    GridA->setObjectName(QStringLiteral("GridA"));
    new GridBinding(*GridA, wykazA.kopia(),
                    {{PolePKWiU, QStringLiteral("PKWiU")}, {PoleMaterial, QStringLiteral("Nazwa wyrobu (grupy wyrobów)")}});
    GridA->setColumnWidth(KolumnaPKWiU, 130);

    NazwaA = new QLabel;
    NazwaA->setObjectName(QStringLiteral("NazwaA"));
    NazwaA->setWordWrap(true);
    NazwaA->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    NazwaA->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for the longest name of the list (255 characters) in a few lines.
    NazwaA->setMinimumHeight(4 * NazwaA->fontMetrics().lineSpacing());
    auto *ramka = new QGroupBox(QStringLiteral("Nazwa wyrobu (grupy wyrobów) "));
    ramka->setObjectName(QStringLiteral("RamkaA"));
    auto *ukladRamki = new QVBoxLayout(ramka);
    ukladRamki->addWidget(NazwaA);

    // The filter moves the cursor too, to the first row that shows.
    const auto pokaz = [this] { NazwaA->setText(nazwaBiezacego(wykazA.kopia())); };
    QObject::connect(&wykazA.kopia(), &Dataset::cursorMoved, &q, pokaz);
    pokaz();

    LiczbaA = EtykietaLiczby(QStringLiteral("LiczbaA"));
    auto *strona = new QWidget;
    strona->setObjectName(QStringLiteral("TabA"));
    auto *uklad = new QVBoxLayout(strona);
    uklad->addWidget(LiczbaA);
    uklad->addWidget(GridA, 1);
    uklad->addWidget(ramka);
    return strona;
}

QWidget *TMaterialyFrm::Impl::ZbudujStroneB()
{
    GridB = new QTableView;
    GridB->setObjectName(QStringLiteral("GridB"));
    new GridBinding(*GridB, wykazB.kopia(), {{PolePKWiU, QStringLiteral("PKWiU")}});
    GridB->setFixedWidth(170);

    NazwaB = new QPlainTextEdit;
    NazwaB->setObjectName(QStringLiteral("NazwaB"));
    NazwaB->setReadOnly(true);
    NazwaB->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NazwaB->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    NazwaB->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto *ramka = new QGroupBox(QStringLiteral("Nazwa wyrobu (grupy wyrobów)"));
    ramka->setObjectName(QStringLiteral("RamkaB"));
    auto *ukladRamki = new QVBoxLayout(ramka);
    ukladRamki->addWidget(NazwaB);

    const auto pokaz = [this] { NazwaB->setPlainText(nazwaBiezacego(wykazB.kopia())); };
    QObject::connect(&wykazB.kopia(), &Dataset::cursorMoved, &q, pokaz);
    pokaz();

    LiczbaB = EtykietaLiczby(QStringLiteral("LiczbaB"));
    auto *strona = new QWidget;
    strona->setObjectName(QStringLiteral("TabB"));
    auto *wiersz = new QHBoxLayout;
    wiersz->addWidget(GridB);
    wiersz->addWidget(ramka, 1);
    auto *uklad = new QVBoxLayout(strona);
    uklad->addWidget(LiczbaB);
    uklad->addLayout(wiersz, 1);
    return strona;
}

QGroupBox *TMaterialyFrm::Impl::ZbudujSzukanie()
{
    PKWiU = new QLineEdit;
    PKWiU->setObjectName(QStringLiteral("PKWiU"));
    Nazwa = new QLineEdit;
    Nazwa->setObjectName(QStringLiteral("Nazwa"));
    auto *etykietaPKWiU = new QLabel(QStringLiteral("Symbol &PKWiU:"));
    etykietaPKWiU->setBuddy(PKWiU);
    auto *etykietaNazwa = new QLabel(QStringLiteral("&Nazwa wyrobu (grupy wyrobów):"));
    etykietaNazwa->setBuddy(Nazwa);
    CzyscBtn = new QToolButton;
    CzyscBtn->setObjectName(QStringLiteral("CzyscBtn"));
    CzyscBtn->setIcon(q.style()->standardIcon(QStyle::SP_LineEditClearButton));
    CzyscBtn->setToolTip(QStringLiteral("Wyczyść"));

    auto *ramka = new QGroupBox(QStringLiteral("Szukaj: "));
    ramka->setObjectName(QStringLiteral("SzukajBox"));
    auto *uklad = new QGridLayout(ramka);
    uklad->addWidget(etykietaPKWiU, 0, 0);
    uklad->addWidget(etykietaNazwa, 0, 1);
    uklad->addWidget(PKWiU, 1, 0);
    uklad->addWidget(Nazwa, 1, 1);
    uklad->addWidget(CzyscBtn, 1, 2);
    uklad->setColumnStretch(0, 1);
    uklad->setColumnStretch(1, 3);

    QObject::connect(PKWiU, &QLineEdit::textChanged, &q, [this] { Filtruj(); });
    QObject::connect(Nazwa, &QLineEdit::textChanged, &q, [this] { Filtruj(); });
    QObject::connect(CzyscBtn, &QToolButton::clicked, &q, [this] {
        PKWiU->clear();
        Nazwa->clear();
    });
    return ramka;
}

void TMaterialyFrm::Impl::PokazLiczby()
{
    LiczbaA->setText(OpisWykazu(dm.WykazA.recordCount()));
    LiczbaB->setText(OpisWykazu(dm.WykazB.recordCount()));
}

void TMaterialyFrm::Impl::WczytajBtnClick()
{
    const bool przed2011 = PageControl->currentIndex() == 0;
    const QString nazwaWykazu = przed2011 ? QStringLiteral("„Przed 1 stycznia 2011 r.”") : QStringLiteral("„Od 1 stycznia 2011 r.”");
    const QString plik = wyborPliku(&q, PytanieOPlik{false, QStringLiteral("Wczytaj wykaz %1 z pliku").arg(nazwaWykazu),
                                                     QDir::homePath(), QStringLiteral("Wykazy (*.csv);;Wszystkie pliki (*)")});
    if (plik.isEmpty())
        return;
    QFile dane(plik);
    if (!dane.open(QIODevice::ReadOnly)) {
        dm.Uwaga(QStringLiteral("Nie można odczytać pliku %1.").arg(QDir::toNativeSeparators(plik)));
        return;
    }
    Table &tabela = przed2011 ? dm.WykazA : dm.WykazB;
    // The table's own limit of a name: text of 255 characters before 2011, a memo after.
    const WykazZPliku wykaz = WykazZPliku::Sprawdz(QString::fromUtf8(dane.readAll()), przed2011 ? 255 : 0);
    if (!wykaz.Blad.isEmpty()) {
        dm.Uwaga(QStringLiteral("Wykaz z pliku %1 nie został wczytany.\r%2")
                     .arg(QDir::toNativeSeparators(plik), wykaz.Blad));
        return;
    }
    if (!dm.Potwierdz(QStringLiteral("Zastąpić wykaz %1 (%2 poz.) wykazem z pliku\r%3 (%4 poz.)?")
                          .arg(nazwaWykazu).arg(tabela.recordCount()).arg(QDir::toNativeSeparators(plik))
                          .arg(wykaz.Pozycje.size())))
        return;
    dm.ZastapWykaz(przed2011 ? 1 : 2, wykaz.Pozycje);
    (przed2011 ? wykazA : wykazB).Wczytaj(tabela);
    Filtruj();
    PokazLiczby();
    dm.Informacja(QStringLiteral("Wczytano %1 poz. wykazu %2.").arg(wykaz.Pozycje.size()).arg(nazwaWykazu));
}

void TMaterialyFrm::Impl::Filtruj()
{
    const QString symbol = polishUpper(PKWiU->text().trimmed());
    const QString nazwa = polishUpper(Nazwa->text().trimmed());
    wykazA.Filtruj(symbol, nazwa);
    wykazB.Filtruj(symbol, nazwa);
}

TMaterialyFrm::TMaterialyFrm(TDM &dm, TWindow &window, QWidget *parent, WyborPliku wyborPliku)
    : QDialog(parent), d(std::make_unique<Impl>(*this, dm, window, std::move(wyborPliku)))
{
    setObjectName(QStringLiteral("MaterialyFrm"));
    setWindowTitle(QStringLiteral("Wykaz materiałów budowlanych"));
    resize(640, 480);
    // Centred on the desktop until the user has placed it somewhere.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect ramka = frameGeometry();
        ramka.moveCenter(screen->availableGeometry().center());
        move(ramka.topLeft());
    }
    d->placement.restore(*this);
    d->PageControl->setCurrentIndex(0);
    d->PKWiU->setFocus();
}

TMaterialyFrm::~TMaterialyFrm()
{
    // The grids read the copies of the lists, so they go before them.
    delete d->PageControl;
}

void TMaterialyFrm::keyPressEvent(QKeyEvent *event)
{
    // Only "OK" and the close box close the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMaterialyFrm::done(int result)
{
    d->placement.save(*this);
    QDialog::done(result);
}
