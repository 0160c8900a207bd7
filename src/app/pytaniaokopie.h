#pragma once

#include "widgets/wyborpliku.h"

#include <QDate>

// Where the dialogs of "Kopia zapasowa bazy danych…" and "Odtwórz bazę danych
// z kopii…" open. A backup goes, as suggested, where the last one went (else
// to the documents folder), and that folder is remembered in the registry. A
// restore opens among the automatic copies, newest first, with the folder of
// the last backup one click away, and never at the database itself.
namespace PytaniaOKopie {

PytanieOPlik Kopia(const QDate &dzis);
PytanieOPlik Odtworzenie(const QString &katalogBazy);
// Remembers the folder of a backup just written.
void ZapamietajKopie(const QString &plik);
// The folder of the last backup, or the documents folder before any.
QString FolderKopii();

} // namespace PytaniaOKopie
