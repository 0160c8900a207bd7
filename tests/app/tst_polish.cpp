#include "app/startup.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

// Qt's own dialogs, menus and formats after the program's start-up: Polish.
class TestPolish : public QObject
{
    Q_OBJECT

    enum Dialog { FontDialog, PrintDialog };

    static QStringList buttonTexts(const QWidget &dialog)
    {
        QStringList texts;
        for (const QPushButton *button : dialog.findChildren<QPushButton *>())
            texts << button->text();
        return texts;
    }

private slots:
    void initTestCase()
    {
        prepareApplication(*qApp);
    }

    void editContextMenu_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        // The menu's entries without separators; the shortcut after the tab
        // depends on the platform and is left out.
        QTest::newRow("undo") << 0 << QStringLiteral("&Cofnij");
        QTest::newRow("redo") << 1 << QStringLiteral("&Przywróć");
        QTest::newRow("cut") << 2 << QStringLiteral("W&ytnij");
        QTest::newRow("copy") << 3 << QStringLiteral("S&kopiuj");
        QTest::newRow("paste") << 4 << QStringLiteral("&Wklej");
        QTest::newRow("delete") << 5 << QStringLiteral("Usuń");
        QTest::newRow("select all") << 6 << QStringLiteral("Zaznacz wszystko");
    }
    void editContextMenu()
    {
        QFETCH(int, position);
        QFETCH(QString, text);
        QLineEdit edit;
        edit.setText(QStringLiteral("Kowalski"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                texts << action->text().section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(texts.size(), 7);
        QCOMPARE(texts.at(position), text);
    }

    void dialogs_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("font") << int(FontDialog) << QStringLiteral("Wybierz czcionkę")
                              << QStringList{QStringLiteral("OK"), QStringLiteral("Anuluj")};
        QTest::newRow("print") << int(PrintDialog) << QStringLiteral("Drukowanie")
                               << QStringList{QStringLiteral("&Właściwości"), QStringLiteral("Wy&drukuj"),
                                              QStringLiteral("Anuluj"), QStringLiteral("&Opcje >>")};
    }
    void dialogs()
    {
        QFETCH(int, dialog);
        QFETCH(QString, title);
        QFETCH(QStringList, buttons);
        QPrinter printer;
        std::unique_ptr<QDialog> window;
        switch (dialog) {
        case FontDialog:
            window = std::make_unique<QFontDialog>();
            static_cast<QFontDialog *>(window.get())->setOption(QFontDialog::DontUseNativeDialog);
            break;
        case PrintDialog:
            window = std::make_unique<QPrintDialog>(&printer);
            break;
        }
        QCOMPARE(window->windowTitle(), title);
        const QStringList shown = buttonTexts(*window);
        for (const QString &button : buttons)
            QVERIFY2(shown.contains(button), qPrintable(shown.join(QLatin1Char('|'))));
    }

    void standardButtonsAndFormats_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
        QTest::newRow("yes") << box.button(QDialogButtonBox::Yes)->text() << QStringLiteral("&Tak");
        QTest::newRow("no") << box.button(QDialogButtonBox::No)->text() << QStringLiteral("&Nie");
        QTest::newRow("cancel") << box.button(QDialogButtonBox::Cancel)->text() << QStringLiteral("Anuluj");
        const QLocale locale;
        QTest::newRow("decimal comma") << locale.toString(1234.5, 'f', 2) << QStringLiteral("1234,50");
        QTest::newRow("month") << locale.standaloneMonthName(3) << QStringLiteral("marzec");
        QTest::newRow("day") << locale.dayName(1) << QStringLiteral("poniedziałek");
        QTest::newRow("short date") << locale.toString(QDate(2011, 1, 1), QLocale::ShortFormat)
                                    << QStringLiteral("1.01.2011");
    }
    void standardButtonsAndFormats()
    {
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(shown, expected);
    }

    void translationIsInstalledOnce()
    {
        // Start-up has installed it; installing again keeps the one copy.
        const auto translators = [] {
            return qApp->findChildren<QTranslator *>(QString(), Qt::FindDirectChildrenOnly).size();
        };
        QCOMPARE(translators(), 1);
        QVERIFY(installPolishTranslation(*qApp));
        QCOMPARE(translators(), 1);
        QCOMPARE(QLocale().language(), QLocale::Polish);
    }

    void withoutTheTranslationTheTextsStayEnglish()
    {
        // Taken away, then sought where it is not: the start-up goes on with
        // Qt's English texts and the Polish formats.
        auto *installed = qApp->findChild<QTranslator *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(installed);
        QCoreApplication::removeTranslator(installed);
        delete installed;
        QTemporaryDir empty;
        QVERIFY(!installPolishTranslation(*qApp, empty.path()));
        QVERIFY(!qApp->findChild<QTranslator *>(QString(), Qt::FindDirectChildrenOnly));
        QCOMPARE(QFontDialog().windowTitle(), QStringLiteral("Select Font"));
        QCOMPARE(QLocale().toString(1234.5, 'f', 2), QStringLiteral("1234,50"));

        QVERIFY(installPolishTranslation(*qApp));
        QCOMPARE(QFontDialog().windowTitle(), QStringLiteral("Wybierz czcionkę"));
    }
};

QTEST_MAIN(TestPolish)
#include "tst_polish.moc"
