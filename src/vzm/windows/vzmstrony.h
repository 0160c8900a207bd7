#pragma once

class QWidget;

// The four pages of the VZM-1 form as the application editor shows them,
// laid out like the printed form: section headings, explanations and one grid
// box per position with its number and caption. The editing controls are
// created here under the names of what they edit (FNip, F45, F57_1, F47Lbl …)
// and in the order the Tab key visits them; what each control writes into
// the form model is the window's business, which finds them by name.
namespace StronyVzm {

QWidget *Strona1();
QWidget *Strona2();
QWidget *Strona3();
QWidget *Strona4();

} // namespace StronyVzm
