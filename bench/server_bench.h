#pragma once

#include <QString>

class Database;
class MessageBoxes;
class Report;
struct GeneratedRegister;

// The data lines and the windows on the same register on a PostgreSQL
// server (`conninfo`, a database the role owns; the register is copied there
// from `folder` the first time), each beside the same statements through
// bare libpq. `settingsRoot` holds the program's settings of the run.
void benchServer(Report &report, MessageBoxes &boxes, const QString &settingsRoot, Database &folder,
                 const GeneratedRegister &reg, const QString &conninfo);
