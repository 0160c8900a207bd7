#pragma once

// Helpers of the window tests.

#include "widgets/fielderror.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
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

// A click on the indicator of a check box or a radio button. Only the
// indicator and the text take a click, and how wide the text is depends on
// the fonts installed; the indicator does not.
inline void clickIndicator(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QStyle::SubElement indicator =
        qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->style()->subElementRect(indicator, &option, button).center());
}

// With TARLEN_SHOTS naming a directory, the window's picture is kept there
// as <name>.png, for a person to look at; otherwise nothing.
inline void keepShot(QWidget &window, const QString &name)
{
    const QString shots = qEnvironmentVariable("TARLEN_SHOTS");
    if (!shots.isEmpty())
        window.grab().save(shots + QLatin1Char('/') + name + QStringLiteral(".png"));
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

// A double click as the mouse makes it: press, release, double click, release.
inline void doubleClick(QWidget *widget, QPoint pos)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
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

// Records the errors shown under fields while it lives ("field: text"),
// in place of their boxes.
class FieldErrors
{
public:
    FieldErrors()
        : m_previous(FieldError::setReporter([this](QWidget *field, const QString &text, QPoint) {
              m_shown << field->objectName() + QStringLiteral(": ") + text;
          }))
    {
    }
    ~FieldErrors() { FieldError::setReporter(m_previous); }
    FieldErrors(const FieldErrors &) = delete;
    FieldErrors &operator=(const FieldErrors &) = delete;

    // What was shown so far; the boxes come once the focus has settled.
    QStringList shown()
    {
        QCoreApplication::processEvents();
        return m_shown;
    }

private:
    FieldError::Reporter m_previous;
    QStringList m_shown;
};

// Waits until `window` is the application's active window: until it is,
// focus changes inside it send no focus-out events, and what is typed into a
// field is never taken over by the window.
inline bool activeNow(QWidget &window)
{
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    window.activateWindow();
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }, 5000);
}

// Acts on the next modal window of class T as soon as it is shown and
// active (for example to type into it and confirm it), then stops watching.
template <class T, class Act>
void onNextModal(Act act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        // Until the window is active, keys and focus changes reach nothing
        // in it; on a busy machine that comes a moment after it shows.
        if (!modal || !modal->isVisible() || QApplication::activeWindow() != modal)
            return;
        timer->stop();
        timer->deleteLater();
        act(*modal);
    });
    timer->start(10);
}

