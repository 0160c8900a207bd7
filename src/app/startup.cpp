#include "app/startup.h"

#include "core/registry.h"
#include "app/shellicons.h"

#include <QApplication>
#include <QFont>

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(ProgramTitle);
    QApplication::setOrganizationName(RegistryOrganization);
    // fontconfig maps these to fonts that are not metric-compatible.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Serif"), QStringLiteral("Liberation Serif"));
    // Outside a desktop that names its theme the pictures come from a common one.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    app.setWindowIcon(programIcon());
}
