#include "app/mainform.h"
#include "app/startup.h"

#include "data/kopiezapasowe.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The backup and restore items of the System menu, the automatic copy when
// the program ends, and the offer of a copy when the database is found
// damaged at start.
class TestKopieZapasoweMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;
    // What the file chooser was asked, and what it answers.
    QList<PytanieOPlik> asked;
    QString answer;

    static QByteArray digestOf(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    QString kopie() const { return KopieZapasowe::KatalogKopii(env->databaseDirectory()); }
    QAction *item(const char *name) const { return form->findChild<QAction *>(QLatin1String(name)); }
    int registerRows() const { return form->findChild<QTableView *>(u"DBGrid1"_s)->model()->rowCount(); }
    void addTaxpayer(const QString &surname)
    {
        ::addTaxpayer(*dm, {{u"Nazwisko"_s, surname}, {u"Imie"_s, u"Jan"_s}});
    }
    // Overwrites the start of the first page of a table or index: the file
    // stays a database whose check fails.
    bool damagePage(const QString &name) const
    {
        qint64 offset = 0;
        {
            Database db;
            db.open(env->databaseDirectory());
            const auto root = db.firstRow(u"SELECT rootpage FROM sqlite_master WHERE name = ?"_s, {}, {name});
            if (!root)
                return false;
            offset = (root->at(0).toLongLong() - 1) * db.firstRow(u"PRAGMA page_size"_s)->at(0).toLongLong();
        }
        QFile f(env->databaseFile());
        return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(QByteArray(64, '\xA5')) == 64;
    }
    void startProgram()
    {
        dm = std::make_unique<TDM>(boxes);
        form = std::make_unique<TMainForm>(*dm, env->root() + u"/config/Morvik_Vat5.ini"_s);
        form->UstawWyborPliku([this](QWidget *, const PytanieOPlik &pytanie) {
            asked << pytanie;
            return answer;
        });
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        asked.clear();
        answer.clear();
        startProgram();
        QVERIFY(OtworzBazeDanych(*dm));
        form->UtworzOkna();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup()
    {
        form.reset();
        dm.reset();
        env.reset();
    }

    void systemMenuItems()
    {
        auto *menu = form->findChild<QMenu *>(u"SystemMenu"_s);
        QVERIFY(menu);
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        QVERIFY2(texts.contains(u"&Kopia zapasowa bazy danych…"_s), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(u"&Odtwórz bazę danych z kopii…"_s), qPrintable(texts.join(u'|')));
        QVERIFY(item("KopiaZapasowaItem"));
        QVERIFY(item("OdtworzZKopiiItem"));
    }

    void backupFromTheMenu_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("file chosen") << true;
        QTest::newRow("chooser cancelled") << false;
    }
    void backupFromTheMenu()
    {
        QFETCH(bool, chosen);
        addTaxpayer(u"Kowalski"_s);
        const QString file = env->root() + u"/kopia z menu.sqlite"_s;
        if (chosen)
            answer = file;
        item("KopiaZapasowaItem")->trigger();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().zapis);
        QCOMPARE(asked.first().tytul, u"Kopia zapasowa bazy danych"_s);
        QCOMPARE(QFileInfo::exists(file), chosen);
        if (!chosen) {
            QVERIFY(boxes.texts().isEmpty());
            return;
        }
        KopieZapasowe::SprawdzKopie(file);
        QCOMPARE(boxes.texts(), QStringList{u"Kopia zapasowa bazy danych została zapisana i sprawdzona:\r"_s
                                            + QDir::toNativeSeparators(file)});
        QCOMPARE(boxes.shown().first().kind, MessageRequest::Kind::Information);
    }

    // The next backup is offered where the last one went; a restore opens
    // among the automatic copies (newest first) with that folder one click
    // away, or in that folder while there are no automatic copies yet; never
    // in the database's own folder.
    void foldersOfTheCopyDialogs_data()
    {
        QTest::addColumn<bool>("automatyczne");
        QTest::newRow("automatic copies made") << true;
        QTest::newRow("no automatic copy yet") << false;
    }
    void foldersOfTheCopyDialogs()
    {
        QFETCH(bool, automatyczne);
        const QString folder = env->root() + u"/moje kopie"_s;
        QVERIFY(QDir().mkpath(folder));
        if (automatyczne)
            QVERIFY(QDir().mkpath(kopie()));
        answer = folder + u"/pierwsza.sqlite"_s;
        item("KopiaZapasowaItem")->trigger();
        answer.clear();
        item("KopiaZapasowaItem")->trigger();
        item("OdtworzZKopiiItem")->trigger();
        QCOMPARE(asked.size(), 3);

        const PytanieOPlik &kopia = asked[1];
        QCOMPARE(QFileInfo(kopia.start).absolutePath(), folder);
        QVERIFY(kopia.start.endsWith(u".sqlite"_s));

        const PytanieOPlik &odtworzenie = asked[2];
        QCOMPARE(odtworzenie.start, automatyczne ? kopie() : folder);
        QVERIFY(odtworzenie.skroty.contains(kopie()));
        QVERIFY(odtworzenie.skroty.contains(folder));
        QVERIFY(odtworzenie.najnowszeNajpierw);
        QVERIFY(odtworzenie.start != env->databaseDirectory());
    }

    // Restoring from the menu: the register shows the restored data at once.
    void restoreFromTheMenu()
    {
        addTaxpayer(u"Kowalski"_s);
        const QString file = env->root() + u"/kopia.sqlite"_s;
        KopieZapasowe::ZapiszKopie(dm->database(), file);
        addTaxpayer(u"Nowak"_s);
        addTaxpayer(u"Wiśniewski"_s);
        QCOMPARE(registerRows(), 3);

        answer = file;
        boxes.answer(true);
        QVERIFY(QDir().mkpath(kopie()));
        item("OdtworzZKopiiItem")->trigger();
        QCOMPARE(asked.size(), 1);
        QVERIFY(!asked.first().zapis);
        QCOMPARE(asked.first().start, kopie());
        QCOMPARE(boxes.shown().size(), 2);
        QCOMPARE(boxes.shown().first().kind, MessageRequest::Kind::WarningQuestion);
        QCOMPARE(boxes.shown().last().kind, MessageRequest::Kind::Information);
        QCOMPARE(registerRows(), 1);
        QCOMPARE(dm->Podatnik.field(u"Nazwisko"_s).asString(), u"Kowalski"_s);
        QVERIFY(form->findChild<QToolButton *>(u"EditBtn"_s)->isEnabled());
    }

    // The program ends with a copy only when the run wrote to the database
    // and the user did end it.
    void closingMakesAnAutomaticCopy_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("changed, ended") << true << true;
        QTest::newRow("changed, not ended") << true << false;
        QTest::newRow("unchanged, ended") << false << true;
    }
    void closingMakesAnAutomaticCopy()
    {
        QFETCH(bool, changed);
        QFETCH(bool, confirmed);
        if (changed)
            addTaxpayer(u"Kowalski"_s);
        boxes.answer(confirmed);
        QCOMPARE(form->close(), confirmed);
        QCOMPARE(boxes.texts(), QStringList{u"Zakończyć program Tarlen?"_s});
        const QStringList copies = KopieZapasowe::KopieAutomatyczne(kopie());
        QCOMPARE(copies.size(), changed && confirmed ? 1 : 0);
        if (!copies.isEmpty())
            KopieZapasowe::SprawdzKopie(copies.first());
    }

    // At start a damaged database is offered its newest sound copy; a
    // database with another fault is not.
    void startWithADamagedDatabase_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("agree");
        QTest::addColumn<bool>("opened");
        QTest::newRow("damaged, copy taken") << u"damaged"_s << true << true;
        QTest::newRow("damaged, copy declined") << u"damaged"_s << false << false;
        QTest::newRow("a table missing") << u"table"_s << true << false;
    }
    void startWithADamagedDatabase()
    {
        QFETCH(QString, fault);
        QFETCH(bool, agree);
        QFETCH(bool, opened);
        addTaxpayer(u"Kowalski"_s);
        QVERIFY(KopieZapasowe(*dm).KopiaNaZakonczenie());
        addTaxpayer(u"Nowak"_s);
        form.reset();
        dm.reset();
        const QString file = env->databaseFile();
        if (fault == u"damaged") {
            QVERIFY(damagePage(u"Podatnik"_s));
        } else {
            Database db;
            db.open(env->databaseDirectory());
            db.run(u"DROP TABLE WykazB"_s);
        }
        const QByteArray before = digestOf(file);

        boxes.clear();
        startProgram();
        boxes.answer(agree);
        QCOMPARE(OtworzBazeDanych(*dm), opened);
        const QStringList texts = boxes.texts();
        QVERIFY(!texts.isEmpty());
        if (fault == u"damaged") {
            QCOMPARE(texts.first(), u"Nie udało się otworzyć pliku: Podatnik.DB"_s);
            QVERIFY2(texts.size() >= 2 && texts.at(1).startsWith(u"Plik bazy danych jest uszkodzony i nie będzie używany:\r"_s
                                                                 + QDir::toNativeSeparators(file)),
                     qPrintable(texts.join(u'|')));
        } else {
            QCOMPARE(texts, QStringList{u"Nie udało się otworzyć pliku: WykazB.DB"_s});
        }
        if (opened) {
            QVERIFY(dm->Podatnik.isOpen());
            QCOMPARE(dm->Podatnik.recordCount(), 1);
            form->UtworzOkna();
            QCOMPARE(registerRows(), 1);
        } else {
            QCOMPARE(digestOf(file), before);
        }
    }

    // Damage that opening the tables does not read is found by the check of
    // the whole file once the register is shown: the program then offers the
    // newest sound copy, or ends without touching the damaged file.
    void damageFoundOnceTheRegisterIsShown_data()
    {
        QTest::addColumn<bool>("agree");
        QTest::newRow("copy taken") << true;
        QTest::newRow("copy declined") << false;
    }
    void damageFoundOnceTheRegisterIsShown()
    {
        QFETCH(bool, agree);
        addTaxpayer(u"Kowalski"_s);
        QVERIFY(KopieZapasowe(*dm).KopiaNaZakonczenie());
        addTaxpayer(u"Nowak"_s);
        form.reset();
        dm.reset();
        const QString file = env->databaseFile();
        QVERIFY(damagePage(u"Faktury_VzmId_Oznacz"_s));
        const QByteArray before = digestOf(file);

        boxes.clear();
        startProgram();
        QSignalSpy bezBazy(form.get(), &TMainForm::BezBazy);
        QVERIFY(OtworzBazeDanych(*dm));
        form->UtworzOkna();
        form->show();
        QCOMPARE(registerRows(), 2);
        boxes.answer(agree);
        QTRY_VERIFY(!boxes.shown().isEmpty());

        const MessageRequest offer = boxes.shown().first();
        QCOMPARE(offer.kind, MessageRequest::Kind::WarningQuestion);
        QVERIFY2(offer.text.startsWith(u"Plik bazy danych jest uszkodzony i nie będzie używany:\r"_s
                                       + QDir::toNativeSeparators(file)),
                 qPrintable(offer.text));
        if (agree) {
            QCOMPARE(bezBazy.count(), 0);
            QCOMPARE(registerRows(), 1);
            QCOMPARE(dm->Podatnik.field(u"Nazwisko"_s).asString(), u"Kowalski"_s);
            QVERIFY(form->findChild<QToolButton *>(u"EditBtn"_s)->isEnabled());
        } else {
            QCOMPARE(bezBazy.count(), 1);
            QCOMPARE(registerRows(), 0);
            QVERIFY(!dm->database().isOpen());
            QCOMPARE(digestOf(file), before);
        }
    }
};

QTEST_MAIN(TestKopieZapasoweMenu)
#include "tst_kopiezapasowe_menu.moc"
