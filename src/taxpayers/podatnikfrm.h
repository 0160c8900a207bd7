#pragma once

#include "taxpayers/znacznikipol.h"
#include "widgets/fieldmark.h"
#include "widgets/oknoedycji.h"

#include <QList>

class MaskedLineEdit;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TDM;

// "Dane ewidencyjne": adds a taxpayer or corrects the current one, with the
// spouse's data on a second tab. While the user types it completes names and
// address parts from earlier taxpayers, and it marks wrong NIP, PESEL and
// account numbers in red. Created once and reused; each opening starts empty.
// "Anuluj", Esc and the close box ask before dropping what was typed.
class TPodatnikFrm : public OknoEdycji
{
    Q_OBJECT
public:
    explicit TPodatnikFrm(TDM &dm, QWidget *parent = nullptr);

    // Each prepares its mode and shows the window modally; answers the result.
    int NowyPodatnik();
    int PoprawPodatnika();

    // The preparations alone: add mode with the defaults of Domysl, or
    // correct mode with the current taxpayer's data.
    void PrzygotujNowyPodatnik();
    void PrzygotujPoprawePodatnika();
    bool TrybDodawania() const { return m_dodawanie; }

    void CzyscPola();
    void WczytajPola();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls of one person: the taxpayer or the spouse.
    struct Osoba
    {
        MaskedLineEdit *NIP = nullptr;
        MaskedLineEdit *Pesel = nullptr;
        QLineEdit *Nazwisko = nullptr;
        QLineEdit *Imie = nullptr;
        QLineEdit *Dokument = nullptr;
        MaskedLineEdit *Konto = nullptr;
        QLineEdit *Kraj = nullptr;
        QLineEdit *Wojew = nullptr;
        QLineEdit *Powiat = nullptr;
        QLineEdit *Gmina = nullptr;
        QLineEdit *Ulica = nullptr;
        QLineEdit *Posesja = nullptr;
        QLineEdit *Lokal = nullptr;
        QLineEdit *Miasto = nullptr;
        QLineEdit *KodPoczt = nullptr;
        QLineEdit *Poczta = nullptr;
    };
    // A control and the Podatnik field it edits.
    struct Powiazanie
    {
        QLineEdit *kontrolka;
        QString pole;
    };

    QWidget *ZbudujStrone(Osoba &osoba, bool malzonek);
    QWidget *ZbudujAdres(Osoba &osoba, bool malzonek);
    QLineEdit *NowePole(const QString &nazwa, const QString &pole, QLineEdit *kontrolka = nullptr);
    QPushButton *NowyPrzycisk(const QString &nazwa, const QString &tekst);
    void PierwszePole();

    void FormActivate();
    void SprawdzNIPy();
    void SprawdzPesele();
    void SprawdzKonta();
    void PokazZnaczniki(MaskedLineEdit &podatnika, MaskedLineEdit &malzonka,
                        ZnacznikiPary (*regula)(QStringView, QStringView));
    void NazwBtnClick();
    void UstawBtnClick();
    void PostBtnClick();
    bool ZapiszPodatnika();
    void BrakDanej(QLineEdit &kontrolka, const QString &komunikat);

    TDM &dm;
    bool m_dodawanie = true;
    QTabWidget *Zakladki = nullptr;
    Osoba podatnik;
    Osoba malzonek;
    QLineEdit *EdUrzad = nullptr;
    QPushButton *NazwBtn = nullptr;
    QPushButton *UstawBtn = nullptr;
    QPushButton *PostBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QList<Powiazanie> m_pola;
    QList<QWidget *> m_kolejnosc; // the order of the Tab key
};
