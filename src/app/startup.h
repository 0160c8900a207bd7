#pragma once

class QApplication;

// What the program sets up before its first window: its names (the
// application title "Tarlen", which also places the settings file), the
// substitutes of the classic Windows fonts, the icons.
void prepareApplication(QApplication &app);
