// The spreadsheet readers on files made here in every dialect they take, the
// faults they refuse (with the row and column named where there is one), and
// the writers read back.

#include "spreadsheet/csv.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/xlsx.h"
#include "workbook.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using Rows = QList<QStringList>;

class TestSpreadsheet : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("Nie można zapisać %s", qPrintable(path));
        return path;
    }

    static QByteArray cp1250(const QString &text)
    {
        QStringEncoder encoder("windows-1250");
        return encoder(text);
    }

private slots:
    void csvDialects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Rows>("rows");
        const QString polskie = QStringLiteral("Żółć gęślą jaźń");
        QTest::newRow("semicolon, UTF-8, CRLF")
            << QByteArray("Nr;Data;Brutto\r\nFV 1;10-05-2011;1 220,50\r\n")
            << Rows{{"Nr", "Data", "Brutto"}, {"FV 1", "10-05-2011", "1 220,50"}};
        QTest::newRow("comma, decimal comma quoted")
            << QByteArray("Nr,Kwota\n\"FV 1\",\"1 220,50\"\n") << Rows{{"Nr", "Kwota"}, {"FV 1", "1 220,50"}};
        QTest::newRow("tab") << QByteArray("Nr\tKwota\nFV;1\t1220.50\n") << Rows{{"Nr", "Kwota"}, {"FV;1", "1220.50"}};
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFNazwa;Kwota\n") + polskie.toUtf8() + ";1\n"
                                        << Rows{{"Nazwa", "Kwota"}, {polskie, "1"}};
        QTest::newRow("Windows-1250") << cp1250(QStringLiteral("Nazwa;Kwota\r\n") + polskie + QStringLiteral(";1\r\n"))
                                      << Rows{{"Nazwa", "Kwota"}, {polskie, "1"}};
        QTest::newRow("quoted line break and quote")
            << QByteArray("A;B\n\"pierwsza\ndruga\";\"cytat \"\"x\"\"; dalej\"\nC;D")
            << Rows{{"A", "B"}, {"pierwsza\ndruga", "cytat \"x\"; dalej"}, {"C", "D"}};
        QTest::newRow("empty rows keep their place") << QByteArray("A;B\n\n;\nC;D\n")
                                                     << Rows{{"A", "B"}, {""}, {"", ""}, {"C", "D"}};
    }
    void csvDialects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        QCOMPARE(Csv::read(bytes).rows, rows);
        // The same through the file, its kind told from its first bytes.
        QCOMPARE(readSheet(file(QStringLiteral("plik.csv"), bytes)).rows, rows);
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("not a spreadsheet") << QByteArray("%PDF-1.4\n\x00\x01\x02", 13) << "dane binarne" << 2 << 0;
        QTest::newRow("mixed encodings")
            << QByteArray("Nazwa;Kwota\n") + QStringLiteral("Łódź;1\n").toUtf8() + cp1250(QStringLiteral("Łódź;2\n"))
            << "mieszane kodowanie" << 3 << 0;
        QTest::newRow("BOM over Windows-1250")
            << QByteArray("\xEF\xBB\xBF") + cp1250(QStringLiteral("a;b\nżó;1\n")) << "mieszane kodowanie" << 2 << 0;
        QTest::newRow("quote left open") << QByteArray("a;b\nc;\"d\ne;f\n") << "Cudzysłów otwarty w wierszu 2" << 2 << 0;
        QTest::newRow("1,000,000 rows") << QByteArray("a;b\n").repeated(1000000) << "więcej niż 100000 wierszy" << 100001
                                        << 0;
        QTest::newRow("a cell of 1 MB") << QByteArray("a;b\nc;") + QByteArray(1024 * 1024, 'x') + "\n"
                                        << "wiersz 2, kolumna B" << 2 << 2;
        QTest::newRow("a quoted cell of 1 MB") << QByteArray("a;\"") + QByteArray(1024 * 1024, 'x') + "\"\n"
                                               << "wiersz 1, kolumna B" << 1 << 2;
        QTest::newRow("too many columns") << QByteArray(300, ';') << "więcej niż 256 kolumn" << 1 << 0;
        QTest::newRow("broken zip") << QByteArray("PK\x03\x04\x14\x00\x00\x00garbage", 17) << "uszkodzone" << 0 << 0;
    }
    void refusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(int, row);
        QFETCH(int, column);
        try {
            readSheet(file(QStringLiteral("zly.csv"), bytes));
            QFAIL("read without a word");
        } catch (const SpreadsheetError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            QCOMPARE(e.row(), row);
            QCOMPARE(e.column(), column);
        }
    }

    void xlsxCells()
    {
        const QByteArray cells =
            R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="inlineStr"><is><t>Kwota</t></is></c></row>)"
            R"(<row r="3"><c r="A3" t="s"><v>2</v></c><c r="B3" s="1"><v>40673</v></c><c r="C3" s="3"><v>1220.5</v></c>)"
            R"(<c r="E3"><f>C3*2</f><v>2441</v></c><c r="F3" t="b"><v>1</v></c><c r="G3"><v>0.30000000000000004</v></c></row>)"
            R"(<row r="4"><c r="A4" t="str"><v>linia_x000D_druga</v></c><c r="B4" s="2"><v>38108.75</v></c><c r="C4"><v>-20.25</v></c></row>)";
        const QString path = dir.filePath(QStringLiteral("zeszyt.xlsx"));
        QVERIFY(zipParts(path, workbookParts({{"Faktury", cells}, {"Inne", R"(<row><c t="inlineStr"><is><t>x</t></is></c></row>)"}},
                                             {"Nr faktury", "Data", "FV 1/2011 Żółć"})));
        QCOMPARE(sheetNames(path), (QStringList{"Faktury", "Inne"}));
        const Sheet sheet = readSheet(path);
        QCOMPARE(sheet.name, QStringLiteral("Faktury"));
        QCOMPARE(sheet.rows, (Rows{{"Nr faktury", "Data", "Kwota"},
                                   {},
                                   {"FV 1/2011 Żółć", "2011-05-10", "1220.5", "", "2441", "1", "0.3"},
                                   {"linia\rdruga", "2004-05-01", "-20.25"}}));
        QCOMPARE(readSheet(path, QStringLiteral("Inne")).rows, (Rows{{"x"}}));

        // The same serial in the 1904 date system.
        const QString path1904 = dir.filePath(QStringLiteral("1904.xlsx"));
        QVERIFY(zipParts(path1904, workbookParts({{"A", R"(<row r="1"><c r="A1" s="1"><v>39211</v></c></row>)"}}, {}, true)));
        QCOMPARE(readSheet(path1904).rows, (Rows{{"2011-05-10"}}));
    }

    void xlsxRefusals_data()
    {
        QTest::addColumn<QString>("sheetXml");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("no such sheet") << "" << "Brak" << "nie ma arkusza „Brak”" << 0 << 0;
        QTest::newRow("malformed XML") << "<row r=\"1\"><c><v>1</c></row>" << "" << "błąd w części" << 0 << 0;
        QTest::newRow("a shared text that is not there") << R"(<row r="2"><c r="C2" t="s"><v>7</v></c></row>)" << ""
                                                         << "wiersz 2, kolumna C" << 2 << 3;
        QTest::newRow("row 1,000,000") << R"(<row r="1000000"><c><v>1</v></c></row>)" << "" << "więcej niż 100000 wierszy"
                                       << 1000000 << 0;
        QTest::newRow("a cell of 1 MB") << "<row r=\"5\"><c r=\"B5\" t=\"inlineStr\"><is><t>" + QString(1024 * 1024, u'x')
                                               + "</t></is></c></row>"
                                        << "" << "wiersz 5, kolumna B" << 5 << 2;
        QTest::newRow("column beyond the limit") << R"(<row r="1"><c r="ZZZ1"><v>1</v></c></row>)" << ""
                                                 << "więcej niż 256 kolumn" << 1 << 0;
    }
    void xlsxRefusals()
    {
        QFETCH(QString, sheetXml);
        QFETCH(QString, wanted);
        QFETCH(QString, message);
        QFETCH(int, row);
        QFETCH(int, column);
        const QString path = dir.filePath(QStringLiteral("zly.xlsx"));
        QFile::remove(path);
        QVERIFY(zipParts(path, workbookParts({{"Arkusz1", sheetXml.toUtf8()}}, {"a"})));
        try {
            readSheet(path, wanted);
            QFAIL("read without a word");
        } catch (const SpreadsheetError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
            QCOMPARE(e.row(), row);
            QCOMPARE(e.column(), column);
        }
    }

    // A sheet of a million rows, as a spreadsheet writes it, is refused
    // whole once it passes the limit.
    void xlsxMillionRows()
    {
        QByteArray rows;
        rows.reserve(40 * 1000000);
        for (int r = 1; r <= 1000000; ++r)
            rows += "<row r=\"" + QByteArray::number(r) + "\"><c><v>" + QByteArray::number(r) + "</v></c></row>";
        const QString path = dir.filePath(QStringLiteral("milion.xlsx"));
        QVERIFY(zipParts(path, workbookParts({{"A", rows}}, {})));
        try {
            readSheet(path);
            QFAIL("read without a word");
        } catch (const SpreadsheetError &e) {
            QCOMPARE(e.row(), 100001);
        }
    }

    // What the writers write reads back as it was.
    void roundTrip_data()
    {
        QTest::addColumn<bool>("xlsx");
        QTest::newRow("CSV") << false;
        QTest::newRow("XLSX") << true;
    }
    void roundTrip()
    {
        QFETCH(bool, xlsx);
        const QList<OutputRow> rows{
            {QStringLiteral("Nr faktury"), QStringLiteral("Data"), QStringLiteral("Kwota")},
            {QStringLiteral("FV 1/2011; \"Żółć\""), QDate(2011, 5, 10), Money::parse(u"1 220,50").value()},
            {QStringLiteral("  dwie\r\nlinie "), QDate(), Money::parse(u"-20,25").value()},
            {QStringLiteral("ster\x01ujący _x0041_ ąę"), QDate(2004, 5, 1), Money()},
        };
        const QString path = dir.filePath(xlsx ? QStringLiteral("zapis.xlsx") : QStringLiteral("zapis.csv"));
        QFile::remove(path);
        if (xlsx) {
            QVERIFY(Xlsx::write(path, QStringLiteral("Faktury"), rows));
        } else {
            const QByteArray bytes = Csv::write(rows);
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            file(QStringLiteral("zapis.csv"), bytes);
        }
        const Rows read = readSheet(path).rows;
        QCOMPARE(read.size(), rows.size());
        QCOMPARE(read[0], (QStringList{"Nr faktury", "Data", "Kwota"}));
        const QStringList dates = xlsx ? QStringList{"2011-05-10", "", "2004-05-01"}
                                       : QStringList{"10-05-2011", "", "01-05-2004"};
        const QStringList amounts = xlsx ? QStringList{"1220.5", "-20.25", "0"} : QStringList{"1220,50", "-20,25", "0,00"};
        for (int r = 1; r < rows.size(); ++r) {
            QCOMPARE(read[r].value(0), std::get<QString>(rows[r][0]));
            QCOMPARE(read[r].value(1), dates[r - 1]);
            QCOMPARE(read[r].value(2), amounts[r - 1]);
        }
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
