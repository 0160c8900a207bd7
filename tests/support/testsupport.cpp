#include "support/testsupport.h"

#include "data/database.h"
#include "data/installer.h"
#include "core/registry.h"

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
    m_shown.clear();
}

TestEnvironment::TestEnvironment(bool withDatabase)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_root.filePath(QStringLiteral("system")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_root.filePath(QStringLiteral("system")));
    if (withDatabase) {
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
    return dm.database().run(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)).rows;
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
