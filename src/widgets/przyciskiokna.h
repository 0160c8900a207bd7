#pragma once

#include <tuple>
#include <utility>

class QHBoxLayout;
class QPushButton;
class QString;

// A button named `nazwa` that Enter in another control does not press.
QPushButton *NowyPrzycisk(const QString &tekst, const QString &nazwa);

// What Enter does in a dialog: saves ("&Zapisz" is the default button), or
// nothing, where only some fields give it a meaning of their own.
enum class EnterWDialogu { Zapisuje, NicNieRobi };

// The closing buttons of a dialog: "&Zapisz" (PostBtn) and "&Anuluj" (CancelBtn).
using PrzyciskiDialogu = std::pair<QPushButton *, QPushButton *>; // PostBtn, CancelBtn
PrzyciskiDialogu NowePrzyciskiDialogu(EnterWDialogu enter);

// The row of a dialog's closing buttons, at its right edge.
QHBoxLayout *WierszPrzyciskow(QPushButton *zapisz, QPushButton *anuluj);
