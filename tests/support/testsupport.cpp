#include "support/testsupport.h"

#include "data/database.h"
#include "data/installer.h"
#include "core/registry.h"

#include <QSettings>
#include <QStandardPaths>

bool ScriptedMessageBoxes::ask(const MessageRequest &request)
{
    m_shown.append(request);
    if (request.kind == MessageRequest::Kind::Warning)
        return true;
    return !m_answers.isEmpty() && m_answers.takeFirst();
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
