#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;
class TDM;

// "System → Baza danych…": where the database is, a folder on this computer
// or a PostgreSQL server; the connection can be tried before it is saved,
// and a folder database moved onto an empty server ("Przenieś bazę na
// serwer…"). Saving records the choice and opens the tables there. The
// password is never asked here: it stays in PostgreSQL's password file.
class TBazaDanychFrm : public QDialog
{
    Q_OBJECT
public:
    TBazaDanychFrm(TDM &dm, QWidget *parent = nullptr);

    QRadioButton *FolderRadio;
    QLineEdit *EdFolder;
    QRadioButton *SerwerRadio;
    QLineEdit *EdHost;
    QSpinBox *EdPort;
    QLineEdit *EdBaza;
    QLineEdit *EdUzytkownik;

    QString Polaczenie() const;
    void SprawdzBtnClick();
    void PrzeniesBtnClick();
    void PostBtnClick();

private:
    void UstawDostepnosc();

    TDM &dm;
    QWidget *m_serwerPola;
    class QPushButton *m_przenies;
};
