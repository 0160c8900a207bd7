#pragma once

#include "taxpayers/importpoprzedniej.h"
#include "taxpayers/wyborkatalogu.h"

#include <QDialog>

class QProgressBar;
class QPushButton;
class TDM;

// "Wczytanie danych ewidencyjnych sprzedawców": copies the sellers of the
// previous version whose NIP is not stored yet. Created for one use.
class TWczytajFirmyFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TWczytajFirmyFrm(TDM &dm, QWidget *parent = nullptr,
                              const QString &katalog = QString(),
                              const QString &helperPath = ParadoxTable::defaultHelperPath());

    QProgressBar *Postep = nullptr;
    QPushButton *StartBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

    // Reads the previous Firmy.DB and copies the new sellers. When the
    // previous version's path holds no Firmy.DB, the user is asked for its
    // directory first, and one that could be read is remembered.
    void StartBtnClick();

    // Asks for the previous version's directory; the platform's dialog unless
    // replaced (tests answer it themselves).
    WyborKatalogu WybierzKatalog = WybierzKatalogPoprzedniej;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Wczytaj();

    TDM &dm;
    QString m_katalog;
    QString m_helper;
};
