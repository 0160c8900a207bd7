#pragma once

#include <QString>

#include <functional>

class QWidget;

// Where the previous version's tables lie, when its recorded path does not
// lead to them: the user is asked for the directory.

// Asks for a directory, starting at `start`; answers it, or an empty text
// when the user cancelled. The import windows hold one, so that tests can
// answer it without a modal dialog.
using WyborKatalogu = std::function<QString(QWidget *parent, const QString &start)>;

// The platform's directory dialog, captioned in Polish.
QString WybierzKatalogPoprzedniej(QWidget *parent, const QString &start);

// The directory to read the previous table `nazwa` from: `katalog` when the
// table is there (in any letter case); otherwise the one `wybor` answers,
// and `katalog` again when it answers nothing. `wybrany` tells whether the
// answer came from the user.
QString KatalogPoprzedniej(const QString &katalog, const QString &nazwa, QWidget *parent, const WyborKatalogu &wybor,
                           bool *wybrany = nullptr);

// Records `katalog` as the previous version's path, where
// TDM::SciezkaPoprzedniej() reads it, so the next import goes straight there.
void ZapamietajKatalogPoprzedniej(const QString &katalog);
