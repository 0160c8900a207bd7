#include "widgets/uzupelnianie.h"

#include "data/dataerror.h"
#include "data/dataset.h"
#include "core/polishtext.h"

#include <QEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

Uzupelnianie::Uzupelnianie(QLineEdit &edit, Zrodlo zrodlo) : QObject(&edit), m_edit(edit), m_zrodlo(std::move(zrodlo))
{
    m_edit.installEventFilter(this);
    connect(&m_edit, &QLineEdit::textChanged, this, &Uzupelnianie::PoZmianie);
}

Uzupelnianie::Zrodlo Uzupelnianie::ZPola(Dataset &zbior, const QString &pole)
{
    return [&zbior, pole](const QString &poczatek) -> QString {
        // A source that could not be opened offers nothing; typing goes on.
        if (!zbior.isOpen())
            return {};
        try {
            if (zbior.locate(pole, poczatek, LocateOption::CaseInsensitive | LocateOption::PartialKey))
                return zbior.field(pole).asString();
        } catch (const DataError &) {
        }
        return {};
    };
}

Uzupelnianie::Zrodlo Uzupelnianie::ZListy(const QStringList &lista)
{
    return [lista](const QString &poczatek) -> QString {
        const QString szukany = polishUpper(poczatek);
        for (const QString &nazwa : lista)
            if (polishUpper(QStringView(nazwa).left(szukany.size())) == szukany)
                return nazwa;
        return {};
    };
}

bool Uzupelnianie::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_edit && event->type() == QEvent::FocusIn)
        m_p = int(m_edit.text().size());
    return false;
}

void Uzupelnianie::PoZmianie()
{
    if (m_uzupelnia)
        return;
    if (m_edit.hasFocus())
        Uzupelnij();
    m_p = m_edit.hasSelectedText() ? m_edit.selectionStart() : m_edit.cursorPosition();
}

void Uzupelnianie::Uzupelnij()
{
    const int c = m_edit.cursorPosition();
    const QString t = m_edit.text();
    if (c <= m_p || t.size() < c)
        return;
    const QString wpis = m_zrodlo(t.size() == 1 ? polishUpper(t) : t);
    if (wpis.isEmpty())
        return;
    const QScopedValueRollback guard(m_uzupelnia, true);
    if (wpis.size() > t.size())
        m_edit.setText(wpis);
    const int koniec = int(m_edit.text().size());
    m_edit.setCursorPosition(koniec);
    m_edit.cursorBackward(true, koniec - c);
}
