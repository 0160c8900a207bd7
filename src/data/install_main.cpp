// tarlen-install [directory]: creates the program's database.
//
// Without a directory it uses the one already recorded for the program, or
// else the user's data directory; an existing database there is left as it
// is (and, found in the user's data directory without being recorded, is
// recorded, so that the program finds it). A directory given explicitly must
// not hold a database yet. The directory is then recorded as the program's
// database directory. When the database is missing but copies of it lie in
// its "kopie" folder, it says so and asks on standard input whether to
// restore the newest sound copy instead ("t" for yes); without an answer it
// makes nothing.

#include "data/dataerror.h"
#include "data/installer.h"

#include "core/privatefiles.h"
#include "core/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    PrivateFiles::restrictNewFiles();
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
    QTextStream in(stdin);
    const Installer::CopiesQuestion ask = [&](const QString &text) {
        out << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << " [t/n]: ";
        out.flush();
        const QString answer = in.readLine();
        if (answer.isNull())
            throw DataError(QStringLiteral("Brak odpowiedzi: niczego nie zmieniono."));
        return answer.trimmed().toLower().startsWith(QLatin1Char('t'));
    };
    try {
        const QStringList done = args.isEmpty() ? Installer::installDefault(ask)
                                                : Installer::installInto(QDir(args.first()).absolutePath(), ask);
        for (const QString &line : done)
            out << line << "\n";
    } catch (const DataError &e) {
        err << e.message() << "\n";
        return 1;
    }
    return 0;
}
