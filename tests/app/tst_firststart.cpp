// The first start of the program: no database recorded, so the program makes
// it where its installer would, records it, and opens it. A database that is
// recorded but missing is not made again behind the user's back.

#include "app/startup.h"

#include "core/registry.h"
#include "data/database.h"
#include "data/tdm.h"

#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

class TestFirstStart : public QObject
{
    Q_OBJECT

    QTemporaryDir home;

private slots:
    void init()
    {
        // The user's data directory lies under this home in test mode.
        qputenv("HOME", home.path().toLocal8Bit());
    }

    void makesAndOpensTheDatabase()
    {
        TestEnvironment env(false);
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(!readRegistryValue(ProgramVersion, u"Sciezka"));

        QVERIFY2(OtworzBazeDanych(dm), qPrintable(boxes.texts().join(u'\n')));

        const QString directory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/baza");
        QVERIFY(directory.startsWith(home.path()));
        QVERIFY(QFile::exists(Database::filePathIn(directory)));
        QCOMPARE(QDir(readRegistryValue(ProgramVersion, u"Sciezka").value_or(QString())).absolutePath(),
                 QDir(directory).absolutePath());
        QVERIFY(dm.Korekta.recordCount() > 0); // the installer's records are there
        QVERIFY(boxes.shown().isEmpty());
    }

    void aRecordedButMissingDatabaseIsNotMadeAgain()
    {
        TestEnvironment env(false);
        const QString elsewhere = env.root() + QStringLiteral("/przeniesiona");
        env.setDatabaseDirectory(elsewhere);
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);

        QVERIFY(!OtworzBazeDanych(dm));
        QVERIFY(!QFile::exists(Database::filePathIn(elsewhere)));
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Brak pliku bazy danych: ")
                                            + QDir::toNativeSeparators(Database::filePathIn(elsewhere))});
    }
};

QTEST_MAIN(TestFirstStart)
#include "tst_firststart.moc"
