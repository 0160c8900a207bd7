#include "widgets/kwotaedit.h"

KwotaEdit::KwotaEdit(const QString &format, QWidget *parent) : QLineEdit(parent), m_format(format)
{
    setAlignment(Qt::AlignRight);
    setKwota(Money());
    // What the user typed is shown in the display format once it is readable.
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (const std::optional<Money> k = kwota())
            setKwota(*k);
    });
}

void KwotaEdit::setKwota(Money kwota)
{
    m_pokazana = kwota;
    m_tekstPokazanej = kwota.format(m_format);
    setText(m_tekstPokazanej);
}

std::optional<Money> KwotaEdit::kwota() const
{
    if (text() == m_tekstPokazanej)
        return m_pokazana;
    if (text().trimmed().isEmpty())
        return Money();
    return Money::parse(text());
}
