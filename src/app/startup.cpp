#include "app/startup.h"

#include "core/registry.h"
#include "data/dataerror.h"
#include "data/installer.h"
#include "data/kopiezapasowe.h"
#include "data/tdm.h"
#include "app/shellicons.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
const QLatin1String TranslatorName("TarlenQtTranslation");
}

bool installPolishTranslation(QCoreApplication &app, const QString &directory)
{
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    if (app.findChild<QTranslator *>(TranslatorName, Qt::FindDirectChildrenOnly))
        return true;

    auto *translator = new QTranslator(&app);
    translator->setObjectName(TranslatorName);
    // qtbase holds the texts of the widgets and of printing; the translation
    // lies where Qt itself was installed.
    if (!translator->load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory)
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(ProgramTitle);
    QApplication::setOrganizationName(RegistryOrganization);
    installPolishTranslation(app);
    // fontconfig maps these to fonts that are not metric-compatible.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Serif"), QStringLiteral("Liberation Serif"));
    // Outside a desktop that names its theme the pictures come from a common one.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    app.setWindowIcon(programIcon());
}

bool OtworzBazeDanych(TDM &dm)
{
    // On the first start no database is recorded: the program makes it, as
    // its installer would.
    if (!readRegistryValue(ProgramVersion, u"Sciezka")) {
        try {
            Installer::installDefault([&dm](const QString &text) { return dm.PotwierdzUwaga(text); });
        } catch (const DataError &e) {
            dm.Uwaga(e.message());
            return false;
        }
    }
    return dm.OtworzTabele() || ZastapUszkodzonaBaze(dm);
}

bool ZastapUszkodzonaBaze(TDM &dm)
{
    return (dm.BazaUszkodzona() || dm.BrakPlikuBazy()) && KopieZapasowe(dm).ZaproponujKopie();
}
