#include "app/shellicons.h"

#include <QApplication>

QIcon themeIcon(const QString &name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QIcon themeIcon(const QString &name)
{
    return QIcon::fromTheme(name);
}

QIcon programIcon()
{
    return themeIcon(QStringLiteral("x-office-document"), QStyle::SP_FileIcon);
}
