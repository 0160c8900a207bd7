#include "data/tdm.h"

#include "data/dataerror.h"
#include "data/kopiezapasowe.h"
#include "data/pgconnection.h"
#include "data/rowwrites.h"
#include "data/ustawieniabazy.h"

#include "core/common.h"
#include "core/registry.h"

#include <QScopeGuard>

namespace {

QStringList invoiceListSql(const char *letter)
{
    return {QStringLiteral("SELECT FaktId, VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, VatB"),
            QStringLiteral("FROM Faktury"),
            QStringLiteral("WHERE VzmId=:VzmId and Oznacz='%1'").arg(QLatin1String(letter))};
}

QStringList distinctSql(const char *field)
{
    const QString f = QLatin1String(field);
    return {QStringLiteral("SELECT DISTINCT ") + f, QStringLiteral("FROM Podatnik"), QStringLiteral("ORDER BY ") + f};
}

QStringList vatSumSql(const char *field)
{
    return {QStringLiteral("SELECT SUM( %1) As SUMA").arg(QLatin1String(field)), QStringLiteral("FROM Faktury"),
            QStringLiteral("WHERE VzmId=:VzmId and Oznacz=:Oznacz")};
}

QList<FieldDef> rowNumberFields()
{
    return {{QStringLiteral("FaktId"), FieldType::Integer, 0}, {QStringLiteral("NrRek"), FieldType::Integer, 0}};
}

QString directoryFromRegistry(int version)
{
    return readRegistryValue(version, u"Sciezka").value_or(QString());
}

} // namespace

TDM::TDM(MessageBoxes &boxes, QObject *parent)
    : QObject(parent),
      m_boxes(boxes),
      Podatnik(m_db, tableDef(QStringLiteral("Podatnik"))),
      Firmy(m_db, tableDef(QStringLiteral("Firmy"))),
      Faktury(m_db, tableDef(QStringLiteral("Faktury"))),
      VzmyTbl(m_db, tableDef(QStringLiteral("VZMy"))),
      VzmTbl_3(m_db, tableDef(QStringLiteral("VZMw3"))),
      Imiona(m_db, tableDef(QStringLiteral("Imiona"))),
      Domysl(m_db, tableDef(QStringLiteral("Domysl"))),
      Marginesy(m_db, tableDef(QStringLiteral("Margin"))),
      Korekta(m_db, tableDef(QStringLiteral("Korekta"))),
      KwotyTbl(m_db, tableDef(QStringLiteral("Kwoty"))),
      WykazA(m_db, tableDef(QStringLiteral("WykazA"))),
      WykazB(m_db, tableDef(QStringLiteral("WykazB"))),
      Kraje(m_db, QStringLiteral("Kraje"), distinctSql("Kraj")),
      Powiaty(m_db, QStringLiteral("Powiaty"), distinctSql("Powiat")),
      Gminy(m_db, QStringLiteral("Gminy"), distinctSql("Gmina")),
      Miasta(m_db, QStringLiteral("Miasta"), distinctSql("Miasto")),
      Ulice(m_db, QStringLiteral("Ulice"), distinctSql("Ulica")),
      Poczty(m_db, QStringLiteral("Poczty"), distinctSql("Poczta")),
      Urzedy(m_db, QStringLiteral("Urzedy"), distinctSql("Urzad")),
      Vzmy(m_db, QStringLiteral("Vzmy"),
           {QStringLiteral("SELECT VzmId, PodatId, NrKolej, Korekta, NrKoryg, Faktur, SztukA, SztukB, SztukC, Zwrot, DataPier, Wersja"),
            QStringLiteral("FROM Vzmy"), QStringLiteral("WHERE PodatId=:PodatId"), QStringLiteral("ORDER BY NrKolej")},
           QStringLiteral("VZMy")),
      VzmA(m_db, QStringLiteral("VzmA"), invoiceListSql("A"), QStringLiteral("Faktury")),
      VzmB(m_db, QStringLiteral("VzmB"), invoiceListSql("B"), QStringLiteral("Faktury")),
      VzmC(m_db, QStringLiteral("VzmC"), invoiceListSql("C"), QStringLiteral("Faktury")),
      FaktObj(m_db, QStringLiteral("FaktObj"),
              {QStringLiteral("SELECT NrFakt, LpFakt, DataWyst, NipSprzed, Brutto, VatA, VatB"), QStringLiteral("FROM Faktury"),
               QStringLiteral("WHERE VzmId=:VzmId and Oznacz=:Oznacz")}),
      Kwoty(m_db, QStringLiteral("Kwoty"),
            {QStringLiteral("SELECT FaktId, Opis, Brutto, VatA, VatB"), QStringLiteral("FROM Kwoty"),
             QStringLiteral("WHERE FaktId=:FaktId")},
            QStringLiteral("Kwoty")),
      SumaK5(m_db, QStringLiteral("SumaK5"), vatSumSql("VatA")),
      SumaK6(m_db, QStringLiteral("SumaK6"), vatSumSql("VatB")),
      WQ(m_db, QStringLiteral("WQ")),
      BledyTbl(QStringLiteral("BledyTbl"),
               {{QStringLiteral("NrPola"), FieldType::Integer, 0}, {QStringLiteral("Opis"), FieldType::Text, 150}}),
      vKwoty(QStringLiteral("vKwoty"),
             {{QStringLiteral("FaktId"), FieldType::Integer, 0},
              // A new invoice's lines hold what its stored lines will hold.
              *tableDef(QStringLiteral("Kwoty")).field(QStringLiteral("Opis")),
              {QStringLiteral("Brutto"), FieldType::Money, 0},
              {QStringLiteral("VatA"), FieldType::Money, 0},
              {QStringLiteral("VatB"), FieldType::Money, 0}}),
      NrRekA(QStringLiteral("NrRekA"), rowNumberFields()),
      NrRekB(QStringLiteral("NrRekB"), rowNumberFields()),
      NrRekC(QStringLiteral("NrRekC"), rowNumberFields())
{
    dodajPolaWyliczane();
    BledyTbl.open();
    NrRekA.open();
    NrRekB.open();
    NrRekC.open();
    // The row numbers of a list follow it: built when it opens and whenever
    // its records change (an insert, a deletion, a write made elsewhere).
    for (int lista = 1; lista <= 3; ++lista)
        connect(&ListaFaktur(lista), &Dataset::rowsChanged, this, [this, lista] { Numeruj(lista); });
    connect(&m_db, &Database::checkFailed, this, &TDM::OdrzucBaze);
}

TDM::~TDM() = default;

void TDM::dodajPolaWyliczane()
{
    Podatnik.addCalculatedField({QStringLiteral("Lp"), FieldType::Text, 8},
                                [](Dataset &, int row) { return QVariant(QString::number(row + 1)); });
    Vzmy.addCalculatedField({QStringLiteral("Typ"), FieldType::Text, 10}, [](Dataset &ds, int row) {
        const bool korekta = ds.valueAt(row, ds.fieldIndex(u"Korekta")).toBool();
        return QVariant(korekta ? QStringLiteral("Korekta") : QStringLiteral("Wniosek"));
    });
    Vzmy.addCalculatedField({QStringLiteral("WersjaStr"), FieldType::Text, 5}, [](Dataset &ds, int row) {
        return QVariant(QStringLiteral("(%1)").arg(ds.valueAt(row, ds.fieldIndex(u"Wersja")).toLongLong()));
    });
    for (int lista = 1; lista <= 3; ++lista)
        ListaFaktur(lista).addCalculatedField({QStringLiteral("Sprzedawca"), FieldType::Text, 50}, [this](Dataset &ds, int row) {
            const QString nip = ds.valueAt(row, ds.fieldIndex(u"NipSprzed")).toString();
            try {
                const auto firma = m_db.firstRow(QStringLiteral("SELECT Firma FROM Firmy WHERE NIP = ?"), {}, {nip});
                return QVariant(firma ? firma->at(0).toString() : QString());
            } catch (const DataError &) {
                return QVariant(QString());
            }
        });
}

QList<Table *> TDM::tabele()
{
    return {&Podatnik, &Firmy, &Faktury, &VzmyTbl, &VzmTbl_3, &Imiona,
            &Domysl, &Marginesy, &Korekta, &KwotyTbl, &WykazA, &WykazB};
}

QList<Query *> TDM::zapytania()
{
    return {&Kraje, &Powiaty, &Gminy, &Miasta, &Ulice, &Poczty, &Urzedy, &Vzmy,
            &VzmA, &VzmB, &VzmC, &FaktObj, &Kwoty, &SumaK5, &SumaK6, &WQ};
}

QString TDM::SciezkaBazy()
{
    return directoryFromRegistry(ProgramVersion);
}

QString TDM::SciezkaPoprzedniej()
{
    return directoryFromRegistry(ProgramVersion - 1);
}

QString TDM::SerwerBazy()
{
    return readRegistryValue(ProgramVersion, u"Serwer").value_or(QString()).trimmed();
}

void TDM::ZamknijTabele()
{
    for (Table *t : tabele())
        t->close();
    for (Query *q : zapytania())
        q->close();
}

bool TDM::OtworzTabele()
{
    const QString directory = SciezkaBazy();
    const QString serwer = SerwerBazy();
    ZamknijTabele();
    m_bazaUszkodzona = false;
    m_brakPliku = false;
    try {
        if (serwer.isEmpty()) {
            m_db.open(directory);
        } else if (!PolaczZHaslem(serwer, [&] { m_db.openServer(serwer); })) {
            Uwaga(QStringLiteral("Nie połączono z serwerem bazy danych: nie podano hasła."));
            return false;
        }
    } catch (const DatabaseUnavailable &e) {
        // Another copy of the program has the database: the user must learn
        // that, not that a table is damaged.
        Uwaga(e.message());
        return false;
    } catch (const DatabaseMissing &e) {
        m_brakPliku = true;
        Uwaga(e.message());
        return false;
    } catch (const DatabaseDamaged &e) {
        // In a damaged file the first damaged table is named.
        m_bazaUszkodzona = true;
        const Table *named = &Podatnik;
        for (Table *t : tabele())
            if (e.tables().contains(t->def().name, Qt::CaseInsensitive)) {
                named = t;
                break;
            }
        Uwaga(QStringLiteral("Nie udało się otworzyć pliku: ") + named->fileName());
        return false;
    } catch (const DataError &e) {
        if (!serwer.isEmpty()) {
            Uwaga(QStringLiteral("Nie udało się połączyć z serwerem bazy danych.\r") + e.message());
            return false;
        }
        // A database file that cannot be opened holds none of the tables.
        Uwaga(QStringLiteral("Nie udało się otworzyć pliku: %1\r%2").arg(Podatnik.fileName(), e.message()));
        return false;
    }
    // The database is locked now: nobody else writes a copy beside it.
    KopieZapasowe::UsunPozostalosci(KopieZapasowe::MiejsceTymczasowych(m_db));
    try {
        upgradeSchema(m_db);
    } catch (const DataError &e) {
        Uwaga(QStringLiteral("Nie udało się otworzyć pliku: %1\r%2").arg(Podatnik.fileName(), e.message()));
        return false;
    }
    for (Table *t : tabele()) {
        try {
            t->open();
        } catch (const DataError &e) {
            // The server says why (no rights, no such table); a file's damage is found below.
            const auto *unreadable = dynamic_cast<const TableUnreadable *>(&e);
            Uwaga(QStringLiteral("Nie udało się otworzyć pliku: ") + t->fileName()
                  + (m_db.isServer() && unreadable ? QStringLiteral("\r") + unreadable->reason() : QString()));
            // A damaged file is not used, and is told no more after this.
            m_bazaUszkodzona = PlikUszkodzony();
            if (m_bazaUszkodzona)
                m_db.close();
            return false;
        }
    }
    return true;
}

// Whether the check of the file finds it damaged: a table may fail to open
// for that, or for a fault of its own (a missing table or field).
bool TDM::PlikUszkodzony()
{
    try {
        m_db.awaitCheck();
        return false;
    } catch (const DatabaseDamaged &) {
        return true;
    } catch (const DataError &) {
        return false;
    }
}

void TDM::OdrzucBaze(bool uszkodzona, const QString &komunikat)
{
    ZamknijTabele();
    m_db.close();
    m_bazaUszkodzona = uszkodzona;
    // A damaged file is named by the offer of a copy that follows.
    if (!uszkodzona)
        Uwaga(komunikat);
    emit BazaOdrzucona();
}

QString TDM::SymbolFormularza(int formularz)
{
    return ::SymbolFormularza(formularz);
}

QString TDM::LiteraListy(int lista)
{
    static const QStringList letters{QString(), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    return letters.value(lista);
}

bool TDM::ask(MessageRequest::Kind kind, const QString &title, const QString &text)
{
    return m_boxes.ask({kind, title, text});
}

void TDM::Uwaga(const QString &text)
{
    ask(MessageRequest::Kind::Warning, QStringLiteral("Uwaga"), text);
}

void TDM::Informacja(const QString &text)
{
    ask(MessageRequest::Kind::Information, QStringLiteral("Informacja"), text);
}

bool TDM::Potwierdz(const QString &text)
{
    return ask(MessageRequest::Kind::Question, QStringLiteral("Potwierdzenie"), text);
}

bool TDM::PotwierdzUwaga(const QString &text)
{
    return ask(MessageRequest::Kind::WarningQuestion, QStringLiteral("Potwierdzenie"), text);
}

bool TDM::PolaczZHaslem(const QString &conninfo, const std::function<void()> &polacz)
{
    const PolaczenieSerwera serwer = PolaczenieSerwera::z(conninfo);
    for (bool podane = false;; podane = true) {
        try {
            polacz();
            return true;
        } catch (const PasswordNeeded &) {
            const QString prosba = QStringLiteral("%1Podaj hasło użytkownika %2 do bazy danych %3 na serwerze %4:%5.\r"
                                                  "Program nie zapisuje hasła: pamięta je tylko do końca pracy.")
                                       .arg(podane ? QStringLiteral("Serwer nie przyjął hasła.\r") : QString(),
                                            serwer.uzytkownik, serwer.baza, serwer.host)
                                       .arg(serwer.port);
            const std::optional<QString> haslo =
                m_boxes.askPassword({MessageRequest::Kind::Question, QStringLiteral("Hasło do serwera bazy danych"), prosba});
            if (!haslo)
                return false;
            PgConnection::rememberPassword(conninfo, *haslo);
        }
    }
}

int TDM::Wybierz(const QString &text, const QStringList &choices)
{
    MessageRequest request{MessageRequest::Kind::WarningQuestion, QStringLiteral("Potwierdzenie"), text};
    request.choices = choices;
    return m_boxes.choose(request);
}

std::optional<QVariant> TDM::WartoscWQ(const QStringList &sql, const QString &field, const QVariantMap &params)
{
    const auto closeAfter = qScopeGuard([this] { WQ.close(); });
    try {
        WQ.close();
        WQ.clearSql();
        WQ.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            WQ.setParam(it.key(), it.value());
        WQ.open();
        return WQ.field(field).value();
    } catch (const DataError &) {
        return std::nullopt;
    }
}

int TDM::NastepnyNrKolej(int PodatId)
{
    const auto ostatni = WartoscWQ({QStringLiteral("SELECT MAX(NrKolej) As Ostatni"), QStringLiteral("FROM VZMy"),
                                    QStringLiteral("WHERE PodatId=") + QString::number(PodatId)},
                                   QStringLiteral("Ostatni"));
    return ostatni ? int(ostatni->toLongLong()) + 1 : 0;
}

int TDM::LiczbaZal(int VzmId, int lista)
{
    const auto licznik = WartoscWQ({QStringLiteral("SELECT COUNT(*) As Licznik"), QStringLiteral("FROM Faktury"),
                                    QStringLiteral("WHERE VzmId=") + QString::number(VzmId),
                                    QStringLiteral("  AND Oznacz='%1'").arg(LiteraListy(lista))},
                                   QStringLiteral("Licznik"));
    return licznik ? LiczbaZalacznikow(int(licznik->toLongLong())) : 0;
}

int TDM::LiczbaFaktur(int VzmId)
{
    const auto licznik = WartoscWQ({QStringLiteral("SELECT COUNT(*) As Licznik"), QStringLiteral("FROM Faktury"),
                                    QStringLiteral("WHERE VzmId=") + QString::number(VzmId)},
                                   QStringLiteral("Licznik"));
    return licznik ? int(licznik->toLongLong()) : 0;
}

QList<std::pair<QString, QString>> TDM::FakturyZDlugimiPozycjami(int VzmId, int znakow)
{
    const SqlResult wynik = m_db.run(QStringLiteral("SELECT Oznacz, NrFakt FROM Faktury WHERE VzmId = ? AND "
                                                    "length(LpFakt) > ? ORDER BY Oznacz, FaktId"),
                                     {}, {VzmId, znakow});
    QList<std::pair<QString, QString>> faktury;
    for (const SqlRow &wiersz : wynik.rows)
        faktury.append({wiersz.value(0).toString(), wiersz.value(1).toString().trimmed()});
    return faktury;
}

bool TDM::JestNrFaktury(int VzmId, const QString &numer)
{
    const auto licznik = WartoscWQ({QStringLiteral("SELECT COUNT(*) As Licznik"), QStringLiteral("FROM Faktury"),
                                    QStringLiteral("WHERE VzmId=") + QString::number(VzmId),
                                    QStringLiteral("  AND NrFakt=:NrFakt")},
                                   QStringLiteral("Licznik"), {{QStringLiteral("NrFakt"), numer.trimmed()}});
    return licznik && licznik->toLongLong() > 0;
}

TSumyKwot TDM::SumyKwot(int FaktId)
{
    const auto closeAfter = qScopeGuard([this] { WQ.close(); });
    try {
        WQ.close();
        WQ.clearSql();
        WQ.setSql({QStringLiteral("SELECT SUM(Brutto) AS fBrutto, SUM(VatA) AS fVatA, SUM(VatB) AS fVatB"),
                   QStringLiteral("FROM Kwoty"), QStringLiteral("WHERE FaktId=:FaktId")});
        WQ.setParam(QStringLiteral("FaktId"), FaktId);
        WQ.open();
        return {WQ.field(QStringLiteral("fBrutto")).asMoney(), WQ.field(QStringLiteral("fVatA")).asMoney(),
                WQ.field(QStringLiteral("fVatB")).asMoney()};
    } catch (const DataError &) {
        return {};
    }
}

Money TDM::Suma(Query &query, int VzmId, int lista)
{
    try {
        query.close();
        query.setParam(QStringLiteral("VzmId"), VzmId);
        query.setParam(QStringLiteral("Oznacz"), LiteraListy(lista));
        query.open();
        return query.field(QStringLiteral("Suma")).asMoney();
    } catch (const DataError &) {
        return Money();
    }
}

Money TDM::SumaVatA(int VzmId, int lista)
{
    return Suma(SumaK5, VzmId, lista);
}

Money TDM::SumaVatB(int VzmId, int lista)
{
    return Suma(SumaK6, VzmId, lista);
}

TZestawienieListy TDM::ZestawienieListy(int VzmId, int lista)
{
    try {
        const auto wiersz = m_db.firstRow(
            QStringLiteral("SELECT COUNT(*), COALESCE(SUM(Brutto), 0) FROM Faktury WHERE VzmId = ? AND Oznacz = ?"), {},
            {VzmId, LiteraListy(lista)});
        if (!wiersz)
            return {};
        return {int(wiersz->at(0).toLongLong()), Money::fromRaw(wiersz->at(1).toLongLong())};
    } catch (const DataError &) {
        return {};
    }
}

int TDM::Wyszukaj(Table &table, const QString &fields, const QVariantList &key, const QString &field)
{
    try {
        return table.locate(fields, key) ? table.field(field).asInteger() : 0;
    } catch (const DataError &) {
        return 0;
    }
}

namespace {

// The attachments VZM-1/B share the margins of VZM-1/A; VZM-1/C has its own.
QString symbolMarginesow(int formularz)
{
    return SymbolFormularza(formularz == 2 ? 1 : formularz);
}

// Every attachment takes the field corrections stored for VZM-1/A.
QString symbolKorekt(int formularz)
{
    return SymbolFormularza(formularz >= 2 ? 1 : formularz);
}

} // namespace

int TDM::MarginesLewy(int formularz, int strona)
{
    return Wyszukaj(Marginesy, QStringLiteral("SymbolPit;Strona"),
                    {symbolMarginesow(formularz), strona}, QStringLiteral("Lewy"));
}

int TDM::MarginesGorny(int formularz, int strona)
{
    return Wyszukaj(Marginesy, QStringLiteral("SymbolPit;Strona"),
                    {symbolMarginesow(formularz), strona}, QStringLiteral("Gorny"));
}

int TDM::KorektaX(int formularz, int pole)
{
    return Wyszukaj(Korekta, QStringLiteral("Pit;Pole"),
                    {symbolKorekt(formularz), pole}, QStringLiteral("KorX"));
}

int TDM::KorektaY(int formularz, int pole)
{
    return Wyszukaj(Korekta, QStringLiteral("Pit;Pole"),
                    {symbolKorekt(formularz), pole}, QStringLiteral("KorY"));
}

QHash<int, QPoint> TDM::Korekty(int formularz)
{
    QHash<int, QPoint> korekty;
    try {
        const SqlResult wynik = m_db.run(QStringLiteral("SELECT Pole, KorX, KorY FROM Korekta WHERE Pit = ? ORDER BY rowid"),
                                         {}, {symbolKorekt(formularz)});
        for (const SqlRow &wiersz : wynik.rows) {
            const int pole = wiersz.value(0).toInt();
            if (!korekty.contains(pole)) // the first row of a field counts, as for the lookups
                korekty.insert(pole, QPoint(wiersz.value(1).toInt(), wiersz.value(2).toInt()));
        }
    } catch (const DataError &) {
        korekty.clear();
    }
    return korekty;
}

void TDM::CzyscBledy()
{
    BledyTbl.emptyTable();
}

void TDM::DodajBlad(const TBlad &blad)
{
    BledyTbl.append();
    BledyTbl.field(QStringLiteral("NrPola")).setInteger(blad.NrPola);
    BledyTbl.field(QStringLiteral("Opis")).setString(blad.Opis);
    BledyTbl.post();
    BledyTbl.first();
}

QString TDM::OpisBledow()
{
    const int n = BledyTbl.recordCount();
    return n > 0 ? QStringLiteral(" Liczba błędów i ostrzeżeń: ") + QString::number(n)
                 : QStringLiteral(" W formularzu nie znaleziono błędów");
}

Query &TDM::ListaFaktur(int lista)
{
    return lista == 3 ? VzmC : lista == 2 ? VzmB : VzmA;
}

MemTable &TDM::NrRek(int lista)
{
    return lista == 3 ? NrRekC : lista == 2 ? NrRekB : NrRekA;
}

void TDM::Numeruj(int lista)
{
    Query &faktury = ListaFaktur(lista);
    MemTable &numery = NrRek(lista);
    if (!faktury.isOpen())
        return;
    numery.open();
    numery.emptyTable();
    // Read without moving the list, so its current record and its views stay.
    const int faktId = faktury.fieldIndex(u"FaktId");
    QList<SqlRow> wiersze;
    const int n = faktury.recordCount();
    wiersze.reserve(n);
    for (int row = 0; row < n; ++row)
        wiersze.append(SqlRow{faktury.valueAt(row, faktId), row + 1});
    numery.appendRecords(wiersze);
}

int TDM::NrWiersza(int lista, int FaktId)
{
    MemTable &numery = NrRek(lista);
    if (!numery.isOpen() || !numery.locate(QStringLiteral("FaktId"), FaktId))
        return 0;
    return numery.field(QStringLiteral("NrRek")).asInteger();
}

void TDM::OdswiezPodpowiedzi()
{
    for (Dataset *zrodlo : std::initializer_list<Dataset *>{&Imiona, &Urzedy, &Kraje, &Powiaty, &Gminy, &Miasta,
                                                            &Ulice, &Poczty}) {
        zrodlo->close();
        try {
            zrodlo->open();
        } catch (const DataError &) {
        }
    }
}

void TDM::UsunWniosek(int VzmId)
{
    Database::Transaction transaction(m_db);
    const QVariantList key{VzmId};
    RowWrites::write(m_db, KwotyTbl.def(), QStringLiteral("DELETE FROM Kwoty WHERE FaktId IN (SELECT FaktId FROM Faktury WHERE VzmId = ?)"), key);
    RowWrites::write(m_db, Faktury.def(), QStringLiteral("DELETE FROM Faktury WHERE VzmId = ?"), key);
    RowWrites::write(m_db, VzmTbl_3.def(), QStringLiteral("DELETE FROM VZMw3 WHERE VzmId = ?"), key);
    RowWrites::write(m_db, VzmyTbl.def(), QStringLiteral("DELETE FROM VZMy WHERE VzmId = ?"), key);
    transaction.commit();
    for (const char *table : {"Kwoty", "Faktury", "VZMw3", "VZMy"})
        m_db.noteWrite(QLatin1String(table), this);
}

void TDM::ZastapWykaz(int lista, const QList<PozycjaWykazu> &pozycje)
{
    const QString tabela = lista == 2 ? QStringLiteral("WykazB") : QStringLiteral("WykazA");
    Database::Transaction transaction(m_db);
    m_db.run(QStringLiteral("DELETE FROM %1").arg(tabela));
    const QString wstaw = QStringLiteral("INSERT INTO %1 (Lp, PKWiU, Material) VALUES (?, ?, ?)").arg(tabela);
    for (const PozycjaWykazu &p : pozycje)
        m_db.run(wstaw, {}, {p.Lp, p.PKWiU, p.Material});
    transaction.commit();
    m_db.noteWrite(tabela, this);
}

void TDM::UsunFakture(int FaktId)
{
    Database::Transaction transaction(m_db);
    const QVariantList key{FaktId};
    RowWrites::write(m_db, KwotyTbl.def(), QStringLiteral("DELETE FROM Kwoty WHERE FaktId = ?"), key);
    RowWrites::write(m_db, Faktury.def(), QStringLiteral("DELETE FROM Faktury WHERE FaktId = ?"), key);
    transaction.commit();
    for (const char *table : {"Kwoty", "Faktury"})
        m_db.noteWrite(QLatin1String(table), this);
}
