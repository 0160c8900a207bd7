#pragma once

#include "core/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <variant>

// One sheet as read from a file: its rows of cells, as text. A text cell is
// its text; a number is written with a "." before its decimals ("1220.5");
// a date is written "yyyy-mm-dd". Rows keep their place in the file, empty
// ones included, so that a row's number is the one the user sees.
struct Sheet
{
    QString name;
    QList<QStringList> rows;
};

// A cell to be written: a text, a date or an amount.
using OutputCell = std::variant<QString, QDate, Money>;
using OutputRow = QList<OutputCell>;

// What a reader refuses, and why, in Polish for the user; the row and column
// (from 1) when the fault lies in one place of the file, else 0.
class SpreadsheetError : public std::runtime_error
{
public:
    SpreadsheetError(const QString &message, int row = 0, int column = 0);
    const QString &message() const { return m_message; }
    int row() const { return m_row; }
    int column() const { return m_column; }

private:
    QString m_message;
    int m_row;
    int m_column;
};

// What a reader takes at most: a file larger than these is refused whole,
// never read in part.
namespace SheetLimits {
constexpr qint64 FileBytes = 64 * 1024 * 1024;
constexpr int Rows = 100000;
constexpr int Columns = 256;
constexpr int CellChars = 32767; // what a spreadsheet cell holds at most
} // namespace SheetLimits

// "A" for column 1, "AA" for 27, as spreadsheets name columns.
QString columnName(int column);
// Where a cell lies, for messages: "wiersz 12, kolumna C".
QString cellPlace(int row, int column);

// The file kinds the readers know, told from the first bytes (a zip archive
// is taken for XLSX), and the reading of a whole file of either kind: the
// first sheet, or the one named. Throws SpreadsheetError.
enum class SheetFormat { Csv, Xlsx };
SheetFormat detectFormat(const QByteArray &head);
QStringList sheetNames(const QString &path);
Sheet readSheet(const QString &path, const QString &sheet = {});
