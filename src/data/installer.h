#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Creates a new database directory as the installation brings it: the twelve
// tables, empty, with the lists of first names and of building materials,
// one default-parameters record and a correction record for every printed
// overprint field. Nothing is left behind when it fails.
namespace Installer {

// Asked when `directory` holds no database but its "kopie" folder holds
// automatic copies of one (it was deleted or moved away): `text` says so and
// asks a Yes/No question. With a sound copy the question is whether to
// restore the newest instead of creating an empty database; without one,
// whether to create an empty database all the same. An empty database is
// made only after the copies are moved into a folder of their own inside
// "kopie", where the rotation of copies never deletes them. Without a
// question nothing is made beside such copies.
using CopiesQuestion = std::function<bool(const QString &text)>;

// Throws DataError when a database already exists in `directory` or the
// database cannot be written. Answers a line for each thing done. The
// folder and the database are for their owner alone.
QStringList install(const QString &directory, const CopiesQuestion &ask = {});

// install, then records `directory` as the program's database directory.
QStringList installInto(const QString &directory, const CopiesQuestion &ask = {});

// The installation the program needs to start: the database in the recorded
// directory, or else in the user's data directory, created when it is not
// there yet, and that directory recorded as the program's. Answers a line for
// each thing done; throws DataError with the reason when it cannot.
QStringList installDefault(const CopiesQuestion &ask = {});

} // namespace Installer
