#include "core/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(std::optional<QString>)

// Every test gets its own user and machine-wide stores in a fresh directory.
class TestRegistry : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    void useStores(const QString &user, const QString &system)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->filePath(user));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_dir->filePath(system));
    }
    // A directory below a regular file: it cannot be created, not even by root.
    QString blocked()
    {
        QFile file(m_dir->filePath(QStringLiteral("file")));
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("not a directory");
        return QStringLiteral("file/sub");
    }
    static std::optional<QString> storedIn(QSettings::Scope scope, const QString &key)
    {
        QSettings s(QSettings::NativeFormat, scope, QStringLiteral("Morvik"), QStringLiteral("Tarlen"));
        s.setFallbacksEnabled(false);
        const QVariant v = s.value(key);
        return v.isValid() ? std::optional(v.toString()) : std::nullopt;
    }
    static void put(QSettings::Scope scope, const QString &application, const QString &key, const QString &value)
    {
        QSettings s(QSettings::NativeFormat, scope, QStringLiteral("Morvik"), application);
        s.setValue(key, value);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        useStores(QStringLiteral("user"), QStringLiteral("system"));
    }

    void readsMachineWideFirst_data()
    {
        QTest::addColumn<std::optional<QString>>("system");
        QTest::addColumn<std::optional<QString>>("user");
        QTest::addColumn<std::optional<QString>>("found");
        const std::optional<QString> none;
        const std::optional<QString> sys = QStringLiteral("/opt/tarlen/baza");
        const std::optional<QString> usr = QStringLiteral("/home/jan/baza");
        QTest::newRow("both") << sys << usr << sys;
        QTest::newRow("machine-wide only") << sys << none << sys;
        QTest::newRow("user only") << none << usr << usr;
        QTest::newRow("neither") << none << none << none;
        QTest::newRow("empty machine-wide value counts")
            << std::optional<QString>(QString()) << usr << std::optional<QString>(QString());
    }
    void readsMachineWideFirst()
    {
        QFETCH(std::optional<QString>, system);
        QFETCH(std::optional<QString>, user);
        QFETCH(std::optional<QString>, found);
        if (system)
            put(QSettings::SystemScope, QStringLiteral("Tarlen"), QStringLiteral("5/Sciezka"), *system);
        if (user)
            put(QSettings::UserScope, QStringLiteral("Tarlen"), QStringLiteral("5/Sciezka"), *user);
        QCOMPARE(readRegistryValue(5, u"Sciezka"), found);
    }

    void readsOnlyItsOwnKey_data()
    {
        QTest::addColumn<QString>("application");
        QTest::addColumn<QString>("key");
        QTest::newRow("other version") << "Tarlen" << "4/Sciezka";
        QTest::newRow("other value name") << "Tarlen" << "5/Path";
        QTest::newRow("organisation-wide file") << "" << "5/Sciezka";
    }
    void readsOnlyItsOwnKey()
    {
        QFETCH(QString, application);
        QFETCH(QString, key);
        put(QSettings::SystemScope, application, key, QStringLiteral("/x"));
        put(QSettings::UserScope, application, key, QStringLiteral("/y"));
        QCOMPARE(readRegistryValue(5, u"Sciezka"), std::optional<QString>());
    }

    void readsVersion4()
    {
        put(QSettings::UserScope, QStringLiteral("Tarlen"), QStringLiteral("4/Sciezka"), QStringLiteral("/stara"));
        QCOMPARE(readRegistryValue(4, u"Sciezka"), std::optional<QString>(QStringLiteral("/stara")));
    }

    void writesMachineWideWhenWritable()
    {
        QCOMPARE(writeRegistryValue(5, u"Sciezka", QStringLiteral("/srv/baza")),
                 std::optional(QSettings::SystemScope));
        QCOMPARE(storedIn(QSettings::SystemScope, QStringLiteral("5/Sciezka")),
                 std::optional<QString>(QStringLiteral("/srv/baza")));
        QCOMPARE(storedIn(QSettings::UserScope, QStringLiteral("5/Sciezka")), std::optional<QString>());
    }

    void writeFallsBackToUser()
    {
        useStores(QStringLiteral("user"), blocked());
        QCOMPARE(writeRegistryValue(5, u"Sciezka", QStringLiteral("/home/jan/baza")),
                 std::optional(QSettings::UserScope));
        QCOMPARE(storedIn(QSettings::UserScope, QStringLiteral("5/Sciezka")),
                 std::optional<QString>(QStringLiteral("/home/jan/baza")));
        QCOMPARE(readRegistryValue(5, u"Sciezka"), std::optional<QString>(QStringLiteral("/home/jan/baza")));
    }

    void writeFailsWhenNothingWritable()
    {
        const QString path = blocked();
        useStores(path, path);
        QCOMPARE(writeRegistryValue(5, u"Sciezka", QStringLiteral("/x")), std::optional<QSettings::Scope>());
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
