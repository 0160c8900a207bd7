#pragma once

// How the tests of the whole program type into fields and print: as the
// user does it, through the real windows.

#include "overprint/drukfrm.h"
#include "reports/engine/qrpreview.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"

#include "support/widgettest.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

// The control `name` of `window`; a line edit unless told otherwise.
template <class T = QLineEdit>
T *in(QWidget &window, const QString &name)
{
    return childNamed<T>(window, name);
}

// Brings forward the tab that holds `w`, wherever it is nested.
inline void showTabOf(QWidget *w)
{
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(p))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(w))
                    tabs->setCurrentIndex(i);
}

// Types into a field as the user does: into its tab, focus, replace what is
// there, type, leave by Tab.
inline void enter(QWidget *w, const QString &text)
{
    showTabOf(w);
    w->setFocus(Qt::TabFocusReason);
    if (auto *masked = qobject_cast<MaskedLineEdit *>(w)) {
        masked->clear();
        masked->setCursorPosition(0);
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
    }
    typeText(w, text);
    QTest::keyClick(w, Qt::Key_Tab);
}

// The date and the price of a new application typed into its editor as the
// user does: into the date at the mask's first place, then the price, then
// out of the field.
inline void typeDateAndPrice(QWidget &editor, const QString &date, const QString &price)
{
    auto *dateField = in<MaskedLineEdit>(editor, QStringLiteral("F44"));
    auto *priceField = in<TOrxEditCalc>(editor, QStringLiteral("F45"));
    showTabOf(dateField);
    dateField->setFocus(Qt::TabFocusReason);
    dateField->setCursorPosition(0);
    typeText(dateField, date);
    showTabOf(priceField);
    priceField->setFocus(Qt::TabFocusReason);
    typeText(priceField, price);
    in<QPushButton>(editor, QStringLiteral("CancelBtn"))->setFocus(Qt::TabFocusReason);
}

// In the print dialog when it opens: only page `page` ticked, one copy, printed.
inline void printOnlyPage(int page, bool &printed)
{
    onNextModal<TDrukFrm>([page, &printed](TDrukFrm &dialog) {
        for (int i = 1; i <= 4; ++i)
            childNamed<QCheckBox>(dialog, QStringLiteral("EdStrona%1").arg(i))->setChecked(i == page);
        childNamed<QSpinBox>(dialog, QStringLiteral("EdKopie"))->setValue(1);
        QTest::mouseClick(childNamed<QPushButton>(dialog, QStringLiteral("DrukujBtn")), Qt::LeftButton);
        printed = !dialog.isVisible();
    });
}

// In the preview when it opens: its pages exported to `file`, counted, closed.
inline void exportPreview(const QString &file, int &pages)
{
    TQRPreview::SetFileChooser([file](QWidget *, const QString &) { return file; });
    onNextModal<QPrintPreviewDialog>([&pages](QPrintPreviewDialog &preview) {
        for (QAction *action : preview.findChildren<QAction *>())
            if (action->text().contains(QStringLiteral("PDF")))
                action->trigger();
        pages = preview.findChild<QPrintPreviewWidget *>()->pageCount();
        preview.reject();
    });
}
