#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

#include <sqlite3.h>

// The same reads as the program's, made with the bare sqlite3 C API:
// prepare, bind, step, read, finalize. The baseline of every figure.
class Bare
{
public:
    explicit Bare(const QString &file);
    ~Bare();
    Bare(const Bare &) = delete;
    Bare &operator=(const Bare &) = delete;

    void open();
    // Steps through every row reading every column, handing each row to `row`.
    void query(const QByteArray &sql, const std::function<void(sqlite3_stmt *)> &bind = {},
               const std::function<void(sqlite3_stmt *)> &row = {});
    // Opening checks the whole file first, as the program does at start.
    void openTables();

private:
    QByteArray m_file;
    sqlite3 *m_db = nullptr;
};

void bindText(sqlite3_stmt *st, int i, const QString &s);
