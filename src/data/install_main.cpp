// tarlen-install [directory]: creates the program's database.
//
// Without a directory it uses the one already recorded for the program, or
// else the user's data directory; an existing database there is left as it
// is (and, found in the user's data directory without being recorded, is
// recorded, so that the program finds it). A directory given explicitly must
// not hold a database yet. The directory is then recorded as the program's
// database directory.

#include "data/database.h"
#include "data/dataerror.h"
#include "data/installer.h"

#include "core/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// Records `directory` as the program's database directory.
int record(QTextStream &out, QTextStream &err, const QString &directory)
{
    const auto scope = writeRegistryValue(ProgramVersion, u"Sciezka", QDir::toNativeSeparators(directory));
    if (!scope) {
        err << "Nie udało się zapisać ścieżki bazy danych w ustawieniach programu.\n";
        return 1;
    }
    out << "Zapisano ścieżkę bazy danych (Sciezka) w ustawieniach "
        << (*scope == QSettings::SystemScope ? "systemowych" : "użytkownika") << ".\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(RegistryOrganization);
    QCoreApplication::setApplicationName(ProgramTitle);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = app.arguments().mid(1);
    if (args.size() > 1 || args.value(0).startsWith(QLatin1Char('-'))) {
        err << "Użycie: tarlen-install [katalog bazy danych]\n";
        return 2;
    }
    QString directory;
    if (args.isEmpty()) {
        const std::optional<QString> recorded = readRegistryValue(ProgramVersion, u"Sciezka");
        directory = recorded.value_or(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/baza"));
        if (QFile::exists(Database::filePathIn(directory))) {
            out << "Baza danych jest już zainstalowana: " << QDir::toNativeSeparators(Database::filePathIn(directory)) << "\n";
            // The settings may have been removed since: without the record
            // the program would not find the database.
            return recorded ? 0 : record(out, err, QDir(directory).absolutePath());
        }
    } else {
        directory = args.first();
    }
    directory = QDir(directory).absolutePath();

    try {
        for (const QString &line : Installer::install(directory))
            out << line << "\n";
    } catch (const DataError &e) {
        err << e.message() << "\n";
        return 1;
    }
    return record(out, err, directory);
}
