#pragma once

#include "core/money.h"

#include <QLineEdit>

#include <optional>

// A one-line edit of an amount of money: shown through a display format in
// the Polish notation, read back with the Polish number reader. The amount
// shown is kept whole: while its text stays as shown, reading it gives the
// amount with all its decimals, not the rounded display.
class KwotaEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit KwotaEdit(const QString &format, QWidget *parent = nullptr);

    void setKwota(Money kwota);
    // Blank text is zero; no value when the text is not an amount.
    std::optional<Money> kwota() const;

private:
    QString m_format;
    Money m_pokazana;
    QString m_tekstPokazanej;
};
