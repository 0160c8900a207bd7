#pragma once

#include <QString>

class MessageBoxes;
class Report;

// Times the start of the program until its register is drawn, on an empty
// database and on the full register, and the checked backup of the full
// register per 100 MB of database.
void benchStart(Report &report, MessageBoxes &boxes, const QString &settingsRoot, const QString &emptyDirectory,
                const QString &fullDirectory);
