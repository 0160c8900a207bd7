#include "server_bench.h"

#include "bare.h"
#include "generator.h"
#include "timing.h"
#include "windows_bench.h"

#include "core/polishtext.h"
#include "core/registry.h"
#include "data/dataerror.h"
#include "data/kopiaserwera.h"
#include "data/tdm.h"
#include "data/ustawieniabazy.h"

#include <QElapsedTimer>

#include <libpq-fe.h>

namespace {

// The same statements through bare libpq: prepared once, run with text
// parameters, every value of every row read.
class PgBare
{
public:
    explicit PgBare(const QString &conninfo) : m_conn(PQconnectdb(conninfo.toUtf8().constData())) {}
    ~PgBare() { PQfinish(m_conn); }
    PgBare(const PgBare &) = delete;
    PgBare &operator=(const PgBare &) = delete;

    void query(const QByteArray &sql, const QList<QByteArray> &params = {})
    {
        QByteArray &name = m_prepared[sql];
        if (name.isEmpty()) {
            name = "b" + QByteArray::number(m_prepared.size());
            PQclear(PQprepare(m_conn, name.constData(), sql.constData(), int(params.size()), nullptr));
        }
        QVector<const char *> values;
        for (const QByteArray &p : params)
            values << p.constData();
        PGresult *result = PQexecPrepared(m_conn, name.constData(), int(values.size()), values.constData(), nullptr, nullptr, 0);
        qint64 sink = 0;
        for (int r = 0; r < PQntuples(result); ++r)
            for (int c = 0; c < PQnfields(result); ++c)
                sink += PQgetlength(result, r, c);
        m_sink += sink;
        PQclear(result);
    }

private:
    PGconn *m_conn;
    QHash<QByteArray, QByteArray> m_prepared;
    qint64 m_sink = 0;
};

} // namespace

namespace {

// The register of `folder` on the server `conninfo`, copied there the first
// time, recorded as the program's database.
void registerOnServer(Report &report, Database &folder, const QString &conninfo, const QString &what)
{
    Database server;
    server.openServer(conninfo);
    if (!server.firstRow(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                        "AND table_name = 'podatnik'"))) {
        QElapsedTimer moved;
        moved.start();
        KopiaSerwera::PrzeniesNaSerwer(folder, conninfo);
        report.addAlone(QStringLiteral("serwer: przeniesienie rejestru z folderu (%1)").arg(what), moved.nsecsElapsed() / 1000.0);
    }
    writeRegistryValue(ProgramVersion, u"Serwer", conninfo);
}

void openTables(TDM &dm)
{
    if (!dm.OtworzTabele())
        throw DataError(QStringLiteral("Nie udało się otworzyć rejestru na serwerze."));
}

} // namespace

void benchServer(Report &report, MessageBoxes &boxes, const BenchRegister &full, const BenchRegister &small,
                 const QString &conninfo)
{
    const GeneratedRegister &reg = full.reg;
    registerOnServer(report, full.folder, conninfo, QStringLiteral("pełny rejestr"));
    TDM dm(boxes);
    openTables(dm);
    PgBare bare(conninfo);
    const QByteArray podat = QByteArray::number(reg.busyTaxpayer);
    const QByteArray vzm = QByteArray::number(reg.busyApplication);

    QStringList prefixes;
    for (dm.Podatnik.first(); prefixes.size() < 1000; dm.Podatnik.next())
        prefixes << polishUpper(dm.Podatnik.field(QStringLiteral("Nazwisko")).asString()).chopped(1).toLower();
    int next = 0;
    report.add(QStringLiteral("serwer: Locate nazwiska (1000 przedrostków)"),
               medianMicros(1000, [&] {
                   dm.Podatnik.locate(QStringLiteral("Nazwisko"), prefixes[next++ % 1000],
                                      LocateOption::CaseInsensitive | LocateOption::PartialKey);
               }),
               medianMicros(1000, [&] {
                   const QString upper = polishUpper(prefixes[next++ % 1000]);
                   bare.query("SELECT rowid FROM Podatnik WHERE pl_upper(substr(COALESCE(Nazwisko, ''), 1, $1)) = $2 "
                              "ORDER BY rowid LIMIT 1",
                              {QByteArray::number(upper.size()), upper.toUtf8()});
               }));
    report.add(QStringLiteral("serwer: NastepnyNrKolej"), medianMicros(1000, [&] { dm.NastepnyNrKolej(reg.busyTaxpayer); }),
               medianMicros(1000, [&] { bare.query("SELECT MAX(NrKolej) As Ostatni\nFROM VZMy\nWHERE PodatId=" + podat); }));
    report.add(QStringLiteral("serwer: LiczbaZalA"), medianMicros(1000, [&] { dm.LiczbaZalA(reg.busyApplication); }),
               medianMicros(1000, [&] {
                   bare.query("SELECT COUNT(*) As Licznik\nFROM Faktury\nWHERE VzmId=" + vzm + "\n  AND Oznacz=$1", {"A"});
               }));
    report.add(QStringLiteral("serwer: SumaVatA"), medianMicros(1000, [&] { dm.SumaVatA(reg.busyApplication, 1); }),
               medianMicros(1000, [&] {
                   bare.query("SELECT SUM( VatA) As SUMA\nFROM Faktury\nWHERE VzmId=$1 and Oznacz=$2", {vzm, "A"});
               }));
    report.add(QStringLiteral("serwer: otwarcie Vzmy podatnika"),
               medianMicros(1000, [&] {
                   dm.Vzmy.close();
                   dm.Vzmy.setParam(QStringLiteral("PodatId"), reg.busyTaxpayer);
                   dm.Vzmy.open();
               }),
               medianMicros(1000, [&] {
                   bare.query("SELECT VZMy.rowid, VZMy.row_version, VzmId, PodatId, NrKolej, Korekta, NrKoryg, Faktur, "
                              "SztukA, SztukB, SztukC, Zwrot, DataPier, Wersja\nFROM Vzmy\nWHERE PodatId=$1\nORDER BY NrKolej",
                              {podat});
               }));
    dm.VzmA.setParam(QStringLiteral("VzmId"), reg.busyApplication);
    report.add(QStringLiteral("serwer: otwarcie listy A (300 faktur)"),
               medianMicros(200, [&] {
                   dm.VzmA.close();
                   dm.VzmA.open();
               }),
               medianMicros(200, [&] {
                   bare.query("SELECT Faktury.rowid, Faktury.row_version, FaktId, VzmId, Oznacz, NrFakt, LpFakt, DataWyst, "
                              "KodSprzed, NipSprzed, Brutto, VatA, VatB\nFROM Faktury\nWHERE VzmId=$1 and Oznacz=$2\n"
                              "ORDER BY Faktury.rowid",
                              {vzm, "A"});
               }));

    // The windows read the same registers on the server; their baseline is
    // that of the folder (the bare sqlite3 reads), as in the lines above them.
    {
        const QString smallConninfo = conninfo + QStringLiteral(" dbname=") + PolaczenieSerwera::z(conninfo).baza
                                      + QStringLiteral("_maly");
        registerOnServer(report, small.folder, smallConninfo, QStringLiteral("mały rejestr"));
        TDM smallDm(boxes);
        openTables(smallDm);
        Bare smallBare(small.folder.filePath());
        benchWindows(report, smallDm, smallBare, small.reg, QStringLiteral("serwer, mały rejestr"));
    }
    Bare folderBare(full.folder.filePath());
    benchWindows(report, dm, folderBare, reg, QStringLiteral("serwer, pełny rejestr"));
}
