#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// A word of a PDF page as poppler reads it back: its text and its box in
// millimetres from the top-left corner of the sheet.
struct PdfWord
{
    QString text;
    QRectF mm;
};

// Every word of one page (from 1) of a PDF file, read with pdftotext -bbox;
// empty when the file or page cannot be read.
QList<PdfWord> pdfWords(const QString &pdfFile, int page = 1);

// The words whose box starts within tolerance of (xMm, yMm), left to right.
QString wordsAt(const QList<PdfWord> &words, double xMm, double yMm, double toleranceMm = 0.3);
// The first word with this text, or an empty word.
PdfWord findWord(const QList<PdfWord> &words, const QString &text);
