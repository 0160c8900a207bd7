#include "app/tarlenapplication.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

// The application object: an error escaping an event handler is shown to the
// user and the program goes on. The test runs under the program's own
// application object (see main() below).
class TestTarlenApplication : public QObject
{
    Q_OBJECT

    enum Fault {
        RaisedDataError,      // a handler gives up with the table store's error
        RefusedByTheTables,   // the tables refuse what the handler asks of them
        HalfWrittenChange,    // the error comes in the middle of a transaction
        ProgramFault,         // an error that is not the table store's
        NotAStandardOne,      // something thrown that is no exception at all
    };
    enum Source { TimerEvent, QueuedCall, MouseClick, KeyPress };

    std::unique_ptr<TestDatabase> db;

    static TarlenApplication *app() { return static_cast<TarlenApplication *>(qApp); }

    void raise(Fault fault)
    {
        switch (fault) {
        case RaisedDataError:
            throw DataError(u"Nie można zapisać wniosku."_s);
        case RefusedByTheTables:
            // A field written with no record being edited.
            db->dm.Podatnik.field(u"Nazwisko"_s).setString(u"Nowak"_s);
            break;
        case HalfWrittenChange: {
            Database::Transaction transaction(db->dm.database());
            db->dm.database().run(u"INSERT INTO Podatnik (Nazwisko) VALUES ('Nowak')"_s);
            throw DataError(u"Zapis przerwany."_s);
        }
        case ProgramFault:
            throw std::runtime_error("brak miejsca");
        case NotAStandardOne:
            throw 42;
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(qobject_cast<TarlenApplication *>(qApp));
    }
    void init()
    {
        db = std::make_unique<TestDatabase>();
        addTaxpayer(db->dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
        app()->setDataModule(&db->dm);
    }
    void cleanup()
    {
        app()->setDataModule(nullptr);
        db.reset();
    }

    void errorInAnEventHandlerIsShownAndTheProgramGoesOn_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("text");
        const QString unexpected = u"Wystąpił nieoczekiwany błąd programu:\rbrak miejsca"_s;
        QTest::newRow("timer, data error") << int(TimerEvent) << int(RaisedDataError) << u"Nie można zapisać wniosku."_s;
        QTest::newRow("queued call, data error") << int(QueuedCall) << int(RaisedDataError) << u"Nie można zapisać wniosku."_s;
        QTest::newRow("click, data error") << int(MouseClick) << int(RaisedDataError) << u"Nie można zapisać wniosku."_s;
        QTest::newRow("key, data error") << int(KeyPress) << int(RaisedDataError) << u"Nie można zapisać wniosku."_s;
        QTest::newRow("click, refused by the tables")
            << int(MouseClick) << int(RefusedByTheTables) << u"Podatnik: rekord nie jest w trybie edycji"_s;
        QTest::newRow("click, half-written change") << int(MouseClick) << int(HalfWrittenChange) << u"Zapis przerwany."_s;
        QTest::newRow("timer, program fault") << int(TimerEvent) << int(ProgramFault) << unexpected;
        QTest::newRow("click, program fault") << int(MouseClick) << int(ProgramFault) << unexpected;
        QTest::newRow("click, not a standard exception")
            << int(MouseClick) << int(NotAStandardOne) << u"Wystąpił nieoczekiwany błąd programu:\rnieznany wyjątek"_s;
        QTest::newRow("key, not a standard exception")
            << int(KeyPress) << int(NotAStandardOne) << u"Wystąpił nieoczekiwany błąd programu:\rnieznany wyjątek"_s;
    }
    void errorInAnEventHandlerIsShownAndTheProgramGoesOn()
    {
        QFETCH(int, source);
        QFETCH(int, fault);
        QFETCH(QString, text);
        const auto handler = [this, fault] { raise(Fault(fault)); };

        QPushButton button(u"Zapisz"_s);
        connect(&button, &QPushButton::clicked, this, handler);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        switch (source) {
        case TimerEvent:
            QTimer::singleShot(5, this, handler);
            break;
        case QueuedCall:
            QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
            break;
        case MouseClick:
            QTest::mouseClick(&button, Qt::LeftButton);
            break;
        case KeyPress:
            button.setFocus();
            QTest::keyClick(&button, Qt::Key_Space);
            break;
        }
        QTRY_COMPARE(db->boxes.shown().size(), 1);
        const MessageRequest &shown = db->boxes.shown().first();
        QCOMPARE(shown.kind, MessageRequest::Kind::Warning);
        QCOMPARE(shown.title, u"Uwaga"_s);
        QCOMPARE(shown.text, text);

        // The events after it are handled as ever.
        bool later = false;
        QTimer::singleShot(0, this, [&later] { later = true; });
        QTRY_VERIFY(later);
        QVERIFY(!button.isDown());
        int clicks = 0;
        disconnect(&button, &QPushButton::clicked, this, nullptr);
        connect(&button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 1);

        // Nothing of the interrupted change is stored, and the tables work on.
        QCOMPARE(db->storedRows(u"Podatnik"_s).size(), 1);
        QCOMPARE(db->dm.Podatnik.recordCount(), 1);
        addTaxpayer(db->dm, {{u"Nazwisko"_s, u"Nowak"_s}});
        QCOMPARE(db->storedRows(u"Podatnik"_s).size(), 2);
        QCOMPARE(db->boxes.shown().size(), 1);
    }

    void withoutDataModuleTheErrorIsLogged_data()
    {
        QTest::addColumn<bool>("everSet");
        QTest::newRow("never set") << false;
        QTest::newRow("gone") << true;
    }
    void withoutDataModuleTheErrorIsLogged()
    {
        QFETCH(bool, everSet);
        app()->setDataModule(nullptr);
        if (everSet) {
            auto other = std::make_unique<TestDatabase>();
            app()->setDataModule(&other->dm);
        }
        QTest::ignoreMessage(QtWarningMsg, "Nie można zapisać wniosku.");
        QTimer::singleShot(0, this, [this] { raise(RaisedDataError); });
        bool later = false;
        QTimer::singleShot(10, this, [&later] { later = true; });
        QTRY_VERIFY(later);
        QVERIFY(db->boxes.shown().isEmpty());
    }
};

int main(int argc, char *argv[])
{
    TarlenApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestTarlenApplication test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tarlenapplication.moc"
