#include "reports/engine/qrcomposite.h"
#include "reports/engine/qrcontrols.h"
#include "reports/engine/qrpreview.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsView>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double MmPerPoint = 25.4 / 72;

// A word of a PDF page with its box in millimetres from the sheet's corner.
struct Word
{
    QString Text;
    QRectF Box;
};

QString Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::vector<Word> WordsOfPage(const QString &pdf, int page)
{
    const QString xml = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"),
                                                          QString::number(page), QStringLiteral("-l"),
                                                          QString::number(page), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    for (auto match = word.globalMatch(xml); match.hasNext();) {
        const auto m = match.next();
        const QPointF topLeft(m.captured(1).toDouble() * MmPerPoint, m.captured(2).toDouble() * MmPerPoint);
        const QPointF bottomRight(m.captured(3).toDouble() * MmPerPoint, m.captured(4).toDouble() * MmPerPoint);
        words.push_back({m.captured(5), QRectF(topLeft, bottomRight)});
    }
    return words;
}

// "595 x 842" (A4 portrait, in points) for each page, in order.
QStringList PageSizes(const QString &pdf, int pages)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                         QString::number(pages), pdf});
    static const QRegularExpression size(QStringLiteral(R"(Page\s+\d+ size:\s+([\d.]+ x [\d.]+) pts)"));
    QStringList sizes;
    for (auto match = size.globalMatch(info); match.hasNext();)
        sizes << match.next().captured(1);
    return sizes;
}

int PageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral(R"(Pages:\s+(\d+))"));
    const auto match = pages.match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// A page with one label "Zażółć" at (left, top) millimetres of its band.
struct LabelPage
{
    TQRReport Report;
    TQRLabel *Label;

    LabelPage(QPageLayout::Orientation orientation, double left, double top, const QString &text)
        : Report(orientation)
    {
        Report.Margins = QMarginsF(7, 10, 10, 10);
        Label = Report.AddBand(Report.PrintableSize().height()).Add<TQRLabel>();
        Label->SetBounds(left, top, 60, 5);
        Label->Font = TQRFont(QStringLiteral("Arial"), 12);
        Label->Caption = text;
    }
};

constexpr double Tolerance = 0.3; // millimetres

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    // Checks that the word's box starts at the point, and answers its box.
    static QRectF VerifyWordAt(const std::vector<Word> &words, const QString &text, QPointF topLeftMm)
    {
        const auto found = std::find_if(words.begin(), words.end(), [&](const Word &w) { return w.Text == text; });
        if (found == words.end()) {
            QTest::qFail(qPrintable(text + QStringLiteral(" not on the page")), __FILE__, __LINE__);
            return {};
        }
        if (qAbs(found->Box.left() - topLeftMm.x()) >= Tolerance || qAbs(found->Box.top() - topLeftMm.y()) >= Tolerance)
            QTest::qFail(qPrintable(QStringLiteral("%1 at %2, %3 mm").arg(text).arg(found->Box.left()).arg(found->Box.top())),
                         __FILE__, __LINE__);
        return found->Box;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QProcess probe;
        probe.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
        QVERIFY2(probe.waitForFinished(), "poppler-utils (pdfinfo, pdftotext) are needed");
    }

    void pdfPlacesTextInMillimetresFromTheSheetsCorner_data()
    {
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("points");
        QTest::newRow("portrait, near the corner") << false << 0.0 << 0.0 << 12;
        QTest::newRow("portrait, middle, small type") << false << 93.0 << 141.5 << 6;
        QTest::newRow("landscape, far right") << true << 230.0 << 20.0 << 14;
    }
    void pdfPlacesTextInMillimetresFromTheSheetsCorner()
    {
        QFETCH(bool, landscape);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(int, points);
        LabelPage page(landscape ? QPageLayout::Landscape : QPageLayout::Portrait, left, top, QStringLiteral("Zażółć"));
        page.Label->Font.setPointSize(points);
        TQRComposite report;
        report.Add(page.Report);
        const QString pdf = Path(QStringLiteral("placed.pdf"));
        QVERIFY(report.ExportPdf(pdf));

        const QRectF box = VerifyWordAt(WordsOfPage(pdf, 1), QStringLiteral("Zażółć"), QPointF(7 + left, 10 + top));
        // The word is as tall as a line of its type on paper.
        const double lineHeightMm = QFontMetricsF(page.Label->Font).height() / QFontMetricsF(page.Label->Font).fontDpi() * 25.4;
        QVERIFY2(qAbs(box.height() - lineHeightMm) < 0.1, qPrintable(QString::number(box.height())));
    }

    void printerMarginsDoNotMoveThePrint_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<bool>("fullPage");
        QTest::addColumn<double>("margin"); // millimetres; negative: the printer's own
        QTest::newRow("1200 dpi, printer's margins") << 1200 << false << -1.0;
        QTest::newRow("1200 dpi, full page") << 1200 << true << -1.0;
        QTest::newRow("1200 dpi, wide margins") << 1200 << false << 25.0;
        QTest::newRow("300 dpi, wide margins") << 300 << false << 25.0;
        QTest::newRow("96 dpi, full page") << 96 << true << -1.0;
    }
    void printerMarginsDoNotMoveThePrint()
    {
        QFETCH(int, resolution);
        QFETCH(bool, fullPage);
        QFETCH(double, margin);
        LabelPage page(QPageLayout::Portrait, 40, 50, QStringLiteral("POLTAX"));
        TQRComposite report;
        report.Add(page.Report);
        const QString pdf = Path(QStringLiteral("printed.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setResolution(resolution);
        printer.setFullPage(fullPage);
        if (margin >= 0)
            printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
        QVERIFY(report.Print(printer));

        VerifyWordAt(WordsOfPage(pdf, 1), QStringLiteral("POLTAX"), QPointF(47, 60));
    }

    void compositeKeepsPageOrderAndOrientation()
    {
        LabelPage first(QPageLayout::Portrait, 20, 20, QStringLiteral("Pierwsza"));
        LabelPage second(QPageLayout::Landscape, 200, 20, QStringLiteral("Druga"));
        LabelPage third(QPageLayout::Portrait, 20, 250, QStringLiteral("Trzecia"));
        TQRComposite report;
        report.Add(first.Report);
        report.Add(second.Report);
        report.Add(third.Report);
        const QString pdf = Path(QStringLiteral("composite.pdf"));
        QVERIFY(report.ExportPdf(pdf));

        QCOMPARE(PageSizes(pdf, 3),
                 (QStringList{QStringLiteral("595 x 842"), QStringLiteral("842 x 595"), QStringLiteral("595 x 842")}));
        VerifyWordAt(WordsOfPage(pdf, 1), QStringLiteral("Pierwsza"), QPointF(27, 30));
        VerifyWordAt(WordsOfPage(pdf, 2), QStringLiteral("Druga"), QPointF(207, 30));
        VerifyWordAt(WordsOfPage(pdf, 3), QStringLiteral("Trzecia"), QPointF(27, 260));
    }

    void printingFailsWithoutAPrinter()
    {
        LabelPage page(QPageLayout::Portrait, 40, 50, QStringLiteral("POLTAX"));
        TQRComposite report;
        report.Add(page.Report);
        QPrinter printer; // no printer installed and no output file
        if (!printer.printerName().isEmpty())
            QSKIP("a printer is installed here");
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QVERIFY(!report.Print(printer));
    }

    void previewShowsEveryPageZoomedToTheWidth()
    {
        LabelPage first(QPageLayout::Portrait, 20, 20, QStringLiteral("Pierwsza"));
        LabelPage second(QPageLayout::Portrait, 20, 20, QStringLiteral("Druga"));
        int fills = 0;
        first.Report.BeforePrint = [&] { ++fills; };
        TQRComposite report;
        report.Add(first.Report);
        report.Add(second.Report);
        report.Title = QStringLiteral("Wniosek VZM-1");
        TQRPreview preview(report, QStringLiteral("wniosek.pdf"), [](const QString &message) { QFAIL(qPrintable(message)); });
        preview.Dialog().show();

        auto *widget = preview.Dialog().findChild<QPrintPreviewWidget *>();
        QVERIFY(widget);
        QCOMPARE(widget->pageCount(), 2);
        QCOMPARE(widget->zoomMode(), QPrintPreviewWidget::FitToWidth);
        QVERIFY(preview.Dialog().windowState() & Qt::WindowMaximized);
        QCOMPARE(preview.Dialog().windowTitle(), report.Title);
        QVERIFY(fills >= 1);
        QVERIFY(!preview.Dialog().grab().isNull());
    }

    // The preview opens at the top of the first page, however its layout
    // grows to the page's width; once the user scrolls it stays where put.
    void previewOpensAtTheTopOfTheFirstPage()
    {
        LabelPage first(QPageLayout::Portrait, 20, 20, QStringLiteral("Pierwsza"));
        LabelPage second(QPageLayout::Portrait, 20, 20, QStringLiteral("Druga"));
        TQRComposite report;
        report.Add(first.Report);
        report.Add(second.Report);
        TQRPreview preview(report, QStringLiteral("wniosek.pdf"), [](const QString &message) { QFAIL(qPrintable(message)); });
        preview.Dialog().show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview.Dialog()));
        preview.Dialog().resize(1000, 700);
        QCoreApplication::processEvents();
        auto *view = preview.Dialog().findChild<QPrintPreviewWidget *>()->findChild<QGraphicsView *>();
        QScrollBar *scroll = view->verticalScrollBar();
        QVERIFY2(scroll->maximum() > scroll->minimum(), "a page zoomed to the width is taller than the window");
        QCOMPARE(scroll->value(), scroll->minimum());

        scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        const int moved = scroll->value();
        QVERIFY(moved > scroll->minimum());
        preview.Dialog().resize(1100, 700);
        QCoreApplication::processEvents();
        QVERIFY(scroll->value() > scroll->minimum());
    }

    void previewExportsOnePdfThroughTheFileChooser_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("file chosen") << false;
        QTest::newRow("cancelled") << true;
    }
    void previewExportsOnePdfThroughTheFileChooser()
    {
        QFETCH(bool, cancelled);
        LabelPage first(QPageLayout::Portrait, 20, 20, QStringLiteral("Pierwsza"));
        LabelPage second(QPageLayout::Landscape, 20, 20, QStringLiteral("Druga"));
        TQRComposite report;
        report.Add(first.Report);
        report.Add(second.Report);
        const QString pdf = Path(QStringLiteral("exported.pdf"));
        QFile::remove(pdf);
        QString suggested;
        TQRPreview::SetFileChooser([&](QWidget *, const QString &name) {
            suggested = name;
            return cancelled ? QString() : pdf;
        });
        TQRPreview preview(report, QStringLiteral("zalacznik.pdf"), [](const QString &message) { QFAIL(qPrintable(message)); });
        preview.Dialog().show();

        QVERIFY(preview.ExportAction());
        preview.ExportAction()->trigger();
        TQRPreview::SetFileChooser({});

        QCOMPARE(suggested, QStringLiteral("zalacznik.pdf"));
        QCOMPARE(QFile::exists(pdf), !cancelled);
        if (!cancelled) {
            QCOMPARE(PageCount(pdf), 2);
            VerifyWordAt(WordsOfPage(pdf, 2), QStringLiteral("Druga"), QPointF(27, 30));
        }
    }

    void exportThatCannotWriteSaysWhichFile()
    {
        LabelPage page(QPageLayout::Portrait, 20, 20, QStringLiteral("Pierwsza"));
        TQRComposite report;
        report.Add(page.Report);
        const QString pdf = Path(QStringLiteral("no such directory/exported.pdf"));
        TQRPreview::SetFileChooser([&](QWidget *, const QString &) { return pdf; });
        QString warning;
        TQRPreview preview(report, QStringLiteral("wniosek.pdf"), [&](const QString &message) { warning = message; });
        const bool exported = preview.ExportPdf();
        TQRPreview::SetFileChooser({});

        QVERIFY(!exported);
        QCOMPARE(warning, QStringLiteral("Nie udało się zapisać pliku: ") + pdf);
    }
};

QTEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
