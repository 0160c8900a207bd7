#include "app/editorfrm.h"
#include "app/mainform.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

using namespace Qt::StringLiterals;

// The notes editor over a taxpayer of a database made by the installer,
// opened from the main window.
class TestEditorFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;
    TEditorFrm *editor = nullptr;
    int podatId = 0;

    QTextEdit *text() const { return editor->findChild<QTextEdit *>(QStringLiteral("Editor")); }
    QAction *action(const char *name) const { return editor->findChild<QAction *>(QLatin1String(name)); }
    QString panel(const char *name) const { return editor->findChild<QLabel *>(QLatin1String(name))->text(); }
    void press(const char *name) const
    {
        QToolBar *bar = editor->findChild<QToolBar *>(QStringLiteral("ToolBar"));
        QTest::mouseClick(bar->widgetForAction(action(name)), Qt::LeftButton);
    }
    QString storedNotes() const
    {
        return storedValue(*dm, u"Podatnik"_s, u"PodatId"_s, podatId, u"Notatki"_s).toString();
    }

    // Opens the notes of the current taxpayer the way OtworzNotatki does, but not modally.
    bool open()
    {
        editor = new TEditorFrm(*dm, form.get());
        if (!editor->WczytajNotatki())
            return false;
        editor->show();
        return QTest::qWaitForWindowExposed(editor);
    }
    // The same taxpayer's notes in a fresh editor, as they were stored.
    bool reopen()
    {
        delete editor;
        return open();
    }

    static QTextCharFormat formatAt(QTextDocument *document, int position)
    {
        QTextCursor cursor(document);
        cursor.setPosition(position + 1); // the format of the character before the cursor
        return cursor.charFormat();
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        form = std::make_unique<TMainForm>(*dm, env->root() + QStringLiteral("/Morvik_Vat5.ini"));
        QVERIFY(dm->OtworzTabele());
        form->UtworzOkna();
        form->show();
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Adamski"_s}, {u"Imie"_s, u"Jan"_s}});
        podatId = addTaxpayer(*dm, {{u"Nazwisko"_s, u"Żółkiewska"_s}, {u"Imie"_s, u"Łucja"_s}});
        QCOMPARE(dm->Podatnik.currentRow(), 1);
    }
    void cleanup()
    {
        delete editor;
        editor = nullptr;
        form.reset();
        dm.reset();
        env.reset();
    }

    void caption_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("caption");
        QTest::newRow("both") << "Żółkiewska" << "Łucja" << "Notatki - Żółkiewska Łucja";
        QTest::newRow("no first name") << "Nowak" << "" << "Notatki - Nowak";
        QTest::newRow("blanks around") << "Nowak " << " Anna " << "Notatki - Nowak   Anna";
        QTest::newRow("no name at all") << "" << "" << "Notatki -";
    }
    void caption()
    {
        QFETCH(QString, surname);
        QFETCH(QString, firstName);
        QFETCH(QString, caption);
        dm->Podatnik.edit();
        dm->Podatnik.field(QStringLiteral("Nazwisko")).setString(surname);
        dm->Podatnik.field(QStringLiteral("Imie")).setString(firstName);
        dm->Podatnik.post();
        QVERIFY(open());
        QCOMPARE(editor->windowTitle(), caption);
    }

    void noNotesOpenEmptyAndCloseWithoutAsking()
    {
        QVERIFY(open());
        QCOMPARE(text()->toPlainText(), QString());
        QVERIFY(!text()->document()->isModified());
        QCOMPARE(panel("ZmianaPanel"), QString());
        QCOMPARE(panel("PozycjaPanel"), QStringLiteral("Wiersz:   1   Kolumna:   1"));
        QVERIFY(editor->close());
        QVERIFY(boxes.shown().isEmpty());
        QVERIFY(!editor->isVisible());
        QCOMPARE(storedNotes(), QString());
    }

    void closingAfterTyping_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No: nothing stored") << false;
        QTest::newRow("Yes: stored and shown") << true;
    }
    void closingAfterTyping()
    {
        QFETCH(bool, yes);
        QVERIFY(open());
        typeText(text(), QStringLiteral("Zażółć gęślą jaźń"));
        QVERIFY(text()->document()->isModified());
        QCOMPARE(panel("ZmianaPanel"), QStringLiteral("Zmodyfikowano"));
        boxes.answer(yes);
        QVERIFY(editor->close());
        QCOMPARE(boxes.texts(), QStringList{"Zapisać wprowadzone zmiany?"});
        QVERIFY(!editor->isVisible());

        QTextEdit stored;
        stored.setHtml(storedNotes());
        QCOMPARE(stored.toPlainText(), yes ? QStringLiteral("Zażółć gęślą jaźń") : QString());
        QCOMPARE(form->findChild<QTextEdit *>(QStringLiteral("EdNotatki"))->toPlainText(), stored.toPlainText());
    }

    void savingByKeyKeepsTheWindowAndClearsTheMark()
    {
        QVERIFY(open());
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        typeText(text(), QStringLiteral("Pierwsza"));
        QTest::keyClick(text(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!text()->document()->isModified());
        QCOMPARE(panel("ZmianaPanel"), QString());
        QVERIFY(editor->isVisible());
        QVERIFY(Qt::mightBeRichText(storedNotes()));
        QTest::keyClick(text(), Qt::Key_X, Qt::AltModifier);
        QVERIFY(!editor->isVisible());
        QVERIFY(boxes.shown().isEmpty());
    }

    void failedSaveIsReportedAndKeepsTheWindowOpen()
    {
        dm->database().run(QStringLiteral(
            "CREATE TRIGGER blokada BEFORE UPDATE ON Podatnik BEGIN SELECT RAISE(ABORT, 'rekord zablokowany'); END"));
        QVERIFY(open());
        typeText(text(), QStringLiteral("Nowa"));
        boxes.answer(true);
        QVERIFY(!editor->close());
        QCOMPARE(boxes.shown().size(), 2);
        QCOMPARE(boxes.shown().at(0).text, QStringLiteral("Zapisać wprowadzone zmiany?"));
        QCOMPARE(boxes.shown().at(1).kind, MessageRequest::Kind::Warning);
        QVERIFY(boxes.shown().at(1).text.contains(QStringLiteral("rekord zablokowany")));
        QVERIFY(editor->isVisible());
        QVERIFY(text()->document()->isModified());
        QCOMPARE(panel("ZmianaPanel"), QStringLiteral("Zmodyfikowano"));
        QVERIFY(!dm->Podatnik.isEditing());
        QCOMPARE(storedNotes(), QString());

        // Once the store takes it again the same text is saved.
        dm->database().run(QStringLiteral("DROP TRIGGER blokada"));
        boxes.clear();
        boxes.answer(true);
        QVERIFY(editor->close());
        QTextEdit stored;
        stored.setHtml(storedNotes());
        QCOMPARE(stored.toPlainText(), QStringLiteral("Nowa"));
    }

    void plainTextNoteLoadsAsItStands()
    {
        dm->Podatnik.edit();
        dm->Podatnik.field(QStringLiteral("Notatki")).setString(QStringLiteral("Zakupy: <cement> i piasek\n2 < 3"));
        dm->Podatnik.post();
        QVERIFY(open());
        QCOMPARE(text()->toPlainText(), QStringLiteral("Zakupy: <cement> i piasek\n2 < 3"));
        QVERIFY(!text()->document()->isModified());
    }

    void boldWithNothingSelectedAppliesToWhatIsTypedNext()
    {
        QVERIFY(open());
        typeText(text(), QStringLiteral("x"));
        press("PogrubienieBtn");
        QVERIFY(action("PogrubienieBtn")->isChecked());
        typeText(text(), QStringLiteral("łab"));
        QVERIFY(!formatAt(text()->document(), 0).font().bold());
        for (int i = 1; i <= 3; ++i)
            QVERIFY2(formatAt(text()->document(), i).font().bold(), qPrintable(QString::number(i)));

        // Stored as rich text, the bold survives.
        action("ZapiszCmd")->trigger();
        QVERIFY(reopen());
        QCOMPARE(text()->toPlainText(), QStringLiteral("xłab"));
        QVERIFY(!formatAt(text()->document(), 0).font().bold());
        QVERIFY(formatAt(text()->document(), 2).font().bold());
    }

    void boldOnASelection()
    {
        QVERIFY(open());
        typeText(text(), QStringLiteral("abcd"));
        QTextCursor cursor = text()->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        text()->setTextCursor(cursor);
        press("PogrubienieBtn");
        QList<bool> bold;
        for (int i = 0; i < 4; ++i)
            bold << formatAt(text()->document(), i).font().bold();
        QCOMPARE(bold, QList<bool>({false, true, true, false}));
    }

    void toolbarFollowsTheCaret()
    {
        dm->Podatnik.edit();
        dm->Podatnik.field(QStringLiteral("Notatki"))
            .setString(QStringLiteral("<html><body><p>zwykły <i>pochyły</i></p><p align=\"center\">środek</p></body></html>"));
        dm->Podatnik.post();
        QVERIFY(open());
        QTextCursor cursor = text()->textCursor();
        cursor.setPosition(10);
        text()->setTextCursor(cursor);
        QVERIFY(action("KursywaBtn")->isChecked());
        QVERIFY(action("DoLewejBtn")->isChecked());
        QCOMPARE(panel("PozycjaPanel"), QStringLiteral("Wiersz:   1   Kolumna:  11"));
        cursor.setPosition(text()->document()->findBlockByNumber(1).position() + 2);
        text()->setTextCursor(cursor);
        QVERIFY(!action("KursywaBtn")->isChecked());
        QVERIFY(action("SrodekBtn")->isChecked());
        QVERIFY(!action("DoLewejBtn")->isChecked());
        QCOMPARE(panel("PozycjaPanel"), QStringLiteral("Wiersz:   2   Kolumna:   3"));
    }

    void alignmentAndBulletsSurviveSaving()
    {
        QVERIFY(open());
        typeText(text(), QStringLiteral("punkt"));
        press("DoPrawejBtn");
        QVERIFY(action("DoPrawejBtn")->isChecked());
        QVERIFY(!action("DoLewejBtn")->isChecked());
        press("PunktyBtn");
        QVERIFY(text()->textCursor().currentList());
        action("ZapiszCmd")->trigger();
        QVERIFY(reopen());
        const QTextBlock block = text()->document()->firstBlock();
        QVERIFY(block.blockFormat().alignment().testFlag(Qt::AlignRight));
        QVERIFY(block.textList());

        text()->moveCursor(QTextCursor::End);
        QVERIFY(action("PunktyBtn")->isChecked());
        press("PunktyBtn");
        QVERIFY(!text()->document()->firstBlock().textList());
    }

    void cutAndCopyNeedASelection()
    {
        QVERIFY(open());
        QVERIFY(!action("WytnijCmd")->isEnabled());
        QVERIFY(!action("KopiujCmd")->isEnabled());
        QVERIFY(!action("CofnijCmd")->isEnabled());
        typeText(text(), QStringLiteral("abc"));
        QVERIFY(!action("WytnijCmd")->isEnabled());
        QVERIFY(!action("KopiujCmd")->isEnabled());
        QVERIFY(action("CofnijCmd")->isEnabled());
        text()->selectAll();
        QVERIFY(action("WytnijCmd")->isEnabled());
        QVERIFY(action("KopiujCmd")->isEnabled());
        text()->moveCursor(QTextCursor::End);
        QVERIFY(!action("WytnijCmd")->isEnabled());
        QVERIFY(!action("KopiujCmd")->isEnabled());
    }

    void pasteFollowsTheClipboard()
    {
        QApplication::clipboard()->clear();
        QVERIFY(open());
        QVERIFY(!action("WklejCmd")->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("schowek"));
        QVERIFY(action("WklejCmd")->isEnabled());
        action("WklejCmd")->trigger();
        QCOMPARE(text()->toPlainText(), QStringLiteral("schowek"));
    }

    void textIsLaidOutBetweenMarginsAndInTheDefaultFont()
    {
        dm->Podatnik.edit();
        dm->Podatnik.field(QStringLiteral("Notatki")).setString(QStringLiteral("<p>zapisana</p>"));
        dm->Podatnik.post();
        QVERIFY(open());
        QCOMPARE(text()->document()->documentMargin(), 6.0);
        QCOMPARE(text()->document()->defaultFont().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(text()->document()->defaultFont().pointSizeF(), QFontInfo(QApplication::font()).pointSizeF());
    }
};

QTEST_MAIN(TestEditorFrm)
#include "tst_editorfrm.moc"
