// A server that wants a password: read from PostgreSQL's password file, or
// asked for at start and kept in memory for the run, never in the settings.

#include "support/testsupport.h"

#include "core/registry.h"
#include "data/pgconnection.h"

#include <QDirIterator>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString role()
{
    return qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM");
}

QString password()
{
    return qEnvironmentVariable("TARLEN_TEST_HASLO");
}

// Whether any file below `folder` holds `text`.
bool anyFileHolds(const QString &folder, const QString &text)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text.toUtf8()))
            return true;
    }
    return false;
}

} // namespace

class TestHasloSerwera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testsOnServer())
            QSKIP("a password is the server's");
    }

    void start_data()
    {
        QTest::addColumn<bool>("inPasswordFile");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QStringList>("asked"); // how each question began
        QTest::newRow("in ~/.pgpass") << true << QStringList{} << true << QStringList{};
        QTest::newRow("typed") << false << QStringList{password()} << true << QStringList{u"Podaj hasło"_s};
        QTest::newRow("wrong, then right") << false << QStringList{u"zgadywane"_s, password()} << true
                                           << QStringList{u"Podaj hasło"_s, u"Serwer nie przyjął hasła.\rPodaj hasło"_s};
        QTest::newRow("cancelled") << false << QStringList{} << false << QStringList{u"Podaj hasło"_s};
    }
    void start()
    {
        QFETCH(bool, inPasswordFile);
        QFETCH(QStringList, typed);
        QFETCH(bool, opened);
        QFETCH(QStringList, asked);
        TestEnvironment env;
        PgConnection owner(env.server()->conninfo());
        owner.execute(u"GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1;"
                      "GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1"_s.arg(role()));
        const QString conninfo = env.server()->conninfo().replace(u"user=tarlen"_s, u"user="_s + role());
        writeRegistryValue(ProgramVersion, u"Serwer", conninfo);
        const QString dbname = conninfo.section(u"dbname="_s, 1).section(u' ', 0, 0);
        const QString passwordFile = env.root() + u"/pgpass"_s;
        if (inPasswordFile) {
            QFile f(passwordFile);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(u"127.0.0.1:*:%1:%2:%3\n"_s.arg(dbname, role(), password()).toUtf8());
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
        qputenv("PGPASSFILE", passwordFile.toUtf8());

        ScriptedMessageBoxes boxes;
        for (const QString &p : typed)
            boxes.type(p);
        TDM dm(boxes);
        QCOMPARE(dm.OtworzTabele(), opened);
        QStringList questions;
        for (const MessageRequest &r : boxes.shown())
            if (r.title == u"Hasło do serwera bazy danych")
                questions << r.text;
        QCOMPARE(questions.size(), asked.size());
        for (int i = 0; i < asked.size(); ++i) {
            QVERIFY2(questions[i].startsWith(asked[i]), qPrintable(questions[i]));
            QVERIFY2(questions[i].contains(u"użytkownika %1 do bazy danych %2 na serwerze 127.0.0.1:"_s.arg(role(), dbname)),
                     qPrintable(questions[i]));
        }
        if (!opened) {
            QCOMPARE(boxes.texts().last(), u"Nie połączono z serwerem bazy danych: nie podano hasła."_s);
            return;
        }
        QCOMPARE(addTaxpayer(dm, {{u"Nazwisko"_s, u"Hasłowska"_s}}), 1);
        QCOMPARE(dm.database().firstRow(u"SELECT current_user"_s)->at(0).toString(), role());
        // Nowhere among the settings.
        QVERIFY(!anyFileHolds(env.root() + u"/user"_s, password()));
        QVERIFY(!anyFileHolds(env.root() + u"/system"_s, password()));
        QVERIFY(!readRegistryValue(ProgramVersion, u"Serwer")->contains(u"password"_s));

        // Another connection in the same run is not asked again.
        ScriptedMessageBoxes again;
        TDM second(again);
        QVERIFY2(second.OtworzTabele(), qPrintable(again.texts().join(u'|')));
        QVERIFY(again.shown().isEmpty());
        QCOMPARE(second.Podatnik.recordCount(), 1);
    }
};

QTEST_MAIN(TestHasloSerwera)
#include "tst_haslo_serwera.moc"
