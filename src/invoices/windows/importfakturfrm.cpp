#include "invoices/windows/importfakturfrm.h"

#include "data/dataerror.h"
#include "data/tdm.h"
#include "spreadsheet/csv.h"
#include "spreadsheet/xlsx.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The captions of the mapping, with their accelerators.
const char *const Etykiety[LiczbaPolArkusza] = {"&Numer faktury",  "&Data wystawienia", "N&IP sprzedawcy",
                                                 "Na&zwa sprzedawcy", "&Kod sprzedawcy", "&Lp. z faktury",
                                                 "Kwota &brutto",   "VAT kol. &5",      "VAT kol. &6"};

const QString Filtr = QStringLiteral("Arkusze (*.xlsx *.csv);;Skoroszyty XLSX (*.xlsx);;Pliki CSV (*.csv)");

} // namespace

// The rows of the import with their verdicts; the first column's check box
// chooses a row.
class WierszeImportuModel : public QAbstractTableModel
{
public:
    enum Kolumna { KolWczytac, KolWiersz, KolNumer, KolData, KolNip, KolSprzedawca, KolBrutto, KolVatA, KolVatB, KolOcena, Kolumn };

    explicit WierszeImportuModel(TImportFaktur &import) : m_import(import) {}

    void Odswiez()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_import.Wiersze().size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : Kolumn; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *const naglowki[Kolumn] = {"Wczytać", "Wiersz", "Nr faktury", "Data", "NIP",
                                                      "Sprzedawca", "Brutto", "VAT kol. 5", "VAT kol. 6", "Ocena"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromUtf8(naglowki[section]);
        return {};
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const TWierszImportu &w = m_import.Wiersze().at(index.row());
        if (role == Qt::CheckStateRole && index.column() == KolWczytac)
            return w.Wybrany ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::TextAlignmentRole && index.column() >= KolBrutto && index.column() <= KolVatB)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::ToolTipRole && index.column() == KolOcena)
            return w.Uwagi.join(u'\n');
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case KolWiersz: return w.NrWiersza;
        case KolNumer: return w.Dane.NrFakt;
        case KolData: return w.Dane.Data;
        case KolNip: return w.Dane.NipSprzed;
        case KolSprzedawca: return w.NazwaSprzedawcy;
        case KolBrutto: return w.Dane.Brutto.format(2, true);
        case KolVatA: return w.Dane.VatA.format(2, true);
        case KolVatB: return w.Dane.VatB.format(2, true);
        case KolOcena:
            return w.werdykt == TWierszImportu::Werdykt::Dobry ? QStringLiteral("dobra")
                                                               : (w.werdykt == TWierszImportu::Werdykt::Zly ? QStringLiteral("błąd: ")
                                                                                                           : QStringLiteral("uwaga: "))
                                                                     + w.Uwagi.join(QStringLiteral("; "));
        default: return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == KolWczytac && m_import.Wiersze().at(index.row()).werdykt != TWierszImportu::Werdykt::Zly)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::CheckStateRole || index.column() != KolWczytac)
            return false;
        m_import.Wybierz(index.row(), value.toInt() == Qt::Checked);
        emit dataChanged(index, index);
        return true;
    }

private:
    TImportFaktur &m_import;
};

TImportFakturFrm::TImportFakturFrm(TDM &dm, int VzmId, int lista, QWidget *parent)
    : QDialog(parent), dm(dm), m_import(dm, VzmId, lista)
{
    setObjectName(QStringLiteral("TImportFakturFrm"));
    setWindowTitle(QStringLiteral("Wczytaj faktury z pliku do wykazu VZM-1/") + TDM::LiteraListy(lista));

    m_plikLbl = new QLabel;
    m_plikLbl->setObjectName(QStringLiteral("PlikLbl"));
    m_arkusz = new QComboBox;
    m_arkusz->setObjectName(QStringLiteral("ArkuszBox"));
    auto *arkuszLbl = new QLabel(QStringLiteral("A&rkusz:"));
    arkuszLbl->setBuddy(m_arkusz);
    connect(m_arkusz, &QComboBox::currentTextChanged, this, [this](const QString &arkusz) {
        if (!m_pokazywanie)
            WczytajArkusz(arkusz);
    });

    auto *przypisanie = new QGridLayout;
    for (int i = 0; i < LiczbaPolArkusza; ++i) {
        auto *pole = new QComboBox;
        pole->setObjectName(QStringLiteral("Kolumna_%1").arg(int(PolaArkusza[i])));
        auto *etykieta = new QLabel(QString::fromUtf8(Etykiety[i]));
        etykieta->setBuddy(pole);
        przypisanie->addWidget(etykieta, i / 3, (i % 3) * 2);
        przypisanie->addWidget(pole, i / 3, (i % 3) * 2 + 1);
        connect(pole, &QComboBox::currentIndexChanged, this, [this, i](int kolumna) {
            if (m_pokazywanie)
                return;
            m_import.Przypisz(PolaArkusza[i], kolumna);
            Pokaz();
        });
        m_przypisanie[std::size_t(i)] = pole;
    }

    m_model = std::make_unique<WierszeImportuModel>(m_import);
    m_siatka = new QTableView;
    m_siatka->setObjectName(QStringLiteral("WierszeGrid"));
    m_siatka->setModel(m_model.get());
    m_siatka->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_siatka->setSelectionMode(QAbstractItemView::SingleSelection);
    m_siatka->verticalHeader()->hide();
    m_siatka->horizontalHeader()->setStretchLastSection(true);
    auto *siatkaLbl = new QLabel(QStringLiteral("&Faktury z pliku (spacja zaznacza wiersz do wczytania):"));
    siatkaLbl->setBuddy(m_siatka);
    connect(m_model.get(), &QAbstractItemModel::dataChanged, this, &TImportFakturFrm::PokazPodsumowanie);

    m_podsumowanie = new QLabel;
    m_podsumowanie->setObjectName(QStringLiteral("PodsumowanieLbl"));
    m_wczytaj = new QPushButton(QStringLiteral("&Wczytaj zaznaczone"));
    m_wczytaj->setObjectName(QStringLiteral("WczytajBtn"));
    m_wczytaj->setAutoDefault(false);
    m_anuluj = new QPushButton(QStringLiteral("&Anuluj"));
    m_anuluj->setObjectName(QStringLiteral("CancelBtn"));
    m_anuluj->setAutoDefault(false);
    connect(m_wczytaj, &QPushButton::clicked, this, &TImportFakturFrm::WczytajClick);
    connect(m_anuluj, &QPushButton::clicked, this, &QDialog::reject);

    auto *gora = new QHBoxLayout;
    gora->addWidget(m_plikLbl, 1);
    gora->addWidget(arkuszLbl);
    gora->addWidget(m_arkusz);
    auto *dol = new QHBoxLayout;
    dol->addWidget(m_podsumowanie, 1);
    dol->addWidget(m_wczytaj);
    dol->addWidget(m_anuluj);
    auto *uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addLayout(przypisanie);
    uklad->addWidget(siatkaLbl);
    uklad->addWidget(m_siatka, 1);
    uklad->addLayout(dol);
    resize(1000, 600);
}

TImportFakturFrm::~TImportFakturFrm() = default;

bool TImportFakturFrm::Otworz(const QString &plik)
{
    m_plik = plik;
    m_plikLbl->setText(QStringLiteral("Plik: ") + QFileInfo(plik).fileName());
    QStringList arkusze;
    try {
        arkusze = sheetNames(plik);
    } catch (const SpreadsheetError &e) {
        dm.Uwaga(e.message() + QStringLiteral("\rNic nie zostało wczytane."));
        return false;
    }
    {
        const QScopedValueRollback pokazywanie(m_pokazywanie, true);
        m_arkusz->clear();
        m_arkusz->addItems(arkusze);
    }
    m_arkusz->setEnabled(arkusze.size() > 1);
    return WczytajArkusz(arkusze.value(0));
}

bool TImportFakturFrm::WczytajArkusz(const QString &arkusz)
{
    try {
        const Sheet wczytany = readSheet(m_plik, arkusz);
        m_import.Ustaw(wczytany);
    } catch (const SpreadsheetError &e) {
        dm.Uwaga(e.message() + QStringLiteral("\rNic nie zostało wczytane."));
        m_import.Ustaw(Sheet());
        Pokaz();
        return false;
    }
    Pokaz();
    return true;
}

void TImportFakturFrm::Pokaz()
{
    PokazPrzypisanie();
    m_model->Odswiez();
    m_siatka->resizeColumnsToContents();
    PokazPodsumowanie();
}

void TImportFakturFrm::PokazPrzypisanie()
{
    const QScopedValueRollback pokazywanie(m_pokazywanie, true);
    QStringList kolumny{TImportFaktur::NazwaPola(PoleArkusza::Brak)};
    const int naglowek = m_import.WierszNaglowka();
    for (int k = 1; k <= m_import.LiczbaKolumn(); ++k) {
        const QStringList &naglowki = m_import.Arkusz().rows.value(naglowek - 1);
        kolumny << QStringLiteral("%1: %2").arg(columnName(k), naglowki.value(k - 1).simplified().left(30));
    }
    for (int i = 0; i < LiczbaPolArkusza; ++i) {
        QComboBox *pole = m_przypisanie[std::size_t(i)];
        pole->clear();
        pole->addItems(kolumny);
        pole->setCurrentIndex(m_import.Kolumna(PolaArkusza[i]));
    }
}

void TImportFakturFrm::PokazPodsumowanie()
{
    int dobrych = 0, watpliwych = 0, zlych = 0;
    for (const TWierszImportu &w : m_import.Wiersze())
        (w.werdykt == TWierszImportu::Werdykt::Dobry ? dobrych : w.werdykt == TWierszImportu::Werdykt::Zly ? zlych : watpliwych)++;
    const int wybranych = m_import.LiczbaWybranych();
    m_podsumowanie->setText(QStringLiteral("Wierszy: %1 (dobrych %2, z uwagami %3, z błędami %4); do wczytania: %5")
                                .arg(m_import.Wiersze().size())
                                .arg(dobrych)
                                .arg(watpliwych)
                                .arg(zlych)
                                .arg(wybranych));
    m_wczytaj->setEnabled(wybranych > 0);
}

void TImportFakturFrm::WczytajClick()
{
    const QList<TSprzedawca> nowi = m_import.NowiSprzedawcy();
    bool dodaj = false;
    if (!nowi.isEmpty()) {
        QStringList nazwy;
        for (const TSprzedawca &s : nowi.mid(0, 5))
            nazwy << s.NIP + QStringLiteral(" ") + s.Firma;
        dodaj = dm.Potwierdz(QStringLiteral("Sprzedawców z pliku nie ma w rejestrze sprzedawców: %1\r%2%3\r\rDodać ich do rejestru?")
                                 .arg(nowi.size())
                                 .arg(nazwy.join(u'\r'), nowi.size() > 5 ? QStringLiteral("\r…") : QString()));
    }
    try {
        m_zapisanych = m_import.Importuj(dodaj);
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie wczytano żadnej faktury:\r") + e.message());
        return;
    }
    accept();
}

int WczytajFakturyZPliku(TDM &dm, int VzmId, int lista, QWidget *parent, const WyborPliku &wybor)
{
    const QString plik = wybor(parent, {false, QStringLiteral("Wczytaj faktury z pliku"), QString(), Filtr});
    if (plik.isEmpty())
        return 0;
    TImportFakturFrm okno(dm, VzmId, lista, parent);
    if (!okno.Otworz(plik))
        return 0;
    okno.exec();
    return okno.Zapisanych();
}

bool ZapiszFakturyDoPliku(TDM &dm, int VzmId, int lista, QWidget *parent, const WyborPliku &wybor)
{
    const QString plik = wybor(parent, {true, QStringLiteral("Zapisz faktury do pliku"),
                                        QStringLiteral("VZM-1_%1.xlsx").arg(TDM::LiteraListy(lista)), Filtr});
    if (plik.isEmpty())
        return false;
    const QList<OutputRow> wiersze = TImportFaktur(dm, VzmId, lista).Eksport();
    bool zapisany = false;
    if (plik.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        zapisany = Xlsx::write(plik, QStringLiteral("VZM-1 ") + TDM::LiteraListy(lista), wiersze);
    } else {
        QSaveFile plikCsv(plik);
        zapisany = plikCsv.open(QIODevice::WriteOnly) && plikCsv.write(Csv::write(wiersze)) >= 0 && plikCsv.commit();
    }
    if (!zapisany)
        dm.Uwaga(QStringLiteral("Nie udało się zapisać pliku %1.").arg(QDir::toNativeSeparators(plik)));
    return zapisany;
}
