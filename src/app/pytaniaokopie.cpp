#include "app/pytaniaokopie.h"

#include "core/registry.h"
#include "data/kopiezapasowe.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace PytaniaOKopie {

namespace {

const QString Klucz = QStringLiteral("FolderKopiiZapasowej");
const QString Filtr = QStringLiteral("Kopie bazy danych (*.sqlite);;Wszystkie pliki (*)");

} // namespace

QString FolderKopii()
{
    const std::optional<QString> ostatni = readRegistryValue(ProgramVersion, Klucz);
    if (ostatni && QDir(*ostatni).exists())
        return *ostatni;
    const QString dokumenty = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(dokumenty).exists() ? dokumenty : QDir::homePath();
}

void ZapamietajKopie(const QString &plik)
{
    writeRegistryValue(ProgramVersion, Klucz, QFileInfo(plik).absolutePath());
}

PytanieOPlik Kopia(const QDate &dzis)
{
    const QString nazwa = QStringLiteral("tarlen5-kopia-%1.sqlite").arg(dzis.toString(QStringLiteral("yyyy-MM-dd")));
    return {true, QStringLiteral("Kopia zapasowa bazy danych"), QDir(FolderKopii()).filePath(nazwa), Filtr,
            {FolderKopii()}};
}

PytanieOPlik Odtworzenie(const QString &katalogBazy)
{
    const QString automatyczne = KopieZapasowe::KatalogKopii(katalogBazy);
    const QString start = QDir(automatyczne).exists() ? automatyczne : FolderKopii();
    return {false, QStringLiteral("Odtwórz bazę danych z kopii"), start, Filtr, {automatyczne, FolderKopii()}, true};
}

} // namespace PytaniaOKopie
