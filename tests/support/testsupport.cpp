#include "support/testsupport.h"

#include "data/database.h"
#include "data/installer.h"
#include "data/pgconnection.h"
#include "core/registry.h"

#include <QDirIterator>
#include <QCoreApplication>

#include <sqlite3.h>
#include <QSettings>
#include <QStandardPaths>

bool ScriptedMessageBoxes::ask(const MessageRequest &request)
{
    m_shown.append(request);
    if (request.kind == MessageRequest::Kind::Warning || request.kind == MessageRequest::Kind::Information)
        return true;
    return !m_answers.isEmpty() && m_answers.takeFirst();
}

int ScriptedMessageBoxes::choose(const MessageRequest &request)
{
    m_shown.append(request);
    if (!m_picks.isEmpty())
        return m_picks.takeFirst();
    return !m_answers.isEmpty() && m_answers.takeFirst() ? 0 : -1;
}

std::optional<QString> ScriptedMessageBoxes::askPassword(const MessageRequest &request)
{
    m_shown.append(request);
    if (m_passwords.isEmpty())
        return std::nullopt;
    return m_passwords.takeFirst();
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList list;
    for (const MessageRequest &r : m_shown)
        list << r.text;
    return list;
}

void ScriptedMessageBoxes::clear()
{
    m_answers.clear();
    m_picks.clear();
    m_passwords.clear();
    m_shown.clear();
}

bool testsOnServer()
{
    return qEnvironmentVariable("TARLEN_TEST_STORE") == QLatin1String("serwer");
}

namespace {

QString testServer()
{
    const QString server = qEnvironmentVariable("TARLEN_TEST_SERWER");
    if (server.isEmpty())
        qFatal("TARLEN_TEST_SERWER is not set: the tests on the server run inside test.sh, which starts the server");
    return server;
}

// The databases are made and dropped from the server's own database: the
// installer's one is copied, so nobody may be connected to it.
PgConnection maintenance()
{
    return PgConnection(testServer() + QStringLiteral(" dbname=postgres"));
}

} // namespace

ServerDatabase::ServerDatabase(bool withTables)
{
    static int made = 0;
    m_name = QStringLiteral("tarlen_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    maintenance().execute(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                              .arg(m_name, withTables ? QStringLiteral("tarlen_wzor") : QStringLiteral("template0")));
    m_conninfo = testServer() + QStringLiteral(" dbname=") + m_name;
}

ServerDatabase::~ServerDatabase()
{
    try {
        maintenance().execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const DataError &) {
        // the server goes at the end of the tests, and every database with it
    }
}

TestEnvironment::TestEnvironment(bool withDatabase)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_root.filePath(QStringLiteral("system")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_root.filePath(QStringLiteral("system")));
    if (withDatabase && testsOnServer()) {
        m_server = std::make_unique<ServerDatabase>();
        writeRegistryValue(ProgramVersion, u"Serwer", m_server->conninfo());
    } else if (withDatabase) {
        Installer::install(databaseDirectory());
        setDatabaseDirectory(databaseDirectory());
    }
}

TestEnvironment::~TestEnvironment() = default;

QString TestEnvironment::databaseFile() const
{
    return Database::filePathIn(databaseDirectory());
}

void TestEnvironment::setDatabaseDirectory(const QString &directory)
{
    writeRegistryValue(ProgramVersion, u"Sciezka", directory);
}

QString readOnOwnConnection(const TestEnvironment &env, const QString &sql)
{
    QStringList values;
    const auto add = [&values](const QVariant &v) { values << (v.isNull() ? QStringLiteral("<null>") : v.toString()); };
    if (env.server()) {
        PgConnection connection(env.server()->conninfo());
        for (const SqlRow &row : connection.run(sql, {}, {}).rows)
            add(row.value(0));
    } else {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(env.databaseFile().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            add(sqlite3_column_type(st, 0) == SQLITE_NULL
                    ? QVariant()
                    : QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)))));
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    return values.isEmpty() ? QStringLiteral("<no row>") : values.join(QLatin1Char(','));
}

QStringList surnames(Database &db)
{
    QStringList names;
    for (const SqlRow &r : db.run(QStringLiteral("SELECT Nazwisko FROM Podatnik ORDER BY PodatId")).rows)
        names << r[0].toString();
    return names;
}

QStringList surnamesInCopy(const QString &plik)
{
    Database copy;
    copy.openCopy(plik, Database::Access::ReadOnly);
    return surnames(copy);
}

QStringList temporaryLeftovers(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        if (f.contains(QStringLiteral(".tmp-")) || f.endsWith(QStringLiteral(".tymczasowe")))
            found << f;
    }
    return found;
}

void injectFailure(Database &db, const QString &table, const QString &event)
{
    if (!db.isServer()) {
        db.run(QStringLiteral("CREATE TRIGGER stop_%1 BEFORE %2 ON %1 BEGIN SELECT RAISE(ABORT, 'nie'); END").arg(table, event));
        return;
    }
    db.execute(QStringLiteral("CREATE OR REPLACE FUNCTION tarlen_test_stop() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$ BEGIN RAISE EXCEPTION 'nie'; END $$"));
    db.execute(QStringLiteral("CREATE TRIGGER stop_%1 BEFORE %2 ON %1 FOR EACH ROW EXECUTE FUNCTION tarlen_test_stop()")
                   .arg(table, event));
}

void removeFailure(Database &db, const QString &table)
{
    db.execute(db.isServer() ? QStringLiteral("DROP TRIGGER stop_%1 ON %1").arg(table)
                             : QStringLiteral("DROP TRIGGER stop_%1").arg(table));
}

int addTaxpayer(TDM &dm, const QVariantMap &fields)
{
    return TestDatabase::addRecord(dm.Podatnik, fields, QStringLiteral("PodatId"));
}

QVariant storedValue(TDM &dm, const QString &table, const QString &keyField, int id, const QString &field)
{
    const auto row = dm.database().firstRow(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(field, table, keyField),
                                            {}, {id});
    return row ? row->at(0) : QVariant();
}

TestDatabase::TestDatabase()
{
    if (!dm.OtworzTabele())
        qFatal("the test database cannot be opened");
}

int TestDatabase::addRecord(Dataset &table, const QVariantMap &fields, const QString &keyField)
{
    table.append();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        table.field(it.key()).setValue(it.value());
    table.post();
    return table.field(keyField).asInteger();
}

int TestDatabase::addTaxpayer(const QVariantMap &fields)
{
    return ::addTaxpayer(dm, fields);
}

int TestDatabase::addApplication(int podatId, QVariantMap fields)
{
    fields.insert(QStringLiteral("PodatId"), podatId);
    return addRecord(dm.VzmyTbl, fields, QStringLiteral("VzmId"));
}

void TestDatabase::addFurtherEntries(int vzmId, QVariantMap fields)
{
    fields.insert(QStringLiteral("VzmId"), vzmId);
    addRecord(dm.VzmTbl_3, fields, QStringLiteral("WpisId"));
}

int TestDatabase::addInvoice(int vzmId, const QString &list, QVariantMap fields)
{
    fields.insert(QStringLiteral("VzmId"), vzmId);
    fields.insert(QStringLiteral("Oznacz"), list);
    return addRecord(dm.Faktury, fields, QStringLiteral("FaktId"));
}

QList<SqlRow> TestDatabase::storedRows(const QString &table)
{
    QStringList fields;
    for (const FieldDef &f : tableDef(table).fields)
        fields << f.name;
    return dm.database().run(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(fields.join(u','), table)).rows;
}

QVariant TestDatabase::storedValue(const QString &table, const QString &keyField, int id, const QString &field)
{
    return ::storedValue(dm, table, keyField, id, field);
}

QStringList TestDatabase::errorList()
{
    QStringList list;
    for (dm.BledyTbl.first(); !dm.BledyTbl.eof(); dm.BledyTbl.next())
        list << QStringLiteral("%1|%2").arg(dm.BledyTbl.field(QStringLiteral("NrPola")).asInteger())
                    .arg(dm.BledyTbl.field(QStringLiteral("Opis")).asString());
    return list;
}
