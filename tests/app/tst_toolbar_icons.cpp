#include "app/mainform.h"
#include "app/startup.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QImage>
#include <QStandardPaths>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// The pictures of the main window's buttons on a desktop that names no icon
// theme of its own: an enabled button shows a picture in colour, plainly
// different from the greyed one of a disabled button.
class TestToolbarIcons : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TMainForm> form;

    // The share of the picture's visible points that are clearly coloured.
    static double colouredShare(const QImage &picture)
    {
        const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
        int visible = 0;
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() < 128)
                    continue;
                ++visible;
                if (c.hsvSaturation() >= 100 && c.value() >= 60)
                    ++coloured;
            }
        }
        return visible ? double(coloured) / visible : 0.0;
    }

private slots:
    void initTestCase()
    {
        // What an X11 desktop without a theme of its own gives the program;
        // the offscreen platform used by the tests knows no icon directories.
        QIcon::setThemeSearchPaths(QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, u"icons"_s,
                                                            QStandardPaths::LocateDirectory));
        QIcon::setThemeName(u"hicolor"_s);
        prepareApplication(*qApp);
        if (QIcon::fromTheme(u"folder-documents"_s).isNull())
            QSKIP("no icon theme with the program's pictures is installed (adwaita-icon-theme)");

        db = std::make_unique<TestDatabase>();
        form = std::make_unique<TMainForm>(db->dm, db->env.root() + u"/config/Morvik_Vat5.ini"_s);
        form->UtworzOkna();
        addTaxpayer(db->dm, {{u"Nazwisko"_s, u"Nowak"_s}});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanupTestCase()
    {
        form.reset();
        db.reset();
    }

    void enabledButtonsShowColour_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Dodaj") << u"InsertBtn"_s;
        QTest::newRow("Popraw") << u"EditBtn"_s;
        QTest::newRow("Usuń") << u"DeleteBtn"_s;
        QTest::newRow("Notatki") << u"NotatkiBtn"_s;
        QTest::newRow("Wnioski") << u"WnioskiBtn"_s;
        QTest::newRow("Zamknij") << u"CloseBtn"_s;
    }
    void enabledButtonsShowColour()
    {
        QFETCH(QString, button);
        auto *b = childNamed<QToolButton>(*form, button);
        QVERIFY(b->isEnabled());
        QVERIFY2(!b->icon().name().isEmpty(), "the picture is the style's, not the theme's");
        const QImage normal = b->icon().pixmap(b->iconSize(), 1.0, QIcon::Normal).toImage();
        const QImage disabled = b->icon().pixmap(b->iconSize(), 1.0, QIcon::Disabled).toImage();
        QCOMPARE(normal.size(), b->iconSize());
        QVERIFY(normal != disabled);
        const double share = colouredShare(normal);
        QVERIFY2(share >= 0.05, qPrintable(u"coloured share %1"_s.arg(share)));
        QCOMPARE(colouredShare(disabled), 0.0);

        // What the button paints is the picture of its state.
        const QImage painted = b->grab().toImage();
        QVERIFY(colouredShare(painted) > 0.0);
        b->setEnabled(false);
        const QImage greyed = b->grab().toImage();
        b->setEnabled(true);
        QCOMPARE(colouredShare(greyed), 0.0);
    }
};

QTEST_MAIN(TestToolbarIcons)
#include "tst_toolbar_icons.moc"
