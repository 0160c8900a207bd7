#include "app/mainform.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QSignalSpy>
#include <QToolButton>
#include <QLineEdit>
#include <QTableView>

#include <memory>

using namespace Qt::StringLiterals;

// The keyboard in the register of taxpayers: the arrows move through the
// register, Tab and Shift+Tab go on to the window's other controls and never
// change the current taxpayer.
class TestRegisterKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TMainForm> form;

    QTableView *grid() const { return childNamed<QTableView>(*form, u"DBGrid1"_s); }
    QLineEdit *search() const { return childNamed<QLineEdit>(*form, u"EdSearch"_s); }
    QString currentSurname() { return db->dm.Podatnik.field(u"Nazwisko"_s).asString(); }
    static QString focusName()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : u"(none)"_s;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        form = std::make_unique<TMainForm>(db->dm, db->env.root() + u"/config/Morvik_Vat5.ini"_s);
        form->UtworzOkna();
        for (const QString &surname : {u"Adamczyk"_s, u"Borowski"_s, u"Czarnecki"_s})
            addTaxpayer(db->dm, {{u"Nazwisko"_s, surname}, {u"Imie"_s, u"Jan"_s}});
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // The second taxpayer, from the third column, with the register in focus.
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(1, 2));
        QCOMPARE(currentSurname(), u"Borowski"_s);
        QCOMPARE(QApplication::focusWidget(), grid());
    }
    void cleanup()
    {
        form.reset();
        db.reset();
    }

    // "&Notatki" and "&Wnioski" open their windows from the keyboard.
    void toolbarCommandsHaveAltKeys_data()
    {
        QTest::addColumn<int>("klawisz");
        QTest::addColumn<QString>("przycisk");
        QTest::newRow("Alt+N: notes") << int(Qt::Key_N) << u"NotatkiBtn"_s;
        QTest::newRow("Alt+W: applications") << int(Qt::Key_W) << u"WnioskiBtn"_s;
    }
    void toolbarCommandsHaveAltKeys()
    {
        QFETCH(int, klawisz);
        QFETCH(QString, przycisk);
        QSignalSpy klikniecia(childNamed<QToolButton>(*form, przycisk), &QToolButton::clicked);
        // The notes are a main window shown modally, the applications a dialog.
        if (przycisk == u"NotatkiBtn"_s)
            onNextModal<QMainWindow>([](QMainWindow &okno) { okno.close(); });
        else
            onNextModal<QDialog>([](QDialog &okno) { okno.reject(); });
        QTest::keyClick(form.get(), Qt::Key(klawisz), Qt::AltModifier);
        // A button's accelerator clicks it after a moment.
        QTRY_COMPARE(klikniecia.size(), 1);
    }

    // A taxpayer without a NIP shows nothing in its column, not the mask's
    // blanks and dashes; a NIP shows as stored.
    void registerShowsNoEmptyNip_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("widac");
        QTest::newRow("the mask untouched") << u"   -   -  -  "_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("a NIP") << u"123-456-32-18"_s << u"123-456-32-18"_s;
    }
    void registerShowsNoEmptyNip()
    {
        QFETCH(QString, nip);
        QFETCH(QString, widac);
        addTaxpayer(db->dm, {{u"Nazwisko"_s, u"Żabińska"_s}, {u"Imie"_s, u"Ewa"_s}, {u"NIP"_s, nip}});
        QAbstractItemModel *model = grid()->model();
        int nipKolumna = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == u"NIP"_s)
                nipKolumna = c;
        QVERIFY(nipKolumna >= 0);
        QCOMPARE(model->index(3, 1).data().toString(), u"Żabińska"_s);
        QCOMPARE(model->index(3, nipKolumna).data().toString(), widac);
    }

    void keysInTheRegister_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("leavesRegister");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<int>("column");
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << true << u"Borowski"_s << 2;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << true << u"Borowski"_s << 2;
        QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false << u"Czarnecki"_s << 2;
        QTest::newRow("Up") << int(Qt::Key_Up) << int(Qt::NoModifier) << false << u"Adamczyk"_s << 2;
        QTest::newRow("Right") << int(Qt::Key_Right) << int(Qt::NoModifier) << false << u"Borowski"_s << 3;
        QTest::newRow("Left") << int(Qt::Key_Left) << int(Qt::NoModifier) << false << u"Borowski"_s << 1;
    }
    void keysInTheRegister()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, leavesRegister);
        QFETCH(QString, surname);
        QFETCH(int, column);
        QTest::keyClick(grid(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QApplication::focusWidget() != grid(), leavesRegister);
        QCOMPARE(currentSurname(), surname);
        QCOMPARE(grid()->currentIndex().row(), db->dm.Podatnik.currentRow());
        QCOMPARE(grid()->currentIndex().column(), column);
    }

    void tabGoesRoundTheWindow_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("order");
        // The notes, the search box, the toolbar's buttons, the register again.
        const QStringList forward{u"EdNotatki"_s,  u"EdSearch"_s,   u"InsertBtn"_s, u"EditBtn"_s, u"DeleteBtn"_s,
                                  u"NotatkiBtn"_s, u"WnioskiBtn"_s, u"CloseBtn"_s,  u"DBGrid1"_s};
        QStringList backward(forward.rbegin() + 1, forward.rend());
        backward << u"DBGrid1"_s;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << forward;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << backward;
    }
    void tabGoesRoundTheWindow()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QStringList, order);
        // Round the window's controls, past the search box, and back into the
        // register, which still shows the same taxpayer on the same place.
        QStringList visited;
        for (int step = 0; step < 30; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            visited << focusName();
            QCOMPARE(currentSurname(), u"Borowski"_s);
            if (QApplication::focusWidget() == grid())
                break;
        }
        QCOMPARE(visited, order);
        QCOMPARE(grid()->currentIndex(), grid()->model()->index(1, 2));
    }

    void searchThenTabBackIntoTheRegister()
    {
        // A name typed in the search box picks the taxpayer; Tab back into the
        // register only moves the focus, and the arrows go on from there.
        search()->setFocus();
        QCOMPARE(QApplication::focusWidget(), search());
        typeText(search(), u"Czar"_s);
        QCOMPARE(currentSurname(), u"Czarnecki"_s);
        for (int step = 0; QApplication::focusWidget() != grid(); ++step) {
            QVERIFY(step < 30);
            QWidget *before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != before, qPrintable(focusName()));
            QCOMPARE(currentSurname(), u"Czarnecki"_s);
        }
        QTest::keyClick(grid(), Qt::Key_Up);
        QCOMPARE(currentSurname(), u"Borowski"_s);
    }
};

QTEST_MAIN(TestRegisterKeyboard)
#include "tst_register_keyboard.moc"
