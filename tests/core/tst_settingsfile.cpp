#include "core/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The values in file order, e.g. "70 80 686 538 0 0 10 Arial".
QString describe(const SettingsValues &v)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(v.Form.Top).arg(v.Form.Left).arg(v.Form.Width).arg(v.Form.Height)
        .arg(int(v.Print.Cien)).arg(v.Print.Duplex).arg(v.Print.FontSize).arg(v.Print.FontName);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString defaults = QStringLiteral("70 80 686 538 0 0 10 Arial");

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const char *name) const { return m_dir.filePath(QLatin1StringView(name)); }

private slots:
    // Runs first: nothing has read the file yet.
    void printSettingsEmptyBeforeReading()
    {
        const PrintSettings &print = printSettings();
        QCOMPARE(print.Cien, false);
        QCOMPARE(print.Duplex, 0);
        QCOMPARE(print.FontSize, 0);
        QCOMPARE(print.FontName, QString());
        printSettings().FontSize = 12;
        QCOMPARE(print.FontSize, 12); // one shared instance
    }

    void missingFileGivesDefaults()
    {
        QCOMPARE(describe(SettingsFile(file("absent.ini")).read()), defaults);
    }

    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("values");
        QTest::newRow("empty file") << QByteArray() << defaults;
        QTest::newRow("all keys, CRLF")
            << QByteArray("[Form]\r\nTop=1\r\nLeft=2\r\nWidth=300\r\nHeight=400\r\n"
                          "[Config]\r\nCien=1\r\nDuplex=2\r\n[Font]\r\nSize=12\r\nName=Courier New\r\n")
            << "1 2 300 400 1 2 12 Courier New";
        QTest::newRow("Cien=1 turns shading on") << QByteArray("[Config]\nCien=1\n")
                                                << "70 80 686 538 1 0 10 Arial";
        QTest::newRow("Cien other than 0 is on") << QByteArray("[Config]\nCien=2\n")
                                                << "70 80 686 538 1 0 10 Arial";
        QTest::newRow("Cien not a number") << QByteArray("[Config]\nCien=yes\n") << defaults;
        QTest::newRow("malformed Top, others read") << QByteArray("[Form]\nTop=abc\nLeft=5\n")
                                                   << "70 5 686 538 0 0 10 Arial";
        QTest::newRow("Top with a fraction") << QByteArray("[Form]\nTop=1.5\n") << defaults;
        QTest::newRow("blanks around") << QByteArray(" [ Form ] \n  Top = 12  \n")
                                       << "12 80 686 538 0 0 10 Arial";
        QTest::newRow("negative Left kept") << QByteArray("[Form]\nLeft=-20\n")
                                            << "70 -20 686 538 0 0 10 Arial";
        QTest::newRow("Duplex 3") << QByteArray("[Config]\nDuplex=3\n") << "70 80 686 538 0 3 10 Arial";
        QTest::newRow("Duplex 4 out of range") << QByteArray("[Config]\nDuplex=4\n") << defaults;
        QTest::newRow("Duplex -1 out of range") << QByteArray("[Config]\nDuplex=-1\n") << defaults;
        QTest::newRow("Size 0") << QByteArray("[Font]\nSize=0\n") << defaults;
        QTest::newRow("Size 1") << QByteArray("[Font]\nSize=1\n") << "70 80 686 538 0 0 1 Arial";
        QTest::newRow("empty Name") << QByteArray("[Font]\nName=\n") << defaults;
        QTest::newRow("Name with Polish letters")
            << QByteArray("[Font]\nName=Czcionka \xc5\x81\xc3\xb3""d\xc5\xba\n")
            << QString::fromUtf8("70 80 686 538 0 0 10 Czcionka Łódź");
        QTest::newRow("key of another section") << QByteArray("[Font]\nTop=5\n") << defaults;
        QTest::newRow("key before any section") << QByteArray("Top=5\n[Form]\n") << defaults;
        QTest::newRow("names in any case") << QByteArray("[FORM]\ntop=5\n") << "5 80 686 538 0 0 10 Arial";
        QTest::newRow("first of a repeated key") << QByteArray("[Form]\nTop=5\nTop=6\n")
                                                << "5 80 686 538 0 0 10 Arial";
        QTest::newRow("comment line") << QByteArray("[Form]\n;Top=5\n") << defaults;
        QTest::newRow("line without =") << QByteArray("[Form]\nTop\n") << defaults;
    }
    void readsValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, values);
        const QString path = file("read.ini");
        QVERIFY(writeAll(path, text));
        QCOMPARE(describe(SettingsFile(path).read()), values);
    }

    void writesKeysInOrder()
    {
        SettingsValues v;
        v.Form = {10, 20, 800, 600};
        v.Print = {true, 3, 9, QStringLiteral("Times New Roman")};
        const QString path = file("written.ini");
        QVERIFY(SettingsFile(path).write(v));
        QCOMPARE(readAll(path), QByteArray("[Form]\nTop=10\nLeft=20\nWidth=800\nHeight=600\n\n"
                                           "[Config]\nCien=1\nDuplex=3\n\n"
                                           "[Font]\nSize=9\nName=Times New Roman\n\n"
                                           "[Printer]\nName=\nPdf=\n"));
    }

    // The overprint's printer, or the PDF file chosen instead, comes back
    // in the next run.
    void printerChoiceRoundTrip_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("pdf");
        QTest::newRow("nothing chosen") << QString() << QString();
        QTest::newRow("a PDF file with Polish letters") << QString() << QStringLiteral("/home/ala/Wnioski/nadruk żółty.pdf");
        QTest::newRow("a printer") << QStringLiteral("HP LaserJet 1020") << QString();
    }
    void printerChoiceRoundTrip()
    {
        QFETCH(QString, printer);
        QFETCH(QString, pdf);
        SettingsValues v;
        v.Print.Printer = printer;
        v.Print.PdfFile = pdf;
        const SettingsFile settings(file("printer.ini"));
        QVERIFY(settings.write(v));
        const SettingsValues read = settings.read();
        QCOMPARE(read.Print.Printer, printer);
        QCOMPARE(read.Print.PdfFile, pdf);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("values");
        QTest::newRow("defaults") << defaults;
        QTest::newRow("shading off, negative position") << "-5 -7 1024 768 0 1 8 Liberation Sans";
        QTest::newRow("shading on") << "0 0 1 1 1 2 14 Verdana";
        QTest::newRow("Polish font name, % sign") << QString::fromUtf8("3 4 5 6 1 3 11 Łódź %1 Pro");
    }
    void roundTrip()
    {
        QFETCH(QString, values);
        const QStringList f = values.split(QLatin1Char(' '));
        SettingsValues v;
        v.Form = {f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt()};
        v.Print = {f[4] == QLatin1String("1"), f[5].toInt(), f[6].toInt(), f.mid(7).join(QLatin1Char(' '))};
        const SettingsFile settings(file("roundtrip.ini"));
        QVERIFY(settings.write(v));
        QCOMPARE(describe(settings.read()), values);
    }

    void writeReplacesOldFile()
    {
        const QString path = file("replaced.ini");
        QVERIFY(writeAll(path, "[Other]\nKey=1\n[Form]\nTop=99\n"));
        QVERIFY(SettingsFile(path).write(SettingsValues()));
        QVERIFY(!readAll(path).contains("Other"));
        QCOMPARE(describe(SettingsFile(path).read()), defaults);
    }

    void writeFailsWhereNoDirectoryCanBe()
    {
        const QString blocker = file("blocker");
        QVERIFY(writeAll(blocker, "a regular file"));
        QVERIFY(!SettingsFile(blocker + QStringLiteral("/sub/Morvik_Vat5.ini")).write(SettingsValues()));
    }

    void defaultPathIsUserConfigDirectory()
    {
        const bool hadHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
        QCoreApplication::setOrganizationName(QStringLiteral("Morvik"));
        QCoreApplication::setApplicationName(QStringLiteral("Tarlen"));
        const SettingsFile settings;
        const QString expected = m_dir.filePath(QStringLiteral("config/Morvik/Tarlen/Morvik_Vat5.ini"));
        const bool written = settings.write(SettingsValues());
        if (hadHome)
            qputenv("XDG_CONFIG_HOME", oldHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(settings.path(), expected);
        QVERIFY(written);
        QVERIFY(QFile::exists(expected));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
