#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;
class TDM;

// "System → Baza danych…": where the database is, a folder on this computer
// or a PostgreSQL server; the connection can be tried before it is saved,
// and a folder database moved onto an empty server ("Przenieś bazę na
// serwer…"). Saving records the choice and opens the tables there. A
// password is never saved: it comes from PostgreSQL's password file, or is
// asked for when the connection is tried and kept for the run.
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
    // What is wrong with the server's connection, empty when it works (the
    // password asked for when the server wants one).
    QString Sprawdz();

    TDM &dm;
    QWidget *m_serwerPola;
    class QPushButton *m_przenies;
};
