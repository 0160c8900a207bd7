#pragma once

#include <QString>

class QApplication;
class QCoreApplication;
class TDM;

// What the program sets up before its first window: its names (the
// application title "Tarlen", which also places the settings file), Qt's own
// dialogs in Polish, the substitutes of the classic Windows fonts, the icons.
void prepareApplication(QApplication &app);

// Qt's own texts (the font, print and file dialogs, the edit menu of every
// text field, the buttons of message boxes) in Polish, and Polish as the
// default locale. The translation is read from `directory`, Qt's own
// translations when it is empty. Answers whether the translation is in
// place; without it those texts stay English and the program runs on.
// Installs it once, however often it is called.
bool installPolishTranslation(QCoreApplication &app, const QString &directory = {});

// Opens the data module's tables, first making the database when none is
// recorded yet (the first start). A damaged or missing database file is
// named and the sound automatic backups are offered, newest first; a
// damaged file is left as it is unless the user takes a backup. Answers whether the tables are open; every failure has been told.
bool OtworzBazeDanych(TDM &dm);

// After the database was found unsound or missing, at start or later: the
// sound automatic backups are offered. Answers whether the tables are
// open again.
bool ZastapUszkodzonaBaze(TDM &dm);
