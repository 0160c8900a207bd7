#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Records of a ';'-separated text with a header line; fields may stand in
// double quotes, with "" for a quote and line breaks inside.
QList<QStringList> parseCsv(const QString &text);
