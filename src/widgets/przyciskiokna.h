#pragma once

class QHBoxLayout;
class QPushButton;

// The row of a dialog's closing buttons, at its right edge.
QHBoxLayout *WierszPrzyciskow(QPushButton *zapisz, QPushButton *anuluj);
