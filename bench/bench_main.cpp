// Times the data module and the form models on a register of 10,000
// taxpayers, 20,000 applications and 500,000 invoices, each operation beside
// the same reads made with the bare sqlite3 C API in this process.
//
//   tarlen-bench [directory]   (the register is generated there once)
//
// With TARLEN_BENCH_SERWER (a libpq connection string of a database the
// role owns) the same register is copied there once and timed on the server
// too, beside bare libpq.

#include "bare.h"
#include "generator.h"
#include "invoice_bench.h"
#include "sellers_bench.h"
#include "windows_bench.h"
#include "import_bench.h"
#include "printing_bench.h"
#include "server_bench.h"
#include "start_bench.h"
#include "timing.h"

#include "vzm/attachmentmodel.h"
#include "core/common.h"
#include "data/database.h"
#include "vzm/formmodel.h"
#include "data/installer.h"
#include "core/polishtext.h"
#include "core/registry.h"
#include "data/tdm.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Records `directory` as the program's database directory, in a private
// settings store so that the user's own settings are not touched.
void useDatabase(const QString &settingsRoot, const QString &directory)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsRoot + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsRoot + QStringLiteral("/system"));
    writeRegistryValue(ProgramVersion, u"Sciezka", directory);
}

} // namespace

int main(int argc, char **argv)
{
    // The windows are measured drawn, without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString directory = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                            : QDir::tempPath() + QStringLiteral("/tarlen-bench")).absolutePath();
    out << "Rejestr w " << directory << " (tworzony przy pierwszym uruchomieniu)...\n";
    out.flush();
    const GeneratedRegister reg = generateRegister(directory);
    QTemporaryDir settings;
    QTemporaryDir emptyDirectory;
    Installer::install(emptyDirectory.path());

    ConsoleMessageBoxes boxes;
    Report report(out);

    // The tables open while the check of the whole file begins beside them;
    // the check of the run before is let finish, not stopped, untimed.
    const auto openTables = [](TDM &dm) {
        return medianMicros(21, [&] { dm.OtworzTabele(); }, [&] { dm.database().awaitCheck(); });
    };
    {
        useDatabase(settings.path(), emptyDirectory.path());
        TDM dm(boxes);
        Bare bare(Database::filePathIn(emptyDirectory.path()));
        report.baseline(QStringLiteral("OtworzTabele, pusta baza"), openTables(dm),
                        medianMicros(21, [&] { bare.openTables(); }));
    }

    useDatabase(settings.path(), directory);
    TDM dm(boxes);
    Bare bare(Database::filePathIn(directory));
    report.add(QStringLiteral("OtworzTabele"), openTables(dm), medianMicros(21, [&] { bare.openTables(); }));
    report.compareWithBaseline(QStringLiteral("OtworzTabele: duża baza / pusta baza"));

    // 1,000 different surname prefixes, as a user types them.
    QStringList prefixes;
    for (dm.Podatnik.first(); prefixes.size() < 1000; dm.Podatnik.next())
        prefixes << polishUpper(dm.Podatnik.field(QStringLiteral("Nazwisko")).asString()).chopped(1).toLower();
    int next = 0;
    report.add(QStringLiteral("Locate nazwiska (1000 przedrostków)"),
               medianMicros(1000, [&] {
                   dm.Podatnik.locate(QStringLiteral("Nazwisko"), prefixes[next++ % 1000],
                                      LocateOption::CaseInsensitive | LocateOption::PartialKey);
               }),
               medianMicros(1000, [&] {
                   const QString upper = polishUpper(prefixes[next++ % 1000]);
                   bare.query("SELECT rowid FROM Podatnik WHERE pl_upper(substr(COALESCE(Nazwisko, ''), 1, ?)) = ? "
                              "ORDER BY rowid LIMIT 1",
                              [&](sqlite3_stmt *st) {
                                  sqlite3_bind_int(st, 1, int(upper.size()));
                                  bindText(st, 2, upper);
                              });
               }));

    const QByteArray podat = QByteArray::number(reg.busyTaxpayer);
    const QByteArray vzm = QByteArray::number(reg.busyApplication);
    report.add(QStringLiteral("NastepnyNrKolej"), medianMicros(1000, [&] { dm.NastepnyNrKolej(reg.busyTaxpayer); }),
               medianMicros(1000, [&] { bare.query("SELECT MAX(NrKolej) As Ostatni\nFROM VZMy\nWHERE PodatId=" + podat); }));
    report.add(QStringLiteral("LiczbaZalA"), medianMicros(1000, [&] { dm.LiczbaZalA(reg.busyApplication); }),
               medianMicros(1000, [&] {
                   bare.query("SELECT COUNT(*) As Licznik\nFROM Faktury\nWHERE VzmId=" + vzm + "\n  AND Oznacz='A'");
               }));
    report.add(QStringLiteral("SumaVatA"), medianMicros(1000, [&] { dm.SumaVatA(reg.busyApplication, 1); }),
               medianMicros(1000, [&] {
                   bare.query("SELECT SUM( VatA) As SUMA\nFROM Faktury\nWHERE VzmId=:VzmId and Oznacz=:Oznacz",
                              [&](sqlite3_stmt *st) {
                                  sqlite3_bind_int(st, 1, reg.busyApplication);
                                  bindText(st, 2, QStringLiteral("A"));
                              });
               }));
    report.add(QStringLiteral("Otwarcie Vzmy podatnika"),
               medianMicros(1000, [&] {
                   dm.Vzmy.close();
                   dm.Vzmy.setParam(QStringLiteral("PodatId"), reg.busyTaxpayer);
                   dm.Vzmy.open();
               }),
               medianMicros(1000, [&] {
                   bare.query("SELECT rowid, VzmId, PodatId, NrKolej, Korekta, NrKoryg, Faktur, SztukA, SztukB, SztukC, "
                              "Zwrot, DataPier, Wersja\nFROM Vzmy\nWHERE PodatId=:PodatId\nORDER BY NrKolej",
                              [&](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, reg.busyTaxpayer); });
               }));

    dm.VzmA.setParam(QStringLiteral("VzmId"), reg.busyApplication);
    dm.VzmA.open();
    report.add(QStringLiteral("NumerujA (300 faktur)"), medianMicros(200, [&] { dm.NumerujA(); }),
               medianMicros(200, [&] {
                   QHash<qint64, int> numbers;
                   int n = 0;
                   bare.query("SELECT FaktId FROM Faktury WHERE VzmId=" + vzm + " and Oznacz='A'", {},
                              [&](sqlite3_stmt *st) { numbers.insert(sqlite3_column_int64(st, 0), ++n); });
               }));

    // An application with 300 invoices, loaded whole: the taxpayer, three
    // counts, six sums and the application's two records.
    TVzm_3 vzm3(dm);
    const auto bind = [&](int value) { return [value](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, value); }; };
    report.add(QStringLiteral("Vzm_3.Wczytaj (300 faktur)"),
               medianMicros(200, [&] { vzm3.Wczytaj(reg.busyTaxpayer, reg.busyApplication); }),
               medianMicros(200, [&] {
                   bare.query("SELECT * FROM Podatnik WHERE PodatId = ?", bind(reg.busyTaxpayer));
                   for (const char *list : {"A", "B", "C"})
                       bare.query("SELECT COUNT(*) As Licznik\nFROM Faktury\nWHERE VzmId=" + vzm + "\n  AND Oznacz='" + list + "'");
                   for (const char *column : {"VatA", "VatB"})
                       for (const char *list : {"A", "B", "C"})
                           bare.query(QByteArray("SELECT SUM( ") + column + ") As SUMA\nFROM Faktury\nWHERE VzmId=:VzmId and Oznacz=:Oznacz",
                                      [&](sqlite3_stmt *st) {
                                          sqlite3_bind_int(st, 1, reg.busyApplication);
                                          bindText(st, 2, QLatin1String(list));
                                      });
                   bare.query("SELECT * FROM VZMy WHERE VzmId = ?", bind(reg.busyApplication));
                   bare.query("SELECT * FROM VZMw3 WHERE VzmId = ? ORDER BY WpisId LIMIT 1", bind(reg.busyApplication));
               }));

    TVZMab vzmab(dm);
    const int lastAttachment = LiczbaZalacznikow(GeneratedRegister::BusyApplicationInvoices);
    report.add(QStringLiteral("VZMab.Wczytaj (ostatni załącznik)"),
               medianMicros(200, [&] { vzmab.Wczytaj(reg.busyTaxpayer, reg.busyApplication, 1, lastAttachment); }),
               medianMicros(200, [&] {
                   bare.query("SELECT * FROM Podatnik WHERE PodatId = ?", bind(reg.busyTaxpayer));
                   bare.query("SELECT NrFakt, LpFakt, DataWyst, NipSprzed, Brutto, VatA, VatB\nFROM Faktury\n"
                              "WHERE VzmId=:VzmId and Oznacz=:Oznacz",
                              [&](sqlite3_stmt *st) {
                                  sqlite3_bind_int(st, 1, reg.busyApplication);
                                  bindText(st, 2, QStringLiteral("A"));
                              });
               }));
    report.addAlone(QStringLiteral("Vzm_3.Przelicz"), medianMicros(10000, [&] { vzm3.Przelicz(); }));

    benchSellers(report, dm, bare);

    benchInvoiceStore(report, dm, bare, reg.otherApplication);
    benchSpreadsheetImport(report, dm, bare, reg.otherApplication);

    // The windows on a small register and on the full one: the times should not grow with the register.
    const QString smallDirectory = directory + QStringLiteral("-maly");
    const GeneratedRegister small = generateRegister(smallDirectory, {100, 200, 5000});
    useDatabase(settings.path(), smallDirectory);
    TDM smallDm(boxes);
    smallDm.OtworzTabele();
    {
        Bare smallBare(Database::filePathIn(smallDirectory));
        benchWindows(report, smallDm, smallBare, small, QStringLiteral("mały rejestr"));
    }
    benchWindows(report, dm, bare, reg, QStringLiteral("pełny rejestr"));

    // The imports commit on the disk where the databases live, beside the register.
    benchImport(report, boxes, QFileInfo(directory).absolutePath());

    benchPrinting(report, dm, reg.busyTaxpayer, reg.busyApplication);

    if (const QString serwer = qEnvironmentVariable("TARLEN_BENCH_SERWER"); !serwer.isEmpty()) {
        benchServer(report, boxes, {dm.database(), reg}, {smallDm.database(), small}, serwer);
        writeRegistryValue(ProgramVersion, u"Serwer", QString());
    }

    // The start opens the database itself: this copy lets it go first.
    dm.ZamknijTabele();
    dm.database().close();
    benchStart(report, boxes, settings.path(), emptyDirectory.path(), directory);

    report.print();
    return 0;
}
