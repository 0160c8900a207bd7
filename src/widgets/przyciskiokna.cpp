#include "widgets/przyciskiokna.h"

#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout *WierszPrzyciskow(QPushButton *zapisz, QPushButton *anuluj)
{
    auto *wiersz = new QHBoxLayout;
    wiersz->addStretch();
    wiersz->addWidget(zapisz);
    wiersz->addWidget(anuluj);
    return wiersz;
}
