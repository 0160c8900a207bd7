// "System → Baza danych…": the database's place chosen and tried, and a
// folder database moved onto a server, through the real window.

#include "support/testsupport.h"

#include "app/bazadanychfrm.h"
#include "core/registry.h"
#include "data/installer.h"
#include "data/pgconnection.h"
#include "data/ustawieniabazy.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestBazaDanychFrm : public QObject
{
    Q_OBJECT

    static void showServer(TBazaDanychFrm &frm, const QString &conninfo)
    {
        const PolaczenieSerwera p = PolaczenieSerwera::z(conninfo);
        frm.SerwerRadio->setChecked(true);
        frm.EdHost->setText(p.host);
        frm.EdPort->setValue(p.port);
        frm.EdBaza->setText(p.baza);
        frm.EdUzytkownik->setText(p.uzytkownik);
    }

private slots:
    void init()
    {
        if (!testsOnServer())
            QSKIP("the window tries connections to the test server");
    }

    // The recorded server is shown; the connection is tried before it is
    // saved. A password the server wants is asked for once in the run.
    void theConnectionIsTriedBeforeItIsSaved_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("questions");
        const QString role = qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM");
        QTest::newRow("the register's database") << QString() << QString() << QStringList{}
                                                 << u"Połączenie z serwerem bazy danych działa."_s << true << 0;
        QTest::newRow("no such database") << u"nie_ma_takiej"_s << QString() << QStringList{}
                                          << u"na serwerze nie ma bazy danych nie_ma_takiej"_s << false << 0;
        QTest::newRow("a password typed") << QString() << role << QStringList{qEnvironmentVariable("TARLEN_TEST_HASLO")}
                                          << u"Połączenie z serwerem bazy danych działa."_s << true << 1;
        QTest::newRow("no password typed") << QString() << role << QStringList{}
                                           << u"Nie połączono z serwerem bazy danych: nie podano hasła."_s << false << 2;
    }
    void theConnectionIsTriedBeforeItIsSaved()
    {
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QStringList, typed);
        QFETCH(QString, said);
        QFETCH(bool, saved);
        QFETCH(int, questions);
        qputenv("PGPASSFILE", QDir::temp().filePath(u"tarlen-brak-pliku-hasel"_s).toUtf8());
        TestDatabase db;
        PgConnection(db.env.server()->conninfo())
            .execute(u"GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1"_s.arg(
                qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM")));
        const QString recorded = TDM::SerwerBazy();
        TBazaDanychFrm frm(db.dm);
        QVERIFY(frm.SerwerRadio->isChecked());
        QCOMPARE(frm.Polaczenie(), PolaczenieSerwera::z(recorded).conninfo());
        if (!database.isEmpty())
            frm.EdBaza->setText(database);
        if (!user.isEmpty())
            frm.EdUzytkownik->setText(user);
        for (const QString &p : typed)
            db.boxes.type(p);
        frm.findChild<QPushButton *>(u"SprawdzBtn"_s)->click();
        QVERIFY2(db.boxes.texts().last().contains(said), qPrintable(db.boxes.texts().last()));

        frm.PostBtnClick();
        QCOMPARE(frm.result() == QDialog::Accepted, saved);
        QCOMPARE(TDM::SerwerBazy(), saved ? frm.Polaczenie() : recorded);
        QVERIFY(!TDM::SerwerBazy().contains(u"password"_s));
        QVERIFY(db.dm.database().isServer());
        QVERIFY(db.dm.Podatnik.isOpen());
        int asked = 0;
        for (const MessageRequest &r : db.boxes.shown())
            asked += r.title == u"Hasło do serwera bazy danych";
        QCOMPARE(asked, questions);
    }

    // A folder database moved onto an empty server: the program goes on there.
    void aFolderDatabaseIsMovedOntoTheServer()
    {
        TestEnvironment env(false);
        QTemporaryDir folder;
        Installer::install(folder.path());
        env.setDatabaseDirectory(folder.path());
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(dm.OtworzTabele());
        addTaxpayer(dm, {{u"Nazwisko"_s, u"Żółkiewska"_s}});
        ServerDatabase server(false);

        TBazaDanychFrm frm(dm);
        QVERIFY(frm.FolderRadio->isChecked());
        QVERIFY(!frm.findChild<QPushButton *>(u"PrzeniesBtn"_s)->isEnabled());
        showServer(frm, server.conninfo());
        QVERIFY(frm.findChild<QPushButton *>(u"PrzeniesBtn"_s)->isEnabled());
        boxes.answer(true);
        frm.findChild<QPushButton *>(u"PrzeniesBtn"_s)->click();
        QVERIFY2(dm.database().isServer(), qPrintable(boxes.texts().join(u'|')));
        QCOMPARE(TDM::SerwerBazy(), frm.Polaczenie());
        QVERIFY(dm.Podatnik.locate(u"Nazwisko"_s, u"Żółkiewska"_s));
        // The folder stays as it was, beside the server.
        QVERIFY(QFile::exists(Database::filePathIn(folder.path())));
    }
};

QTEST_MAIN(TestBazaDanychFrm)
#include "tst_bazadanychfrm.moc"
