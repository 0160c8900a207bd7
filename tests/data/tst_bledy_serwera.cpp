// Failures of the server told in Polish, naming the server, the database and
// the table: a connection that cannot be made, and a save that fails (no
// room, no rights, the server stopped, the network cut). A failed save
// writes nothing, the typed record stays, and the same save lands once the
// cause is gone.

#include "support/testsupport.h"

#include "core/registry.h"
#include "data/pgconnection.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A road between the desk and the server that the test can cut, as a network
// failure does. It forwards on a thread of its own: the desk waits for the
// server without an event loop.
class Road : public QObject
{
    Q_OBJECT
public:
    explicit Road(quint16 serverPort) : m_serverPort(serverPort) {}

    Q_INVOKABLE quint16 open()
    {
        connect(&m_listener, &QTcpServer::newConnection, this, &Road::take);
        m_listener.listen(QHostAddress::LocalHost);
        return m_listener.serverPort();
    }
    // Every connection on the road is broken; new ones are let through.
    Q_INVOKABLE void cut()
    {
        for (QTcpSocket *socket : std::as_const(m_sockets))
            socket->abort();
        qDeleteAll(m_sockets);
        m_sockets.clear();
    }

private:
    void take()
    {
        while (QTcpSocket *desk = m_listener.nextPendingConnection()) {
            auto *server = new QTcpSocket;
            server->connectToHost(QHostAddress::LocalHost, m_serverPort);
            server->waitForConnected(10000);
            m_sockets << desk << server;
            // What one end says goes to the other; one end gone, the other goes too.
            const auto pass = [](QTcpSocket *from, QTcpSocket *to) {
                connect(from, &QTcpSocket::readyRead, to, [from, to] { to->write(from->readAll()); });
                connect(from, &QTcpSocket::disconnected, to, [to] {
                    if (to->state() == QAbstractSocket::ConnectedState)
                        to->disconnectFromHost();
                });
            };
            pass(desk, server);
            pass(server, desk);
            server->write(desk->readAll());
        }
    }

    quint16 m_serverPort;
    QTcpServer m_listener{this}; // moves to the road's thread with it
    QList<QTcpSocket *> m_sockets;
};

QString value(const QString &conninfo, const QString &key)
{
    const QRegularExpressionMatch m = QRegularExpression(key + u"=(\\S+)"_s).match(conninfo);
    return m.captured(1);
}

QString withValue(QString conninfo, const QString &key, const QString &newValue)
{
    conninfo.replace(QRegularExpression(key + u"=\\S+"_s), key + u"="_s + newValue);
    return conninfo;
}

QString freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QString::number(probe.serverPort()); // closed again when the probe goes
}

int countOf(const TestEnvironment &env, const QString &table)
{
    return readOnOwnConnection(env, u"SELECT COUNT(*) FROM "_s + table).toInt();
}

} // namespace

class TestBledySerwera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testsOnServer())
            QSKIP("the failures of a server need the test server");
        // No password file of the machine's decides what the tests see.
        qputenv("PGPASSFILE", QDir::temp().filePath(u"tarlen-brak-pliku-hasel"_s).toUtf8());
    }

    void connectionRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("newValue");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("passwordNeeded");
        QTest::newRow("nothing listens") << u"port"_s << freePort()
                                         << u"serwer bazy danych nie przyjmuje połączeń: nie działa albo adres lub port są inne"_s << false;
        QTest::newRow("no database") << u"dbname"_s << u"tarlen_nie_ma"_s << u"na serwerze nie ma bazy danych tarlen_nie_ma"_s << false;
        QTest::newRow("no user") << u"user"_s << u"nikt"_s << u"na serwerze nie ma użytkownika nikt"_s << false;
        QTest::newRow("password wanted") << u"user"_s << qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM")
                                         << u"serwer bazy danych wymaga hasła użytkownika "_s + qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM")
                                         << true;
    }
    void connectionRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, newValue);
        QFETCH(QString, reason);
        QFETCH(bool, passwordNeeded);
        ServerDatabase server;
        const QString conninfo = withValue(server.conninfo(), key, newValue);
        const QString where = u"(serwer 127.0.0.1:%1, baza danych %2)"_s.arg(value(conninfo, u"port"_s), value(conninfo, u"dbname"_s));
        try {
            Database db;
            db.openServer(conninfo);
            QFAIL("connected");
        } catch (const PasswordNeeded &e) {
            QVERIFY(passwordNeeded);
            QCOMPARE(e.message(), u"Błąd bazy danych: %1 %2"_s.arg(reason, where));
        } catch (const DataError &e) {
            QVERIFY(!passwordNeeded);
            QCOMPARE(e.message(), u"Błąd bazy danych: %1 %2"_s.arg(reason, where));
        }
    }

    // A password typed and refused is asked for again, and not tried twice.
    void refusedPasswordIsForgotten()
    {
        ServerDatabase server;
        const QString role = qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM");
        const QString conninfo = withValue(server.conninfo(), u"user"_s, role);
        PgConnection::rememberPassword(conninfo, u"złe hasło"_s);
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                PgConnection connection(conninfo);
                QFAIL("connected");
            } catch (const PasswordNeeded &e) {
                QVERIFY2(e.message().contains(attempt == 0 ? u"nie przyjął hasła użytkownika "_s + role
                                                           : u"wymaga hasła użytkownika "_s + role),
                         qPrintable(e.message()));
            }
        }
        PgConnection::rememberPassword(conninfo, qEnvironmentVariable("TARLEN_TEST_HASLO"));
        PgConnection connection(conninfo);
        QCOMPARE(connection.run(u"SELECT current_user"_s, {}, {}).rows.value(0).value(0).toString(), role);
    }

    // A role without rights on the program's tables is told so at start,
    // with the table that could not be read.
    void noRightsAtStart()
    {
        TestEnvironment env;
        const QString role = qEnvironmentVariable("TARLEN_TEST_ROLA_Z_HASLEM");
        const QString conninfo = withValue(env.server()->conninfo(), u"user"_s, role);
        writeRegistryValue(ProgramVersion, u"Serwer", conninfo);
        ScriptedMessageBoxes boxes;
        boxes.type(qEnvironmentVariable("TARLEN_TEST_HASLO"));
        TDM dm(boxes);
        QVERIFY(!dm.OtworzTabele());
        QCOMPARE(boxes.texts().last(),
                 u"Nie udało się otworzyć pliku: Podatnik.DB\rBłąd bazy danych: użytkownik %1 nie ma uprawnień do tych danych "
                 "(serwer 127.0.0.1:%2, baza danych %3)"_s.arg(role, value(conninfo, u"port"_s), value(conninfo, u"dbname"_s)));
    }

    void failedSave_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << u"dysk"_s << u"brak miejsca na dysku serwera bazy danych %1"_s;
        QTest::newRow("no rights") << u"prawa"_s << u"użytkownik tarlen nie ma uprawnień do tych danych %1"_s;
        QTest::newRow("server stopped") << u"zatrzymany"_s << u"serwer bazy danych zakończył połączenie (został zatrzymany "
                                                               "lub połączenie przerwał jego administrator) %1"_s;
        QTest::newRow("network cut") << u"sieć"_s << u"brak połączenia z serwerem bazy danych %1: połączenie zostało przerwane"_s;
    }
    void failedSave()
    {
        QFETCH(QString, cause);
        QFETCH(QString, reason);
        TestEnvironment env;
        // The desk reaches the server by a road that can be cut.
        QThread thread;
        Road road(quint16(value(env.server()->conninfo(), u"port"_s).toUInt()));
        road.moveToThread(&thread);
        thread.start();
        auto stop = qScopeGuard([&] {
            QMetaObject::invokeMethod(&road, &Road::cut, Qt::BlockingQueuedConnection);
            thread.quit();
            thread.wait();
        });
        quint16 roadPort = 0;
        QMetaObject::invokeMethod(&road, &Road::open, Qt::BlockingQueuedConnection, &roadPort);
        const QString conninfo = withValue(env.server()->conninfo(), u"port"_s, QString::number(roadPort));
        writeRegistryValue(ProgramVersion, u"Serwer", conninfo);
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY2(dm.OtworzTabele(), qPrintable(boxes.texts().join(u'|')));
        addTaxpayer(dm, {{u"Nazwisko"_s, u"Przed"_s}});

        PgConnection owner(env.server()->conninfo());
        if (cause == u"dysk") {
            owner.execute(u"CREATE FUNCTION pelny() RETURNS trigger LANGUAGE plpgsql AS "
                          "$$ BEGIN RAISE EXCEPTION 'could not extend file' USING ERRCODE = 'disk_full'; END $$;"
                          "CREATE TRIGGER pelny BEFORE INSERT ON Podatnik FOR EACH ROW EXECUTE FUNCTION pelny()"_s);
        } else if (cause == u"prawa") {
            owner.execute(u"REVOKE INSERT ON Podatnik FROM tarlen"_s);
        } else if (cause == u"zatrzymany") {
            const qint64 pid = dm.database().firstRow(u"SELECT pg_backend_pid()"_s)->at(0).toLongLong();
            owner.run(u"SELECT pg_terminate_backend(?)"_s, {}, {pid});
        } else {
            QMetaObject::invokeMethod(&road, &Road::cut, Qt::BlockingQueuedConnection);
        }

        dm.Podatnik.append();
        dm.Podatnik.field(u"Nazwisko"_s).setString(u"Żółkiewska"_s);
        try {
            dm.Podatnik.post();
            QFAIL("a failed save was reported done");
        } catch (const DataError &e) {
            const QString where = u"(serwer 127.0.0.1:%1, baza danych %2)"_s.arg(roadPort).arg(value(conninfo, u"dbname"_s));
            QCOMPARE(e.message(), u"Nie zapisano zmian w tabeli Podatnik.DB.\rBłąd bazy danych: "_s + reason.arg(where));
        }
        // Nothing written; what was typed is still there.
        QCOMPARE(countOf(env, u"Podatnik"_s), 1);
        QVERIFY(dm.Podatnik.isEditing());
        QCOMPARE(dm.Podatnik.field(u"Nazwisko"_s).asString(), u"Żółkiewska"_s);

        if (cause == u"dysk")
            owner.execute(u"DROP TRIGGER pelny ON Podatnik"_s);
        else if (cause == u"prawa")
            owner.execute(u"GRANT INSERT ON Podatnik TO tarlen"_s);
        dm.Podatnik.post();
        QCOMPARE(readOnOwnConnection(env, u"SELECT Nazwisko FROM Podatnik ORDER BY PodatId"_s), u"Przed,Żółkiewska"_s);
    }
};

QTEST_MAIN(TestBledySerwera)
#include "tst_bledy_serwera.moc"
