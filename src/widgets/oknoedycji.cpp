#include "widgets/oknoedycji.h"

#include "data/tdm.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

const QString OknoEdycji::Pytanie = QStringLiteral("Porzucić wprowadzone zmiany?");

OknoEdycji::OknoEdycji(TDM &dm, const QString &pytanie, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_pytanie(pytanie)
{
}

void OknoEdycji::Zapamietaj()
{
    m_stan = Stan();
    m_zmieniono = false;
}

bool OknoEdycji::SaZmiany() const
{
    return m_zmieniono || Stan() != m_stan;
}

void OknoEdycji::reject()
{
    if (SaZmiany() && !m_dm.Potwierdz(m_pytanie))
        return;
    QDialog::reject();
}

QStringList OknoEdycji::Stan() const
{
    QStringList stan;
    for (const QWidget *w : findChildren<QWidget *>()) {
        // The edit inside a spin box or a combo box is theirs.
        const QWidget *rodzic = w->parentWidget();
        if (qobject_cast<const QAbstractSpinBox *>(rodzic) || qobject_cast<const QComboBox *>(rodzic))
            continue;
        if (const auto *edit = qobject_cast<const QLineEdit *>(w); edit && !edit->isReadOnly())
            stan << edit->text();
        else if (const auto *liczba = qobject_cast<const QAbstractSpinBox *>(w))
            stan << liczba->text();
        else if (const auto *lista = qobject_cast<const QComboBox *>(w))
            stan << lista->currentText();
        else if (const auto *memo = qobject_cast<const QPlainTextEdit *>(w); memo && !memo->isReadOnly())
            stan << memo->toPlainText();
        else if (const auto *tekst = qobject_cast<const QTextEdit *>(w); tekst && !tekst->isReadOnly())
            stan << tekst->toPlainText();
        else if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
            stan << (static_cast<const QAbstractButton *>(w)->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return stan;
}
