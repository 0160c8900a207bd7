#pragma once

class QGroupBox;
class QProgressBar;
class QWidget;

// The "Zaawansowanie" group of the import windows with its progress bar
// `Postep` (0 of 100 until an import sets its range).
QGroupBox *GrupaZaawansowania(QWidget *parent, QProgressBar *&postep);
