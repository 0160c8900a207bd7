#pragma once

#include <QString>

class QApplication;
class QCoreApplication;

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
