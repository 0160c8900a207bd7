#pragma once

#include <QLatin1StringView>
#include <QSettings>
#include <QString>
#include <QStringView>

#include <optional>

// The program's registry: QSettings in the native format of organisation
// "Morvik" and application "Tarlen". The key "\Software\Morvik\Tarlen\5" is
// the group "5". On Linux the user scope is ~/.config/Morvik/Tarlen.conf and
// the machine-wide scope /etc/xdg/Morvik/Tarlen.conf.

inline constexpr QLatin1StringView RegistryOrganization("Morvik");
inline constexpr QLatin1StringView ProgramTitle("Tarlen");
inline constexpr int ProgramVersion = 5;

// The value `name` of the version key `version` ("Sciezka" under 5 or 4):
// the machine-wide one when it is there, else the user's; nothing when
// neither holds it.
std::optional<QString> readRegistryValue(int version, QStringView name);

// Stores the value machine-wide when that store can be written, else in the
// user's store; answers which one took it, nothing when neither did.
std::optional<QSettings::Scope> writeRegistryValue(int version, QStringView name, const QString &value);
