extern "C" {
#include <paradox.h>
}

#include "data/dataerror.h"
#include "data/paradoxtable.h"
#include "support/paradoxfixture.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>


#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ParadoxError::Powod)

// Reading the tables of the previous version. The Polish tables are written
// here with pxlib, as the previous version stored them (code page 1250).
class TestParadox : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_podatnik;
    QString m_firmy;
    QString m_typy;

    using Powod = ParadoxError::Powod;

    // The message of each kind of failure.
    static QString message(const QString &path, Powod powod = Powod::Uszkodzona)
    {
        const QString name = QFileInfo(path).fileName();
        switch (powod) {
        case Powod::BrakPliku: return QStringLiteral("Nie udało się otworzyć pliku: ") + name;
        case Powod::BrakCzytnika: return QStringLiteral("Brak programu odczytu tabel poprzedniej wersji (%1).").arg(name);
        case Powod::Czas: return QStringLiteral("Odczyt pliku %1 trwał dłużej niż 1 s i został przerwany.").arg(name);
        case Powod::Uszkodzona: break;
        }
        return QStringLiteral("Plik %1 jest uszkodzony lub nie jest tabelą poprzedniej wersji programu.").arg(name);
    }

    static QString samples() { return QStringLiteral(TARLEN_SHARED_DIR "/data/paradox_samples"); }

    static void writeTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows)
    {
        QVERIFY(writeParadoxTable(path, columns, rows));
    }

    static QList<ParadoxColumn> podatnikColumns() { return previousPodatnikColumns(); }

    static const QString &longName()
    {
        // Thirty Polish letters: fills the first-name field to the last byte.
        static const QString name = QStringLiteral("ĄąĆćĘęŁłŃńÓóŚśŹźŻżĄąĆćĘęŁłŃńÓó");
        return name;
    }

    // The taxpayers: PodatId, Nazwisko, Imie, then the other fields by name.
    static QList<QVariantMap> taxpayers()
    {
        return {
            {{"PodatId", 1}, {"Nazwisko", "Żółkiewski"}, {"Imie", "Stanisław"},
             {"Urzad", "Drugi Urząd Skarbowy Łódź-Bałuty"}, {"NIP", "725-000-12-34"}, {"PESEL", "44051401359"},
             {"Dokument", "dowód osobisty ABC 123456"}, {"Kraj", "Polska"}, {"Wojew", "łódzkie"},
             {"Powiat", "Łódź"}, {"Gmina", "Łódź-Bałuty"}, {"Ulica", "Źródłowa"}, {"Posesja", "12a"},
             {"Lokal", "7"}, {"Miasto", "Łódź"}, {"KodPoczt", "91-735"}, {"Poczta", "Łódź"},
             {"MNIP", "725-000-56-78"}, {"MPESEL", "46021203456"}, {"MNazwisko", "Żółkiewska"},
             {"MImie", "Regina"}, {"MDokument", "paszport ŻŚ 998877"}, {"MKraj", "Polska"},
             {"MWojew", "łódzkie"}, {"MPowiat", "zgierski"}, {"MGmina", "Ozorków"}, {"MUlica", "Ślężna"},
             {"MPosesja", "3"}, {"MLokal", "1"}, {"MMiasto", "Ozorków"}, {"MKodPoczt", "95-035"},
             {"MPoczta", "Ozorków"}},
            {{"PodatId", 2}, {"Nazwisko", "Zając"}, {"Imie", "Łucja"}, {"Miasto", "Gdańsk"}},
            {{"PodatId", 3}, {"Nazwisko", "Żak"}, {"Imie", "Lucyna"}},
            {{"PodatId", 4}, {"Nazwisko", "Ślązak"}, {"Imie", "Łukasz"}},
            {{"PodatId", 5}, {"Nazwisko", "Lis"}, {"Imie", "Łukasz"}},
            {{"PodatId", 6}, {"Nazwisko", "Lis"}, {"Imie", "Lucyna"}},
            {{"PodatId", 7}, {"Nazwisko", "Kowalski"}, {"Imie", "Jan"}, {"PESEL", "70010112345"}},
            {{"PodatId", 8}, {"Nazwisko", "Kowalski"}, {"Imie", "Jan"}, {"PESEL", "85123054321"}},
            {{"PodatId", 9}, {"Ulica", "Bez nazwiska"}},
            {{"PodatId", 10}, {"Nazwisko", "Nowak \"Junior\""}, {"Imie", "Piotr"}},
            {{"PodatId", 11}, {"Nazwisko", "Ćwik"}, {"Imie", longName()}},
            {{"PodatId", 12}, {"Nazwisko", "Cebula"}, {"Imie", "Ewa"}},
            {{"PodatId", 13}, {"Nazwisko", "Łoś"}, {"Imie", "Adam"}},
            {{"PodatId", 14}, {"Nazwisko", "Sowa"}, {"Imie", "Zenon"}},
        };
    }

    static QString firmaTooLong()
    {
        return QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe „Żuraw” spółka z ograniczoną odpowiedzialnością");
    }

    static QList<QVariantList> firms()
    {
        return {{"526-000-12-46", "00-950", "Zakład Usług Różnych „Ćma”"},
                {"113-000-00-01", "A1", firmaTooLong()},
                {"777-000-00-02", QVariant(), QVariant()}};
    }

    ParadoxTable table() const { return ParadoxTable(QStringLiteral(TARLEN_PXREAD)); }

    ParadoxTable read(const QString &path) const
    {
        ParadoxTable t = table();
        t.open(path);
        return t;
    }

    // Opens `path` and answers the message of the failure, or an empty
    // string; `powod` gets the kind of the failure.
    QString failureOf(const QString &path, ParadoxTable &t, Powod *powod = nullptr) const
    {
        try {
            t.open(path);
        } catch (const ParadoxError &e) {
            if (powod)
                *powod = e.powod();
            return e.message();
        }
        return {};
    }

    static int fieldCount(const QByteArray &table) { return paradoxFieldCount(table); }
    static qsizetype nameEnd(const QByteArray &table, int field) { return paradoxNameEnd(table, field); }

    QByteArray bytesOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFileInfo(QStringLiteral(TARLEN_PXREAD)).isExecutable());

        m_firmy = m_dir.filePath(QStringLiteral("Firmy.DB"));
        writeTable(m_firmy, {{"NIP", pxfAlpha, 13}, {"Kod", pxfAlpha, 10}, {"Firma", pxfAlpha, 50}}, firms());

        m_typy = m_dir.filePath(QStringLiteral("Typy.DB"));
        writeTable(m_typy,
                   {{"Id", pxfAutoInc, 4}, {"Ilosc", pxfShort, 2}, {"Liczba", pxfLong, 4},
                    {"Kwota", pxfCurrency, 8}, {"Wartosc", pxfNumber, 8}, {"Data", pxfDate, 4},
                    {"Znak", pxfLogical, 1}, {"Opis", pxfAlpha, 10}},
                   {{1, -5, 123456789, 1234.56, -0.125, QDate(2011, 1, 1), 1, "ąę"},
                    {2, 32000, -7, 0.01, 1e10, QDate(1999, 12, 31), 0, "x"},
                    {3, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}});
        m_podatnik = m_dir.filePath(QStringLiteral("Podatnik.DB"));
        const QList<ParadoxColumn> columns = podatnikColumns();
        QList<QVariantList> rows;
        for (const QVariantMap &t : taxpayers()) {
            QVariantList row;
            for (const ParadoxColumn &c : columns)
                row << t.value(QString::fromLatin1(c.name));
            rows << row;
        }
        writeTable(m_podatnik, columns, rows);

    }

    void readsTaxpayersExactly_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QVariantMap>("expected");
        const QList<QVariantMap> all = taxpayers();
        for (qsizetype i = 0; i < all.size(); ++i)
            QTest::addRow("%d %s %s", int(i), qPrintable(all[i].value("Nazwisko").toString()),
                          qPrintable(all[i].value("Imie").toString()))
                << int(i) << all[i];
    }

    void readsTaxpayersExactly()
    {
        QFETCH(int, row);
        QFETCH(QVariantMap, expected);
        const ParadoxTable t = read(m_podatnik);
        QCOMPARE(t.recordCount(), taxpayers().size());
        const QList<ParadoxColumn> columns = podatnikColumns();
        QCOMPARE(t.fields().size(), columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString name = QString::fromLatin1(columns[i].name);
            QCOMPARE(t.fields()[i].name, name);
            const QVariant value = t.value(row, name);
            if (name == QLatin1String("PodatId")) {
                QCOMPARE(t.fields()[i].type, '+');
                QCOMPARE(value.toLongLong(), expected.value(name).toLongLong());
            } else {
                QCOMPARE(t.fields()[i].type, 'A');
                QCOMPARE(t.fields()[i].size, columns[i].size);
                // An empty field reads as null.
                QCOMPARE(value.isNull(), !expected.contains(name));
                QCOMPARE(value.toString(), expected.value(name).toString());
            }
        }
    }

    void fieldsByNameIgnoreCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("exact") << "Nazwisko" << 1;
        QTest::newRow("upper") << "NAZWISKO" << 1;
        QTest::newRow("lower") << "mkodpoczt" << 30;
        QTest::newRow("mixed") << "pesel" << 5;
        QTest::newRow("unknown") << "Notatki" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void fieldsByNameIgnoreCase()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const ParadoxTable t = read(m_podatnik);
        QCOMPARE(t.fieldIndex(name), index);
        if (index < 0)
            QVERIFY(t.value(0, name).isNull());
        else
            QCOMPARE(t.value(0, name), t.records()[0][index]);
    }

    void sortsNazwImieThePolishWay_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("podatId");
        // Empty names first, then "Ć" after "C", "Ł" after "L", "Ś" after "S",
        // "Ż" after "Z"; the two Jan Kowalskis keep the table's order.
        const int order[] = {9, 12, 11, 7, 8, 6, 5, 13, 10, 14, 4, 2, 3, 1};
        for (int i = 0; i < int(std::size(order)); ++i)
            QTest::addRow("%d", i) << i << order[i];
    }

    void sortsNazwImieThePolishWay()
    {
        QFETCH(int, position);
        QFETCH(int, podatId);
        ParadoxTable t = read(m_podatnik);
        QCOMPARE(t.value(position, "PodatId").toInt(), position + 1); // the table's order
        t.sortNazwImie();
        QCOMPARE(t.recordCount(), qsizetype(14));
        QCOMPARE(t.value(position, "PodatId").toInt(), podatId);
    }

    void readsFirms_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QVariant>("kod");
        QTest::addColumn<QVariant>("firma");
        QTest::newRow("quotes") << 0 << "526-000-12-46" << QVariant("00-950") << QVariant("Zakład Usług Różnych „Ćma”");
        // Cut to the field's fifty characters when it was written.
        QTest::newRow("full field") << 1 << "113-000-00-01" << QVariant("A1") << QVariant(firmaTooLong().left(50));
        QTest::newRow("empty fields") << 2 << "777-000-00-02" << QVariant() << QVariant();
    }

    void readsFirms()
    {
        QFETCH(int, row);
        QFETCH(QString, nip);
        QFETCH(QVariant, kod);
        QFETCH(QVariant, firma);
        const ParadoxTable t = read(m_firmy);
        QCOMPARE(t.recordCount(), qsizetype(3));
        QCOMPARE(t.fields().size(), qsizetype(3));
        QCOMPARE(t.value(row, "nip").toString(), nip);
        QCOMPARE(t.value(row, "Kod"), kod);
        QCOMPARE(t.value(row, "FIRMA"), firma);
    }

    void readsOtherTypes_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("autoinc") << 0 << "Id" << QVariant(qint64(1));
        QTest::newRow("short") << 0 << "Ilosc" << QVariant(qint64(-5));
        QTest::newRow("short large") << 1 << "Ilosc" << QVariant(qint64(32000));
        QTest::newRow("long") << 0 << "Liczba" << QVariant(qint64(123456789));
        QTest::newRow("long negative") << 1 << "Liczba" << QVariant(qint64(-7));
        QTest::newRow("money") << 0 << "Kwota" << QVariant(1234.56);
        QTest::newRow("money grosz") << 1 << "Kwota" << QVariant(0.01);
        QTest::newRow("number") << 0 << "Wartosc" << QVariant(-0.125);
        QTest::newRow("number large") << 1 << "Wartosc" << QVariant(1e10);
        QTest::newRow("date") << 0 << "Data" << QVariant(QDate(2011, 1, 1));
        QTest::newRow("date end of year") << 1 << "Data" << QVariant(QDate(1999, 12, 31));
        QTest::newRow("true") << 0 << "Znak" << QVariant(true);
        QTest::newRow("false") << 1 << "Znak" << QVariant(false);
        QTest::newRow("text") << 0 << "Opis" << QVariant("ąę");
        QTest::newRow("empty short") << 2 << "Ilosc" << QVariant();
        QTest::newRow("empty long") << 2 << "Liczba" << QVariant();
        QTest::newRow("empty money") << 2 << "Kwota" << QVariant();
        QTest::newRow("empty date") << 2 << "Data" << QVariant();
        QTest::newRow("empty logical") << 2 << "Znak" << QVariant();
    }

    void readsOtherTypes()
    {
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        const ParadoxTable t = read(m_typy);
        QCOMPARE(t.recordCount(), qsizetype(3));
        QCOMPARE(t.value(row, field), expected);
    }

    void readsEmptyTable()
    {
        const QString path = m_dir.filePath(QStringLiteral("Pusta.DB"));
        writeTable(path, {{"NIP", pxfAlpha, 13}, {"Kod", pxfAlpha, 10}}, {});
        ParadoxTable t = table();
        t.open(m_firmy);
        t.open(path);
        QCOMPARE(t.recordCount(), qsizetype(0));
        QCOMPARE(t.fields().size(), qsizetype(2));
        QCOMPARE(t.fields()[1].name, QStringLiteral("Kod"));
        QCOMPARE(t.fieldIndex("kod"), 1);
    }

    void samplesReadOrRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("records");
        QFile index(samples() + QStringLiteral("/INDEX.tsv"));
        QVERIFY(index.open(QIODevice::ReadOnly | QIODevice::Text));
        int rows = 0;
        while (!index.atEnd()) {
            const QList<QByteArray> cols = index.readLine().split('\t');
            if (cols.size() < 3)
                continue;
            const qsizetype at = cols[2].indexOf("recs=");
            QVERIFY(at >= 0);
            const int records = cols[2].mid(at + 5).split(' ').first().toInt();
            QTest::newRow(cols[0].constData()) << samples() + '/' + QString::fromUtf8(cols[0]) << records;
            ++rows;
        }
        QVERIFY(rows >= 30);
    }

    void samplesReadOrRefused()
    {
        QFETCH(QString, path);
        QFETCH(int, records);
        QVERIFY(QFileInfo::exists(path));
        ParadoxTable t = table();
        QElapsedTimer timer;
        timer.start();
        const QString failure = failureOf(path, t);
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        if (failure.isEmpty()) {
            QCOMPARE(t.recordCount(), qsizetype(records));
            QVERIFY(!t.fields().isEmpty());
            for (const ParadoxTable::Record &r : t.records())
                QCOMPARE(r.size(), t.fields().size());
        } else {
            QCOMPARE(failure, message(path));
            QCOMPARE(t.recordCount(), qsizetype(0));
        }
    }

    // The helper's time limit grows with the file, so that a big table on a
    // slow disk is read; one it exceeds is refused for time, and says so.
    void timeLimitGrowsWithTheFile_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<int>("limit");
        QTest::newRow("empty") << qint64(0) << 5000;
        QTest::newRow("a byte") << qint64(1) << 6000;
        QTest::newRow("one megabyte") << qint64(1 << 20) << 6000;
        QTest::newRow("a byte more") << qint64((1 << 20) + 1) << 7000;
        QTest::newRow("60,000 taxpayers (70 MB)") << qint64(70) * (1 << 20) << 75000;
    }
    void timeLimitGrowsWithTheFile()
    {
        QFETCH(qint64, bytes);
        QFETCH(int, limit);
        QCOMPARE(table().timeLimit(bytes), limit);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Powod>("powod");
        const QByteArray podatnik = bytesOf(m_podatnik);
        QVERIFY(podatnik.size() > 4096);
        const int headerSize = quint8(podatnik[2]) | (quint8(podatnik[3]) << 8);
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("Brak.DB")) << Powod::BrakPliku;
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Katalog.DB")));
        QTest::newRow("directory") << m_dir.filePath(QStringLiteral("Katalog.DB")) << Powod::BrakPliku;
        const QString pipe = m_dir.filePath(QStringLiteral("Potok.DB"));
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QTest::newRow("named pipe") << pipe << Powod::BrakPliku; // reading it would wait forever
        QTest::newRow("empty") << writeFile(QStringLiteral("Pusty.DB"), QByteArray()) << Powod::Uszkodzona;
        QTest::newRow("text") << writeFile(QStringLiteral("Tekst.DB"),
                                           QByteArray("PodatId;Nazwisko;Imie\n1;Kowalski;Jan\n").repeated(100)) << Powod::Uszkodzona;
        QTest::newRow("zeros") << writeFile(QStringLiteral("Zera.DB"), QByteArray(8192, '\0')) << Powod::Uszkodzona;
        QTest::newRow("truncated in the header") << writeFile(QStringLiteral("Naglowek.DB"), podatnik.left(100)) << Powod::Uszkodzona;
        QTest::newRow("header only") << writeFile(QStringLiteral("Bez bloków.DB"), podatnik.left(headerSize)) << Powod::Uszkodzona;
        QTest::newRow("truncated in a block")
            << writeFile(QStringLiteral("Ucięty.DB"), podatnik.left(podatnik.size() - 700)) << Powod::Uszkodzona;
        QTest::newRow("last byte missing")
            << writeFile(QStringLiteral("Krótszy.DB"), podatnik.left(podatnik.size() - 1)) << Powod::Uszkodzona;
        // The chain of data blocks: the first block names itself as the next.
        QByteArray looped = podatnik;
        looped[headerSize] = 1;
        looped[headerSize + 1] = 0;
        QTest::newRow("blocks in a loop") << writeFile(QStringLiteral("Petla.DB"), looped) << Powod::Uszkodzona;
        // More records in the header than in the blocks, and a block claiming more than it holds.
        QByteArray counted = podatnik;
        counted[6] = char(quint8(counted[6]) + 1);
        QTest::newRow("record count too high") << writeFile(QStringLiteral("Licznik.DB"), counted) << Powod::Uszkodzona;
        QByteArray overfull = podatnik;
        overfull[headerSize + 4] = char(0x7f);
        overfull[headerSize + 5] = char(0x7f);
        QTest::newRow("block overfull") << writeFile(QStringLiteral("Przepelniony.DB"), overfull) << Powod::Uszkodzona;
        // The password mark alone, on blocks that are not encrypted at all.
        QByteArray keyed = bytesOf(m_firmy);
        QVERIFY(keyed.size() > 0x60);
        keyed.replace(0x5C, 4, QByteArray("\x9a\xe0\x25\x0a", 4));
        QTest::newRow("password mark") << writeFile(QStringLiteral("Haslo.DB"), keyed) << Powod::Uszkodzona;
        keyed = bytesOf(m_firmy);
        keyed.replace(0x25, 4, QByteArray("\x01\x02\x03\x04", 4));
        QTest::newRow("password mark in the main header") << writeFile(QStringLiteral("Haslo2.DB"), keyed) << Powod::Uszkodzona;
        QTest::newRow("password-protected") << samples() + QStringLiteral("/leonhad-paradoxdriver/encrypt/encrypted.db") << Powod::Uszkodzona;

        // The field names: a changed or lost terminator shifts every name
        // after it into another field; empty, repeated or unprintable names,
        // and field numbers or a sort order that do not follow them.
        const auto zmieniony = [this](const QString &name, QByteArray bytes, qsizetype at, QByteArray with) {
            bytes.replace(at, with.size(), with);
            return writeFile(name, bytes);
        };
        QTest::newRow("a field-name terminator changed")
            << zmieniony(QStringLiteral("Nazwy1.DB"), podatnik, nameEnd(podatnik, 0), "X") << Powod::Uszkodzona;
        QTest::newRow("the last field-name terminator changed")
            << zmieniony(QStringLiteral("Nazwy2.DB"), podatnik, nameEnd(podatnik, fieldCount(podatnik) - 1), "X")
            << Powod::Uszkodzona;
        QTest::newRow("a terminator inside a name")
            << zmieniony(QStringLiteral("Nazwy3.DB"), podatnik, nameEnd(podatnik, 1) - 3, QByteArray(1, '\0'))
            << Powod::Uszkodzona;
        QTest::newRow("an empty name")
            << zmieniony(QStringLiteral("Nazwy4.DB"), podatnik, nameEnd(podatnik, 1) + 1, QByteArray(1, '\0'))
            << Powod::Uszkodzona;
        QTest::newRow("a repeated name (Kraj as IMIE)")
            << zmieniony(QStringLiteral("Nazwy5.DB"), podatnik, nameEnd(podatnik, 6) + 1, "IMIE") << Powod::Uszkodzona;
        QTest::newRow("a control byte in a name")
            << zmieniony(QStringLiteral("Nazwy6.DB"), podatnik, nameEnd(podatnik, 2) - 1, "\x07") << Powod::Uszkodzona;
        const qsizetype numbers = nameEnd(podatnik, fieldCount(podatnik) - 1) + 1;
        QTest::newRow("a field number repeated")
            << zmieniony(QStringLiteral("Numery.DB"), podatnik, numbers + 2, podatnik.mid(numbers, 2)) << Powod::Uszkodzona;
        QTest::newRow("no sort order")
            << zmieniony(QStringLiteral("Porzadek.DB"), podatnik, numbers + 2 * fieldCount(podatnik), QByteArray(1, '\0'))
            << Powod::Uszkodzona;
        const QByteArray firmy = bytesOf(m_firmy);
        QTest::newRow("a field-name terminator of Firmy.DB changed")
            << zmieniony(QStringLiteral("Firmy1.DB"), firmy, nameEnd(firmy, 1), "!") << Powod::Uszkodzona;
    }

    void failures()
    {
        QFETCH(QString, path);
        QFETCH(Powod, powod);
        QVERIFY(!path.isEmpty());
        ParadoxTable t = table();
        t.open(m_firmy); // what was read before goes
        QCOMPARE(t.recordCount(), qsizetype(3));
        // Refused by the checks, not by the time limit (five seconds).
        QElapsedTimer timer;
        timer.start();
        Powod powodBledu{};
        QCOMPARE(failureOf(path, t, &powodBledu), message(path, powod));
        QCOMPARE(powodBledu, powod);
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(t.recordCount(), qsizetype(0));
        QVERIFY(t.fields().isEmpty());
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        const QString path = m_dir.filePath(QStringLiteral("Zablokowany.DB"));
        QVERIFY(QFile::copy(m_firmy, path));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        ParadoxTable t = table();
        QCOMPARE(failureOf(path, t), message(path, Powod::BrakPliku));
    }

    void helperFailures_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<Powod>("powod");
        QTest::newRow("hangs") << QByteArray("exec sleep 30\n") << Powod::Czas;
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$\n") << Powod::Uszkodzona;
        QTest::newRow("crashes after output") << QByteArray("printf 'PXREAD 1\\nF 1\\n'; kill -ABRT $$\n") << Powod::Uszkodzona;
        QTest::newRow("fails") << QByteArray("echo nie >&2; exit 2\n") << Powod::Uszkodzona;
        QTest::newRow("no output") << QByteArray("exit 0\n") << Powod::Uszkodzona;
        QTest::newRow("output cut short") << QByteArray("printf 'PXREAD 1\\nF 1\\nA 3 3:Kod\\nR 2\\n3:abc\\n'\n") << Powod::Uszkodzona;
        QTest::newRow("value past the end") << QByteArray("printf 'PXREAD 1\\nF 1\\nA 3 3:Kod\\nR 1\\n9:abc\\nEND\\n'\n") << Powod::Uszkodzona;
        QTest::newRow("bad date") << QByteArray("printf 'PXREAD 1\\nF 1\\nD 4 4:Data\\nR 1\\n10:2011-02-30\\nEND\\n'\n") << Powod::Uszkodzona;
        QTest::newRow("trailing bytes") << QByteArray("printf 'PXREAD 1\\nF 1\\nA 3 3:Kod\\nR 1\\n3:abc\\nEND\\nx'\n") << Powod::Uszkodzona;
    }

    void helperFailures()
    {
        QFETCH(QByteArray, script);
        QFETCH(Powod, powod);
        const QString helper = writeFile(QStringLiteral("helper.sh"), "#!/bin/sh\n" + script);
        QVERIFY(QFile::setPermissions(helper, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        ParadoxTable t(helper);
        t.setTimeLimit(500, 0);
        QElapsedTimer timer;
        timer.start();
        Powod powodBledu{};
        QCOMPARE(failureOf(m_firmy, t, &powodBledu), message(m_firmy, powod));
        QCOMPARE(powodBledu, powod);
        QVERIFY(timer.elapsed() < 3000);
    }

    void helperMissing()
    {
        ParadoxTable t(m_dir.filePath(QStringLiteral("nie-ma-takiego-programu")));
        Powod powod{};
        QCOMPARE(failureOf(m_firmy, t, &powod), message(QStringLiteral("nie-ma-takiego-programu"), Powod::BrakCzytnika));
        QCOMPARE(powod, Powod::BrakCzytnika);
    }

    void helperOutputAccepted()
    {
        // The same kind of stand-in helper, writing a well-formed table, is read:
        // the failures above come from what they write, not from being scripts.
        const QString helper = writeFile(
            QStringLiteral("helper-ok.sh"),
            "#!/bin/sh\nprintf 'PXREAD 1\\nF 2\\nA 3 3:Kod\\nL 1 4:Znak\\nR 2\\n3:abc1:1\\n~1:0\\nEND\\n'\n");
        QVERIFY(QFile::setPermissions(helper, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        ParadoxTable t(helper);
        t.open(m_firmy);
        QCOMPARE(t.recordCount(), qsizetype(2));
        QCOMPARE(t.value(0, "Kod"), QVariant("abc"));
        QCOMPARE(t.value(0, "Znak"), QVariant(true));
        QVERIFY(t.value(1, "Kod").isNull());
        QCOMPARE(t.value(1, "Znak"), QVariant(false));
    }

    // Damaged copies of a table: each is read or refused, and the helper
    // never crashes and never hangs.
    void damagedCopies()
    {
        const QByteArray original = bytesOf(m_podatnik);
        const int headerSize = quint8(original[2]) | (quint8(original[3]) << 8);
        QVERIFY(headerSize > 0 && headerSize < original.size());
        QList<QByteArray> nazwy;
        const ParadoxTable zdrowa = read(m_podatnik);
        for (const ParadoxTable::Field &f : zdrowa.fields())
            nazwy << f.name.toLatin1();
        const int namesStart = int(nameEnd(original, 0) - nazwy[0].size());
        const int namesEnd = int(nameEnd(original, fieldCount(original) - 1) + 1);
        QRandomGenerator random(20261209);
        const QString path = m_dir.filePath(QStringLiteral("Uszkodzony.DB"));
        int read = 0, refused = 0;
        QElapsedTimer total;
        total.start();
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = original;
            const int flips = 1 + int(random.bounded(8));
            for (int i = 0; i < flips; ++i) {
                // Most damage goes to the header, where the sizes and counts
                // are, a third of it to the field names and their terminators.
                const int where = int(random.bounded(3));
                const int at = where == 0 ? int(random.bounded(namesStart, namesEnd))
                                          : int(random.bounded(where == 1 ? headerSize : int(bytes.size())));
                bytes[at] = char(random.bounded(256));
            }
            if (random.bounded(10) == 0)
                bytes.truncate(random.bounded(int(bytes.size())));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(f.write(bytes), bytes.size());
            f.close();

            QProcess helper;
            helper.start(QStringLiteral(TARLEN_PXREAD), {path});
            QVERIFY(helper.waitForStarted());
            // Each read ends in milliseconds; a busy machine may stretch that,
            // a hang would not end at all.
            const bool finished = helper.waitForFinished(10000);
            if (!finished) {
                helper.kill();
                helper.waitForFinished();
            }
            QVERIFY2(finished, qPrintable(QStringLiteral("round %1 hangs").arg(round)));
            QVERIFY2(helper.exitStatus() == QProcess::NormalExit,
                     qPrintable(QStringLiteral("round %1 crashes").arg(round)));
            QVERIFY(helper.exitCode() == 0 || helper.exitCode() == 2);

            ParadoxTable t = table();
            Powod powod{};
            const QString failure = failureOf(path, t, &powod);
            if (failure.isEmpty()) {
                QCOMPARE(helper.exitCode(), 0);
                ++read;
                for (const ParadoxTable::Record &r : t.records())
                    QCOMPARE(r.size(), t.fields().size());
                // A table read has the names that stand at their own places,
                // never names shifted from another field's.
                QCOMPARE(t.fields().size(), qsizetype(fieldCount(original)));
                for (int i = 0; i < fieldCount(original); ++i) {
                    const qsizetype start = i == 0 ? nameEnd(original, 0) - nazwy[0].size() : nameEnd(original, i - 1) + 1;
                    const QByteArray place = bytes.mid(start, nameEnd(original, i) - start);
                    if (std::all_of(place.begin(), place.end(), [](char c) { return c > 0x20 && c < 0x7f; }))
                        QCOMPARE(t.fields()[i].name, QString::fromLatin1(place));
                }
            } else {
                QCOMPARE(failure, message(path, powod));
                ++refused;
            }
        }
        qInfo("damaged copies: %d read, %d refused, %lld ms", read, refused, qint64(total.elapsed()));
        QVERIFY(read > 0);
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(TestParadox)
#include "tst_paradox.moc"
