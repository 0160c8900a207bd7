#include "widgets/fielderror.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {

FieldError::Reporter &reporter()
{
    static FieldError::Reporter r;
    return r;
}

// The fields whose box is on its way.
QList<QPointer<QWidget>> &pending()
{
    static QList<QPointer<QWidget>> fields;
    return fields;
}

} // namespace

FieldError::Reporter FieldError::setReporter(Reporter r)
{
    Reporter previous = std::move(reporter());
    reporter() = std::move(r);
    return previous;
}

void FieldError::report(QWidget *field, const QString &text)
{
    pending().removeAll(nullptr);
    if (pending().contains(field))
        return;
    pending().append(field);
    QPointer<QWidget> guarded(field);
    QMetaObject::invokeMethod(
        field,
        [guarded, text] {
            QWidget *f = guarded.data();
            pending().removeAll(f);
            const QPoint at = f->mapToGlobal(QPoint(0, f->height()));
            if (const Reporter &r = reporter())
                r(f, text, at);
            else
                box(text, at, f->window())->exec();
            if (!guarded)
                return;
            // The window the box covered takes the keyboard back.
            if (!f->window()->isActiveWindow())
                f->window()->activateWindow();
            f->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

std::unique_ptr<QMessageBox> FieldError::box(const QString &text, QPoint at, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Błąd"), text, QMessageBox::Ok,
                                             parent);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    // Placed where it was asked for, not centred over the window.
    box->move(at);
    return box;
}
