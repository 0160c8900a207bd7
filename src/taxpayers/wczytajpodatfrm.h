#pragma once

#include "taxpayers/importpoprzedniej.h"
#include "taxpayers/wyborkatalogu.h"

#include <QDialog>
#include <QList>

class QListWidget;
class QProgressBar;
class QPushButton;
class TDM;

// "Wczytanie danych podatników": the taxpayers of the previous version not
// stored yet, to tick and copy. Created for one use: Przygotuj(), then exec()
// when it found anything.
class TWczytajPodatFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TWczytajPodatFrm(TDM &dm, QWidget *parent = nullptr,
                              const QString &katalog = QString(),
                              const QString &helperPath = ParadoxTable::defaultHelperPath());

    // Reads the previous table and lists the candidates; when there is none,
    // says so and answers false (the window is then not to be shown). When
    // the previous version's path holds no Podatnik.DB, the user is asked
    // for its directory first, and one that could be read is remembered.
    bool Przygotuj();

    // Asks for the previous version's directory; the platform's dialog unless
    // replaced (tests answer it themselves).
    WyborKatalogu WybierzKatalog = WybierzKatalogPoprzedniej;

    QListWidget *EdLista = nullptr;
    QProgressBar *Postep = nullptr;
    QPushButton *ZaznaczBtn = nullptr;
    QPushButton *StartBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

    // The candidates, one per line of EdLista, each with its record's key.
    const QList<Kandydat> &Kandydaci() const { return m_kandydaci; }

    void ZaznaczBtnClick();
    void StartBtnClick();

private:
    TDM &dm;
    QString m_katalog;
    ImportPoprzedniej Zrod;
    QList<Kandydat> m_kandydaci;
};
