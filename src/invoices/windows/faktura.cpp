#include "invoices/windows/faktura.h"

#include "checks/identifiers.h"
#include "core/common.h"
#include "data/dataerror.h"

#include <QScopeGuard>

namespace {

const QString Brak = QStringLiteral("---");

const QString FaktIdPole = QStringLiteral("FaktId");
const QString OpisPole = QStringLiteral("Opis");
const QString BruttoPole = QStringLiteral("Brutto");
const QString VatAPole = QStringLiteral("VatA");
const QString VatBPole = QStringLiteral("VatB");

// Goes through every record of a dataset the windows show, which stay on
// their record and are not repainted meanwhile.
template <class Czynnosc>
void PrzejdzWszystkie(Dataset &dane, Czynnosc czynnosc)
{
    const int biezacy = dane.currentRow();
    dane.disableControls();
    const auto powrot = qScopeGuard([&dane, biezacy] {
        if (biezacy >= 0)
            dane.moveTo(biezacy);
        dane.enableControls();
    });
    for (dane.first(); !dane.eof(); dane.next())
        czynnosc();
}

// An amount that is zero is stored as an empty field.
void zapiszKwote(const Field &field, Money kwota)
{
    if (kwota.isZero())
        field.clear();
    else
        field.setMoney(kwota);
}

} // namespace

void TFaktura::Ustaw(int VzmId, int lista, bool nowa)
{
    m_vzmId = VzmId;
    m_lista = lista;
    m_nowa = nowa;
}

Query &TFaktura::lista()
{
    return dm.ListaFaktur(m_lista);
}

Money TFaktura::VatZBrutto(Money brutto, int lista)
{
    return lista == 1 || lista == 2 ? Vat22ZBrutto(brutto) : Vat23ZBrutto(brutto);
}

QString TFaktura::Roznica(Money vat, Money brutto, int lista)
{
    if (vat.isZero())
        return Brak;
    const Money wyliczony = VatZBrutto(brutto, lista);
    return vat == wyliczony ? Brak : Kwota2(vat - wyliczony);
}

QList<TUsterkaFaktury> TFaktura::Usterki(const TDaneFaktury &dane, bool nowa,
                                         const std::function<bool(const QString &numer)> &numerJest)
{
    using R = TUsterkaFaktury::Rodzaj;
    QList<TUsterkaFaktury> usterki;
    const auto blad = [&usterki](const QString &tekst, PoleFaktury pole) {
        usterki << TUsterkaFaktury{R::Blad, pole, tekst};
        return usterki;
    };
    const QString numer = dane.NrFakt.trimmed();
    if (numer.isEmpty())
        return blad(QStringLiteral("Numer faktury nie podany."), PoleFaktury::Numer);
    if (nowa && numerJest(numer))
        usterki << TUsterkaFaktury{R::Ostrzezenie, PoleFaktury::Numer,
                                   QStringLiteral("Faktura o numerze ") + numer + QStringLiteral(" jest już w wykazie.")};
    if (PustaData(dane.Data))
        return blad(QStringLiteral("Data wystawienia faktury nie podana."), PoleFaktury::Data);
    const QDate data = TekstNaDate(dane.Data);
    if (data.isNull())
        return blad(QStringLiteral("Data wystawienia faktury jest niepoprawna."), PoleFaktury::Data);
    if (data < Data1Maja2004)
        return blad(QStringLiteral("Data wystawienia faktury nie może być\rwcześniejsza niż 1-05-2004 r."),
                    PoleFaktury::Data);
    if (dane.NipSprzed.trimmed().isEmpty())
        return blad(QStringLiteral("NIP sprzedawcy nie podany."), PoleFaktury::Nip);
    if (!PoprawnyNip(dane.NipSprzed))
        usterki << TUsterkaFaktury{R::Pytanie, PoleFaktury::Nip,
                                   QStringLiteral("Nieprawidłowy NIP sprzedawcy.\rZapisać mimo to?")};
    if (dane.Brutto.isZero())
        return blad(QStringLiteral("Kwota brutto wydatku uprawniającego\rdo zwrotu nie podana."), PoleFaktury::Brutto);
    if (dane.VatA.isZero() && dane.VatB.isZero())
        return blad(QStringLiteral("Kwota podatku VAT nie podana."), PoleFaktury::VatA);
    return usterki;
}

std::optional<PoleFaktury> TFaktura::Sprawdz(const TDaneFaktury &dane)
{
    const auto numerJest = [this](const QString &numer) { return dm.JestNrFaktury(m_vzmId, numer); };
    for (const TUsterkaFaktury &u : Usterki(dane, m_nowa, numerJest)) {
        switch (u.rodzaj) {
        case TUsterkaFaktury::Rodzaj::Ostrzezenie:
            dm.Uwaga(u.tekst);
            break;
        case TUsterkaFaktury::Rodzaj::Pytanie:
            if (!dm.Potwierdz(u.tekst))
                return u.pole;
            break;
        case TUsterkaFaktury::Rodzaj::Blad:
            dm.Uwaga(u.tekst);
            return u.pole;
        }
    }
    return std::nullopt;
}

TDaneFaktury TFaktura::Wczytaj()
{
    TDaneFaktury dane;
    Query &q = lista();
    if (!q.isOpen() || q.isEmpty())
        return dane;
    dane.NrFakt = q.field(QStringLiteral("NrFakt")).asString();
    dane.LpFakt = q.field(QStringLiteral("LpFakt")).asString();
    dane.Data = DataNaTekst(q.field(QStringLiteral("DataWyst")).asDate());
    dane.KodSprzed = q.field(QStringLiteral("KodSprzed")).asString();
    dane.NipSprzed = q.field(QStringLiteral("NipSprzed")).asString();
    dane.Brutto = q.field(BruttoPole).asMoney();
    dane.VatA = q.field(VatAPole).asMoney();
    dane.VatB = q.field(VatBPole).asMoney();
    return dane;
}

int TFaktura::FaktIdBiezacej()
{
    Query &q = lista();
    if (m_nowa || !q.isOpen() || q.isEmpty())
        return 0;
    return q.field(FaktIdPole).asInteger();
}

Query &TFaktura::listaWniosku()
{
    Query &q = lista();
    if (!q.isOpen() || q.param(QStringLiteral("VzmId")).toInt() != m_vzmId) {
        q.close();
        q.setParam(QStringLiteral("VzmId"), m_vzmId);
        q.open();
    }
    return q;
}

QList<TDaneFaktury> TFaktura::WszystkieZListy()
{
    QList<TDaneFaktury> faktury;
    try {
        Query &q = listaWniosku();
        PrzejdzWszystkie(q, [&] { faktury << Wczytaj(); });
    } catch (const DataError &) {
        // what could be read
    }
    return faktury;
}

int TFaktura::Zapisz(const TDaneFaktury &dane)
{
    // A new invoice must show in the list, so that its key can be read there.
    Query &q = m_nowa ? listaWniosku() : lista();
    Database::Transaction transakcja = dm.transaction();
    try {
        if (m_nowa) {
            q.append();
            q.field(QStringLiteral("VzmId")).setInteger(m_vzmId);
            q.field(QStringLiteral("Oznacz")).setString(TDM::LiteraListy(m_lista));
        } else {
            q.edit();
        }
        q.field(QStringLiteral("NrFakt")).setString(dane.NrFakt);
        q.field(QStringLiteral("LpFakt")).setString(dane.LpFakt);
        q.field(QStringLiteral("DataWyst")).setDate(TekstNaDate(dane.Data));
        q.field(QStringLiteral("KodSprzed")).setString(dane.KodSprzed);
        q.field(QStringLiteral("NipSprzed")).setString(dane.NipSprzed);
        q.field(BruttoPole).setMoney(dane.Brutto);
        zapiszKwote(q.field(VatAPole), dane.VatA);
        zapiszKwote(q.field(VatBPole), dane.VatB);
        q.post();
        const int faktId = q.field(FaktIdPole).asInteger();
        if (m_nowa)
            PrzeniesPozycje(faktId);
        transakcja.commit();
        if (m_nowa)
            OproznijPozycje();
        return faktId;
    } catch (const DataError &) {
        if (q.isEditing())
            q.cancel();
        if (dm.Kwoty.isEditing())
            dm.Kwoty.cancel();
        throw;
    }
}

void TFaktura::PrzeniesPozycje(int FaktId)
{
    MemTable &robocze = dm.vKwoty;
    if (!robocze.isOpen() || robocze.isEmpty())
        return;
    // The lines land through the query of the invoice's own lines, which
    // reads only them after each post.
    Query &kwoty = dm.Kwoty;
    kwoty.close();
    kwoty.setParam(FaktIdPole, FaktId);
    kwoty.open();
    for (robocze.first(); !robocze.eof(); robocze.next()) {
        kwoty.append();
        kwoty.field(FaktIdPole).setInteger(FaktId);
        kwoty.field(OpisPole).setString(robocze.field(OpisPole).asString());
        for (const QString &pole : {BruttoPole, VatAPole, VatBPole})
            zapiszKwote(kwoty.field(pole), robocze.field(pole).asMoney());
        kwoty.post();
    }
}

void TFaktura::OproznijPozycje()
{
    if (dm.vKwoty.isOpen())
        dm.vKwoty.emptyTable();
}

bool TFaktura::SaPozycje() const
{
    return dm.vKwoty.isOpen() && !dm.vKwoty.isEmpty();
}

std::optional<TSprzedawca> TFaktura::SzukajSprzedawcy(const QString &pole, const QString &tekst)
{
    if (tekst.trimmed().isEmpty())
        return std::nullopt;
    Table &firmy = dm.Firmy;
    try {
        if (!firmy.isOpen() || !firmy.locate(pole, tekst, LocateOption::CaseInsensitive))
            return std::nullopt;
        return TSprzedawca{firmy.field(QStringLiteral("Kod")).asString(), firmy.field(QStringLiteral("NIP")).asString(),
                           firmy.field(QStringLiteral("Firma")).asString()};
    } catch (const DataError &) {
        return std::nullopt;
    }
}

std::optional<TSprzedawca> TFaktura::SzukajKodu(const QString &kod)
{
    return SzukajSprzedawcy(QStringLiteral("Kod"), kod);
}

std::optional<TSprzedawca> TFaktura::SzukajNipu(const QString &nip)
{
    return SzukajSprzedawcy(QStringLiteral("NIP"), nip);
}

// --- amount lines -----------------------------------------------------------

bool TPozycjeFaktury::Otworz()
{
    if (!dm.vKwoty.isOpen())
        dm.vKwoty.open();
    try {
        dm.Kwoty.close();
        dm.Kwoty.setParam(FaktIdPole, m_faktId);
        dm.Kwoty.open();
        return true;
    } catch (const DataError &) {
        return false;
    }
}

Dataset &TPozycjeFaktury::Pokazane()
{
    if (m_faktId == 0)
        return dm.vKwoty;
    return dm.Kwoty;
}

bool TPozycjeFaktury::JestPozycja()
{
    Dataset &pokazane = Pokazane();
    return pokazane.isOpen() && !pokazane.isEmpty();
}

TSumyKwot TPozycjeFaktury::Sumy()
{
    if (m_faktId != 0)
        return dm.SumyKwot(m_faktId);
    TSumyKwot sumy;
    MemTable &robocze = dm.vKwoty;
    if (!robocze.isOpen())
        return sumy;
    try {
        PrzejdzWszystkie(robocze, [&] {
            sumy.Brutto += robocze.field(BruttoPole).asMoney();
            sumy.VatA += robocze.field(VatAPole).asMoney();
            sumy.VatB += robocze.field(VatBPole).asMoney();
        });
    } catch (const DataError &) {
        // the totals so far
    }
    return sumy;
}

QString TPozycjeFaktury::OpisSumy(Money brutto)
{
    if (brutto.isZero())
        return {};
    return QStringLiteral(" Brutto: ") + brutto.format(2, true) + QStringLiteral(" zł");
}

TPozycja TPozycjeFaktury::Biezaca()
{
    Dataset &pokazane = Pokazane();
    if (!pokazane.isOpen() || pokazane.isEmpty())
        return {};
    return {pokazane.field(OpisPole).asString(), pokazane.field(BruttoPole).asMoney(),
            pokazane.field(VatAPole).asMoney(), pokazane.field(VatBPole).asMoney()};
}

void TPozycjeFaktury::Dodaj(const TPozycja &pozycja)
{
    if (m_faktId == 0) {
        if (!dm.vKwoty.isOpen())
            dm.vKwoty.open();
        dm.vKwoty.append();
    } else {
        Query &kwoty = dm.Kwoty;
        if (!kwoty.isOpen() || kwoty.param(FaktIdPole).toInt() != m_faktId) {
            kwoty.close();
            kwoty.setParam(FaktIdPole, m_faktId);
            kwoty.open();
        }
        kwoty.append();
        kwoty.field(FaktIdPole).setInteger(m_faktId);
    }
    Zapisz(pozycja);
}

void TPozycjeFaktury::Popraw(const TPozycja &pozycja)
{
    Pokazane().edit();
    Zapisz(pozycja);
}

void TPozycjeFaktury::Zapisz(const TPozycja &pozycja)
{
    Dataset &pokazane = Pokazane();
    try {
        pokazane.field(OpisPole).setString(pozycja.Opis);
        zapiszKwote(pokazane.field(BruttoPole), pozycja.Brutto);
        zapiszKwote(pokazane.field(VatAPole), pozycja.VatA);
        zapiszKwote(pokazane.field(VatBPole), pozycja.VatB);
        pokazane.post();
    } catch (const DataError &) {
        pokazane.cancel();
        throw;
    }
}

void TPozycjeFaktury::Usun()
{
    Dataset &pokazane = Pokazane();
    if (pokazane.isOpen() && !pokazane.isEmpty())
        pokazane.remove();
}
