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
// The characters of a comb's words, one word each, left to right as given.
// A NIP's dash (on the boundary between two places of the form's boxes)
// reads back joined to the digits around it, "3-4": the dashes are dropped,
// the first digit starts where the word starts, the last ends where it
// ends, and every digit is as wide as a digit read alone.
QList<PdfWord> combCharacters(const QList<PdfWord> &words);

// With TARLEN_SHOTS naming a directory, a copy of the PDF file is kept
// there as <name>.pdf, for a person to look at; otherwise nothing.
void keepPdf(const QString &pdfFile, const QString &name);

// The first word with this text, or an empty word.
PdfWord findWord(const QList<PdfWord> &words, const QString &text);
