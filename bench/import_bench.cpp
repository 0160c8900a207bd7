#include "import_bench.h"

extern "C" {
#include <paradox.h>
}

#include "timing.h"

#include "core/registry.h"
#include "data/database.h"
#include "data/installer.h"
#include "data/paradoxtable.h"
#include "data/tdm.h"
#include "support/paradoxfixture.h"
#include "taxpayers/wczytajfirmyfrm.h"
#include "taxpayers/importpoprzedniej.h"
#include "taxpayers/wczytajpodatfrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

const QStringList Surnames{
    QStringLiteral("Nowak"), QStringLiteral("Kowalski"), QStringLiteral("Wiśniewski"), QStringLiteral("Wójcik"),
    QStringLiteral("Kowalczyk"), QStringLiteral("Kamiński"), QStringLiteral("Lewandowski"), QStringLiteral("Zieliński"),
    QStringLiteral("Szymański"), QStringLiteral("Woźniak"), QStringLiteral("Dąbrowski"), QStringLiteral("Kozłowski"),
    QStringLiteral("Łukasik"), QStringLiteral("Żak"), QStringLiteral("Ćwik"), QStringLiteral("Śliwa")};
const QStringList FirstNames{QStringLiteral("Anna"), QStringLiteral("Jan"), QStringLiteral("Łucja"),
                             QStringLiteral("Żaneta"), QStringLiteral("Piotr"), QStringLiteral("Małgorzata"),
                             QStringLiteral("Stanisław"), QStringLiteral("Ewa")};

// Taxpayer `i` of a series: a surname made unique by its letters, a first name.
std::pair<QString, QString> person(int i)
{
    QString code;
    for (int n = i; code.isEmpty() || n > 0; n /= 26)
        code.prepend(QChar(u'a' + n % 26));
    code[0] = code[0].toUpper();
    return {Surnames[i % Surnames.size()] + QLatin1Char('-') + code, FirstNames[(i / 3) % FirstNames.size()]};
}

// The current field of each previous one (the PESEL fields are spelt apart).
QString currentName(const char *previous)
{
    const QString name = QString::fromLatin1(previous);
    if (name.endsWith(QLatin1String("PESEL")))
        return name.chopped(4) + QStringLiteral("esel");
    return name;
}

// A previous record as the fixture writes it: every field filled.
QVariantList previousRecord(const QList<ParadoxColumn> &columns, int id, const std::pair<QString, QString> &who)
{
    QVariantList row;
    for (const ParadoxColumn &c : columns) {
        const QString name = QString::fromLatin1(c.name);
        if (name == QLatin1String("PodatId"))
            row << id;
        else if (name == QLatin1String("Nazwisko") || name == QLatin1String("MNazwisko"))
            row << who.first;
        else if (name == QLatin1String("Imie"))
            row << who.second;
        else if (name.endsWith(QLatin1String("NIP")))
            row << QStringLiteral("725-%1-%2-%3").arg(id % 1000, 3, 10, QLatin1Char('0')).arg(id % 97, 2, 10, QLatin1Char('0')).arg(id % 89, 2, 10, QLatin1Char('0'));
        else if (name.endsWith(QLatin1String("PESEL")))
            row << QStringLiteral("8001%1").arg(id, 7, 10, QLatin1Char('0'));
        else
            row << (QStringLiteral("Łódź-Śródmieście ul. Piotrkowska ") + name).left(c.size);
    }
    return row;
}

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// Inserts grouped into transactions as the import groups its copies.
class Batches
{
public:
    explicit Batches(sqlite3 *db) : m_db(db) {}
    // Before each insert: a transaction is begun, or committed when full.
    void before()
    {
        if (m_count == ImportPoprzedniej::NaTransakcje)
            end();
        if (m_count++ == 0)
            check(sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr), m_db);
    }
    void end()
    {
        if (m_count > 0)
            check(sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr), m_db);
        m_count = 0;
    }

private:
    sqlite3 *m_db;
    int m_count = 0;
};

void bind(sqlite3_stmt *st, int i, const QVariant &v)
{
    if (v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    const QByteArray b = v.toString().toUtf8();
    sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

// The bare import: the same index, duplicate look-ups and inserts (as many
// to a transaction as the program stores) on a copy of the register.
// Answers how many were inserted.
int bareImport(const QString &file, const QString &previousFile, const QList<ParadoxColumn> &columns,
               double &lookupMicros, double &insertMicros)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    QElapsedTimer timer;
    timer.start();
    // The previous table is read as the program reads it: what is compared is the rest.
    ParadoxTable previous(QStringLiteral(TARLEN_PXREAD));
    previous.open(previousFile);
    previous.sortNazwImie();
    check(sqlite3_exec(db, "CREATE INDEX IF NOT EXISTS Podatnik_Nazwisko_Imie ON Podatnik (Nazwisko, Imie)", nullptr,
                       nullptr, nullptr), db);
    sqlite3_stmt *count = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT COUNT(*) Licznik FROM Podatnik WHERE Nazwisko=?  AND Imie=?", -1, &count,
                             nullptr), db);
    const auto isNew = [&](const QVariant &surname, const QVariant &firstName) {
        bind(count, 1, surname);
        bind(count, 2, firstName);
        check(sqlite3_step(count), db);
        const bool fresh = sqlite3_column_int64(count, 0) == 0;
        sqlite3_reset(count);
        return fresh;
    };
    QList<qsizetype> candidates;
    for (qsizetype row = 0; row < previous.recordCount(); ++row)
        if (isNew(previous.value(row, QStringLiteral("Nazwisko")).toString().trimmed(),
                  previous.value(row, QStringLiteral("Imie")).toString().trimmed()))
            candidates << row;
    lookupMicros = timer.nsecsElapsed() / 1000.0;

    timer.restart();
    QStringList names;
    QStringList marks;
    for (const ParadoxColumn &c : columns.mid(1)) {
        names << currentName(c.name);
        marks << QStringLiteral("?");
    }
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO Podatnik (%1) VALUES (%2)")
                                     .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                                     .toUtf8().constData(), -1, &insert, nullptr), db);
    int inserted = 0;
    Batches batches(db);
    for (const qsizetype row : std::as_const(candidates)) {
        const ParadoxTable::Record &r = previous.records().at(row);
        if (!isNew(r.value(1), r.value(2)))
            continue;
        batches.before();
        for (int i = 1; i < columns.size(); ++i)
            bind(insert, i, r.value(i));
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
        ++inserted;
    }
    batches.end();
    insertMicros = timer.nsecsElapsed() / 1000.0;
    sqlite3_finalize(insert);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return inserted;
}

// A register of `n` taxpayers (taxpayer i is person(i)).
void writeRegister(const QString &directory, int n, const QList<ParadoxColumn> &columns)
{
    Installer::install(directory);
    sqlite3 *db = nullptr;
    check(sqlite3_open(Database::filePathIn(directory).toUtf8().constData(), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt *st = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Podatnik (Nazwisko, Imie, Urzad, NIP, Miasto) VALUES (?, ?, ?, ?, ?)", -1,
                             &st, nullptr), db);
    for (int i = 0; i < n; ++i) {
        const QVariantList r = previousRecord(columns, i + 1, person(i));
        bind(st, 1, r[1]);
        bind(st, 2, r[2]);
        bind(st, 3, r[3]);
        bind(st, 4, r[4]);
        bind(st, 5, r[14]);
        check(sqlite3_step(st), db);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

struct Figures
{
    double readMicros = 0;    // the previous table read by the helper
    double prepareMicros = 0; // the window's list of candidates, the read included
    double startMicros = 0;   // "Start" with every line ticked
    double longestGapMicros = 0;
    int imported = 0;
    double bareLookupMicros = 0;
    double bareInsertMicros = 0;
    int bareImported = 0;
};

Figures measure(int n, MessageBoxes &boxes, const QString &onDisk)
{
    Figures f;
    const QList<ParadoxColumn> columns = previousPodatnikColumns();
    QTemporaryDir work(onDisk + QStringLiteral("/tarlen-import-XXXXXX"));
    const QString previousDir = work.filePath(QStringLiteral("poprzednia"));
    const QString registerDir = work.filePath(QStringLiteral("rejestr"));
    const QString bareDir = work.filePath(QStringLiteral("sqlite3"));

    // One in ten previous taxpayers is in the register already.
    QList<QVariantList> rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << previousRecord(columns, i + 1, person(i % 10 == 0 ? i : n + i));
    QDir().mkpath(previousDir);
    if (!writeParadoxTable(previousDir + QStringLiteral("/Podatnik.DB"), columns, rows))
        qFatal("pxlib could not write Podatnik.DB");
    writeRegister(registerDir, n, columns);
    Installer::install(bareDir);
    QFile::remove(Database::filePathIn(bareDir));
    QFile::copy(Database::filePathIn(registerDir), Database::filePathIn(bareDir));

    ParadoxTable previous(QStringLiteral(TARLEN_PXREAD));
    QElapsedTimer timer;
    timer.start();
    previous.open(previousDir + QStringLiteral("/Podatnik.DB"));
    f.readMicros = timer.nsecsElapsed() / 1000.0;

    writeRegistryValue(ProgramVersion, u"Sciezka", registerDir);
    {
        TDM dm(boxes);
        if (!dm.OtworzTabele())
            qFatal("the register cannot be opened");
        timer.restart();
        TWczytajPodatFrm frm(dm, nullptr, previousDir, QStringLiteral(TARLEN_PXREAD));
        frm.WybierzKatalog = {};
        if (!frm.Przygotuj())
            qFatal("nothing to import");
        f.prepareMicros = timer.nsecsElapsed() / 1000.0;
        frm.show();
        QCoreApplication::processEvents();
        frm.ZaznaczBtnClick();

        QElapsedTimer gap;
        QObject::connect(frm.Postep, &QProgressBar::valueChanged, &frm, [&] {
            f.longestGapMicros = std::max(f.longestGapMicros, gap.nsecsElapsed() / 1000.0);
            gap.restart();
        });
        const int before = dm.Podatnik.recordCount();
        timer.restart();
        gap.start();
        frm.StartBtnClick();
        f.longestGapMicros = std::max(f.longestGapMicros, gap.nsecsElapsed() / 1000.0);
        f.startMicros = timer.nsecsElapsed() / 1000.0;
        f.imported = dm.Podatnik.recordCount() - before;
    }
    f.bareImported = bareImport(Database::filePathIn(bareDir), previousDir + QStringLiteral("/Podatnik.DB"), columns,
                                f.bareLookupMicros, f.bareInsertMicros);
    if (f.imported != f.bareImported || f.imported != n - n / 10)
        qWarning("imported %d, bare %d, expected %d", f.imported, f.bareImported, n - n / 10);
    return f;
}

// Seller `i`: a NIP of its own.
QVariantList seller(int i)
{
    const QString d = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
    return {QStringLiteral("%1-%2-%3-%4").arg(d.left(3), d.mid(3, 3), d.mid(6, 2), d.mid(8, 2)),
            QStringLiteral("K%1").arg(i % 100000), QStringLiteral("Przedsiębiorstwo Handlowe Łąka nr %1").arg(i)};
}

struct SellerFigures
{
    double startMicros = 0;
    double longestGapMicros = 0;
    int imported = 0;
    double bareMicros = 0;
};

// The sellers' import: a previous Firmy.DB of `n` sellers, one in ten of
// whose NIPs the register holds already, into a register of `n` sellers.
SellerFigures measureSellers(int n, MessageBoxes &boxes, const QString &onDisk)
{
    SellerFigures f;
    const QList<ParadoxColumn> columns{{"NIP", pxfAlpha, 13}, {"Kod", pxfAlpha, 10}, {"Firma", pxfAlpha, 50}};
    QTemporaryDir work(onDisk + QStringLiteral("/tarlen-import-XXXXXX"));
    const QString previousDir = work.filePath(QStringLiteral("poprzednia"));
    const QString registerDir = work.filePath(QStringLiteral("rejestr"));
    const QString bareDir = work.filePath(QStringLiteral("sqlite3"));
    QList<QVariantList> rows;
    for (int i = 0; i < n; ++i)
        rows << seller(i % 10 == 0 ? i : n + i);
    QDir().mkpath(previousDir);
    if (!writeParadoxTable(previousDir + QStringLiteral("/Firmy.DB"), columns, rows))
        qFatal("pxlib could not write Firmy.DB");
    Installer::install(registerDir);
    {
        sqlite3 *db = nullptr;
        check(sqlite3_open(Database::filePathIn(registerDir).toUtf8().constData(), &db), db);
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        sqlite3_stmt *st = nullptr;
        check(sqlite3_prepare_v2(db, "INSERT INTO Firmy (NIP, Kod, Firma) VALUES (?, ?, ?)", -1, &st, nullptr), db);
        for (int i = 0; i < n; ++i) {
            const QVariantList r = seller(i);
            for (int c = 0; c < 3; ++c)
                bind(st, c + 1, r[c]);
            check(sqlite3_step(st), db);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }
    Installer::install(bareDir);
    QFile::remove(Database::filePathIn(bareDir));
    QFile::copy(Database::filePathIn(registerDir), Database::filePathIn(bareDir));

    writeRegistryValue(ProgramVersion, u"Sciezka", registerDir);
    {
        TDM dm(boxes);
        if (!dm.OtworzTabele())
            qFatal("the register cannot be opened");
        TWczytajFirmyFrm frm(dm, nullptr, previousDir, QStringLiteral(TARLEN_PXREAD));
        frm.WybierzKatalog = {};
        frm.show();
        QCoreApplication::processEvents();
        QElapsedTimer gap;
        QObject::connect(frm.Postep, &QProgressBar::valueChanged, &frm, [&] {
            f.longestGapMicros = std::max(f.longestGapMicros, gap.nsecsElapsed() / 1000.0);
            gap.restart();
        });
        const int before = dm.Firmy.recordCount();
        QElapsedTimer timer;
        timer.start();
        gap.start();
        frm.StartBtnClick();
        f.longestGapMicros = std::max(f.longestGapMicros, gap.nsecsElapsed() / 1000.0);
        f.startMicros = timer.nsecsElapsed() / 1000.0;
        f.imported = dm.Firmy.recordCount() - before;
    }

    // Bare: the table read by the same helper, then a look-up and an insert each.
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(Database::filePathIn(bareDir).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    QElapsedTimer timer;
    timer.start();
    ParadoxTable previous(QStringLiteral(TARLEN_PXREAD));
    previous.open(previousDir + QStringLiteral("/Firmy.DB"));
    sqlite3_stmt *find = nullptr;
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT 1 FROM Firmy WHERE NIP = ? LIMIT 1", -1, &find, nullptr), db);
    check(sqlite3_prepare_v2(db, "INSERT INTO Firmy (NIP, Kod, Firma) VALUES (?, ?, ?)", -1, &insert, nullptr), db);
    int inserted = 0;
    Batches batches(db);
    for (const ParadoxTable::Record &r : previous.records()) {
        bind(find, 1, r.value(0));
        const bool found = sqlite3_step(find) == SQLITE_ROW;
        sqlite3_reset(find);
        if (found)
            continue;
        batches.before();
        for (int c = 0; c < 3; ++c)
            bind(insert, c + 1, r.value(c));
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
        ++inserted;
    }
    batches.end();
    f.bareMicros = timer.nsecsElapsed() / 1000.0;
    sqlite3_finalize(find);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    if (f.imported != inserted || f.imported != n - n / 10)
        qWarning("sellers imported %d, bare %d, expected %d", f.imported, inserted, n - n / 10);
    return f;
}

} // namespace

void benchImport(Report &report, MessageBoxes &boxes, const QString &onDisk)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settings.filePath(QStringLiteral("system")));

    QList<std::pair<int, Figures>> sizes;
    for (const int n : {1000, 10000})
        sizes.append({n, measure(n, boxes, onDisk)});
    for (const auto &[n, f] : std::as_const(sizes)) {
        const QString what = QStringLiteral("Import N=%1: ").arg(n);
        report.addAlone(what + QStringLiteral("odczyt Podatnik.DB"), f.readMicros);
        report.add(what + QStringLiteral("lista z odczytem"), f.prepareMicros, f.bareLookupMicros);
        report.add(what + QStringLiteral("Start, %1 nowych").arg(f.imported), f.startMicros, f.bareInsertMicros);
        report.add(what + QStringLiteral("razem"), f.prepareMicros + f.startMicros,
                   f.bareLookupMicros + f.bareInsertMicros);
        report.addAlone(what + QStringLiteral("najdłuższa przerwa paska"), f.longestGapMicros);
    }
    // Time per previous record: equal for both sizes when the import is linear.
    for (const auto &[n, f] : std::as_const(sizes)) {
        const QString what = QStringLiteral("Import N=%1: na rekord").arg(n);
        if (n == sizes.first().first)
            report.baseline(what, (f.prepareMicros + f.startMicros) / n, (f.bareLookupMicros + f.bareInsertMicros) / n);
        else
            report.add(what, (f.prepareMicros + f.startMicros) / n, (f.bareLookupMicros + f.bareInsertMicros) / n);
    }
    report.compareWithBaseline(QStringLiteral("Import podatników, czas na rekord: N=10000 / N=1000"));

    QList<std::pair<int, SellerFigures>> sellers;
    for (const int n : {1000, 10000})
        sellers.append({n, measureSellers(n, boxes, onDisk)});
    for (const auto &[n, f] : std::as_const(sellers)) {
        const QString what = QStringLiteral("Import firm N=%1: ").arg(n);
        report.add(what + QStringLiteral("Start, %1 nowych").arg(f.imported), f.startMicros, f.bareMicros);
        report.addAlone(what + QStringLiteral("najdłuższa przerwa paska"), f.longestGapMicros);
    }
    for (const auto &[n, f] : std::as_const(sellers)) {
        const QString what = QStringLiteral("Import firm N=%1: na rekord").arg(n);
        if (n == sellers.first().first)
            report.baseline(what, f.startMicros / n, f.bareMicros / n);
        else
            report.add(what, f.startMicros / n, f.bareMicros / n);
    }
    report.compareWithBaseline(QStringLiteral("Import firm, czas na rekord: N=10000 / N=1000"));
}
