#include "invoice_bench.h"

#include "bare.h"
#include "timing.h"

#include "data/tdm.h"
#include "invoices/windows/faktura.h"
#include "invoices/windows/importfaktur.h"
#include "spreadsheet/csv.h"

#include <QFile>
#include <QTemporaryDir>

#include <QElapsedTimer>

#include <algorithm>

namespace {

constexpr int Lines = 20;
constexpr int Repeats = 50;
constexpr int SpreadsheetRepeats = 7;

// The median of `repeats` timed runs of `work`, each after an untimed
// `prepare` and followed by an untimed `undo`.
double medianOfRuns(int repeats, const std::function<void()> &prepare, const std::function<void()> &work,
                    const std::function<void()> &undo)
{
    QList<double> times;
    QElapsedTimer timer;
    for (int i = 0; i <= repeats; ++i) {
        prepare();
        timer.start();
        work();
        const double micros = timer.nsecsElapsed() / 1000.0;
        undo();
        if (i > 0) // the first run warms the caches and prepared statements
            times << micros;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

TDaneFaktury invoice()
{
    TDaneFaktury dane;
    dane.NrFakt = QStringLiteral("BENCH/2025/0001");
    dane.Data = QStringLiteral("15-06-2011");
    dane.LpFakt = QStringLiteral("1-20");
    dane.KodSprzed = QStringLiteral("SKŁAD");
    dane.NipSprzed = QStringLiteral("123-456-32-18");
    dane.Brutto = Money::fromUnits(24600);
    dane.VatA = Money::fromUnits(4600);
    return dane;
}

TPozycja line(int i)
{
    return {QStringLiteral("Pozycja %1 ściana").arg(i), Money::fromUnits(1230), Money::fromUnits(230), Money()};
}

} // namespace

void benchInvoiceStore(Report &report, TDM &dm, Bare &bare, int vzmId)
{
    TFaktura faktura(dm);
    faktura.Ustaw(vzmId, 1, true);
    dm.VzmA.close();
    dm.VzmA.setParam(QStringLiteral("VzmId"), vzmId);
    dm.VzmA.open();
    const TDaneFaktury dane = invoice();
    int stored = 0;
    const double ours = medianOfRuns(
        Repeats,
        [&] {
            TPozycjeFaktury robocze(dm, 0);
            robocze.Otworz();
            for (int i = 1; i <= Lines; ++i)
                robocze.Dodaj(line(i));
        },
        [&] { stored = faktura.Zapisz(dane); }, [&] { dm.UsunFakture(stored); });

    // The same with the bare API: the writes in one transaction, and the
    // reads the program makes after each write (the invoice's list, the
    // invoice's lines).
    bare.query("PRAGMA synchronous = EXTRA"); // as the program's connection
    qint64 bareId = 0;
    const auto readList = [&] {
        bare.query("SELECT rowid, FaktId, VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, VatB "
                   "FROM Faktury WHERE VzmId = ? and Oznacz = 'A'",
                   [&](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, vzmId); });
    };
    const double base = medianOfRuns(
        Repeats, [] {},
        [&] {
            bare.query("BEGIN");
            bare.query("INSERT INTO Faktury (VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, VatB) "
                       "VALUES (?, 'A', ?, ?, ?, ?, ?, ?, ?, NULL)",
                       [&](sqlite3_stmt *st) {
                           sqlite3_bind_int(st, 1, vzmId);
                           bindText(st, 2, dane.NrFakt);
                           bindText(st, 3, dane.LpFakt);
                           bindText(st, 4, QStringLiteral("2011-06-15"));
                           bindText(st, 5, dane.KodSprzed);
                           bindText(st, 6, dane.NipSprzed);
                           sqlite3_bind_int64(st, 7, dane.Brutto.raw());
                           sqlite3_bind_int64(st, 8, dane.VatA.raw());
                       });
            bare.query("SELECT last_insert_rowid()", {},
                       [&](sqlite3_stmt *st) { bareId = sqlite3_column_int64(st, 0); });
            readList();
            for (int i = 1; i <= Lines; ++i) {
                const TPozycja p = line(i);
                bare.query("INSERT INTO Kwoty (FaktId, Opis, Brutto, VatA) VALUES (?, ?, ?, ?)", [&](sqlite3_stmt *st) {
                    sqlite3_bind_int64(st, 1, bareId);
                    bindText(st, 2, p.Opis);
                    sqlite3_bind_int64(st, 3, p.Brutto.raw());
                    sqlite3_bind_int64(st, 4, p.VatA.raw());
                });
                bare.query("SELECT rowid, FaktId, Opis, Brutto, VatA, VatB FROM Kwoty WHERE FaktId = ?",
                           [&](sqlite3_stmt *st) { sqlite3_bind_int64(st, 1, bareId); });
            }
            bare.query("COMMIT");
        },
        [&] {
            bare.query("BEGIN");
            bare.query("DELETE FROM Kwoty WHERE FaktId = ?", [&](sqlite3_stmt *st) { sqlite3_bind_int64(st, 1, bareId); });
            bare.query("DELETE FROM Faktury WHERE FaktId = ?", [&](sqlite3_stmt *st) { sqlite3_bind_int64(st, 1, bareId); });
            bare.query("COMMIT");
        });
    bare.query("PRAGMA synchronous = FULL");
    report.add(QStringLiteral("Zapis faktury z %1 pozycjami").arg(Lines), ours, base);
}

void benchSpreadsheetImport(Report &report, TDM &dm, Bare &bare, int vzmId)
{
    constexpr int Rows = 500;
    QList<OutputRow> rows{{QStringLiteral("Nr faktury"), QStringLiteral("Data wystawienia"), QStringLiteral("NIP sprzedawcy"),
                           QStringLiteral("Lp. z faktury"), QStringLiteral("Kwota brutto"), QStringLiteral("VAT kol. 5")}};
    for (int i = 1; i <= Rows; ++i)
        rows << OutputRow{QStringLiteral("ARK/%1/2011").arg(i), QDate(2011, 1, 1).addDays(i % 300), QStringLiteral("123-456-32-18"),
                          QStringLiteral("1-%1").arg(i % 20 + 1), Money::fromUnits(1230 + i), Money::fromUnits(230)};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faktury.csv"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(Csv::write(rows));
    file.close();
    dm.VzmA.close();
    dm.VzmA.setParam(QStringLiteral("VzmId"), vzmId);
    dm.VzmA.open();

    const auto removeImported = [&] {
        bare.query("DELETE FROM Faktury WHERE VzmId = ? AND NrFakt LIKE 'ARK/%'",
                   [&](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, vzmId); });
    };
    int stored = 0;
    const double ours = medianOfRuns(
        SpreadsheetRepeats, [] {},
        [&] {
            TImportFaktur import(dm, vzmId, 1);
            import.Ustaw(readSheet(path));
            stored = import.Importuj(false);
        },
        [&] {
            // Deleted past the data module: its list is read anew.
            removeImported();
            dm.VzmA.close();
            dm.VzmA.open();
        });
    if (stored != Rows)
        qWarning("Import arkusza: zapisano %d z %d faktur", stored, Rows);

    // The same with the bare API: the file read and split, every row stored
    // in one transaction, the list read once after it.
    bare.query("PRAGMA synchronous = EXTRA"); // as the program's connection
    const double base = medianOfRuns(
        SpreadsheetRepeats, [] {},
        [&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            const QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            bare.query("BEGIN");
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const QStringList c = lines[i].split(u';');
                bare.query("INSERT INTO Faktury (VzmId, Oznacz, NrFakt, LpFakt, DataWyst, NipSprzed, Brutto, VatA) "
                           "VALUES (?, 'A', ?, ?, ?, ?, ?, ?)",
                           [&](sqlite3_stmt *st) {
                               sqlite3_bind_int(st, 1, vzmId);
                               bindText(st, 2, c[0]);
                               bindText(st, 3, c[3]);
                               bindText(st, 4, QDate::fromString(c[1], QStringLiteral("dd-MM-yyyy")).toString(Qt::ISODate));
                               bindText(st, 5, c[2]);
                               sqlite3_bind_int64(st, 6, Money::parse(c[4])->raw());
                               sqlite3_bind_int64(st, 7, Money::parse(c[5])->raw());
                           });
            }
            bare.query("COMMIT");
            bare.query("SELECT rowid, FaktId, VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, VatB "
                       "FROM Faktury WHERE VzmId = ? and Oznacz = 'A'",
                       [&](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, vzmId); });
        },
        removeImported);
    bare.query("PRAGMA synchronous = FULL");
    report.add(QStringLiteral("Import %1 faktur z pliku CSV (sprawdzenie i zapis)").arg(Rows), ours, base);
}
