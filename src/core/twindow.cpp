#include "core/twindow.h"

#include <QSettings>

#include <algorithm>

void TWindow::setNrWersji(int nr)
{
    m_nrWersji = std::max(nr, 0);
}

void TWindow::setLeft(int left)
{
    m_left = std::max(left, 0);
}

void TWindow::setTop(int top)
{
    m_top = std::max(top, 0);
}

QString TWindow::group() const
{
    return QString::number(m_nrWersji) + QLatin1Char('/') + m_nazwa;
}

bool TWindow::Wczytaj()
{
    // The user scope falls back to the machine-wide store by itself.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, RegistryOrganization, m_tytul);
    settings.beginGroup(group());
    if (settings.childKeys().isEmpty())
        return false;
    const auto load = [&](const char *key, void (TWindow::*set)(int)) {
        bool ok = false;
        const int value = settings.value(QLatin1StringView(key)).toInt(&ok);
        if (ok)
            (this->*set)(value);
    };
    load("Left", &TWindow::setLeft);
    load("Top", &TWindow::setTop);
    load("Width", &TWindow::setWidth);
    load("Height", &TWindow::setHeight);
    return true;
}

bool TWindow::Zapisz() const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, RegistryOrganization, m_tytul);
    settings.beginGroup(group());
    settings.setValue(QStringLiteral("Left"), m_left);
    settings.setValue(QStringLiteral("Top"), m_top);
    settings.setValue(QStringLiteral("Width"), m_width);
    settings.setValue(QStringLiteral("Height"), m_height);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (m_gdyNieZapisano)
        m_gdyNieZapisano(settings.fileName());
    return false;
}
