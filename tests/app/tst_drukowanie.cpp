// Printing from the applications window as the user does it: the overprint
// of an application and of a chosen attachment through the print dialog,
// and the complete form of both through the preview's PDF export; the
// output read back from the PDF files.

#include "app/mainform.h"

#include "overprint/drukfrm.h"
#include "reports/engine/qrpreview.h"
#include "vzm/windows/wnioskifrm.h"
#include "vzm/windows/wyborzal.h"

#include "support/formdata.h"
#include "support/pdfwords.h"
#include "support/widgettest.h"
#include "app/drogaokien.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestDrukowanie : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;
    QTemporaryDir output;

    // In the applications window of the current taxpayer: `act`, then close it.
    void inApplications(const std::function<void(TWnioskiFrm &)> &act)
    {
        bool shown = false;
        onNextModal<TWnioskiFrm>([&](TWnioskiFrm &applications) {
            shown = true;
            act(applications);
            applications.reject();
        });
        QTest::mouseClick(childNamed<QToolButton>(*form, u"WnioskiBtn"_s), Qt::LeftButton);
        QTRY_VERIFY(shown);
    }
private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        form = std::make_unique<TMainForm>(*dm, env->root() + u"/config/Morvik_Vat5.ini"_s);
        QVERIFY(dm->OtworzTabele());
        form->UtworzOkna();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        printSettings().FontName = u"Arial"_s;
        printSettings().FontSize = 10;
        form->DrukarkaProgramu().printer().setFullPage(true);

        const int podat = addTaxpayer(*dm, pelnyPodatnik());
        QVERIFY(dm->Podatnik.locate(u"PodatId"_s, podat));
        const int vzmId = TestDatabase::addRecord(dm->VzmyTbl, {{u"PodatId"_s, podat}, {u"NrKolej"_s, 1}}, u"VzmId"_s);
        for (int i = 1; i <= 30; ++i)
            TestDatabase::addRecord(dm->Faktury, {{u"VzmId"_s, vzmId}, {u"Oznacz"_s, u"A"_s},
                                                  {u"NrFakt"_s, u"FV/%1"_s.arg(i)},
                                                  {u"Brutto"_s, QVariant::fromValue(Money::fromUnits(100 + i))}},
                                    u"FaktId"_s);
        dm->NumerujA();
    }
    void cleanup()
    {
        TQRPreview::SetFileChooser({});
        form.reset();
        dm.reset();
        env.reset();
    }

    void overprintOfTheApplication()
    {
        const QString file = output.filePath(u"wniosek.pdf"_s);
        form->DrukarkaProgramu().DrukujDoPliku(file);
        bool printed = false;
        inApplications([&](TWnioskiFrm &applications) {
            printOnlyPage(1, printed);
            QTest::mouseClick(childNamed<QPushButton>(applications, u"WnNadrukBtn"_s), Qt::LeftButton);
        });
        QVERIFY(printed);
        QCOMPARE(wordsAt(pdfWords(file), 23, 17), u"1"_s);
        // Nothing but the file written, named in an information box.
        QCOMPARE(boxes.texts(), QStringList{u"Zapisano plik:\r"_s + QDir::toNativeSeparators(file)});
        QCOMPARE(boxes.shown().first().kind, MessageRequest::Kind::Information);
    }

    void overprintOfTheSecondAttachment()
    {
        const QString file = output.filePath(u"zalacznik.pdf"_s);
        form->DrukarkaProgramu().DrukujDoPliku(file);
        bool printed = false;
        QString chooserTitle;
        inApplications([&](TWnioskiFrm &applications) {
            childNamed<QTabWidget>(applications, u"PageControl"_s)->setCurrentIndex(0);
            onNextModal<TWyborZal>([&](TWyborZal &chooser) {
                chooserTitle = chooser.windowTitle();
                chooser.ListaZal->setCurrentRow(1);
                printOnlyPage(1, printed);
                chooser.accept();
            });
            QTest::mouseClick(childNamed<QPushButton>(applications, u"ZlNadrukBtn"_s), Qt::LeftButton);
        });
        QCOMPARE(chooserTitle, u"Wybierz nr załącznika VZM-1/A"_s);
        QVERIFY(printed);
        const auto words = pdfWords(file);
        QCOMPARE(wordsAt(words, 277, 41) + wordsAt(words, 282, 41), u"02"_s);
        QCOMPARE(wordsAt(words, 12, 126), u"FV/28"_s);
    }

    void completeApplicationSavedAsPdf()
    {
        const QString file = output.filePath(u"pelny.pdf"_s);
        int pages = 0;
        inApplications([&](TWnioskiFrm &applications) {
            exportPreview(file, pages);
            QTest::mouseClick(childNamed<QPushButton>(applications, u"WnPodgladBtn"_s), Qt::LeftButton);
        });
        QCOMPARE(pages, 4);
        QVERIFY(findWord(pdfWords(file, 1), u"ŻÓŁKIEWSKI"_s).text.size() > 0);
        QVERIFY(!pdfWords(file, 4).isEmpty());
    }

    void completeSecondAttachmentSavedAsPdf()
    {
        const QString file = output.filePath(u"zal2.pdf"_s);
        int pages = 0;
        inApplications([&](TWnioskiFrm &applications) {
            childNamed<QTabWidget>(applications, u"PageControl"_s)->setCurrentIndex(0);
            onNextModal<TWyborZal>([&](TWyborZal &chooser) {
                chooser.ListaZal->setCurrentRow(1);
                exportPreview(file, pages);
                chooser.accept();
            });
            QTest::mouseClick(childNamed<QPushButton>(applications, u"ZlPodgladBtn"_s), Qt::LeftButton);
        });
        QCOMPARE(pages, 2);
        QCOMPARE(findWord(pdfWords(file, 1), u"FV/28"_s).text, u"FV/28"_s);
    }
};

QTEST_MAIN(TestDrukowanie)
#include "tst_drukowanie.moc"
