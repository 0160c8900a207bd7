#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <thread>

struct sqlite3;

// SQLite's check of a whole database file, read on a connection and a thread
// of its own while the program goes on with its work: it reads every page
// of the file, so it takes as long as the file is big.
//
// A file is sound when PRAGMA integrity_check finds nothing: the same check
// for the database at start, for every copy made and for every copy
// restored. (quick_check passes a table whose row is missing from its index;
// a copy of such a file would then be refused when it is needed.)
//
// The connection is read-only and its own: the check never writes, and it
// sees the file as committed (a save interrupted by a crash must already
// have been rolled back by the program's connection).
class IntegrityCheck
{
public:
    enum class Verdict { Sound, Damaged, NotADatabase, Unreadable, Stopped };
    struct Answer
    {
        Verdict verdict = Verdict::Unreadable;
        QString error; // SQLite's own words, when the file could not be read through
        int code = 0;  // and SQLite's (extended) code
    };

    // The check that tells a sound file.
    static constexpr const char *WholeFile = "PRAGMA integrity_check";

    // Runs `pragma` (WholeFile, or a check of one table) on `db` and judges
    // its answer.
    static Answer check(sqlite3 *db, const char *pragma);
    // Runs WholeFile on `db` with the file's pages kept in memory (up to
    // 256 MB): the check looks up every index entry in its table, and with
    // the default cache it takes three times as long.
    static Answer checkWhole(sqlite3 *db);

    // Begins the check of `path`; `answered` is called on the check's thread
    // once the answer is known (never when the check was stopped).
    IntegrityCheck(const QString &path, std::function<void()> answered);
    // Stops a check still running, and waits for its thread.
    ~IntegrityCheck();
    IntegrityCheck(const IntegrityCheck &) = delete;
    IntegrityCheck &operator=(const IntegrityCheck &) = delete;

    // Waits until the check has answered.
    const Answer &wait();

private:
    void run(const std::function<void()> &answered);

    sqlite3 *m_db = nullptr;
    std::atomic<bool> m_stop = false;
    Answer m_answer;
    std::thread m_thread;
};
