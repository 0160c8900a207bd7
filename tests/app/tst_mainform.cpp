#include "app/mainform.h"

#include "vzm/windows/wnioskifrm.h"
#include "core/settingsfile.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QAction>
#include <QLineEdit>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The main window with the register of taxpayers, on a database made by the installer.
class TestMainForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;

    QString settingsPath() const { return env->root() + QStringLiteral("/config/Morvik_Vat5.ini"); }

    template <class T = QWidget>
    T *child(const char *name) const
    {
        return form->findChild<T *>(QLatin1String(name));
    }
    QToolButton *button(const char *name) const { return child<QToolButton>(name); }
    QTableView *grid() const { return child<QTableView>("DBGrid1"); }

    // Which of Dodaj, Popraw, Usuń, Notatki, Wnioski, Zamknij are enabled, e.g. "100001".
    QString buttonStates() const
    {
        QString states;
        for (const char *name : {"InsertBtn", "EditBtn", "DeleteBtn", "NotatkiBtn", "WnioskiBtn", "CloseBtn"})
            states += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return states;
    }

    QString currentSurname() { return dm->Podatnik.field(QStringLiteral("Nazwisko")).asString(); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        form = std::make_unique<TMainForm>(*dm, settingsPath());
        QVERIFY(dm->OtworzTabele());
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

    void captionAndRegisterColumns()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Tarlen"));
        QStringList titles;
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            titles << grid()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"Lp", "Nazwisko", "Imię", "NIP", "Miejscowość", "Ulica", "Posesja", "Lokal"}));
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Żak"_s}, {u"Imie"_s, u"Łucja"_s}});
        const QModelIndex lp = grid()->model()->index(1, 0);
        QCOMPARE(lp.data().toString(), QStringLiteral("2"));
        QVERIFY(Qt::Alignment(lp.data(Qt::TextAlignmentRole).toInt()).testFlag(Qt::AlignRight));
        QCOMPARE(grid()->model()->index(1, 2).data().toString(), QStringLiteral("Łucja"));
    }

    void beforeTablesOpenOnlyClosingWorks()
    {
        const QString path = env->root() + QStringLiteral("/other.ini");
        TDM closed(boxes);
        TMainForm early(closed, path);
        QCOMPARE(early.findChild<QToolButton *>(QStringLiteral("CloseBtn"))->isEnabled(), true);
        for (const char *name : {"InsertBtn", "EditBtn", "DeleteBtn", "NotatkiBtn", "WnioskiBtn"})
            QVERIFY2(!early.findChild<QToolButton *>(QLatin1String(name))->isEnabled(), name);
        auto *search = early.findChild<QLineEdit *>(QStringLiteral("EdSearch"));
        typeText(search, QStringLiteral("kow"));
        QCOMPARE(search->text(), QStringLiteral("kow"));
        QVERIFY(boxes.shown().isEmpty());
    }

    void emptyRegister()
    {
        ModalWatch watch;
        QCOMPARE(buttonStates(), QStringLiteral("100001"));
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Return);
        QTest::keyClick(grid(), Qt::Key_Enter);
        doubleClick(grid()->viewport(), QPoint(20, 10));
        QTest::mouseClick(button("DeleteBtn"), Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(watch.opened(), QStringList());
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(buttonStates(), QStringLiteral("100001"));
    }

    void buttonsFollowTheRegister()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        QCOMPARE(buttonStates(), QStringLiteral("111111"));
        dm->Podatnik.remove();
        QCOMPARE(buttonStates(), QStringLiteral("100001"));
    }

    void wnioskiOpensTheApplicationsOfTheCurrentTaxpayer()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        const int kowalski = addTaxpayer(*dm, {{u"Nazwisko"_s, u"Kowalski"_s}, {u"Imie"_s, u"Piotr"_s}});
        QVERIFY(dm->Podatnik.locate(u"PodatId"_s, kowalski));
        QString title;
        int taxpayer = 0;
        onNextModal<TWnioskiFrm>([&](TWnioskiFrm &frm) {
            title = frm.windowTitle();
            taxpayer = frm.PodatId();
            frm.reject();
        });
        QTest::mouseClick(button("WnioskiBtn"), Qt::LeftButton);
        QCOMPARE(title, u"Kowalski Piotr"_s);
        QCOMPARE(taxpayer, kowalski);
    }

    void enterAndDoubleClickOpenTheTaxpayerEditor_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("keypad Enter") << "keypad";
        QTest::newRow("double click") << "double click";
        QTest::newRow("Popraw") << "button";
    }
    void enterAndDoubleClickOpenTheTaxpayerEditor()
    {
        QFETCH(QString, how);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Kowalski"_s}, {u"Imie"_s, u"Jan"_s}});
        ModalWatch watch;
        grid()->setFocus();
        if (how == QLatin1String("Enter"))
            QTest::keyClick(grid(), Qt::Key_Return);
        else if (how == QLatin1String("keypad"))
            QTest::keyClick(grid(), Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == QLatin1String("button"))
            QTest::mouseClick(button("EditBtn"), Qt::LeftButton);
        else
            doubleClick(grid()->viewport(), grid()->visualRect(grid()->model()->index(1, 1)).center());
        QCOMPARE(watch.opened(), QStringList({"TPodatnikFrm"}));
        QCOMPARE(buttonStates(), QStringLiteral("111111"));
    }

    void accelerators_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("Alt+D Dodaj") << int(Qt::Key_D) << QStringList{"TPodatnikFrm"} << QStringList{};
        QTest::newRow("Alt+P Popraw") << int(Qt::Key_P) << QStringList{"TPodatnikFrm"} << QStringList{};
        QTest::newRow("Alt+U Usuń") << int(Qt::Key_U) << QStringList{} << QStringList{"Usunąć bieżącą pozycję z wykazu?"};
        QTest::newRow("Alt+Z Zamknij") << int(Qt::Key_Z) << QStringList{} << QStringList{"Zakończyć program Tarlen?"};
    }
    void accelerators()
    {
        QFETCH(int, key);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, asked);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ModalWatch watch;
        QTest::keyClick(grid(), Qt::Key(key), Qt::AltModifier);
        // A button pressed by its key clicks a moment later.
        QTRY_VERIFY(!watch.opened().isEmpty() || !boxes.texts().isEmpty());
        QCOMPARE(watch.opened(), opened);
        QCOMPARE(boxes.texts(), asked);
        QCOMPARE(dm->Podatnik.recordCount(), 1); // every question was answered No
        QVERIFY(form->isVisible());
    }

    void searchLabelLeadsToTheSearchBox()
    {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("EdSearch"));
    }

    void menusOpenTheirWindowsAndFreeThem_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("Parametry domyślne") << "ParametryItem" << "TDomyslneFrm";
        QTest::newRow("O programie") << "OProgramieItem" << "TAboutBox";
    }
    void menusOpenTheirWindowsAndFreeThem()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        ModalWatch watch;
        form->findChild<QAction *>(item)->trigger();
        QCOMPARE(watch.opened(), QStringList({window}));
        for (QObject *c : form->children())
            QVERIFY2(QString::fromLatin1(c->metaObject()->className()) != window, "the window was not freed");
    }

    void theMaterialsListIsOneWindowForTheWholeRun()
    {
        QAction *item = form->findChild<QAction *>(u"MaterialyItem"_s);
        QCOMPARE(item->text(), u"Wykaz &materiałów budowlanych"_s);
        QList<QWidget *> shown;
        for (int i = 0; i < 2; ++i) {
            onNextModal<QDialog>([&](QDialog &dialog) {
                shown << &dialog;
                dialog.accept(); // its "OK"
            });
            item->trigger();
        }
        QCOMPARE(shown.size(), 2);
        QCOMPARE(QString::fromLatin1(shown[0]->metaObject()->className()), u"TMaterialyFrm"_s);
        QCOMPARE(shown[1], shown[0]);
    }

    void notesButtonOpensTheEditorModallyAndFreesIt()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        ModalWatch watch;
        QTest::mouseClick(button("NotatkiBtn"), Qt::LeftButton);
        QCOMPARE(watch.opened(), QStringList({"TEditorFrm"}));
        QVERIFY(!form->findChild<QWidget *>(QStringLiteral("EditorFrm")));
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("surnames");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("rows"); // the current row after each letter

        const QStringList kow{"Nowak", "Kowalski", "KOWALCZYK", "Kozłowski"};
        QTest::newRow("k, o, w: the earlier Kowalski wins") << kow << 0 << "kow" << QList<int>{1, 1, 1};
        QTest::newRow("k, o, w: the earlier KOWALCZYK wins")
            << QStringList{"Nowak", "KOWALCZYK", "Kowalski"} << 0 << "kow" << QList<int>{1, 1, 1};
        QTest::newRow("a longer prefix narrows") << kow << 0 << "kowalc" << QList<int>{1, 1, 1, 1, 1, 2};
        QTest::newRow("no surname begins so: the row stays") << kow << 3 << "kx" << QList<int>{1, 1};
        QTest::newRow("no match at the first letter") << kow << 2 << "q" << QList<int>{2};
        QTest::newRow("upper case typed") << kow << 0 << "KOZ" << QList<int>{1, 1, 3};
        QTest::newRow("ł finds Łukasiewicz") << QStringList{"Nowak", "Lis", "Łukasiewicz"} << 0 << "ł"
                                             << QList<int>{2};
        QTest::newRow("Polish capitals typed") << QStringList{"Nowak", "żółtowski"} << 0 << "ŻÓŁ"
                                               << QList<int>{1, 1, 1};
    }
    void search()
    {
        QFETCH(QStringList, surnames);
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(QList<int>, rows);
        for (const QString &s : surnames)
            addTaxpayer(*dm, {{u"Nazwisko"_s, s}, {u"Imie"_s, u"Jan"_s}});
        dm->Podatnik.moveTo(start);
        auto *search = child<QLineEdit>("EdSearch");
        QList<int> seen;
        for (const QChar c : typed) {
            typeText(search, QString(c));
            QCOMPARE(grid()->currentIndex().row(), dm->Podatnik.currentRow());
            seen << dm->Podatnik.currentRow();
        }
        QCOMPARE(seen, rows);
        QVERIFY(boxes.shown().isEmpty());
    }

    void searchLooksAtSurnamesOnly()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Adamski"_s}, {u"Imie"_s, u"Kazimierz"_s}});
        dm->Podatnik.first();
        typeText(child<QLineEdit>("EdSearch"), QStringLiteral("ka"));
        QCOMPARE(currentSurname(), QStringLiteral("Nowak"));
    }

    void searchBoxClearButtonEmptiesIt()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Zieliński"_s}, {u"Imie"_s, u"Jan"_s}});
        auto *search = child<QLineEdit>("EdSearch");
        typeText(search, QStringLiteral("zie"));
        QCOMPARE(currentSurname(), QStringLiteral("Zieliński"));
        auto *clear = search->findChild<QToolButton *>();
        QVERIFY(clear);
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(search->text(), QString());
        QCOMPARE(currentSurname(), QStringLiteral("Nowak")); // every surname begins with nothing
    }

    void deleting_data()
    {
        QTest::addColumn<int>("taxpayers");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("states");
        QTest::newRow("Yes") << 3 << true << QStringList{"Adamska", "Celińska"} << "111111";
        QTest::newRow("No") << 3 << false << QStringList{"Adamska", "Bąk", "Celińska"} << "111111";
        QTest::newRow("Yes on the last one") << 1 << true << QStringList{} << "100001";
    }
    void deleting()
    {
        QFETCH(int, taxpayers);
        QFETCH(bool, yes);
        QFETCH(QStringList, left);
        QFETCH(QString, states);
        const QStringList names{"Adamska", "Bąk", "Celińska"};
        int victim = 0;
        for (int i = 0; i < taxpayers; ++i)
            victim = addTaxpayer(*dm, {{u"Nazwisko"_s, names[taxpayers == 1 ? 1 : i]}, {u"Imie"_s, u"Jan"_s}});
        if (taxpayers > 1) {
            dm->Podatnik.moveTo(1);
            victim = dm->Podatnik.field(QStringLiteral("PodatId")).asInteger();
        }
        dm->VzmyTbl.append();
        dm->VzmyTbl.field(QStringLiteral("PodatId")).setInteger(victim);
        dm->VzmyTbl.field(QStringLiteral("NrKolej")).setInteger(1);
        dm->VzmyTbl.post();

        boxes.answer(yes);
        QTest::mouseClick(button("DeleteBtn"), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList{"Usunąć bieżącą pozycję z wykazu?"});
        QCOMPARE(boxes.shown().first().kind, MessageRequest::Kind::Question);
        QStringList stored;
        for (const SqlRow &r : dm->database().run(QStringLiteral("SELECT Nazwisko FROM Podatnik ORDER BY rowid")).rows)
            stored << r.at(0).toString();
        QCOMPARE(stored, left);
        // The taxpayer's applications stay where they are.
        QCOMPARE(dm->database().run(QStringLiteral("SELECT VzmId FROM VZMy WHERE PodatId = ?"), {}, {victim}).rows.size(), 1);
        QCOMPARE(grid()->model()->rowCount(), left.size());
        QCOMPARE(buttonStates(), states);
    }

    void failedDeletionIsReported()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        dm->database().run(QStringLiteral(
            "CREATE TRIGGER blokada BEFORE DELETE ON Podatnik BEGIN SELECT RAISE(ABORT, 'rekord zablokowany'); END"));
        boxes.answer(true);
        QTest::mouseClick(button("DeleteBtn"), Qt::LeftButton);
        QCOMPARE(boxes.shown().size(), 2);
        QCOMPARE(boxes.shown().at(1).kind, MessageRequest::Kind::Warning);
        QVERIFY2(boxes.shown().at(1).text.contains(QStringLiteral("rekord zablokowany")), qPrintable(boxes.shown().at(1).text));
        QCOMPARE(dm->Podatnik.recordCount(), 1);
        QCOMPARE(buttonStates(), QStringLiteral("111111"));
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("yes");
        for (const char *how : {"close box", "Zamknij", "Zakończ"}) {
            QTest::addRow("%s, No", how) << QString::fromLatin1(how) << false;
            QTest::addRow("%s, Yes", how) << QString::fromLatin1(how) << true;
        }
    }
    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, yes);
        boxes.answer(yes);
        if (how == QLatin1String("Zamknij"))
            QTest::mouseClick(button("CloseBtn"), Qt::LeftButton);
        else if (how == QLatin1String("Zakończ"))
            child<QAction>("ZakonczItem")->trigger();
        else
            form->close();
        QCOMPARE(boxes.texts(), QStringList{"Zakończyć program Tarlen?"});
        QCOMPARE(boxes.shown().first().kind, MessageRequest::Kind::Question);
        QCOMPARE(boxes.shown().first().title, QStringLiteral("Potwierdzenie"));
        QCOMPARE(form->isVisible(), !yes);
    }

    void geometryAndPrintSettingsSurviveARestart()
    {
        // The window of init() read no file: the defaults apply.
        QCOMPARE(form->pos(), QPoint(80, 70));
        QCOMPARE(form->size(), QSize(686, 538));
        form->move(123, 45);
        form->resize(777, 555);
        printSettings() = PrintSettings{true, 2, 12, QStringLiteral("Times New Roman")};
        form.reset();

        const SettingsValues written = SettingsFile(settingsPath()).read();
        QCOMPARE(QList<int>({written.Form.Left, written.Form.Top, written.Form.Width, written.Form.Height}),
                 QList<int>({123, 45, 777, 555}));

        printSettings() = PrintSettings{};
        form = std::make_unique<TMainForm>(*dm, settingsPath());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->pos(), QPoint(123, 45));
        QCOMPARE(form->size(), QSize(777, 555));
        QCOMPARE(printSettings().Cien, true);
        QCOMPARE(printSettings().Duplex, 2);
        QCOMPARE(printSettings().FontSize, 12);
        QCOMPARE(printSettings().FontName, QStringLiteral("Times New Roman"));
    }

    void notesPaneFollowsTheCurrentTaxpayer()
    {
        const int rich = addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s},
                                           {u"Notatki"_s, u"<html><body><p><b>Pilne:</b> faktury za cement</p></body></html>"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Łęcka"_s}, {u"Imie"_s, u"Ewa"_s}, {u"Notatki"_s, u"Zakupy: <cement> i piasek"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Bez notatek"_s}, {u"Imie"_s, u"Jan"_s}});
        auto *pane = child<QTextEdit>("EdNotatki");
        QVERIFY(pane->isReadOnly());

        grid()->setCurrentIndex(grid()->model()->index(0, 1));
        QCOMPARE(pane->toPlainText(), QStringLiteral("Pilne: faktury za cement"));
        QTextCursor bold(pane->document());
        bold.setPosition(2);
        QVERIFY(bold.charFormat().font().bold());

        grid()->setCurrentIndex(grid()->model()->index(1, 1));
        QCOMPARE(pane->toPlainText(), QStringLiteral("Zakupy: <cement> i piasek")); // not rich text: as it stands

        dm->Podatnik.moveTo(2);
        QCOMPARE(pane->toPlainText(), QString());

        // A change of the current record's data shows at once.
        dm->Podatnik.moveTo(0);
        dm->Podatnik.edit();
        dm->Podatnik.field(QStringLiteral("Notatki")).setString(QStringLiteral("Zmieniona"));
        dm->Podatnik.post();
        QCOMPARE(pane->toPlainText(), QStringLiteral("Zmieniona"));
        QCOMPARE(storedValue(*dm, u"Podatnik"_s, u"PodatId"_s, rich, u"Notatki"_s).toString(), QStringLiteral("Zmieniona"));
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
