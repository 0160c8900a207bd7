#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A table of the previous version (a Paradox file such as Podatnik.DB or
// Firmy.DB), read whole and read-only for the import.
//
// The file is read by the helper tarlen-pxread in a child process with a time
// limit, so a damaged or hostile file can neither crash nor hang the program.
// Every failure (missing, unreadable, not such a table, damaged,
// password-protected, the helper hanging or crashing) ends in a DataError
// "Nie udało się otworzyć pliku: <file name>".
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
    // How long the helper may take for one table (5 s unless set).
    void setTimeLimit(int milliseconds) { m_timeLimit = milliseconds; }

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
    QList<Field> m_fields;
    QList<Record> m_records;
};
