#include "core/registry.h"

namespace {

QString keyOf(int version, QStringView name)
{
    return QString::number(version) + QLatin1Char('/') + name.toString();
}

// One scope alone: the user scope would otherwise also answer with the
// machine-wide values, and both with the organisation-wide file.
std::optional<QString> readIn(QSettings::Scope scope, const QString &key)
{
    QSettings settings(QSettings::NativeFormat, scope, RegistryOrganization, ProgramTitle);
    settings.setFallbacksEnabled(false);
    const QVariant value = settings.value(key);
    return value.isValid() ? std::optional(value.toString()) : std::nullopt;
}

bool writeIn(QSettings::Scope scope, const QString &key, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, scope, RegistryOrganization, ProgramTitle);
    if (!settings.isWritable())
        return false;
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

std::optional<QString> readRegistryValue(int version, QStringView name)
{
    const QString key = keyOf(version, name);
    if (auto value = readIn(QSettings::SystemScope, key))
        return value;
    return readIn(QSettings::UserScope, key);
}

std::optional<QSettings::Scope> writeRegistryValue(int version, QStringView name, const QString &value)
{
    const QString key = keyOf(version, name);
    for (const auto scope : {QSettings::SystemScope, QSettings::UserScope})
        if (writeIn(scope, key, value))
            return scope;
    return std::nullopt;
}
