#include "data/ustawieniabazy.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/pgconnection.h"

#include "core/registry.h"

#include <QDir>
#include <QRegularExpression>

namespace {

void record(QStringView name, const QString &value)
{
    if (!writeRegistryValue(ProgramVersion, name, value))
        throw DataError(QStringLiteral("Nie udało się zapisać położenia bazy danych w ustawieniach programu."));
}

} // namespace

QString PolaczenieSerwera::conninfo() const
{
    return QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
        .arg(PgConnection::quoted(host.trimmed()))
        .arg(port)
        .arg(PgConnection::quoted(baza.trimmed()), PgConnection::quoted(uzytkownik.trimmed()));
}

PolaczenieSerwera PolaczenieSerwera::z(const QString &conninfo)
{
    static const QRegularExpression pair(QStringLiteral("(\\w+)\\s*=\\s*('(?:[^'\\\\]|\\\\.)*'|\\S+)"));
    PolaczenieSerwera p;
    for (auto it = pair.globalMatch(conninfo); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString value = m.captured(2);
        if (value.startsWith(QLatin1Char('\'')))
            value = value.mid(1, value.size() - 2).replace(QRegularExpression(QStringLiteral("\\\\(.)")), QStringLiteral("\\1"));
        const QString key = m.captured(1);
        if (key == QLatin1String("host"))
            p.host = value;
        else if (key == QLatin1String("port"))
            p.port = value.toInt();
        else if (key == QLatin1String("dbname"))
            p.baza = value;
        else if (key == QLatin1String("user"))
            p.uzytkownik = value;
    }
    return p;
}

QString UstawieniaBazy::SprawdzPolaczenie(const QString &conninfo)
{
    try {
        Database db;
        db.openServer(conninfo);
        if (!db.firstRow(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                        "AND table_name = 'podatnik'")))
            return QStringLiteral("Połączenie działa, ale na serwerze nie ma jeszcze bazy danych programu: "
                                  "utwórz ją (tarlen-install --serwer) albo przenieś na serwer bazę z folderu.");
        return {};
    } catch (const PasswordNeeded &) {
        throw;
    } catch (const DataError &e) {
        return e.message();
    }
}

void UstawieniaBazy::ZapiszFolder(const QString &katalog)
{
    record(u"Sciezka", QDir::toNativeSeparators(katalog));
    record(u"Serwer", QString());
}

void UstawieniaBazy::ZapiszSerwer(const QString &conninfo)
{
    record(u"Serwer", conninfo);
}
