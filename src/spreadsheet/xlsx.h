#pragma once

#include "spreadsheet/sheet.h"

// XLSX workbooks (Office Open XML): a zip archive of XML parts, read with
// QuaZip and Qt's XML reader. Texts shared or inline, numbers, and numbers
// in a date format (serial days since 1900, or 1904) as dates.
namespace Xlsx {
// Throws SpreadsheetError: a damaged or foreign archive, parts too large to
// be a sheet of SheetLimits, malformed XML, a sheet that is not there.
QStringList sheetNames(const QString &path);
Sheet read(const QString &path, const QString &sheet = {});
// One sheet "Faktury": texts inline, dates in "dd-mm-yyyy", amounts as
// numbers in "#,##0.00". False when the file cannot be written.
bool write(const QString &path, const QString &sheetName, const QList<OutputRow> &rows);
} // namespace Xlsx
