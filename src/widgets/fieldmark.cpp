#include "widgets/fieldmark.h"

#include <QColor>
#include <QLineEdit>

namespace {

// The colours of the marks are Windows colour values: 0x00BBGGRR.
QColor kolor(int wartosc)
{
    return QColor(wartosc & 0xFF, (wartosc >> 8) & 0xFF, (wartosc >> 16) & 0xFF);
}

} // namespace

void PokazZnacznik(QLineEdit &edit, const TStanPola &stan)
{
    QPalette paleta = edit.palette();
    paleta.setColor(QPalette::Text, kolor(stan.Kolor));
    edit.setPalette(paleta);
    edit.setToolTip(stan.Pokaz ? stan.Opis : QString());
}
