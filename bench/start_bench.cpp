#include "start_bench.h"

#include "timing.h"

#include "app/mainform.h"
#include "app/startup.h"
#include "core/registry.h"
#include "data/database.h"
#include "data/kopiezapasowe.h"
#include "data/tdm.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// From the data module's creation until the main window has drawn the
// register: opening the database with its check, the windows made, the
// register shown.
double startMicros(MessageBoxes &boxes, const QString &settingsRoot, const QString &directory)
{
    writeRegistryValue(ProgramVersion, u"Sciezka", directory);
    return medianMicros(11, [&] {
        TDM dm(boxes);
        TMainForm form(dm, settingsRoot + QStringLiteral("/Morvik_Vat5.ini"));
        OtworzBazeDanych(dm);
        form.UtworzOkna();
        form.show();
        form.grab();
    });
}

} // namespace

void benchStart(Report &report, MessageBoxes &boxes, const QString &settingsRoot, const QString &emptyDirectory,
                const QString &fullDirectory)
{
    report.baseline(QStringLiteral("Start do pokazania rejestru, pusta baza"),
                    startMicros(boxes, settingsRoot, emptyDirectory), 0);
    report.addAlone(QStringLiteral("Start do pokazania rejestru, 10 000 podatników"),
                    startMicros(boxes, settingsRoot, fullDirectory));
    report.compareWithBaseline(QStringLiteral("Start: pełny rejestr / pusta baza"));
    // The check of the whole file that runs beside the start; saves wait for it.
    report.addAlone(QStringLiteral("Sprawdzenie pliku w tle, 10 000 podatników"), medianMicros(11, [&] {
                        Database db;
                        db.open(fullDirectory);
                        db.awaitCheck();
                    }));

    writeRegistryValue(ProgramVersion, u"Sciezka", fullDirectory);
    TDM dm(boxes);
    dm.OtworzTabele();
    // Beside the database, on its disk, as the automatic copies are.
    QTemporaryDir copies(fullDirectory + QStringLiteral("-kopie-XXXXXX"));
    const double megabytes = QFileInfo(Database::filePathIn(fullDirectory)).size() / 1e6;
    int n = 0;
    // Every copy, automatic or from the menu, gets the same full check.
    report.addAlone(QStringLiteral("Kopia zapasowa (%1 MB, pełne sprawdzenie), na 100 MB").arg(qRound(megabytes)),
                    medianMicros(3, [&] {
                        KopieZapasowe::ZapiszKopie(dm.database(),
                                                   copies.filePath(QStringLiteral("kopia-%1.sqlite").arg(++n)));
                    }) * 100 / megabytes);
}
