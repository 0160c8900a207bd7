#pragma once

#include <QString>
#include <QStringList>

// The temporary files that hold personal data (a copy of the database being
// written, checked or restored) are entered in a register beside the
// database ("tarlen5.sqlite.tymczasowe") before they are made, and leave it
// once renamed or removed. A run killed in between leaves the entry, and the
// next start removes the file: no partial copy stays for ever, wherever the
// user chose to write it. Only files with a temporary name are ever removed.
namespace TemporaryFiles {

QString registerOf(const QString &databaseFile);

// A new temporary name beside `target` (".<name>.tmp-XXXXXXXX"), entered in
// the register of `databaseFile`, and the file made empty, for its owner
// alone. Throws DataError when either cannot be written.
QString create(const QString &databaseFile, const QString &target);

// The file at `path` was renamed or removed: its entry goes.
void release(const QString &databaseFile, const QString &path);

// Removes the files the register names (with their SQLite journals) and
// the register itself; answers the files removed.
QStringList removeLeftovers(const QString &databaseFile);

} // namespace TemporaryFiles
