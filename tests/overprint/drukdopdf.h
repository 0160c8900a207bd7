#pragma once

// The program's printer set to print into PDF files at 600 dpi, for reading
// back where the overprint put each word.

#include "core/settingsfile.h"
#include "overprint/drukarka.h"
#include "overprint/stronynadruku.h"
#include "support/pdfwords.h"

#include <QTemporaryDir>

class DrukDoPdf
{
public:
    static constexpr int Dpi = 600;

    // offsetPixels: the unprintable edge of the simulated printer on every
    // side, in pixels at 600 dpi; 0 prints from the corner of the sheet.
    explicit DrukDoPdf(int offsetPixels = 0)
    {
        QPrinter &printer = drukarka.printer();
        printer.setResolution(Dpi);
        printer.setFullPage(offsetPixels == 0);
        const qreal points = offsetPixels * 72.0 / Dpi;
        printer.setPageMargins(QMarginsF(points, points, points, points), QPageLayout::Point);
        printSettings().FontName = QStringLiteral("Arial");
        printSettings().FontSize = 10;
    }

    // Prints one page and reads its words back.
    QList<PdfWord> drukuj(StronyNadruku &strony, int strona)
    {
        drukarka.DrukujDoPliku(plik());
        strony.Drukuj(strona);
        return pdfWords(plik());
    }
    QList<PdfWord> kalibruj(StronyNadruku &strony, int strona)
    {
        drukarka.DrukujDoPliku(plik());
        strony.Kalibruj(strona);
        return pdfWords(plik());
    }
    QString plik() const { return katalog.filePath(QStringLiteral("strona.pdf")); }

    QTemporaryDir katalog;
    Drukarka drukarka;
};
