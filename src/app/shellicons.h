#pragma once

#include <QIcon>
#include <QStyle>

// Pictures of the program's buttons: the desktop's icon theme first, the
// style's own picture when the theme has none (a null icon leaves the
// button showing its caption).
QIcon themeIcon(const QString &name, QStyle::StandardPixmap fallback);
QIcon themeIcon(const QString &name);

// The program's icon, for its windows and the about box.
QIcon programIcon();
