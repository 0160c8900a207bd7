#pragma once

#include "taxpayers/importpoprzedniej.h"

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

    void StartBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Wczytaj();

    TDM &dm;
    QString m_katalog;
    QString m_helper;
};
