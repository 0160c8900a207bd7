#pragma once

#include <functional>
#include <optional>

class QGroupBox;
class QProgressBar;
class QWidget;
class TDM;

// The "Zaawansowanie" group of the import windows with its progress bar
// `Postep` (0 of 100 until an import sets its range).
QGroupBox *GrupaZaawansowania(QWidget *parent, QProgressBar *&postep);

// Runs `kopiuj` for the records 0 to `liczba` - 1 (it answers whether it
// copied one), moving `postep` before each, then `zatwierdz`. Answers how
// many were copied; a DataError of either is told through `dm` and answers
// nothing. The bar is emptied at the end.
std::optional<int> KopiujZPostepem(TDM &dm, QProgressBar *postep, int liczba, const std::function<bool(int)> &kopiuj,
                                   const std::function<void()> &zatwierdz);
