// Damaged files for the readers, from a seeded generator (so every run tries
// the same ones): a CSV and a workbook written by the program, each bitten,
// cut, stretched and shuffled. Every file must be read or refused with a
// message; none may crash or hang the reader. The run stops early, never
// fails, when the machine is too busy to finish in its time.

#include "spreadsheet/csv.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/xlsx.h"
#include "workbook.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestSpreadsheetFuzz : public QObject
{
    Q_OBJECT

    static QList<OutputRow> invoices()
    {
        QList<OutputRow> rows{{QStringLiteral("Nr faktury"), QStringLiteral("Data wystawienia"), QStringLiteral("NIP sprzedawcy"),
                               QStringLiteral("Kwota brutto"), QStringLiteral("VAT kol. 5")}};
        for (int i = 1; i <= 40; ++i)
            rows << OutputRow{QStringLiteral("FV %1/2011 \"Żółć\";x").arg(i), QDate(2011, 1, 1).addDays(i),
                              QStringLiteral("123-456-32-18"), Money::fromRaw(12205000 + i * 100), Money::fromRaw(2205000)};
        return rows;
    }

    // One damage of the bytes, chosen by the generator.
    static QByteArray damage(QByteArray bytes, QRandomGenerator &random)
    {
        const int kinds = 1 + random.bounded(3);
        for (int k = 0; k < kinds && !bytes.isEmpty(); ++k) {
            const qsizetype at = random.bounded(bytes.size());
            switch (random.bounded(6)) {
            case 0: // flip bits
                for (int i = 0; i < 1 + random.bounded(8); ++i)
                    bytes[random.bounded(bytes.size())] ^= char(1 << random.bounded(8));
                break;
            case 1: // cut
                bytes.truncate(at);
                break;
            case 2: // insert bytes of any value
                for (int i = 0; i < 1 + random.bounded(16); ++i)
                    bytes.insert(at, char(random.bounded(256)));
                break;
            case 3: // repeat a piece
                bytes.insert(at, bytes.mid(at, random.bounded(200)).repeated(1 + random.bounded(50)));
                break;
            case 4: // drop a piece
                bytes.remove(at, random.bounded(100));
                break;
            case 5: // quotes, separators and line ends where they do not belong
                bytes.insert(at, QByteArray("\"\r\n;\t,\"").mid(random.bounded(7)));
                break;
            }
        }
        return bytes;
    }

private slots:
    void damagedFiles()
    {
        QTemporaryDir dir;
        const QString xlsxPath = dir.filePath(QStringLiteral("wzor.xlsx"));
        QVERIFY(Xlsx::write(xlsxPath, QStringLiteral("Faktury"), invoices()));
        QFile xlsxFile(xlsxPath);
        QVERIFY(xlsxFile.open(QIODevice::ReadOnly));
        const QByteArray samples[] = {Csv::write(invoices()), xlsxFile.readAll()};

        QRandomGenerator random(20261210);
        const QString path = dir.filePath(QStringLiteral("uszkodzony"));
        int tried = 0, read = 0, refused = 0;
        QElapsedTimer time;
        time.start();
        for (int i = 0; i < 3000 && time.elapsed() < 120000; ++i) {
            QByteArray bytes;
            if (i % 3 == 2) {
                // The workbook's parts damaged and zipped soundly: the XML
                // reader meets the damage, not the zip's checks.
                Parts parts = workbookParts({{"Faktury", damage(QByteArray(R"(<row r="1"><c t="s"><v>0</v></c><c s="1"><v>40673</v></c></row>)"
                                                                          R"(<row r="2"><c t="inlineStr"><is><t>FV 1</t></is></c><c s="3"><v>1220.5</v></c></row>)"),
                                                                random)}},
                                            {"Nr faktury"});
                const int which = random.bounded(parts.size());
                parts[which].second = damage(parts[which].second, random);
                QFile::remove(path);
                QVERIFY(zipParts(path, parts));
            } else {
                bytes = damage(samples[i % 3], random);
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(bytes);
            }
            ++tried;
            try {
                const Sheet sheet = readSheet(path);
                QVERIFY(sheet.rows.size() <= SheetLimits::Rows);
                ++read;
            } catch (const SpreadsheetError &e) {
                QVERIFY(!e.message().isEmpty());
                ++refused;
            }
        }
        qInfo("Uszkodzone pliki: %d sprawdzonych, %d odczytanych, %d odrzuconych z komunikatem, w %lld ms", tried, read,
              refused, time.elapsed());
        QCOMPARE(read + refused, tried);
        QVERIFY(tried >= 100);
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetFuzz)
#include "tst_spreadsheet_fuzz.moc"
