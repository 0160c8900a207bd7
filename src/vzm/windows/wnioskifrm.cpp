#include "vzm/windows/wnioskifrm.h"

#include "vzm/windows/vzm1_3frm.h"

#include "core/common.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"
#include "widgets/datasetmodel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString FaktId = QStringLiteral("FaktId");

// Paints the rows of an invoice list in bands, one attachment (27 invoices)
// each: the window colour for odd attachments, the tool-tip colour for even
// ones, so that the user sees where each printed attachment begins.
class PasyZalacznikow : public QStyledItemDelegate
{
public:
    PasyZalacznikow(TDM &dm, int lista, QObject *parent) : QStyledItemDelegate(parent), dm(dm), m_lista(lista) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        Query &faktury = dm.ListaFaktur(m_lista);
        m_info.Ustaw(dm.NrWiersza(m_lista, faktury.valueAt(index.row(), faktury.fieldIndex(FaktId)).toInt()));
        const QPalette &kolory = option->palette;
        option->backgroundBrush = m_info.NrZal() % 2 == 0 ? kolory.color(QPalette::ToolTipBase)
                                                         : kolory.color(QPalette::Base);
        option->palette.setColor(QPalette::Text, Qt::black);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }

private:
    TDM &dm;
    int m_lista;
    // Like the grid's own record: a row without a number keeps the last band.
    mutable TFaktInfo m_info;
};

QPushButton *przycisk(const char *name, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(QLatin1StringView(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TWnioskiFrm::TWnioskiFrm(TDM &dm, TVzm_3 &vzm, TVZMab &vzmab, TWindow &window, QWidget *parent)
    : QDialog(parent),
      dm(dm),
      Vzm_3(vzm),
      VZMab(vzmab),
      m_window(window),
      m_placement(window, QStringLiteral("WnioskiFrm"), WindowPlacement::Remember::PositionAndSize)
{
    setObjectName(QStringLiteral("WnioskiFrm"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(820, 600);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    auto *gorne = new QWidget;
    auto *dolne = new QWidget;
    splitter->addWidget(gorne);
    splitter->addWidget(dolne);
    splitter->setStretchFactor(1, 3);

    auto *uklad = new QVBoxLayout(this);
    uklad->setContentsMargins(4, 4, 4, 0);
    uklad->addWidget(splitter, 1);
    auto *status = new QStatusBar;
    status->setSizeGripEnabled(true);
    for (QLabel *&panel : StatusBar) {
        panel = new QLabel;
        status->addWidget(panel, 1);
    }
    uklad->addWidget(status);

    utworzGorne();
    utworzDolne();

    // The two rows of buttons do the same to different things: each stands
    // in a frame that names what it acts on.
    auto *grupaWnioskow = new QGroupBox(QStringLiteral("Wnioski podatnika"));
    grupaWnioskow->setObjectName(QStringLiteral("GrupaWnioskow"));
    auto *przyciskiWnioskow = new QHBoxLayout(grupaWnioskow);
    for (QPushButton *button : {WnDodajBtn, WnPoprawBtn, WnUsunBtn, WnPodgladBtn, WnNadrukBtn})
        przyciskiWnioskow->addWidget(button);
    auto *gornyPasek = new QHBoxLayout;
    gornyPasek->addWidget(grupaWnioskow);
    gornyPasek->addStretch();
    gornyPasek->addWidget(CloseBtn, 0, Qt::AlignBottom);
    auto *ukladGorny = new QVBoxLayout(gorne);
    ukladGorny->setContentsMargins(0, 0, 0, 0);
    ukladGorny->addLayout(gornyPasek);
    ukladGorny->addWidget(MainGrid, 1);

    auto *grupaFaktur = new QGroupBox(QStringLiteral("Faktury wniosku na wybranej liście"));
    grupaFaktur->setObjectName(QStringLiteral("GrupaFaktur"));
    auto *przyciskiFaktur = new QHBoxLayout(grupaFaktur);
    for (QPushButton *button : {ZlDodajBtn, ZlPoprawBtn, ZlUsunBtn, ZlPodgladBtn, ZlNadrukBtn, ZlWczytajBtn, ZlZapiszBtn})
        przyciskiFaktur->addWidget(button);
    auto *dolnyPasek = new QHBoxLayout;
    dolnyPasek->addWidget(grupaFaktur);
    dolnyPasek->addStretch();
    dolnyPasek->addWidget(SzukajBox);
    auto *ukladDolny = new QVBoxLayout(dolne);
    ukladDolny->setContentsMargins(0, 0, 0, 0);
    ukladDolny->addWidget(PageControl, 1);
    ukladDolny->addLayout(dolnyPasek);

    // Until the program hands them in, the windows of the other subsystems
    // have no buttons.
    UstawOkna({});
    m_placement.restore(*this);
    MainGrid->setFocus();
}

TWnioskiFrm::~TWnioskiFrm() = default;

void TWnioskiFrm::utworzGorne()
{
    // The invoices' buttons, the tabs and the search hold the first letters:
    // the applications' take others of their words.
    WnDodajBtn = przycisk("WnDodajBtn", QStringLiteral("Doda&j"));
    WnPoprawBtn = przycisk("WnPoprawBtn", QStringLiteral("P&opraw"));
    WnUsunBtn = przycisk("WnUsunBtn", QStringLiteral("U&suń"));
    WnPodgladBtn = przycisk("WnPodgladBtn", QStringLiteral("W&ydruk"));
    WnNadrukBtn = przycisk("WnNadrukBtn", QStringLiteral("Nad&ruk"));
    CloseBtn = przycisk("CloseBtn", QStringLiteral("&Zamknij"));
    connect(WnDodajBtn, &QPushButton::clicked, this, &TWnioskiFrm::WnDodajBtnClick);
    connect(WnPoprawBtn, &QPushButton::clicked, this, &TWnioskiFrm::WnPoprawBtnClick);
    connect(WnUsunBtn, &QPushButton::clicked, this, &TWnioskiFrm::WnUsunBtnClick);
    connect(WnPodgladBtn, &QPushButton::clicked, this, &TWnioskiFrm::WnPodgladBtnClick);
    connect(WnNadrukBtn, &QPushButton::clicked, this, &TWnioskiFrm::WnNadrukBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);

    MainGrid = new QTableView;
    MainGrid->setObjectName(QStringLiteral("MainGrid"));
    new GridBinding(*MainGrid, dm.Vzmy,
                    {{QStringLiteral("NrKolej"), QStringLiteral("Nr kolejny")},
                     {QStringLiteral("Typ"), QStringLiteral("Cel złożenia")},
                     {QStringLiteral("WersjaStr"), QStringLiteral("Wersja VZM-1"), Qt::AlignCenter}});
    MainGrid->setColumnWidth(0, 90);
    MainGrid->setColumnWidth(1, 120);
    connect(MainGrid, &QTableView::doubleClicked, this, [this] {
        if (WnPoprawBtn->isEnabled())
            WnPoprawBtnClick();
    });
    // Another application selected: its invoices.
    connect(&dm.Vzmy, &Dataset::cursorMoved, this, [this] {
        if (!dm.Vzmy.controlsDisabled())
            OtworzFaktury();
    });
}

void TWnioskiFrm::utworzDolne()
{
    PageControl = new QTabWidget;
    PageControl->setObjectName(QStringLiteral("PageControl"));
    const QString zakladki[] = {QStringLiteral("VZM-1/&A (odliczane w PIT-22%)"),
                                QStringLiteral("VZM-1/&B (nieodliczane w PIT-22%)"),
                                QStringLiteral("VZM-1/&C (nieodliczane w PIT-23%)")};
    const char *nazwy[] = {"TabA", "TabB", "TabC"};
    for (int lista = 1; lista <= 3; ++lista) {
        VzmGrid[lista - 1] = utworzSiatkeFaktur(lista);
        auto *tab = new QWidget;
        tab->setObjectName(QLatin1StringView(nazwy[lista - 1]));
        auto *uklad = new QVBoxLayout(tab);
        uklad->setContentsMargins(0, 0, 0, 0);
        uklad->addWidget(VzmGrid[lista - 1]);
        PageControl->addTab(tab, zakladki[lista - 1]);
    }
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        UstawPrzyciski();
        UstawStatus();
    });

    ZlDodajBtn = przycisk("ZlDodajBtn", QStringLiteral("&Dodaj"));
    ZlPoprawBtn = przycisk("ZlPoprawBtn", QStringLiteral("&Popraw"));
    ZlUsunBtn = przycisk("ZlUsunBtn", QStringLiteral("&Usuń"));
    ZlPodgladBtn = przycisk("ZlPodgladBtn", QStringLiteral("&Wydruk"));
    ZlNadrukBtn = przycisk("ZlNadrukBtn", QStringLiteral("&Nadruk"));
    connect(ZlDodajBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlDodajBtnClick);
    connect(ZlPoprawBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlPoprawBtnClick);
    connect(ZlUsunBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlUsunBtnClick);
    connect(ZlPodgladBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlPodgladBtnClick);
    connect(ZlNadrukBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlNadrukBtnClick);
    ZlWczytajBtn = przycisk("ZlWczytajBtn", QStringLiteral("Wczytaj &faktury z pliku..."));
    ZlZapiszBtn = przycisk("ZlZapiszBtn", QStringLiteral("Zapisz faktury do p&liku..."));
    connect(ZlWczytajBtn, &QPushButton::clicked, this, &TWnioskiFrm::ZlWczytajBtnClick);
    connect(ZlZapiszBtn, &QPushButton::clicked, this, [this] {
        m_okna.ZapiszFaktury(WybranyWniosek(), AktywnaLista());
    });

    SzukajBox = new QGroupBox(QStringLiteral("Szu&kaj [nr faktury]"));
    SzukajBox->setObjectName(QStringLiteral("SzukajBox"));
    EdNrFakt = new QLineEdit;
    EdNrFakt->setObjectName(QStringLiteral("EdNrFakt"));
    EdNrFakt->setMaxLength(30);
    auto *szukaj = new QToolButton;
    szukaj->setObjectName(QStringLiteral("SzukajBtn"));
    szukaj->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"), style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    szukaj->setToolTip(QStringLiteral("Szukaj"));
    // The group's accelerator takes the user into the edit.
    SzukajBox->setFocusProxy(EdNrFakt);
    SzukajBox->setMaximumWidth(340);
    auto *uklad = new QHBoxLayout(SzukajBox);
    uklad->setContentsMargins(6, 2, 6, 4);
    uklad->addWidget(EdNrFakt);
    uklad->addWidget(szukaj);
    connect(szukaj, &QToolButton::clicked, this, &TWnioskiFrm::SzukajClick);
    connect(EdNrFakt, &QLineEdit::returnPressed, this, &TWnioskiFrm::SzukajClick);
}

QTableView *TWnioskiFrm::utworzSiatkeFaktur(int lista)
{
    auto *grid = new QTableView;
    grid->setObjectName(QStringLiteral("Vzm%1Grid").arg(TDM::LiteraListy(lista)));
    const Qt::Alignment doPrawej = Qt::AlignRight | Qt::AlignVCenter;
    const QString kwota = QStringLiteral("#,##0.00");
    Query &faktury = dm.ListaFaktur(lista);
    new GridBinding(*grid, faktury,
                    {{QStringLiteral("NrFakt"), QStringLiteral("Nr faktury")},
                     {QStringLiteral("LpFakt"), QStringLiteral("Lp. z faktury")},
                     {QStringLiteral("DataWyst"), QStringLiteral("Data"), doPrawej},
                     {QStringLiteral("NipSprzed"), QStringLiteral("NIP")},
                     {QStringLiteral("Brutto"), QStringLiteral("Brutto"), doPrawej, kwota},
                     {QStringLiteral("VatA"), QStringLiteral("Vat [kol. 5]"), doPrawej, kwota},
                     {QStringLiteral("VatB"), QStringLiteral("Vat [kol. 6]"), doPrawej, kwota},
                     {QStringLiteral("Sprzedawca"), QStringLiteral("Sprzedawca")}});
    grid->setItemDelegate(new PasyZalacznikow(dm, lista, grid));
    const int widths[] = {130, 80, 80, 100, 95, 90, 90};
    for (int column = 0; column < int(std::size(widths)); ++column)
        grid->setColumnWidth(column, widths[column]);
    connect(grid, &QTableView::doubleClicked, this, [this] {
        if (ZlPoprawBtn->isEnabled() && !ZlPoprawBtn->isHidden())
            ZlPoprawBtnClick();
    });
    const auto zmiana = [this, lista] {
        if (lista == AktywnaLista()) {
            UstawStatus();
            UstawPrzyciski();
        }
    };
    connect(&faktury, &Dataset::cursorMoved, this, zmiana);
    connect(&faktury, &Dataset::rowsChanged, this, zmiana);
    return grid;
}

void TWnioskiFrm::UstawOkna(OknaWnioskow okna)
{
    m_okna = std::move(okna);
    const std::pair<QPushButton *, bool> przyciski[] = {
        {ZlDodajBtn, bool(m_okna.NowaFaktura)},
        {ZlPoprawBtn, bool(m_okna.PoprawFakture)},
        {WnPodgladBtn, bool(m_okna.PodgladWniosku)},
        {WnNadrukBtn, bool(m_okna.NadrukWniosku)},
        {ZlPodgladBtn, m_okna.PodgladZalacznika && m_okna.WybierzZalacznik},
        {ZlNadrukBtn, m_okna.NadrukZalacznika && m_okna.WybierzZalacznik},
        {ZlWczytajBtn, bool(m_okna.WczytajFaktury)},
        {ZlZapiszBtn, bool(m_okna.ZapiszFaktury)},
    };
    for (const auto &[button, jest] : przyciski)
        button->setVisible(jest);
}

int TWnioskiFrm::AktywnaLista() const
{
    return PageControl->currentIndex() + 1;
}

void TWnioskiFrm::PokazWnioski()
{
    Otworz();
    exec();
}

void TWnioskiFrm::Otworz()
{
    m_podatId = dm.Podatnik.field(QStringLiteral("PodatId")).asInteger();
    setWindowTitle(PolaczTeksty(dm.Podatnik.field(QStringLiteral("Nazwisko")).asString(),
                                dm.Podatnik.field(QStringLiteral("Imie")).asString()));
    Odswiez();
    UstawStatus();
    MainGrid->setFocus();
}

void TWnioskiFrm::done(int result)
{
    m_placement.save(*this);
    QDialog::done(result);
}

void TWnioskiFrm::Odswiez()
{
    try {
        dm.Vzmy.close();
        dm.Vzmy.setParam(QStringLiteral("PodatId"), m_podatId);
        dm.Vzmy.open();
    } catch (const DataError &) {
        // the list stays closed and the buttons say so
    }
    OtworzFaktury();
}

void TWnioskiFrm::OtworzFaktury()
{
    const int vzmId = WybranyWniosek();
    for (int lista = 1; lista <= 3; ++lista) {
        Query &faktury = dm.ListaFaktur(lista);
        try {
            faktury.close();
            faktury.setParam(QStringLiteral("VzmId"), vzmId);
            faktury.open();
            faktury.first();
        } catch (const DataError &) {
            // the list stays closed and the buttons say so
        }
    }
    UstawPrzyciski();
    UstawStatus();
}

bool TWnioskiFrm::jestRekord(int lista)
{
    Dataset &zbior = lista == 0 ? static_cast<Dataset &>(dm.Vzmy) : dm.ListaFaktur(lista);
    try {
        return zbior.isOpen() && zbior.recordCount() > 0;
    } catch (const DataError &) {
        return false;
    }
}

int TWnioskiFrm::WybranyWniosek()
{
    return jestRekord(0) ? dm.Vzmy.field(QStringLiteral("VzmId")).asInteger() : 0;
}

int TWnioskiFrm::WybranaFaktura()
{
    const int lista = AktywnaLista();
    return jestRekord(lista) ? dm.ListaFaktur(lista).field(FaktId).asInteger() : 0;
}

void TWnioskiFrm::UstawPrzyciski()
{
    const bool wnioski = jestRekord(0);
    for (QPushButton *button : {WnPoprawBtn, WnUsunBtn, WnPodgladBtn, WnNadrukBtn, ZlDodajBtn, ZlWczytajBtn})
        button->setEnabled(wnioski);
    const bool faktury = jestRekord(AktywnaLista());
    for (QWidget *control :
         std::initializer_list<QWidget *>{ZlPoprawBtn, ZlUsunBtn, ZlPodgladBtn, ZlNadrukBtn, ZlZapiszBtn, SzukajBox})
        control->setEnabled(faktury);
}

void TWnioskiFrm::UstawStatus()
{
    for (QLabel *panel : StatusBar)
        panel->clear();
    const int lp = dm.NrWiersza(AktywnaLista(), WybranaFaktura());
    if (lp <= 0)
        return;
    m_faktInfo.Ustaw(lp);
    StatusBar[0]->setText(QStringLiteral(" Załącznik: %1").arg(m_faktInfo.NrZal()));
    StatusBar[1]->setText(QStringLiteral(" Strona: %1").arg(m_faktInfo.Strona()));
    StatusBar[2]->setText(QStringLiteral(" Pozycja: %1").arg(m_faktInfo.Pozycja()));
    StatusBar[3]->setText(QStringLiteral(" Lp: %1").arg(lp));
}

bool TWnioskiFrm::EdytujWniosek()
{
    TVZM1_3Frm editor(dm, Vzm_3, m_window, this);
    if (m_okna.OtworzNotatki)
        editor.UstawOtwieranieNotatek(m_okna.OtworzNotatki);
    if (m_okna.DrukujRozliczenie)
        editor.UstawDrukRozliczenia(m_okna.DrukujRozliczenie);
    return editor.Edytuj();
}

void TWnioskiFrm::WnDodajBtnClick()
{
    if (Vzm_3.Wczytaj(m_podatId, 0) && EdytujWniosek()) {
        Odswiez();
        dm.Vzmy.last();
    }
    UstawPrzyciski();
}

void TWnioskiFrm::WnPoprawBtnClick()
{
    const int vzmId = WybranyWniosek();
    if (vzmId > 0 && Vzm_3.Wczytaj(m_podatId, vzmId) && EdytujWniosek()) {
        // Back on the same application, without the grid flickering through
        // the first row in between.
        dm.Vzmy.disableControls();
        try {
            dm.Vzmy.close();
            dm.Vzmy.open();
            dm.Vzmy.locate(QStringLiteral("VzmId"), vzmId);
        } catch (const DataError &) {
            // the list shows what could be read
        }
        dm.Vzmy.enableControls();
        OtworzFaktury();
    }
    UstawPrzyciski();
}

void TWnioskiFrm::WnUsunBtnClick()
{
    if (!jestRekord(0) || !dm.Potwierdz(QStringLiteral("Usunąć wniosek z wykazu?"))
        || !dm.PotwierdzUwaga(QStringLiteral("Uwaga!!! Usunięcie wniosku spowoduje skasowanie wszystkich\r"
                                             "faktur wprowadzonych do tego wniosku.\r\rUsunąć wniosek z wykazu?"))) {
        return;
    }
    try {
        const int usuwany = WybranyWniosek();
        dm.Vzmy.prior();
        const int poprzedni = WybranyWniosek();
        // The application goes with its further entries, its invoices and
        // their amount lines, all or nothing.
        dm.UsunWniosek(usuwany);
        Odswiez();
        if (!dm.Vzmy.locate(QStringLiteral("VzmId"), poprzedni))
            dm.Vzmy.first();
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        Odswiez();
    }
    UstawPrzyciski();
}

void TWnioskiFrm::WnPodgladBtnClick()
{
    if (Vzm_3.Wczytaj(m_podatId, WybranyWniosek()))
        m_okna.PodgladWniosku();
}

void TWnioskiFrm::WnNadrukBtnClick()
{
    if (Vzm_3.Wczytaj(m_podatId, WybranyWniosek()))
        m_okna.NadrukWniosku();
}

void TWnioskiFrm::ZlDodajBtnClick()
{
    // The data module renumbers the list after every stored invoice.
    m_okna.NowaFaktura(WybranyWniosek(), AktywnaLista());
    UstawPrzyciski();
    UstawStatus();
}

void TWnioskiFrm::ZlWczytajBtnClick()
{
    const int lista = AktywnaLista();
    if (m_okna.WczytajFaktury(WybranyWniosek(), lista) > 0)
        dm.Numeruj(lista);
    UstawPrzyciski();
    UstawStatus();
}

void TWnioskiFrm::ZlPoprawBtnClick()
{
    m_okna.PoprawFakture(WybranyWniosek(), AktywnaLista());
    UstawPrzyciski();
    UstawStatus();
}

void TWnioskiFrm::ZlUsunBtnClick()
{
    const int lista = AktywnaLista();
    if (!jestRekord(lista))
        return;
    Query &faktury = dm.ListaFaktur(lista);
    const QString numer = faktury.field(QStringLiteral("NrFakt")).asString().trimmed();
    if (!dm.Potwierdz(QStringLiteral("Usunąć fakurę nr ") + numer + QStringLiteral(" z wykazu?")))
        return;
    try {
        // Its amount lines go with it; the lists renumber themselves.
        dm.UsunFakture(faktury.field(FaktId).asInteger());
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
    }
    UstawPrzyciski();
    UstawStatus();
}

bool TWnioskiFrm::WczytajZalacznik()
{
    const int lista = AktywnaLista();
    const int vzmId = WybranyWniosek();
    const int liczba = dm.LiczbaZal(vzmId, lista);
    int nrZal = 1;
    if (liczba >= 2) {
        const std::optional<int> wybrany = m_okna.WybierzZalacznik(liczba, lista);
        if (!wybrany)
            return false;
        nrZal = *wybrany;
    }
    return VZMab.Wczytaj(m_podatId, vzmId, lista, nrZal);
}

void TWnioskiFrm::ZlPodgladBtnClick()
{
    if (WczytajZalacznik())
        m_okna.PodgladZalacznika();
}

void TWnioskiFrm::ZlNadrukBtnClick()
{
    if (WczytajZalacznik())
        m_okna.NadrukZalacznika();
}

void TWnioskiFrm::SzukajClick()
{
    const QString numer = EdNrFakt->text().trimmed();
    if (numer.isEmpty() || !SzukajBox->isEnabled())
        return;
    try {
        dm.ListaFaktur(AktywnaLista())
            .locate(QStringLiteral("NrFakt"), numer, LocateOption::CaseInsensitive | LocateOption::PartialKey);
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
    }
}
