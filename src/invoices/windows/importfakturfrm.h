#pragma once

#include "invoices/windows/importfaktur.h"
#include "widgets/wyborpliku.h"

#include <QDialog>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TDM;
class WierszeImportuModel;

// "Wczytaj faktury z pliku": the preview of a spreadsheet's invoices before
// they are stored into one list of an application. It shows every row with
// its verdict, the mapping of columns to the invoice's fields, which the
// user may change, and the sheet of a workbook; "&Wczytaj zaznaczone"
// stores the chosen rows, all or none. The rules are TImportFaktur's.
class TImportFakturFrm : public QDialog
{
    Q_OBJECT
public:
    TImportFakturFrm(TDM &dm, int VzmId, int lista, QWidget *parent = nullptr);
    ~TImportFakturFrm() override;

    // Reads the file into the window; a file that cannot be read is told
    // the user with the place of the fault, and answers false.
    bool Otworz(const QString &plik);
    TImportFaktur &Import() { return m_import; }
    // The invoices stored when the window was closed; 0 when none.
    int Zapisanych() const { return m_zapisanych; }

private:
    bool WczytajArkusz(const QString &arkusz);
    void Pokaz();
    void PokazPrzypisanie();
    void PokazPodsumowanie();
    void WczytajClick();

    TDM &dm;
    TImportFaktur m_import;
    QString m_plik;
    int m_zapisanych = 0;
    bool m_pokazywanie = false;

    QLabel *m_plikLbl;
    QComboBox *m_arkusz;
    std::array<QComboBox *, LiczbaPolArkusza> m_przypisanie{};
    QTableView *m_siatka;
    std::unique_ptr<WierszeImportuModel> m_model;
    QLabel *m_podsumowanie;
    QPushButton *m_wczytaj;
    QPushButton *m_anuluj;
};

// Asks for a spreadsheet and shows its invoices for list `lista` of the
// application; answers the number stored.
int WczytajFakturyZPliku(TDM &dm, int VzmId, int lista, QWidget *parent, const WyborPliku &wybor);
// Asks for a file and writes the list's invoices to it: XLSX when its name
// ends so, otherwise CSV. A file that cannot be written is told the user.
bool ZapiszFakturyDoPliku(TDM &dm, int VzmId, int lista, QWidget *parent, const WyborPliku &wybor);
