#pragma once

#include "spreadsheet/sheet.h"

#include <QByteArray>

// CSV as Polish spreadsheets write it: fields separated by ";" (or "," or a
// tab, told from the first line), each line a row, a field in double quotes
// holding separators, line breaks and "" for a quote. The text is UTF-8,
// with or without a byte-order mark, or Windows-1250; a file that mixes the
// two is refused, naming the first row that is not UTF-8.
namespace Csv {
// Throws SpreadsheetError: an encoding it cannot tell, a quote left open,
// more rows, columns or characters in a cell than SheetLimits allow.
Sheet read(const QByteArray &data);
// Reads text already decoded, with the given separator.
QList<QStringList> parse(const QString &text, QChar separator);
// The records of a ";"-separated text below its heading line, empty lines
// left out: the lists the program ships and loads.
QList<QStringList> records(const QString &text);
// UTF-8 with a byte-order mark (so that spreadsheets open it as Polish),
// ";" between fields, CRLF after each row; dates "dd-mm-yyyy", amounts
// with a decimal comma and no thousands separator ("1220,50").
QByteArray write(const QList<OutputRow> &rows);
} // namespace Csv
