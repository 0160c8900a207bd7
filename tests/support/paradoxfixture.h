#pragma once

// Paradox tables written with pxlib, as the previous version of the program
// stored them (code page 1250), for the tests of reading and importing them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

struct ParadoxColumn
{
    const char *name;
    char type; // pxlib's field type: pxfAlpha, pxfLong, pxfDate, ...
    int size;
};

// Writes a table of `columns` with `rows`: texts cut to the field's size in
// characters, an invalid QVariant an empty field. False when pxlib refused.
bool writeParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows);

// The fields of the previous version's Podatnik.DB, in its order.
QList<ParadoxColumn> previousPodatnikColumns();

// The number of fields in a table's header.
int paradoxFieldCount(const QByteArray &table);
// Where field name `field` of a table ends (its terminating zero byte), to
// damage the names as a broken file does.
qsizetype paradoxNameEnd(const QByteArray &table, int field);
