#pragma once

#include "core/settingsfile.h"
#include "core/twindow.h"
#include "overprint/drukarka.h"
#include "widgets/wyborpliku.h"

#include <QMainWindow>

#include <memory>

class QLineEdit;
class QTableView;
class QTextEdit;
class QToolButton;
class TDM;
class TPodatnikFrm;
class TVZMab;
class TVzm_3;
class TDrukFrm;
class TWyborZal;
class TWnioskiFrm;
class TFakturaFrm;
class TMaterialyFrm;

// The main window: the register of taxpayers, with the toolbar and menu that
// lead to every other window. It is created before the tables are open and
// touches none then; the register, its buttons and the notes pane follow the
// taxpayers' table from the moment it opens.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Reads the main window's geometry and the print settings from the
    // settings file at `settingsPath`; they are written back there when the
    // window is destroyed.
    explicit TMainForm(TDM &dm, const QString &settingsPath = SettingsFile::defaultPath(),
                       QWidget *parent = nullptr);
    ~TMainForm() override;

    // Once the data module has opened its tables: creates the windows that
    // live for the whole run and are reused at each use.
    void UtworzOkna();

    // The objects the whole program shares: the window placement, the
    // application being edited or printed, and the attachment being printed.
    TWindow &Window() { return m_window; }
    TVzm_3 &Vzm_3() { return *m_vzm3; }
    TVZMab &VZMab() { return *m_vzmab; }
    Drukarka &DrukarkaProgramu() { return m_drukarka; }

    void UstawPrzyciski();

    // Answers the questions for the backup files instead of the platform's
    // file dialog.
    void UstawWyborPliku(WyborPliku wybor) { m_wyborPliku = std::move(wybor); }

signals:
    // The database was found unsound while the program ran, and no copy took
    // its place: the program has nothing to work on.
    void BezBazy();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzPasek();
    void utworzRejestr();
    void utworzMenu();
    void zastosujUstawienia(const SettingsValues &values);
    // Tells the user, once in the run, that the settings cannot be stored.
    void UstawieniaNiezapisane(const QString &plik);
    bool jestPodatnik() const;
    void PokazNotatki();

    void InsertBtnClick();
    void EditBtnClick();
    void DeleteBtnClick();
    void NotatkiBtnClick();
    void WnioskiBtnClick();
    void EdSearchChange(const QString &text);
    void ParametryDomyslneClick();
    void WczytajPodatnikowClick();
    void WczytajFirmyClick();
    void OProgramieClick();
    void OpcjeWydrukuClick();
    void KorektaClick();
    void BazaDanychClick();
    void KopiaZapasowaClick();
    void OdtworzZKopiiClick();
    void BazaOdrzucona();

    TDM &dm;
    SettingsFile m_settingsFile;
    TWindow m_window;
    bool m_zgloszonoUstawienia = false;
    std::unique_ptr<TVzm_3> m_vzm3;
    std::unique_ptr<TVZMab> m_vzmab;
    TPodatnikFrm *m_podatnikFrm = nullptr;
    TWnioskiFrm *m_wnioskiFrm = nullptr;
    TMaterialyFrm *m_materialyFrm = nullptr;
    TFakturaFrm *m_fakturaFrm = nullptr;
    TDrukFrm *m_drukFrm = nullptr;
    TWyborZal *m_wyborZal = nullptr;
    Drukarka m_drukarka; // the program's printer, chosen once for the run
    WyborPliku m_wyborPliku = WybierzPlik;

    QToolButton *InsertBtn;
    QToolButton *EditBtn;
    QToolButton *DeleteBtn;
    QToolButton *NotatkiBtn;
    QToolButton *WnioskiBtn;
    QToolButton *CloseBtn;
    QTableView *DBGrid1;
    QTextEdit *EdNotatki;
    QString m_pokazaneNotatki;
    QLineEdit *EdSearch;
};
