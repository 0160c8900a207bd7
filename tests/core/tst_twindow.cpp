#include "core/twindow.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Every test gets its own user and machine-wide stores in a fresh directory.
class TestTWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString userFile() const { return m_dir->filePath(QStringLiteral("user/Morvik/Tarlen.conf")); }
    QString systemFile() const { return m_dir->filePath(QStringLiteral("system/Morvik/Tarlen.conf")); }

    static QSettings store(QSettings::Scope scope)
    {
        return QSettings(QSettings::NativeFormat, scope, QStringLiteral("Morvik"), QStringLiteral("Tarlen"));
    }
    static void put(QSettings::Scope scope, const QString &group, const QStringList &keysAndValues)
    {
        QSettings s = store(scope);
        s.beginGroup(group);
        for (qsizetype i = 0; i + 1 < keysAndValues.size(); i += 2)
            s.setValue(keysAndValues[i], keysAndValues[i + 1]);
    }
    static QString fields(const TWindow &w)
    {
        return QStringLiteral("%1 %2 %3 %4").arg(w.Left()).arg(w.Top()).arg(w.Width()).arg(w.Height());
    }
    static TWindow window(const QString &name, int left, int top, int width, int height)
    {
        TWindow w;
        w.setNazwa(name);
        w.setLeft(left);
        w.setTop(top);
        w.setWidth(width);
        w.setHeight(height);
        return w;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_dir->filePath(QStringLiteral("system")));
    }

    void startsWithProgramTitleAndVersion()
    {
        const TWindow w;
        QCOMPARE(w.Tytul(), QStringLiteral("Tarlen"));
        QCOMPARE(w.NrWersji(), 5);
    }

    void settersKeepRules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("negative Left") << "Left" << -5 << 0;
        QTest::newRow("negative Top") << "Top" << -1 << 0;
        QTest::newRow("negative NrWersji") << "NrWersji" << -3 << 0;
        QTest::newRow("positive Left") << "Left" << 12 << 12;
        QTest::newRow("positive Top") << "Top" << 34 << 34;
        QTest::newRow("NrWersji 4") << "NrWersji" << 4 << 4;
        QTest::newRow("negative Width unchanged") << "Width" << -7 << -7;
        QTest::newRow("negative Height unchanged") << "Height" << -9 << -9;
    }
    void settersKeepRules()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(int, stored);
        TWindow w;
        const QHash<QString, std::pair<void (TWindow::*)(int), int (TWindow::*)() const>> access{
            {QStringLiteral("Left"), {&TWindow::setLeft, &TWindow::Left}},
            {QStringLiteral("Top"), {&TWindow::setTop, &TWindow::Top}},
            {QStringLiteral("Width"), {&TWindow::setWidth, &TWindow::Width}},
            {QStringLiteral("Height"), {&TWindow::setHeight, &TWindow::Height}},
            {QStringLiteral("NrWersji"), {&TWindow::setNrWersji, &TWindow::NrWersji}}};
        const auto [set, get] = access.value(field);
        (w.*set)(value);
        QCOMPARE((w.*get)(), stored);
    }

    void loadWithoutKeyLeavesFields_data()
    {
        QTest::addColumn<QString>("existingGroup");
        QTest::newRow("empty store") << "";
        QTest::newRow("another window") << "5/TWnioskiFrm";
        QTest::newRow("another version") << "4/TFakturaFrm";
    }
    void loadWithoutKeyLeavesFields()
    {
        QFETCH(QString, existingGroup);
        if (!existingGroup.isEmpty())
            put(QSettings::UserScope, existingGroup, {"Left", "1", "Top", "2", "Width", "3", "Height", "4"});
        TWindow w = window(QStringLiteral("TFakturaFrm"), 11, 22, 33, 44);
        QVERIFY(!w.Wczytaj());
        QCOMPARE(fields(w), QStringLiteral("11 22 33 44"));
    }

    void saveThenLoad()
    {
        QVERIFY(window(QStringLiteral("TFakturaFrm"), -15, 40, 640, 480).Zapisz());
        QVERIFY(window(QStringLiteral("TWnioskiFrm"), 1, 2, 3, 4).Zapisz());
        TWindow w = window(QStringLiteral("TFakturaFrm"), 9, 9, 9, 9);
        QVERIFY(w.Wczytaj());
        QCOMPARE(fields(w), QStringLiteral("0 40 640 480"));
        w.setNazwa(QStringLiteral("TWnioskiFrm"));
        QVERIFY(w.Wczytaj());
        QCOMPARE(fields(w), QStringLiteral("1 2 3 4"));
    }

    void saveWritesUserStoreOnly()
    {
        QVERIFY(window(QStringLiteral("TFirmyFrm"), 5, 6, 7, 8).Zapisz());
        QVERIFY(QFile::exists(userFile()));
        QVERIFY(!QFile::exists(systemFile()));
        QSettings user = store(QSettings::UserScope);
        user.setFallbacksEnabled(false);
        QCOMPARE(user.value(QStringLiteral("5/TFirmyFrm/Left")).toInt(), 5);
        QCOMPARE(user.value(QStringLiteral("5/TFirmyFrm/Top")).toInt(), 6);
        QCOMPARE(user.value(QStringLiteral("5/TFirmyFrm/Width")).toInt(), 7);
        QCOMPARE(user.value(QStringLiteral("5/TFirmyFrm/Height")).toInt(), 8);
    }

    void saveUsesTitleAndVersion()
    {
        TWindow w = window(QStringLiteral("TFirmyFrm"), 5, 6, 7, 8);
        w.setTytul(QStringLiteral("Inny"));
        w.setNrWersji(4);
        QVERIFY(w.Zapisz());
        QVERIFY(!QFile::exists(userFile()));
        QSettings other(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvik"), QStringLiteral("Inny"));
        QCOMPARE(other.value(QStringLiteral("4/TFirmyFrm/Left")).toInt(), 5);
    }

    void loadReadsStores_data()
    {
        QTest::addColumn<QStringList>("user");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("loaded");
        const QStringList full{"Left", "100", "Top", "200", "Width", "300", "Height", "400"};
        QTest::newRow("machine-wide only") << QStringList() << full << "100 200 300 400";
        QTest::newRow("user before machine-wide")
            << QStringList{"Left", "1", "Top", "2", "Width", "3", "Height", "4"} << full << "1 2 3 4";
        QTest::newRow("missing values keep fields") << QStringList{"Left", "1"} << QStringList() << "1 22 33 44";
        QTest::newRow("non-numbers keep fields")
            << QStringList{"Left", "x", "Top", "2", "Width", "", "Height", "4"} << QStringList() << "11 2 33 4";
        QTest::newRow("negative Left read as 0")
            << QStringList{"Left", "-8", "Top", "-9", "Width", "-3", "Height", "4"} << QStringList() << "0 0 -3 4";
    }
    void loadReadsStores()
    {
        QFETCH(QStringList, user);
        QFETCH(QStringList, system);
        QFETCH(QString, loaded);
        put(QSettings::UserScope, QStringLiteral("5/TKwotyFrm"), user);
        put(QSettings::SystemScope, QStringLiteral("5/TKwotyFrm"), system);
        TWindow w = window(QStringLiteral("TKwotyFrm"), 11, 22, 33, 44);
        QVERIFY(w.Wczytaj());
        QCOMPARE(fields(w), loaded);
    }
};

QTEST_GUILESS_MAIN(TestTWindow)
#include "tst_twindow.moc"
