#include "widgets/krata.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

namespace {

const QColor kolorPiora(200, 0, 0);
const QColor kolorPedzla(255, 255, 224);
const QColor kolorTekstu(0, 0, 160);

// Counts the paint events a widget receives.
class LicznikMalowan : public QObject
{
public:
    explicit LicznikMalowan(QWidget *widget) { widget->installEventFilter(this); }
    int ile = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++ile;
        return false;
    }
};

QImage obraz(TKrata &krata)
{
    return krata.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A box with the test's colours, so that every pixel is either pen or brush.
void przygotuj(TKrata &krata, int szer, int wys, int grubosc, int wiersze)
{
    krata.resize(szer, wys);
    krata.SetPen(QPen(kolorPiora, grubosc));
    krata.SetBrush(QBrush(kolorPedzla));
    krata.SetRows(wiersze);
}

// Where a box should show its pen: a band as wide as the pen (at least one
// pixel) along each of its four edges, and for every dividing line a band of
// the same height whose top lies i times the row height below the box's top.
bool naLinii(int x, int y, int szer, int wys, int grubosc, int wiersze)
{
    const int pas = std::max(grubosc, 1);
    if (x < pas || y < pas || x >= szer - pas || y >= wys - pas)
        return true;
    const int h = wys / wiersze;
    for (int i = 1; i < wiersze; ++i)
        if (y >= i * h && y < i * h + pas)
            return true;
    return false;
}

QFont czcionkaBezWygladzania()
{
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

// The grid box: its properties, the rules of their setters, and what it
// paints, measured on the picture it renders.
class TestKrata : public QObject
{
    Q_OBJECT

private slots:
    void newBox()
    {
        TKrata krata;
        QCOMPARE(krata.size(), QSize(66, 46));
        QCOMPARE(krata.Caption(), QString());
        QCOMPARE(krata.Rows(), 1);
        QCOMPARE(krata.MargLeft(), 6);
        QCOMPARE(krata.MargTop(), 1);
        QCOMPARE(krata.Pen(), QPen());
        QCOMPARE(krata.Brush().style(), Qt::SolidPattern);
        QCOMPARE(krata.Brush().color(), krata.palette().color(QPalette::Button));
        QCOMPARE(krata.focusPolicy(), Qt::NoFocus);
    }

    void setters_data()
    {
        QTest::addColumn<QByteArray>("wlasciwosc");
        QTest::addColumn<QVariant>("poczatkowa");
        QTest::addColumn<QVariant>("zapisana");
        QTest::addColumn<QVariant>("oczekiwana");
        QTest::addColumn<bool>("maluje");

        const QVariant s = QStringLiteral("Nr 12");
        QTest::newRow("Caption changed") << QByteArray("Caption") << s << QVariant(QStringLiteral("Nr 13"))
                                         << QVariant(QStringLiteral("Nr 13")) << true;
        QTest::newRow("Caption emptied") << QByteArray("Caption") << s << QVariant(QString()) << QVariant(QString())
                                         << true;
        QTest::newRow("Caption the same") << QByteArray("Caption") << s << s << s << false;

        QTest::newRow("Rows changed") << QByteArray("Rows") << QVariant(3) << QVariant(5) << QVariant(5) << true;
        QTest::newRow("Rows back to 1") << QByteArray("Rows") << QVariant(3) << QVariant(1) << QVariant(1) << true;
        QTest::newRow("Rows the same") << QByteArray("Rows") << QVariant(3) << QVariant(3) << QVariant(3) << false;
        QTest::newRow("Rows 0 ignored") << QByteArray("Rows") << QVariant(3) << QVariant(0) << QVariant(3) << false;
        QTest::newRow("Rows -1 ignored") << QByteArray("Rows") << QVariant(3) << QVariant(-1) << QVariant(3) << false;

        for (const char *marg : {"MargLeft", "MargTop"}) {
            const QByteArray m(marg);
            QTest::addRow("%s changed", marg) << m << QVariant(4) << QVariant(9) << QVariant(9) << true;
            QTest::addRow("%s to 1", marg) << m << QVariant(4) << QVariant(1) << QVariant(1) << true;
            QTest::addRow("%s the same", marg) << m << QVariant(4) << QVariant(4) << QVariant(4) << false;
            QTest::addRow("%s 0 ignored", marg) << m << QVariant(4) << QVariant(0) << QVariant(4) << false;
            QTest::addRow("%s -2 ignored", marg) << m << QVariant(4) << QVariant(-2) << QVariant(4) << false;
        }
    }

    // A value is taken only when the rule lets it, and the box is repainted
    // exactly when it is taken.
    void setters()
    {
        QFETCH(QByteArray, wlasciwosc);
        QFETCH(QVariant, poczatkowa);
        QFETCH(QVariant, zapisana);
        QFETCH(QVariant, oczekiwana);
        QFETCH(bool, maluje);

        TKrata krata;
        QVERIFY(krata.setProperty(wlasciwosc.constData(), poczatkowa));
        QCOMPARE(krata.property(wlasciwosc.constData()), poczatkowa);
        krata.show();
        QVERIFY(QTest::qWaitForWindowExposed(&krata));
        QTest::qWait(20);

        LicznikMalowan licznik(&krata);
        QVERIFY(krata.setProperty(wlasciwosc.constData(), zapisana));
        QCOMPARE(krata.property(wlasciwosc.constData()), oczekiwana);
        if (maluje) {
            QTRY_VERIFY(licznik.ile > 0);
        } else {
            QTest::qWait(50);
            QCOMPARE(licznik.ile, 0);
        }
    }

    void styleChanges_data()
    {
        QTest::addColumn<QByteArray>("wlasciwosc");
        QTest::addColumn<QVariant>("wartosc");

        QTest::newRow("Pen") << QByteArray("Pen") << QVariant::fromValue(QPen(Qt::red, 3, Qt::DashLine));
        QTest::newRow("Brush") << QByteArray("Brush") << QVariant::fromValue(QBrush(Qt::yellow, Qt::Dense4Pattern));
        QFont font(QStringLiteral("DejaVu Serif"), 14, QFont::Bold);
        QTest::newRow("Font") << QByteArray("Font") << QVariant::fromValue(font);
    }

    // The pen, the brush and the font are copied into the box, and each
    // change of them repaints it.
    void styleChanges()
    {
        QFETCH(QByteArray, wlasciwosc);
        QFETCH(QVariant, wartosc);

        TKrata krata;
        QVERIFY(krata.property(wlasciwosc.constData()) != wartosc);
        krata.show();
        QVERIFY(QTest::qWaitForWindowExposed(&krata));
        QTest::qWait(20);

        LicznikMalowan licznik(&krata);
        QVERIFY(krata.setProperty(wlasciwosc.constData(), wartosc));
        QCOMPARE(krata.property(wlasciwosc.constData()), wartosc);
        QTRY_VERIFY(licznik.ile > 0);
    }

    void dividingLines_data()
    {
        QTest::addColumn<int>("wys");
        QTest::addColumn<int>("wiersze");
        QTest::addColumn<int>("grubosc");
        QTest::addColumn<QList<int>>("linie"); // rows of the box painted with the pen

        QTest::newRow("1 row") << 46 << 1 << 1 << QList<int>{0, 45};
        QTest::newRow("3 rows in 46") << 46 << 3 << 1 << QList<int>{0, 15, 30, 45};
        QTest::newRow("2 rows in 46") << 46 << 2 << 1 << QList<int>{0, 23, 45};
        QTest::newRow("4 rows in 46") << 46 << 4 << 1 << QList<int>{0, 11, 22, 33, 45};
        QTest::newRow("3 rows in 46, pen 0") << 46 << 3 << 0 << QList<int>{0, 15, 30, 45};
        QTest::newRow("3 rows in 60, pen 2") << 60 << 3 << 2 << QList<int>{0, 1, 20, 21, 40, 41, 58, 59};
        QTest::newRow("4 rows in 45, pen 3")
            << 45 << 4 << 3 << QList<int>{0, 1, 2, 11, 12, 13, 22, 23, 24, 33, 34, 35, 42, 43, 44};
        QTest::newRow("more rows than pixels") << 46 << 50 << 1 << QList<int>{0, 45};
    }

    // Down the middle of the box the pen shows only on the frame and on the
    // dividing lines; each line runs unbroken from the frame on the left to
    // the frame on the right.
    void dividingLines()
    {
        QFETCH(int, wys);
        QFETCH(int, wiersze);
        QFETCH(int, grubosc);
        QFETCH(QList<int>, linie);

        TKrata krata;
        przygotuj(krata, 66, wys, grubosc, wiersze);
        const QImage img = obraz(krata);
        QCOMPARE(img.size(), QSize(66, wys));

        QList<int> widoczne;
        for (int y = 0; y < wys; ++y)
            if (img.pixelColor(33, y) == kolorPiora)
                widoczne << y;
        QCOMPARE(widoczne, linie);

        for (int y : std::as_const(linie))
            for (int x = 0; x < 66; ++x)
                QVERIFY2(img.pixelColor(x, y) == kolorPiora, qPrintable(QStringLiteral("gap at %1,%2").arg(x).arg(y)));
    }

    void frame_data()
    {
        QTest::addColumn<int>("szer");
        QTest::addColumn<int>("wys");
        QTest::addColumn<int>("grubosc");
        QTest::addColumn<int>("wiersze");

        QTest::newRow("pen 0") << 66 << 46 << 0 << 1;
        QTest::newRow("pen 1") << 66 << 46 << 1 << 1;
        QTest::newRow("pen 2") << 66 << 46 << 2 << 1;
        QTest::newRow("pen 3, 3 rows") << 66 << 46 << 3 << 3;
        QTest::newRow("pen 4, 4 rows") << 80 << 61 << 4 << 4;
        QTest::newRow("pen 5, 2 rows") << 41 << 37 << 5 << 2;
        QTest::newRow("pen 2, 5 rows, odd size") << 51 << 47 << 2 << 5;
        QTest::newRow("pen 1, a row a pixel") << 30 << 20 << 1 << 20;
        QTest::newRow("pen 0, 7 rows, wide") << 200 << 90 << 0 << 7;
    }

    // The whole picture, pixel by pixel: the frame's lines are as wide as the
    // pen and lie wholly inside the box, the rest is the brush.
    void frame()
    {
        QFETCH(int, szer);
        QFETCH(int, wys);
        QFETCH(int, grubosc);
        QFETCH(int, wiersze);

        TKrata krata;
        przygotuj(krata, szer, wys, grubosc, wiersze);
        const QImage img = obraz(krata);
        QCOMPARE(img.size(), QSize(szer, wys));

        for (int y = 0; y < wys; ++y)
            for (int x = 0; x < szer; ++x) {
                const QColor oczekiwany = naLinii(x, y, szer, wys, grubosc, wiersze) ? kolorPiora : kolorPedzla;
                if (img.pixelColor(x, y) != oczekiwany)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(img.pixelColor(x, y).name(), oczekiwany.name())));
            }
    }

    // Pens of width 0 and 1 draw the same box; a pen of width 2 fills the
    // outer two pixels instead of one.
    void thinPens()
    {
        TKrata krata;
        przygotuj(krata, 66, 46, 0, 3);
        const QImage zero = obraz(krata);
        krata.SetPen(QPen(kolorPiora, 1));
        const QImage jeden = obraz(krata);
        krata.SetPen(QPen(kolorPiora, 2));
        const QImage dwa = obraz(krata);
        QCOMPARE(zero, jeden);
        QVERIFY(jeden != dwa);
        QCOMPARE(jeden.pixelColor(1, 5), kolorPedzla);
        QCOMPARE(dwa.pixelColor(1, 5), kolorPiora);
        QCOMPARE(dwa.pixelColor(64, 5), kolorPiora);
        QCOMPARE(dwa.pixelColor(5, 44), kolorPiora);
        QCOMPARE(dwa.pixelColor(2, 5), kolorPedzla);
    }

    void caption_data()
    {
        QTest::addColumn<int>("margLeft");
        QTest::addColumn<int>("margTop");
        QTest::addColumn<int>("grubosc");
        QTest::addColumn<int>("wiersze");

        QTest::newRow("defaults") << 6 << 1 << 1 << 1;
        QTest::newRow("wide margins") << 20 << 12 << 1 << 1;
        QTest::newRow("pen 0") << 3 << 2 << 0 << 1;
        QTest::newRow("pen 2 moves it by 1") << 6 << 1 << 2 << 1;
        QTest::newRow("pen 4 moves it by 2") << 8 << 5 << 4 << 1;
        QTest::newRow("over a dividing line") << 6 << 1 << 1 << 8;
        QTest::newRow("over a thick dividing line") << 10 << 4 << 3 << 6;
    }

    // The caption lies at the margins from the frame's half-pen corner, in
    // the box's font and text colour, on the brush: a dividing line does not
    // show through it. Nothing else of the box is text-coloured.
    void caption()
    {
        QFETCH(int, margLeft);
        QFETCH(int, margTop);
        QFETCH(int, grubosc);
        QFETCH(int, wiersze);

        const QString tekst = QStringLiteral("Wąż 12");
        const QFont font = czcionkaBezWygladzania();
        TKrata krata;
        przygotuj(krata, 120, 60, grubosc, wiersze);
        QPalette paleta = krata.palette();
        paleta.setColor(QPalette::WindowText, kolorTekstu);
        krata.setPalette(paleta);
        krata.SetFont(font);
        krata.SetMargLeft(margLeft);
        krata.SetMargTop(margTop);
        const QImage pusta = obraz(krata);
        krata.SetCaption(tekst);
        const QImage img = obraz(krata);

        const QFontMetrics fm(font);
        QImage wzor(fm.horizontalAdvance(tekst), fm.height(), QImage::Format_RGB32);
        wzor.fill(kolorPedzla);
        {
            QPainter p(&wzor);
            p.setFont(font);
            p.setPen(kolorTekstu);
            p.drawText(wzor.rect(), Qt::AlignLeft | Qt::AlignTop, tekst);
        }
        int tusz = 0;
        for (int y = 0; y < wzor.height(); ++y)
            for (int x = 0; x < wzor.width(); ++x)
                tusz += wzor.pixelColor(x, y) == kolorTekstu;
        QVERIFY(tusz > 20);

        const QRect obszar(QPoint(grubosc / 2 + margLeft, grubosc / 2 + margTop), wzor.size());
        QVERIFY(QRect(QPoint(0, 0), img.size()).contains(obszar));
        QCOMPARE(img.copy(obszar), wzor);

        // Outside the caption the box is as it was without one.
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (!obszar.contains(x, y) && img.pixel(x, y) != pusta.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 changed by the caption").arg(x).arg(y)));

        if (wiersze > 1) {
            // The test rows put a dividing line across the caption's area.
            bool linia = false;
            for (int y = obszar.top(); y <= obszar.bottom(); ++y)
                linia = linia || pusta.pixelColor(obszar.left() + 1, y) == kolorPiora;
            QVERIFY(linia);
        }
    }

    // Edits and labels lie on the box as its children and are painted over it.
    void children()
    {
        TKrata krata;
        przygotuj(krata, 100, 50, 1, 2);
        auto *etykieta = new QLabel(&krata);
        etykieta->setAutoFillBackground(true);
        QPalette paleta = etykieta->palette();
        paleta.setColor(QPalette::Window, Qt::green);
        etykieta->setPalette(paleta);
        etykieta->setGeometry(10, 20, 30, 10);
        etykieta->show();

        const QImage img = obraz(krata);
        QCOMPARE(etykieta->parentWidget(), &krata);
        QCOMPARE(img.pixelColor(10, 25), QColor(Qt::green));
        QCOMPARE(img.pixelColor(39, 25), QColor(Qt::green));
        QCOMPARE(img.pixelColor(40, 25), kolorPiora); // the dividing line at y = 25
        QCOMPARE(img.pixelColor(9, 22), kolorPedzla);
    }
};

QTEST_MAIN(TestKrata)
#include "tst_krata.moc"
