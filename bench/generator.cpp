#include "generator.h"

#include "data/database.h"
#include "data/installer.h"

#include <QFile>
#include <QStringList>

#include <random>
#include <sqlite3.h>

namespace {

const QStringList Surnames{
    QStringLiteral("Nowak"), QStringLiteral("Kowalski"), QStringLiteral("Wiśniewski"), QStringLiteral("Wójcik"),
    QStringLiteral("Kowalczyk"), QStringLiteral("Kamiński"), QStringLiteral("Lewandowski"), QStringLiteral("Zieliński"),
    QStringLiteral("Szymański"), QStringLiteral("Woźniak"), QStringLiteral("Dąbrowski"), QStringLiteral("Kozłowski"),
    QStringLiteral("Jankowski"), QStringLiteral("Mazur"), QStringLiteral("Kwiatkowski"), QStringLiteral("Krawczyk"),
    QStringLiteral("Piotrowski"), QStringLiteral("Grabowski"), QStringLiteral("Nowakowski"), QStringLiteral("Pawłowski"),
    QStringLiteral("Michalski"), QStringLiteral("Nowicki"), QStringLiteral("Adamczyk"), QStringLiteral("Dudek"),
    QStringLiteral("Zając"), QStringLiteral("Wieczorek"), QStringLiteral("Jabłoński"), QStringLiteral("Król"),
    QStringLiteral("Majewski"), QStringLiteral("Olszewski"), QStringLiteral("Jaworski"), QStringLiteral("Ślusarczyk"),
    QStringLiteral("Łukasik"), QStringLiteral("Żak"), QStringLiteral("Ćwik"), QStringLiteral("Śliwa")};

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

struct Statement
{
    sqlite3 *db;
    sqlite3_stmt *st = nullptr;
    Statement(sqlite3 *d, const char *sql) : db(d) { check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db); }
    ~Statement() { sqlite3_finalize(st); }
    void text(int i, const QString &s)
    {
        const QByteArray b = s.toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    void integer(int i, qint64 v) { sqlite3_bind_int64(st, i, v); }
    void run()
    {
        check(sqlite3_step(st), db);
        sqlite3_reset(st);
    }
};

} // namespace

GeneratedRegister generateRegister(const QString &directory, RegisterSize size)
{
    GeneratedRegister reg;
    if (QFile::exists(Database::filePathIn(directory)))
        return reg;
    Installer::install(directory);

    sqlite3 *db = nullptr;
    check(sqlite3_open(Database::filePathIn(directory).toUtf8().constData(), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    std::mt19937 random(20101110);
    {
        Statement taxpayer(db, "INSERT INTO Podatnik (Nazwisko, Imie, NIP, Miasto, Ulica, Posesja, Lokal, Urzad, Kraj,"
                               " Pesel, Notatki) VALUES (?, ?, '526-025-02-74', 'Kraków', 'Długa', '7', '2', 'US Kraków',"
                               " 'Polska', '44051401359', '')");
        for (int i = 0; i < size.taxpayers; ++i) {
            taxpayer.text(1, Surnames[random() % Surnames.size()] + QStringLiteral("-") + QString::number(i));
            taxpayer.text(2, i % 2 ? QStringLiteral("Anna") : QStringLiteral("Jan"));
            taxpayer.run();
        }
        Statement application(db, "INSERT INTO VZMy (PodatId, NrKolej, Korekta, NrKoryg, Faktur, Zwrot, Wersja)"
                                  " VALUES (?, ?, 0, 0, 3, 0, 5)");
        Statement entries(db, "INSERT INTO VZMw3 (VzmId, P8_1, P45, P57_3, Konto, P56, P65) VALUES (?, 1, 30000000, 1, '', '', '')");
        for (int i = 0; i < size.applications; ++i) {
            application.integer(1, i / 2 + 1);
            application.integer(2, i % 2 + 1);
            application.run();
            entries.integer(1, i + 1);
            entries.run();
        }
        Statement invoice(db, "INSERT INTO Faktury (VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed,"
                              " Brutto, VatA, VatB) VALUES (?, ?, ?, '1-3', '2010-06-15', 'SKŁ', '526-025-02-74', ?, ?, ?)");
        const char *lists[] = {"A", "B", "C"};
        for (int i = 0; i < size.invoices; ++i) {
            const bool busy = i < GeneratedRegister::BusyApplicationInvoices;
            invoice.integer(1, busy ? reg.busyApplication : 2 + int(random() % (size.applications - 1)));
            invoice.text(2, QLatin1String(busy ? "A" : lists[random() % 3]));
            invoice.text(3, QStringLiteral("FV/%1/2010").arg(i + 1));
            const qint64 gross = 1000000 + qint64(random() % 50000000);
            invoice.integer(4, gross);
            invoice.integer(5, gross * 22 / 122);
            invoice.integer(6, random() % 4 == 0 ? gross / 10 : 0);
            invoice.run();
        }
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return reg;
}
