#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// A field that refuses what the user typed says so in a box placed just
// under it, at its left edge; the field then takes the focus back and keeps
// the text as typed. The box comes once the focus change under way has
// ended, and a field already waiting for its box is not reported twice.
namespace FieldError {

// The road of the box, one for the process: it gets the field, the text and
// the screen point of the box. The default shows box() modally. Answers the
// previous road; an empty function restores the default.
using Reporter = std::function<void(QWidget *field, const QString &text, QPoint at)>;
Reporter setReporter(Reporter reporter);

void report(QWidget *field, const QString &text);

// The box itself (error sign, one OK button) placed at `at`.
std::unique_ptr<QMessageBox> box(const QString &text, QPoint at, QWidget *parent);

} // namespace FieldError
