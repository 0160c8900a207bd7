// "System → Baza danych…": the database's place chosen and tried, and a
// folder database moved onto a server, through the real window.

#include "support/testsupport.h"

#include "app/bazadanychfrm.h"
#include "core/registry.h"
#include "data/installer.h"
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

    // The recorded server is shown; the connection is tried before it is saved.
    void theConnectionIsTriedBeforeItIsSaved_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("saved");
        QTest::newRow("the register's database") << QString() << u"Połączenie z serwerem bazy danych działa."_s << true;
        QTest::newRow("no such database") << u"nie_ma_takiej"_s << u"nie ma takiej bazy danych"_s << false;
    }
    void theConnectionIsTriedBeforeItIsSaved()
    {
        QFETCH(QString, database);
        QFETCH(QString, said);
        QFETCH(bool, saved);
        TestDatabase db;
        const QString recorded = TDM::SerwerBazy();
        TBazaDanychFrm frm(db.dm);
        QVERIFY(frm.SerwerRadio->isChecked());
        QCOMPARE(frm.Polaczenie(), PolaczenieSerwera::z(recorded).conninfo());
        if (!database.isEmpty())
            frm.EdBaza->setText(database);
        frm.findChild<QPushButton *>(u"SprawdzBtn"_s)->click();
        QVERIFY2(db.boxes.texts().last().contains(said), qPrintable(db.boxes.texts().last()));

        db.boxes.clear();
        frm.PostBtnClick();
        QCOMPARE(frm.result() == QDialog::Accepted, saved);
        QCOMPARE(TDM::SerwerBazy(), saved ? frm.Polaczenie() : recorded);
        QVERIFY(db.dm.database().isServer());
        QVERIFY(db.dm.Podatnik.isOpen());
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
