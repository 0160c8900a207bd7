#include "taxpayers/domyslnefrm.h"
#include "taxpayers/podatnikfrm.h"

#include "checks/identifiers.h"
#include "data/tdm.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList PolaTekstowe = {u"Kraj"_s, u"Powiat"_s, u"Gmina"_s, u"Miasto"_s,
                                  u"KodPoczt"_s, u"Poczta"_s, u"Urzad"_s};

} // namespace

// The default parameters window shown on the offscreen platform over a
// database made by the installer.
class TestDomyslneFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDomyslneFrm> frm;

    template <class T = QLineEdit>
    T *control(const QString &name) { return childNamed<T>(*frm, name); }
    QLineEdit *ed(const QString &name) { return control<QLineEdit>(name); }
    QComboBox *voivodeshipBox() { return control<QComboBox>(u"EdWojew"_s); }

    bool showWindow()
    {
        frm = std::make_unique<TDomyslneFrm>(*dm);
        frm->show();
        return QTest::qWaitForWindowActive(frm.get());
    }
    void storeDefaults(const QVariantMap &fields)
    {
        dm->Domysl.edit();
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            if (it.value().userType() == qMetaTypeId<Money>())
                dm->Domysl.field(it.key()).setMoney(it.value().value<Money>());
            else
                dm->Domysl.field(it.key()).setString(it.value().toString());
        }
        dm->Domysl.post();
    }
    void removeDefaults()
    {
        while (!dm->Domysl.isEmpty()) {
            dm->Domysl.first();
            dm->Domysl.remove();
        }
    }
    QString currentField(const QString &name) { return dm->Domysl.field(name).asString(); }
    void clickSave() { QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        QVERIFY(dm->OtworzTabele());
    }
    void cleanup()
    {
        frm.reset();
        dm.reset();
        env.reset();
    }

    // With no record the window shows nothing and "<Brak>"; saving (Enter,
    // the default button) creates the record.
    void emptyTableShowsNothingAndSavingCreatesTheRecord()
    {
        removeDefaults();
        QVERIFY(showWindow());
        for (const QString &p : PolaTekstowe)
            QCOMPARE(ed(u"Ed"_s + p)->text(), QString());
        QCOMPARE(ed(u"EdCena"_s)->text().trimmed(), QString());
        QCOMPARE(voivodeshipBox()->currentText(), TDomyslneFrm::Brak);
        QCOMPARE(voivodeshipBox()->count(), 17);
        QCOMPARE(voivodeshipBox()->itemText(0), u"Dolnośląskie"_s);
        QCOMPARE(voivodeshipBox()->itemText(15), u"Zachodniopomorskie"_s);
        QCOMPARE(voivodeshipBox()->maxVisibleItems(), 17);
        QVERIFY(!voivodeshipBox()->isEditable());

        ed(u"EdKraj"_s)->setFocus();
        typeText(ed(u"EdKraj"_s), u"Polska"_s);
        voivodeshipBox()->setCurrentIndex(int(Wojewodztwa.indexOf(u"Mazowieckie"_s)));
        ed(u"EdMiasto"_s)->setText(u"Płock"_s);
        ed(u"EdCena"_s)->setFocus();
        typeText(ed(u"EdCena"_s), u"4250,5"_s);
        QTest::keyClick(ed(u"EdCena"_s), Qt::Key_Return);

        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QCOMPARE(dm->Domysl.recordCount(), 1);
        QCOMPARE(currentField(u"Kraj"_s), u"Polska"_s);
        QCOMPARE(currentField(u"Wojew"_s), u"Mazowieckie"_s);
        QCOMPARE(currentField(u"Miasto"_s), u"Płock"_s);
        QCOMPARE(currentField(u"Powiat"_s), QString());
        QCOMPARE(dm->Domysl.field(u"CenaMetra"_s).asMoney(), Money::fromRaw(42505000));
    }

    // Only a voivodeship written exactly as in the list is chosen; the price
    // is shown with two decimals, zero as blanks.
    void storedDefaultsAreShown_data()
    {
        QTest::addColumn<QString>("zapisane");
        QTest::addColumn<QString>("wybrane");
        QTest::addColumn<qint64>("cena");
        QTest::addColumn<QString>("pokazana");
        QTest::newRow("Śląskie, zero") << u"Śląskie"_s << u"Śląskie"_s << qint64(0) << QString();
        QTest::newRow("inna wielkość liter") << u"śląskie"_s << TDomyslneFrm::Brak << qint64(42505000)
                                             << u"4\u00A0250,50"_s;
        QTest::newRow("puste") << QString() << TDomyslneFrm::Brak << qint64(-123000) << u"-12,30"_s;
        QTest::newRow("spoza listy") << u"Mazowsze"_s << TDomyslneFrm::Brak << qint64(12345) << u"1,23"_s;
        QTest::newRow("z odstępem") << u"Opolskie "_s << TDomyslneFrm::Brak << qint64(10000) << u"1,00"_s;
        QTest::newRow("ostatnie z listy") << u"Zachodniopomorskie"_s << u"Zachodniopomorskie"_s
                                          << qint64(3000000000) << u"300\u00A0000,00"_s;
    }
    void storedDefaultsAreShown()
    {
        QFETCH(QString, zapisane);
        QFETCH(QString, wybrane);
        QFETCH(qint64, cena);
        QFETCH(QString, pokazana);
        storeDefaults({{u"Wojew"_s, zapisane}, {u"Powiat"_s, u"opolski"_s}, {u"Urzad"_s, u"US Opole"_s},
                       {u"CenaMetra"_s, QVariant::fromValue(Money::fromRaw(cena))}});
        QVERIFY(showWindow());
        QCOMPARE(voivodeshipBox()->currentText(), wybrane);
        QCOMPARE(ed(u"EdCena"_s)->text().trimmed(), pokazana);
        QCOMPARE(ed(u"EdKraj"_s)->text(), u"Polska"_s);
        QCOMPARE(ed(u"EdPowiat"_s)->text(), u"opolski"_s);
        QCOMPARE(ed(u"EdUrzad"_s)->text(), u"US Opole"_s);
    }

    // Saving edits the one record: "<Brak>" is an empty voivodeship, the
    // price keeps four decimals, blanks are zero.
    void savingEditsTheOneRecord_data()
    {
        QTest::addColumn<QString>("wybrane");
        QTest::addColumn<QString>("cena");
        QTest::addColumn<QString>("zapisaneWojew");
        QTest::addColumn<qint64>("kwota");
        QTest::newRow("<Brak>") << TDomyslneFrm::Brak << u"3500"_s << QString() << qint64(35000000);
        QTest::newRow("Łódzkie") << u"Łódzkie"_s << u"1 234,5"_s << u"Łódzkie"_s << qint64(12345000);
        QTest::newRow("pięć miejsc po przecinku") << u"Lubuskie"_s << u"1234,56789"_s << u"Lubuskie"_s
                                                 << qint64(12345679);
        QTest::newRow("kropka dziesiętna") << u"Lubuskie"_s << u"99.99"_s << u"Lubuskie"_s << qint64(999900);
        QTest::newRow("pusta cena") << u"Opolskie"_s << QString() << u"Opolskie"_s << qint64(0);
        QTest::newRow("cena ze spacji") << u"Opolskie"_s << u"   "_s << u"Opolskie"_s << qint64(0);
    }
    void savingEditsTheOneRecord()
    {
        QFETCH(QString, wybrane);
        QFETCH(QString, cena);
        QFETCH(QString, zapisaneWojew);
        QFETCH(qint64, kwota);
        storeDefaults({{u"Wojew"_s, u"Pomorskie"_s}, {u"CenaMetra"_s, QVariant::fromValue(Money::fromUnits(1))}});
        QVERIFY(showWindow());
        voivodeshipBox()->setCurrentText(wybrane);
        QCOMPARE(voivodeshipBox()->currentText(), wybrane);
        ed(u"EdCena"_s)->clear();
        ed(u"EdCena"_s)->setFocus();
        typeText(ed(u"EdCena"_s), cena);
        ed(u"EdUrzad"_s)->setText(QString(100, u'U'));
        clickSave();

        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(!frm->isVisible());
        QCOMPARE(dm->Domysl.recordCount(), 1);
        QCOMPARE(currentField(u"Wojew"_s), zapisaneWojew);
        QCOMPARE(dm->Domysl.field(u"CenaMetra"_s).asMoney(), Money::fromRaw(kwota));
        QCOMPARE(currentField(u"Urzad"_s), QString(80, u'U'));
        QCOMPARE(currentField(u"Kraj"_s), u"Polska"_s);
    }

    // A price with more decimals than shown is saved whole when untouched,
    // and also after the focus has passed through its control.
    void untouchedPriceKeepsItsDecimals()
    {
        storeDefaults({{u"CenaMetra"_s, QVariant::fromValue(Money::fromRaw(42501234))}});
        QVERIFY(showWindow());
        QCOMPARE(ed(u"EdCena"_s)->text(), u"4\u00A0250,12"_s);
        ed(u"EdCena"_s)->setFocus();
        ed(u"EdKraj"_s)->setFocus();
        clickSave();
        QVERIFY(!frm->isVisible());
        QCOMPARE(dm->Domysl.field(u"CenaMetra"_s).asMoney(), Money::fromRaw(42501234));
    }

    // An amount that cannot be read is refused under its field, and nothing is written.
    void unreadablePriceIsRefused_data()
    {
        QTest::addColumn<QString>("cena");
        QTest::newRow("litery") << u"abc"_s;
        QTest::newRow("dwa przecinki") << u"12,3,4"_s;
        QTest::newRow("cyfra i litera") << u"12a"_s;
        QTest::newRow("kropka przed tysiącami") << u"4.250"_s;
    }
    void unreadablePriceIsRefused()
    {
        QFETCH(QString, cena);
        FieldErrors bledy;
        QVERIFY(showWindow());
        ed(u"EdKraj"_s)->setText(u"Niemcy"_s);
        ed(u"EdCena"_s)->setText(cena);
        clickSave();
        QCOMPARE(bledy.shown(), QStringList{u"EdCena: Niepoprawna zawartość pola"_s});
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(frm->isVisible());
        QCOMPARE(QApplication::focusWidget(), ed(u"EdCena"_s));
        QCOMPARE(ed(u"EdCena"_s)->text(), cena);
        QVERIFY(!dm->Domysl.isEditing());
        QCOMPARE(currentField(u"Kraj"_s), u"Polska"_s);
    }

    // A post the database refuses is reported; the window keeps its entries.
    void refusedSaveIsReported_data()
    {
        QTest::addColumn<bool>("pustaTabela");
        QTest::newRow("poprawa rekordu") << false;
        QTest::newRow("pierwszy rekord") << true;
    }
    void refusedSaveIsReported()
    {
        QFETCH(bool, pustaTabela);
        if (pustaTabela)
            removeDefaults();
        dm->database().run(QStringLiteral("CREATE TRIGGER blokada BEFORE %1 ON Domysl BEGIN "
                                          "SELECT RAISE(ABORT,'zapis zablokowany'); END")
                               .arg(pustaTabela ? u"INSERT"_s : u"UPDATE"_s));
        QVERIFY(showWindow());
        ed(u"EdKraj"_s)->setText(u"Niemcy"_s);
        clickSave();
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().startsWith(u"Nie udało się zapisać parametrów domyślnych:\r"_s));
        QVERIFY2(boxes.texts().first().contains(u"zapis zablokowany"_s), qPrintable(boxes.texts().first()));
        QVERIFY(frm->isVisible());
        QCOMPARE(ed(u"EdKraj"_s)->text(), u"Niemcy"_s);
        QVERIFY(!dm->Domysl.isEditing());
        QCOMPARE(dm->Domysl.recordCount(), pustaTabela ? 0 : 1);
        QCOMPARE(currentField(u"Kraj"_s), pustaTabela ? QString() : u"Polska"_s);
    }

    // "&Anuluj" and Esc close without saving, once the user agrees to drop
    // what was typed.
    void cancelAndEscapeSaveNothing()
    {
        QVERIFY(showWindow());
        ed(u"EdKraj"_s)->setText(u"Niemcy"_s);
        boxes.answer(true);
        boxes.answer(true);
        QTest::keyClick(ed(u"EdKraj"_s), Qt::Key_Escape);
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Rejected));
        QVERIFY(showWindow());
        QCOMPARE(ed(u"EdKraj"_s)->text(), u"Polska"_s);
        ed(u"EdKraj"_s)->setText(u"Czechy"_s);
        QTest::mouseClick(control<QPushButton>(u"CancelBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(currentField(u"Kraj"_s), u"Polska"_s);
        QCOMPARE(boxes.texts(), QStringList(2, u"Porzucić wprowadzone zmiany?"_s));
    }

    // Coming back to the window (after another window or a message box)
    // keeps what the user typed.
    void returningToTheWindowKeepsTheEntries()
    {
        QVERIFY(showWindow());
        ed(u"EdKraj"_s)->setText(u"Niemcy"_s);
        QWidget inne;
        inne.show();
        QApplication::setActiveWindow(&inne);
        QVERIFY(QTest::qWaitForWindowActive(&inne));
        inne.hide();
        QApplication::setActiveWindow(frm.get());
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        QCOMPARE(ed(u"EdKraj"_s)->text(), u"Niemcy"_s);
    }

    // The accelerators of the captions lead to their controls.
    void acceleratorsReachTheirControls_data()
    {
        QTest::addColumn<int>("klawisz");
        QTest::addColumn<QString>("kontrolka");
        QTest::newRow("K") << int(Qt::Key_K) << u"EdKraj"_s;
        QTest::newRow("W") << int(Qt::Key_W) << u"EdWojew"_s;
        QTest::newRow("P") << int(Qt::Key_P) << u"EdPowiat"_s;
        QTest::newRow("G") << int(Qt::Key_G) << u"EdGmina"_s;
        QTest::newRow("M") << int(Qt::Key_M) << u"EdMiasto"_s;
        QTest::newRow("O") << int(Qt::Key_O) << u"EdKodPoczt"_s;
        QTest::newRow("C") << int(Qt::Key_C) << u"EdPoczta"_s;
    }
    void acceleratorsReachTheirControls()
    {
        QFETCH(int, klawisz);
        QFETCH(QString, kontrolka);
        QVERIFY(showWindow());
        ed(u"EdCena"_s)->setFocus();
        QTest::keyClick(frm.get(), Qt::Key(klawisz), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), kontrolka);
    }

    // What is saved here is what a new taxpayer starts with.
    void newTaxpayerGetsTheSavedDefaults()
    {
        QVERIFY(showWindow());
        voivodeshipBox()->setCurrentText(TDomyslneFrm::Brak);
        ed(u"EdPowiat"_s)->setText(u"tatrzański"_s);
        ed(u"EdGmina"_s)->setText(u"Zakopane"_s);
        ed(u"EdMiasto"_s)->setText(u"Zakopane"_s);
        ed(u"EdKodPoczt"_s)->setText(u"34-500"_s);
        ed(u"EdPoczta"_s)->setText(u"Zakopane"_s);
        ed(u"EdUrzad"_s)->setText(u"Urząd Skarbowy w Zakopanem"_s);
        clickSave();
        QVERIFY(!frm->isVisible());

        TPodatnikFrm podatnik(*dm);
        podatnik.PrzygotujNowyPodatnik();
        const auto textOf = [&](const char *name) { return podatnik.findChild<QLineEdit *>(QLatin1String(name))->text(); };
        QCOMPARE(textOf("EdKraj"), u"Polska"_s);
        QCOMPARE(textOf("EdWojew"), QString());
        QCOMPARE(textOf("EdPowiat"), u"tatrzański"_s);
        QCOMPARE(textOf("EdGmina"), u"Zakopane"_s);
        QCOMPARE(textOf("EdMiasto"), u"Zakopane"_s);
        QCOMPARE(textOf("EdKodPoczt"), u"34-500"_s);
        QCOMPARE(textOf("EdPoczta"), u"Zakopane"_s);
        QCOMPARE(textOf("EdUrzad"), u"Urząd Skarbowy w Zakopanem"_s);
        QCOMPARE(textOf("EdmKraj"), QString());
    }
};

QTEST_MAIN(TestDomyslneFrm)
#include "tst_domyslnefrm.moc"
