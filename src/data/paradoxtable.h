#pragma once

#include "data/dataerror.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Why a table of the previous version could not be read, and the message
// that says so.
class ParadoxError : public DataError
{
public:
    enum class Powod {
        BrakPliku,    // no such file, or not a readable file
        BrakCzytnika, // the reader of the tables is missing or does not start
        Czas,         // the reader took longer than the time limit
        Uszkodzona,   // damaged, not such a table, password-protected, or the reader failed
    };
    ParadoxError(Powod powod, const QString &message) : DataError(message), m_powod(powod) {}
    Powod powod() const { return m_powod; }

private:
    Powod m_powod;
};

// A table of the previous version (a Paradox file such as Podatnik.DB or
// Firmy.DB), read whole and read-only for the import.
//
// The file is read by the helper tarlen-pxread in a child process with a time
// limit that grows with the file, so a damaged or hostile file can neither
// crash nor hang the program while a big one on a slow disk is still read.
// Every failure ends in a ParadoxError that tells which: the file missing or
// unreadable, the helper missing, the time limit reached, or the table
// refused (not such a table, damaged, password-protected, the helper
// crashing).
//
// Values: text as QString (code page converted), integers as qint64, numbers
// and money as double, dates as QDate, logical fields as bool; an empty field
// and the fields of other types give a null QVariant.
class ParadoxTable
{
public:
    struct Field
    {
        QString name;
        char type = '?'; // A D S I + N $ L, '?' for the types not read
        int size = 0;
    };
    using Record = QList<QVariant>;

    // The helper beside the program's executable.
    ParadoxTable();
    // The helper at `helperPath`.
    explicit ParadoxTable(const QString &helperPath);

    static QString defaultHelperPath();
    // How long the helper may take for a table: `milliseconds`, and
    // `perMegabyte` more for every megabyte of the file (5 s and 1 s unless set).
    void setTimeLimit(int milliseconds, int perMegabyte = 1000)
    {
        m_timeLimit = milliseconds;
        m_perMegabyte = perMegabyte;
    }
    int timeLimit(qint64 fileSize) const;

    // Reads the table at `path`, replacing what was read before.
    void open(const QString &path);

    const QList<Field> &fields() const { return m_fields; }
    // The field's position, found case-insensitively; -1 when there is none.
    int fieldIndex(const QString &name) const;
    // The records in the order of the table's file.
    const QList<Record> &records() const { return m_records; }
    qsizetype recordCount() const { return m_records.size(); }
    // The value of the named field in record `row`; null for an unknown field.
    QVariant value(qsizetype row, const QString &field) const;

    // Sorts the records by the named text fields, compared the Polish way
    // (case-insensitive, "Ł" after "L", "Ż" after "Z"); records equal in all
    // of them keep their order. Unknown fields are ignored.
    void sortBy(const QStringList &fieldNames);
    // The order of the index "NazwImie" of Podatnik.DB: surname, then first name.
    void sortNazwImie() { sortBy({QStringLiteral("Nazwisko"), QStringLiteral("Imie")}); }

private:
    QString m_helper;
    int m_timeLimit = 5000;
    int m_perMegabyte = 1000;
    QList<Field> m_fields;
    QList<Record> m_records;
};
