#include "taxpayers/wyborkatalogu.h"

#include "core/registry.h"
#include "taxpayers/importpoprzedniej.h"

#include <QDir>
#include <QFileDialog>

QString WybierzKatalogPoprzedniej(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Wskaż katalog danych poprzedniej wersji programu Tarlen"),
                                             start, QFileDialog::ShowDirsOnly);
}

QString KatalogPoprzedniej(const QString &katalog, const QString &nazwa, QWidget *parent, const WyborKatalogu &wybor,
                           bool *wybrany)
{
    if (wybrany)
        *wybrany = false;
    if (ImportPoprzedniej::MaTabele(katalog, nazwa) || !wybor)
        return katalog;
    const QDir poczatek(katalog.isEmpty() ? QDir::homePath() : katalog);
    const QString odpowiedz = wybor(parent, poczatek.exists() ? poczatek.absolutePath() : QDir::homePath());
    if (odpowiedz.isEmpty())
        return katalog;
    if (wybrany)
        *wybrany = true;
    return odpowiedz;
}

void ZapamietajKatalogPoprzedniej(const QString &katalog)
{
    // The previous version's own key: it is where its path has always been read.
    writeRegistryValue(ProgramVersion - 1, u"Sciezka", QDir::toNativeSeparators(QDir(katalog).absolutePath()));
}
