#pragma once

#include <QString>

class Report;
class MessageBoxes;

// Times the import of the previous version's taxpayers: a Podatnik.DB of N
// taxpayers written with pxlib (one in ten already in the register), read
// and imported through the import window into a register of N taxpayers,
// for N = 1,000 and 10,000. Beside each figure the same read of the table,
// duplicate look-ups and inserts made with the bare sqlite3 API; then the
// time per record of both sizes (a linear import keeps it) and the longest
// wait between two moves of the progress bar. The sellers' import the same
// way, with Firmy.DB. Needs a QApplication. The databases lie in `onDisk`,
// on the disk where the program's databases live: the import commits there,
// and a commit on a disk costs a sync, which memory would hide.
void benchImport(Report &report, MessageBoxes &boxes, const QString &onDisk);
