#include "widgets/wyborpliku.h"

#include <QFileDialog>

QString WybierzPlik(QWidget *parent, const PytanieOPlik &pytanie)
{
    return pytanie.zapis ? QFileDialog::getSaveFileName(parent, pytanie.tytul, pytanie.start, pytanie.filtr)
                         : QFileDialog::getOpenFileName(parent, pytanie.tytul, pytanie.start, pytanie.filtr);
}
