#include "invoices/windows/materialyfrm.h"

#include "core/polishtext.h"
#include "data/tdm.h"
#include "widgets/datasetmodel.h"
#include "widgets/windowplacement.h"

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

    // Copies the table's records in its order, each value trimmed.
    void Wczytaj(Table &tabela)
    {
        if (!tabela.isOpen())
            tabela.open();
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

} // namespace

struct TMaterialyFrm::Impl
{
    Impl(TMaterialyFrm &q, TDM &dm, TWindow &window);

    QWidget *ZbudujStroneA();
    QWidget *ZbudujStroneB();
    QGroupBox *ZbudujSzukanie();
    void Filtruj();

    TMaterialyFrm &q;
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
    QPushButton *OKBtn;
};

TMaterialyFrm::Impl::Impl(TMaterialyFrm &q, TDM &dm, TWindow &window)
    : q(q), placement(window, QStringLiteral("MaterialyFrm"), WindowPlacement::Remember::Position)
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

    auto *dol = new QHBoxLayout;
    dol->addWidget(ZbudujSzukanie(), 1);
    dol->addWidget(OKBtn, 0, Qt::AlignBottom);

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

    auto *strona = new QWidget;
    strona->setObjectName(QStringLiteral("TabA"));
    auto *uklad = new QVBoxLayout(strona);
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

    auto *strona = new QWidget;
    strona->setObjectName(QStringLiteral("TabB"));
    auto *uklad = new QHBoxLayout(strona);
    uklad->addWidget(GridB);
    uklad->addWidget(ramka, 1);
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

void TMaterialyFrm::Impl::Filtruj()
{
    const QString symbol = polishUpper(PKWiU->text().trimmed());
    const QString nazwa = polishUpper(Nazwa->text().trimmed());
    wykazA.Filtruj(symbol, nazwa);
    wykazB.Filtruj(symbol, nazwa);
}

TMaterialyFrm::TMaterialyFrm(TDM &dm, TWindow &window, QWidget *parent)
    : QDialog(parent), d(std::make_unique<Impl>(*this, dm, window))
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
