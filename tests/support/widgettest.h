#pragma once

// Helpers of the window tests.

#include <QTest>
#include <QWidget>

// Sends text key by key, as the keyboard does, so that Polish letters get
// through too (QTest::keyClicks takes ASCII only); '\b' is Backspace.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == u'\b')
            QTest::keyClick(widget, Qt::Key_Backspace);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The control of `window` named `name`; a missing one ends the test program.
template <class T>
T *childNamed(const QWidget &window, const QString &name)
{
    T *child = window.findChild<T *>(name);
    if (!child)
        qFatal("Brak kontrolki %s", qPrintable(name));
    return child;
}
