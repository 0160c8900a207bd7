#include "reports/formparts/qrcombs.h"

#include "core/common.h"
#include "reports/formparts/comb.h"

TQRPlotek::TQRPlotek()
{
    Width = 21;
}

void TQRPlotek::setIlosc(int places)
{
    if (places >= 1 && places <= 100)
        m_ilosc = places;
}

void TQRPlotek::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    PrintComb(PageCanvas(), frame, EvenComb(frame, m_ilosc), Text);
}

TQRNIP::TQRNIP()
{
    Width = 65;
}

void TQRNIP::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    const std::vector<TCombGroup> comb = EvenComb(frame, Miejsc);
    TQRCanvas &canvas = PageCanvas();
    DrawComb(canvas, frame, comb);
    if (!CombHoldsText(canvas, frame))
        return;
    const int p = comb.front().PlaceWidth;
    int place = 0;
    for (const QChar character : NIP) {
        const QString glyph(character);
        const bool dash = character == QLatin1Char('-');
        const int xa = frame.Left + place * p;
        canvas.TextOut(CentredInPlace(xa, dash ? xa : xa + p, canvas.TextWidth(glyph)), frame.Top, glyph);
        if (!dash)
            ++place;
    }
}

TQRMonth::TQRMonth()
{
    Width = 11;
}

void TQRMonth::setMonth(int month)
{
    if (month >= 0 && month < 100)
        m_month = month;
}

void TQRMonth::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    const QString text = m_month == 0 && !PrintZero
                             ? QStringLiteral("  ")
                             : QStringLiteral("%1").arg(m_month, 2, 10, QLatin1Char('0'));
    PrintComb(PageCanvas(), frame, EvenComb(frame, 2), text);
}

TQRYear::TQRYear()
{
    Width = 22;
}

void TQRYear::setYear(int year)
{
    if (year == 0 || (year >= 1901 && year <= 2099))
        m_year = year;
}

void TQRYear::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    const QString text = m_year == 0 ? QStringLiteral("    ") : QString::number(m_year);
    PrintComb(PageCanvas(), frame, EvenComb(frame, 4), text);
}

TQRDate::TQRDate()
{
    Width = 48;
}

void TQRDate::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    // Eighteen units: two places of two units each for the day and the
    // month, four for the year, and a unit of gap between the groups.
    const int u = frame.Width() / 18;
    const std::vector<TCombGroup> groups{
        {frame.Left, 2, 2 * u}, {frame.Left + 5 * u, 2, 2 * u}, {frame.Left + 10 * u, 4, 2 * u}};
    // The program's zero date (30-12-1899) is no date as well.
    const QString text = DataNaTekst(Date).isEmpty() ? QString() : Date.toString(QStringLiteral("ddMMyyyy"));
    PrintComb(PageCanvas(), frame, groups, text);
}
