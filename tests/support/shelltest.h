#pragma once

// Helpers of the shell's window tests.

#include "data/tdm.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTest>
#include <QTimer>

// A double click as the mouse makes it: press, release, double click, release.
inline void doubleClick(QWidget *widget, QPoint pos)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

inline int addTaxpayer(TDM &dm, const QString &surname, const QString &firstName = QStringLiteral("Jan"),
                       const QString &notes = {})
{
    dm.Podatnik.append();
    dm.Podatnik.field(QStringLiteral("Nazwisko")).setString(surname);
    dm.Podatnik.field(QStringLiteral("Imie")).setString(firstName);
    dm.Podatnik.field(QStringLiteral("Notatki")).setString(notes);
    dm.Podatnik.post();
    return dm.Podatnik.field(QStringLiteral("PodatId")).asInteger();
}

// The stored value of a taxpayer's field, read past the windows.
inline QString storedField(TDM &dm, int podatId, const QString &field)
{
    const auto row = dm.database().firstRow(QStringLiteral("SELECT %1 FROM Podatnik WHERE PodatId = ?").arg(field), {},
                                            {podatId});
    return row ? row->at(0).toString() : QString();
}

// Notes which modal windows open while it lives, and closes each, so that
// a window opened (rightly or wrongly) by the code under test cannot hang
// the test.
class ModalWatch
{
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            m_opened << QString::fromLatin1(modal->metaObject()->className());
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        });
        m_timer.start(20);
    }
    const QStringList &opened() const { return m_opened; }

private:
    QTimer m_timer;
    QStringList m_opened;
};
