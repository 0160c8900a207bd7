#pragma once

#include "data/database.h"
#include "data/memtable.h"
#include "data/messageboxes.h"
#include "data/query.h"
#include "data/table.h"
#include "data/wykazzpliku.h"

#include "core/money.h"

#include <QHash>

#include <functional>
#include <QObject>
#include <QPoint>

// One entry of the error list: the form position concerned and the message.
struct TBlad
{
    int NrPola = 0;
    QString Opis;
};

// The totals of one invoice's amount lines.
struct TSumyKwot
{
    Money Brutto;
    Money VatA;
    Money VatB;
};

// The number of the invoices of one list of an application and their gross total.
struct TZestawienieListy
{
    int Liczba = 0;
    Money Brutto;
};

// The data module: the only owner of the tables, queries and in-memory
// tables, and the only road to the stored data. It finds the database
// directory, opens the tables, and offers the counts, sums, lookups, message
// boxes and error list that the windows share.
class TDM : public QObject
{
    Q_OBJECT
public:
    // `boxes` answers the message boxes: real modal boxes in the program,
    // scripted answers in tests.
    explicit TDM(MessageBoxes &boxes, QObject *parent = nullptr);
    ~TDM() override;

    static QString SciezkaBazy();
    static QString SciezkaPoprzedniej();
    // The connection to the database server ("Serwer" beside "Sciezka": a
    // libpq connection string without a password); empty when the database
    // is the folder's.
    static QString SerwerBazy();
    // Opens the twelve tables of the database directory, or of the server
    // when one is recorded, in their fixed order;
    // at the first that fails it tells the user and answers false. The check
    // of the whole file goes on after it has answered true: BazaOdrzucona
    // tells when it fails.
    bool OtworzTabele();
    // Runs `polacz`, which connects to the server `conninfo`. When the server
    // wants a password that the program has not got (PostgreSQL's password
    // file holds none), asks the user for it, keeps it in memory for this run
    // alone and tries again, as long as the user types one. Answers false
    // when the user cancelled; other failures of `polacz` go through.
    bool PolaczZHaslem(const QString &conninfo, const std::function<void()> &polacz);
    // Whether the database file was found damaged (its check failed, or it is
    // no database at all), by the last OtworzTabele or by the check after it.
    bool BazaUszkodzona() const { return m_bazaUszkodzona; }
    // Whether the last OtworzTabele found no database file where one is
    // recorded (deleted or moved away).
    bool BrakPlikuBazy() const { return m_brakPliku; }
    // Closes the tables and queries; the database stays open.
    void ZamknijTabele();

    // Form symbols by form number 0..3 and list letters by list number 1..3.
    static QString SymbolFormularza(int formularz);
    static QString LiteraListy(int lista);

    void Uwaga(const QString &text);
    // Tells of something done as asked (a copy made, files written).
    void Informacja(const QString &text);
    bool Potwierdz(const QString &text);
    bool PotwierdzUwaga(const QString &text);
    // A question (title "Potwierdzenie") with a list to pick one entry of:
    // the index picked, -1 for none.
    int Wybierz(const QString &text, const QStringList &choices);

    int NastepnyNrKolej(int PodatId);
    int LiczbaZalA(int VzmId) { return LiczbaZal(VzmId, 1); }
    int LiczbaZalB(int VzmId) { return LiczbaZal(VzmId, 2); }
    int LiczbaZalC(int VzmId) { return LiczbaZal(VzmId, 3); }
    int LiczbaZal(int VzmId, int lista);
    int LiczbaFaktur(int VzmId);
    bool JestNrFaktury(int VzmId, const QString &numer);
    // The invoices of an application whose item numbers (LpFakt) are longer
    // than `znakow` characters: the list's letter and the invoice number of
    // each, in the order of the lists.
    QList<std::pair<QString, QString>> FakturyZDlugimiPozycjami(int VzmId, int znakow);
    Money SumaVatA(int VzmId, int lista);
    Money SumaVatB(int VzmId, int lista);
    // Zero on any error, as the sums.
    TZestawienieListy ZestawienieListy(int VzmId, int lista);
    // The totals of the amount lines of the stored invoice FaktId; zero for
    // an invoice without lines, and on any error.
    TSumyKwot SumyKwot(int FaktId);

    int MarginesLewy(int formularz, int strona);
    int MarginesGorny(int formularz, int strona);
    int KorektaX(int formularz, int pole);
    int KorektaY(int formularz, int pole);
    // The corrections of every field of a form at once (field -> KorX and
    // KorY), as KorektaX and KorektaY answer them one by one; a page of the
    // overprint reads them so instead of twice for each of its fields.
    // Empty on any error, as the lookups answer 0.
    QHash<int, QPoint> Korekty(int formularz);

    void CzyscBledy();
    void DodajBlad(const TBlad &blad);
    QString OpisBledow();

    void NumerujA() { Numeruj(1); }
    void NumerujB() { Numeruj(2); }
    void NumerujC() { Numeruj(3); }
    void Numeruj(int lista);
    int NrWierszaA(int FaktId) { return NrWiersza(1, FaktId); }
    int NrWierszaB(int FaktId) { return NrWiersza(2, FaktId); }
    int NrWierszaC(int FaktId) { return NrWiersza(3, FaktId); }
    int NrWiersza(int lista, int FaktId);

    // Reads the sources of the completion anew (first names, tax offices,
    // countries, counties, communes, localities, streets, post offices), so
    // that what was saved since is offered too. A source that cannot be read
    // stays closed and offers nothing.
    void OdswiezPodpowiedzi();

    // Deletes an application with everything that belongs to it (its further
    // entries, its invoices and their amount lines), all or nothing.
    void UsunWniosek(int VzmId);
    // Deletes an invoice with its amount lines, both or neither.
    void UsunFakture(int FaktId);
    // Replaces the whole list of building materials (1: WykazA, before 2011;
    // 2: WykazB) with these positions, in one transaction.
    void ZastapWykaz(int lista, const QList<PozycjaWykazu> &pozycje);

    // The invoice list query and the row-number table of list 1..3.
    Query &ListaFaktur(int lista);
    MemTable &NrRek(int lista);

    Database &database() { return m_db; }
    Database::Transaction transaction() { return Database::Transaction(m_db); }

signals:
    // The check of the file, still running when OtworzTabele answered, found
    // it unsound: the tables and the database are closed already, and nothing
    // was written to the file. A damaged file (BazaUszkodzona) may be offered
    // a copy; a file that could not be read through has been told the user.
    void BazaOdrzucona();

private:
    Database m_db;
    MessageBoxes &m_boxes;
    bool m_bazaUszkodzona = false;
    bool m_brakPliku = false;

public:
    // Tables, in the order in which they are opened.
    Table Podatnik;
    Table Firmy;
    Table Faktury;
    Table VzmyTbl;
    Table VzmTbl_3;
    Table Imiona;
    Table Domysl;
    Table Marginesy;
    Table Korekta;
    Table KwotyTbl;
    Table WykazA;
    Table WykazB;

    Query Kraje;
    Query Powiaty;
    Query Gminy;
    Query Miasta;
    Query Ulice;
    Query Poczty;
    Query Urzedy;
    Query Vzmy;
    Query VzmA;
    Query VzmB;
    Query VzmC;
    Query FaktObj;
    Query Kwoty;
    Query SumaK5;
    Query SumaK6;
    Query WQ; // the work query, built anew for each use

    MemTable BledyTbl;
    MemTable vKwoty;
    MemTable NrRekA;
    MemTable NrRekB;
    MemTable NrRekC;

private:
    bool ask(MessageRequest::Kind kind, const QString &title, const QString &text);
    std::optional<QVariant> WartoscWQ(const QStringList &sql, const QString &field, const QVariantMap &params = {});
    Money Suma(Query &query, int VzmId, int lista);
    int Wyszukaj(Table &table, const QString &fields, const QVariantList &key, const QString &field);
    bool PlikUszkodzony();
    void OdrzucBaze(bool uszkodzona, const QString &komunikat);
    QList<Table *> tabele();
    QList<Query *> zapytania();
    void dodajPolaWyliczane();
};
