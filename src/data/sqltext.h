#pragma once

#include "data/database.h"
#include "data/schema.h"

#include <QVariantMap>

// What the store reads from the SQL text of a query before running it.
namespace SqlText {

struct Bound
{
    QString text;       // the SQL with each string literal replaced by a parameter
    QVariantMap values; // the literals, by parameter name (without ':')
};

// Replaces every string literal, in single or double quotes (a quote
// doubled inside stands for itself), by a named parameter.
Bound bindLiterals(const QString &sql);

// The items of the SELECT list of `sql`, split at the commas outside
// parentheses; empty when it is no SELECT.
QStringList selectItems(const QString &sql);

// Whether a select item names its column: an alias, or a bare field.
bool namesItsColumn(const QString &item);

// The table named after the first FROM; empty when there is none.
QString fromTable(const QString &sql);

// The fields of a result: each column takes the type and size of the field
// of `table` it shows; SUM, TOTAL, MIN and MAX of a field take that field's
// type, COUNT is a whole number. Any other expression is a text when its
// values are texts, else a whole number.
QList<FieldDef> resultFields(const QString &sql, const QStringList &columns, const QList<SqlRow> &rows,
                             const TableDef *table);

} // namespace SqlText
