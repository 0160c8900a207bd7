#pragma once

// The fixture of the tests: a private world for each test (settings, the
// program's registry and a database made by the installer), scripted message
// boxes, and helpers that store records through the data module's tables.

#include "data/messageboxes.h"
#include "data/tdm.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>
#include <QtTest/qtestcase.h>

#include <memory>

// Answers the program's message boxes in tests and remembers what they said.
// Answers to the questions are given beforehand, in order; a question with
// no answer left gets "No". Warnings and information are only remembered. A
// choice takes the next answer too: "Yes" picks the first entry, or the one
// given by pick().
// A question for a password takes the next of type(); none left: cancelled.
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    void answer(bool yes) { m_answers.append(yes); }
    void pick(int index) { m_picks.append(index); }
    void type(const QString &password) { m_passwords.append(password); }
    bool ask(const MessageRequest &request) override;
    int choose(const MessageRequest &request) override;
    std::optional<QString> askPassword(const MessageRequest &request) override;

    const QList<MessageRequest> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear();

private:
    QList<bool> m_answers;
    QList<int> m_picks;
    QStringList m_passwords;
    QList<MessageRequest> m_shown;
};

// Whether the tests run on the PostgreSQL test server (TARLEN_TEST_STORE=serwer,
// the server in TARLEN_TEST_SERWER as test.sh starts it) instead of a folder.
bool testsOnServer();
// Skips the rest of a test that checks what only the folder's SQLite file has.
#define SKIP_ON_SERVER(why)                                                                                            \
    do {                                                                                                               \
        if (testsOnServer())                                                                                           \
            QSKIP(why);                                                                                                \
    } while (false)

// A database of its own on the test server, copied from the one the
// installer made there; dropped with the object.
class ServerDatabase
{
public:
    // `withTables` false: an empty database, as an office creates it.
    explicit ServerDatabase(bool withTables = true);
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase &) = delete;
    ServerDatabase &operator=(const ServerDatabase &) = delete;
    QString conninfo() const { return m_conninfo; }

private:
    QString m_name;
    QString m_conninfo;
};

// A private world for one test: the settings and the program's registry in a
// temporary directory, and a database made by the installer, recorded as the
// program's database (a folder, or a database of its own on the test server).
class TestEnvironment
{
public:
    explicit TestEnvironment(bool withDatabase = true);
    ~TestEnvironment();
    // The database on the test server, when the tests run there.
    ServerDatabase *server() const { return m_server.get(); }

    QString root() const { return m_root.path(); }
    QString databaseDirectory() const { return m_root.filePath(QStringLiteral("baza")); }
    QString databaseFile() const;
    // Records `directory` as the program's database directory.
    void setDatabaseDirectory(const QString &directory);

private:
    QTemporaryDir m_root;
    std::unique_ptr<ServerDatabase> m_server;
};

// The first column of every row of `sql`, read on a connection of its own
// past the program's, as another program would: the values joined by ",",
// "<null>" for an empty field, "<no row>" when there is none.
QString readOnOwnConnection(const TestEnvironment &env, const QString &sql);

// The surnames of the register's taxpayers, in the order they were added;
// of `db`, or of the copy file `plik` (opened read-only).
QStringList surnames(Database &db);
QStringList surnamesInCopy(const QString &plik);

// Files with a temporary name anywhere below `root` (".<name>.tmp-…"), and
// registers of them ("….tymczasowe").
QStringList temporaryLeftovers(const QString &root);

// Makes every `event` ("INSERT", "UPDATE", "DELETE") on `table` fail inside
// the store, as a fault of the store would, until removeFailure.
void injectFailure(Database &db, const QString &table, const QString &event);
void removeFailure(Database &db, const QString &table);

// Stores a taxpayer with the given field values (field name -> value, in the
// field's own type or as text) through the taxpayers' table; answers its
// PodatId. Fields not given keep the table's defaults.
int addTaxpayer(TDM &dm, const QVariantMap &fields);

// One stored value of `table`'s record whose `keyField` holds `id`, read
// past the data module's datasets; null when there is no such record.
QVariant storedValue(TDM &dm, const QString &table, const QString &keyField, int id, const QString &field);

// A test environment with the data module opened on its database, and
// helpers that store taxpayers, applications and invoices through the
// module's tables.
class TestDatabase
{
public:
    TestEnvironment env; // before the data module: it records the database directory
    ScriptedMessageBoxes boxes;
    TDM dm{boxes};

    TestDatabase();

    // Appends a record with the given field values; answers its key field.
    static int addRecord(Dataset &table, const QVariantMap &fields, const QString &keyField);

    int addTaxpayer(const QVariantMap &fields);
    // An application (VZMy) of the taxpayer; answers its VzmId.
    int addApplication(int podatId, QVariantMap fields = {});
    // The further entries (VZMw3) of an application.
    void addFurtherEntries(int vzmId, QVariantMap fields = {});
    // An invoice of the application in list "A", "B" or "C"; answers its FaktId.
    int addInvoice(int vzmId, const QString &list, QVariantMap fields = {});

    // Every row of a stored table in storage order, to see whether anything changed.
    QList<SqlRow> storedRows(const QString &table);
    QVariant storedValue(const QString &table, const QString &keyField, int id, const QString &field);
    // The error list as "position|message" lines, in its order.
    QStringList errorList();
};
