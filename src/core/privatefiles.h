#pragma once

#include <QString>

// Files that hold personal data are for their owner alone: folders 0700,
// files 0600, whatever the umask says.
namespace PrivateFiles {

// Makes every file and folder the process creates from now on its owner's
// alone (umask 077); the program and its installer call it first thing.
void restrictNewFiles();

// Takes the rights of the group and of others from `path`, a file or a
// folder; nothing when it does not exist. Answers whether it is private.
bool restrict(const QString &path);

// Makes the folder `path` with its parents when missing, and the folder
// itself private where the system lets it. Answers whether it exists.
bool makeFolder(const QString &path);

// Why a file cannot be written in `folder`, in Polish, found by trying:
// "brak miejsca na dysku", "brak prawa zapisu w folderze", "błąd zapisu na
// dysku (kod systemu N)"; empty when a file can be written there.
QString writeFailure(const QString &folder);

// The Polish reason of the system's error `errorNumber` (an errno) in
// writing a file.
QString systemReason(int errorNumber);

} // namespace PrivateFiles
