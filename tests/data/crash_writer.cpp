// crash_writer <settings directory> <mode> [seed]
//
// A copy of the program's data side, started by the tests and killed by
// them. It reads the registry kept in <settings directory> (as TestEnvironment
// lays it out), opens the database through the data module and then:
//
//   zapis    saves applications without end: each one a VZMy record with
//            its VZMw3 record (long notes) and a random number of invoices,
//            each invoice with one amount line, all in one transaction; now
//            and then it deletes an application it saved before.
//   trzymaj  keeps the database open until it is killed.
//
// One operation, for the kill and fault tests: it arms the preload library
// of tests/support/faultshim.c, when it is loaded, right before the
// operation, and prints "licznik <n>", the file-changing calls counted:
//
//   jeden-zapis               one application saved as above
//   kopia <file>              a backup written to <file>
//   kopia-automatyczna        a taxpayer added, then the copy at the end of a run
//   odtworzenie <file>        <file> restored, every question answered Yes
//   start                     armed before the database is opened
//
// It tells on stdout what it has done, a line at a time, as soon as it is done:
//   otwarta            the database is open
//   zapisano <VzmId>   an application has been saved (the commit returned)
//   usuwam <VzmId>     the deletion of an application begins
//   usunieto <VzmId>   it has been deleted (the commit returned)
// When the database cannot be opened it prints the messages on stderr and
// ends with 3; when a save fails, with 4.

#include "data/dataerror.h"
#include "data/messageboxes.h"
#include "data/kopiezapasowe.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSettings>
#include <QThread>

#include <cstdio>

#include <dlfcn.h>

namespace {

class StderrBoxes : public MessageBoxes
{
public:
    bool yes = false;
    bool ask(const MessageRequest &request) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.text));
        return yes && request.kind != MessageRequest::Kind::Warning;
    }
    int choose(const MessageRequest &request) override { return ask(request) ? 0 : -1; }
};

void announce(const char *what, qint64 id = -1)
{
    if (id < 0)
        std::printf("%s\n", what);
    else
        std::printf("%s %lld\n", what, static_cast<long long>(id));
    std::fflush(stdout);
}

QString notes(QRandomGenerator &random)
{
    static const QString line = QStringLiteral("Zakup materiałów budowlanych – ściany, stropy, dach, łazienka. ");
    return line.repeated(int(random.bounded(200, 1500)));
}

int saveApplication(TDM &dm, QRandomGenerator &random, int number)
{
    const int invoices = int(random.bounded(1, 9));
    const QString memo = notes(random);
    Database::Transaction transaction(dm.database());

    Table &vzmy = dm.VzmyTbl;
    vzmy.append();
    vzmy.field(QStringLiteral("PodatId")).setInteger(1);
    vzmy.field(QStringLiteral("NrKolej")).setInteger(number);
    vzmy.field(QStringLiteral("Faktur")).setInteger(invoices);
    vzmy.field(QStringLiteral("Wersja")).setInteger(5);
    vzmy.post();
    const int vzmId = int(vzmy.field(QStringLiteral("VzmId")).asInteger());

    Table &wpisy = dm.VzmTbl_3;
    wpisy.append();
    wpisy.field(QStringLiteral("VzmId")).setInteger(vzmId);
    wpisy.field(QStringLiteral("P65")).setString(memo);
    wpisy.field(QStringLiteral("P59")).setInteger(memo.size());
    wpisy.post();

    for (int i = 0; i < invoices; ++i) {
        Table &faktury = dm.Faktury;
        faktury.append();
        faktury.field(QStringLiteral("VzmId")).setInteger(vzmId);
        faktury.field(QStringLiteral("Oznacz")).setString(QStringLiteral("A"));
        faktury.field(QStringLiteral("NrFakt")).setString(QStringLiteral("FV/%1/%2").arg(vzmId).arg(i + 1));
        faktury.field(QStringLiteral("LpFakt")).setString(QStringLiteral("cegła, cement, wapno, żwir – pozycja %1").arg(i + 1));
        faktury.field(QStringLiteral("Brutto")).setMoney(Money::fromReal(123.45 * (i + 1)));
        faktury.post();
        const int faktId = int(faktury.field(QStringLiteral("FaktId")).asInteger());

        Table &kwoty = dm.KwotyTbl;
        kwoty.append();
        kwoty.field(QStringLiteral("FaktId")).setInteger(faktId);
        kwoty.field(QStringLiteral("Opis")).setString(QStringLiteral("materiały"));
        kwoty.field(QStringLiteral("Brutto")).setMoney(Money::fromReal(123.45 * (i + 1)));
        kwoty.post();
    }
    transaction.commit();
    return vzmId;
}

// The preload library's counter, when it is loaded.
void armFaults()
{
    if (auto arm = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "tarlen_fault_arm")))
        arm();
}

void announceCount()
{
    if (auto count = reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "tarlen_fault_count")))
        std::printf("licznik %ld\n", count());
    std::fflush(stdout);
}

// One operation of the kill and fault tests; answers the exit code.
int runOperation(TDM &dm, StderrBoxes &boxes, const QString &mode, const QString &file)
{
    QRandomGenerator random(7);
    try {
        if (mode == QLatin1String("jeden-zapis")) {
            armFaults();
            announce("zapisano", saveApplication(dm, random, 1000));
        } else if (mode == QLatin1String("kopia")) {
            armFaults();
            KopieZapasowe::ZapiszKopie(dm.database(), file);
            announce("kopia");
        } else if (mode == QLatin1String("kopia-automatyczna")) {
            Table &podatnik = dm.Podatnik;
            podatnik.append();
            podatnik.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Przed kopią"));
            podatnik.post();
            armFaults();
            if (!KopieZapasowe(dm).KopiaNaZakonczenie())
                return 4;
            announce("kopia");
        } else if (mode == QLatin1String("odtworzenie")) {
            boxes.yes = true;
            armFaults();
            if (!KopieZapasowe(dm).Odtworz(file))
                return 4;
            announce("odtworzono");
        }
    } catch (const DataError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        announceCount();
        return 4;
    }
    announceCount();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Qt's own warnings are for a developer, not messages to the user: the
    // tests read stderr for the user's messages alone.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        std::fprintf(stderr, "qt: %s\n", qPrintable(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    });
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "crash_writer <settings directory> zapis|trzymaj [seed]\n");
        return 2;
    }
    const QString root = args[1];
    const QString mode = args[2];
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, root + QStringLiteral("/system"));

    StderrBoxes boxes;
    TDM dm(boxes);
    if (mode == QLatin1String("start"))
        armFaults();
    if (!dm.OtworzTabele()) {
        announceCount();
        return 3;
    }
    announce("otwarta");
    if (mode == QLatin1String("start")) {
        // what waits for the check of the file: the first write
        try {
            dm.database().awaitCheck();
        } catch (const DataError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 3;
        }
        announceCount();
        return 0;
    }
    if (mode != QLatin1String("zapis") && mode != QLatin1String("trzymaj"))
        return runOperation(dm, boxes, mode, args.value(3));

    if (mode == QLatin1String("trzymaj")) {
        for (;;)
            QThread::sleep(1);
    }

    QRandomGenerator random(args.value(3).toUInt());
    QList<int> saved;
    try {
        for (int number = 1;; ++number) {
            if (saved.size() > 2 && random.bounded(5) == 0) {
                const int vzmId = saved.takeAt(int(random.bounded(int(saved.size()))));
                announce("usuwam", vzmId);
                dm.UsunWniosek(vzmId);
                announce("usunieto", vzmId);
            }
            const int vzmId = saveApplication(dm, random, number);
            saved.append(vzmId);
            announce("zapisano", vzmId);
        }
    } catch (const DataError &e) {
        // Only a kill may end the writer: a failed save is a finding of its own.
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 4;
    }
}
