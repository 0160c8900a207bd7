#pragma once

#include <QString>

class Database;
class MessageBoxes;
class Report;
struct GeneratedRegister;

// A register of the benchmark: its folder database and what was generated.
struct BenchRegister
{
    Database &folder;
    const GeneratedRegister &reg;
};

// The data lines on the full register on a PostgreSQL server (`conninfo`,
// a database the role owns), each beside the same statements through bare
// libpq, and the windows on the full and on the small register (in the
// database named as `conninfo`'s with "_maly" after it), beside the same
// reads of the folder through bare sqlite3. A register is copied there from
// its folder the first time.
void benchServer(Report &report, MessageBoxes &boxes, const BenchRegister &full, const BenchRegister &small,
                 const QString &conninfo);
