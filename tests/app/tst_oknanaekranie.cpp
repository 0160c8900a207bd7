// Every window of the program opens wholly on the visible screen, whatever
// placement was stored for it, and wide enough for its title: the
// program's application object sees to it for every window it shows.

#include "app/tarlenapplication.h"
#include "core/twindow.h"
#include "overprint/marginesyfrm.h"
#include "support/testsupport.h"
#include "support/widgettest.h"
#include "widgets/oknanaekranie.h"
#include "widgets/windowplacement.h"

#include <QDialog>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class TestOknaNaEkranie : public QObject
{
    Q_OBJECT

    static QRect widoczny() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    // A placement stored on a larger or another screen brings the window
    // back onto this one; a window larger than the screen is made to fit.
    void storedPlacementOffTheScreen_data()
    {
        QTest::addColumn<QRect>("zapisane");
        const QRect ekran = widoczny();
        QTest::newRow("far right and down") << QRect(ekran.right() + 500, ekran.bottom() + 300, 400, 300);
        QTest::newRow("left of the screen") << QRect(-2000, 40, 400, 300);
        QTest::newRow("half off the bottom") << QRect(50, ekran.bottom() - 100, 400, 300);
        QTest::newRow("larger than the screen") << QRect(0, 0, ekran.width() + 400, ekran.height() + 300);
        QTest::newRow("on the screen, left alone") << QRect(ekran.left() + 30, ekran.top() + 20, 400, 300);
    }
    void storedPlacementOffTheScreen()
    {
        QFETCH(QRect, zapisane);
        TestEnvironment env(false);
        TWindow rejestr;
        WindowPlacement placement(rejestr, u"OknoTestowe"_s, WindowPlacement::Remember::PositionAndSize);
        {
            QDialog okno;
            okno.setGeometry(zapisane);
            placement.save(okno);
        }
        QDialog okno;
        okno.setWindowTitle(u"Notatki - Żółkiewska Łucja"_s);
        placement.restore(okno);
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        QVERIFY2(widoczny().contains(okno.frameGeometry()),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(okno.x()).arg(okno.y()).arg(okno.width()).arg(okno.height())));
        if (widoczny().contains(zapisane))
            QCOMPARE(okno.pos(), zapisane.topLeft());
    }

    // A dialog of fixed size narrower than its title widens to show it: the
    // margins dialog, whose title was clipped to "Margin… niosek".
    void titleNeverClipped()
    {
        TestDatabase db;
        TMarginesyFrm okno(db.dm);
        okno.setWindowTitle(u"Marginesy - załącznik"_s);
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        keepShot(okno, u"marginesy"_s);
        QVERIFY2(okno.width() >= OknaNaEkranie::SzerokoscTytulu(okno),
                 qPrintable(u"%1 < %2"_s.arg(okno.width()).arg(OknaNaEkranie::SzerokoscTytulu(okno))));
        okno.close();
    }
};

int main(int argc, char **argv)
{
    TarlenApplication app(argc, argv);
    TestOknaNaEkranie test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_oknanaekranie.moc"
