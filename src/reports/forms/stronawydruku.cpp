#include "reports/forms/stronawydruku.h"

#include "core/settingsfile.h"

#include <QFontMetricsF>
#include <QImage>

namespace {

// Text is measured at a high resolution, so that its millimetres do not
// depend on the device it will be drawn on.
constexpr int PomiarDpi = 1200;

// A comb stands this high over its base line, when the print font allows.
constexpr double WysokoscGrzebienia = 5;
// A comb's characters print only when its height holds a line of the font;
// this much more allows for rounding to the device's pixels.
constexpr double ZapasGrzebienia = 0.15;

const QImage &urzadzeniePomiaru()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_Mono);
        const int dotsPerMetre = qRound(PomiarDpi / 0.0254);
        i.setDotsPerMeterX(dotsPerMetre);
        i.setDotsPerMeterY(dotsPerMetre);
        return i;
    }();
    return image;
}

double pikseleNaMm(double piksele)
{
    return piksele * 25.4 / PomiarDpi;
}

} // namespace

TStronaWydruku::TStronaWydruku(QPageLayout::Orientation orientacja, QMarginsF marginesy)
    : Report(orientacja)
{
    Report.Margins = marginesy;
    m_band = &Report.AddBand(Report.PrintableSize().height());
    Report.BeforePrint = [this] { ReportBeforePrint(); };
}

QColor TStronaWydruku::KolorCieniowania()
{
    return printSettings().Cien ? QColor(235, 235, 235) : QColor(Qt::white);
}

TQRFont TStronaWydruku::CzcionkaDruku()
{
    const PrintSettings &ustawienia = printSettings();
    return TQRFont(ustawienia.FontName.isEmpty() ? QStringLiteral("Arial") : ustawienia.FontName,
                   ustawienia.FontSize > 0 ? ustawienia.FontSize : 10);
}

void TStronaWydruku::Cieniowany(TQRCustomPit *element)
{
    m_cieniowane.push_back([element](const QColor &kolor) { element->Brush.setColor(kolor); });
}

void TStronaWydruku::Cieniowany(TQRShape *element)
{
    m_cieniowane.push_back([element](const QColor &kolor) { element->Brush = QBrush(kolor); });
}

void TStronaWydruku::Cieniowany(TQRLabel *element)
{
    m_cieniowane.push_back([element](const QColor &kolor) { element->Color = kolor; });
}

void TStronaWydruku::Cieniowany(TQRSmartLabel *element)
{
    m_cieniowane.push_back([element](const QColor &kolor) { element->Color = kolor; });
}

void TStronaWydruku::Dane(TQRCustomPit *pole)
{
    m_dane.push_back([pole](const TQRFont &czcionka) { pole->Font = czcionka; });
}

void TStronaWydruku::Dane(TQRMemo *pole)
{
    m_dane.push_back([pole](const TQRFont &czcionka) { pole->Font = czcionka; });
}

void TStronaWydruku::ReportBeforePrint()
{
    const QColor kolor = KolorCieniowania();
    for (const auto &cieniuj : m_cieniowane)
        cieniuj(kolor);
    const TQRFont czcionka = CzcionkaDruku();
    for (const auto &ustaw : m_dane)
        ustaw(czcionka);
    DopasujGrzebienie();
    Wypelnij();
}

QRectF TStronaWydruku::RamkaGrzebienia(PunktPola punkt, int miejsc, double szerokoscMiejsca,
                                       std::optional<double> dol)
{
    const double podstawa = dol.value_or(punkt.y + WysokoscGrzebienia);
    const double gora = std::min<double>(punkt.y, podstawa - WysokoscMm(CzcionkaWzorcowa()) - ZapasGrzebienia);
    return QRectF(LewaGrzebienia(punkt, szerokoscMiejsca), gora, miejsc * szerokoscMiejsca, podstawa - gora);
}

void TStronaWydruku::DaneGrzebienia(TQRCustomPit *grzebien)
{
    Dane(grzebien);
    m_grzebienie.push_back({grzebien, grzebien->Height});
}

// The base line stays where the form has it; the top rises with the font.
void TStronaWydruku::DopasujGrzebienie()
{
    for (const GrzebienDanych &g : m_grzebienie) {
        const double dol = g.Pole->Top + g.Pole->Height;
        g.Pole->Height = std::max(g.Wysokosc, WysokoscMm(g.Pole->Font) + ZapasGrzebienia);
        g.Pole->Top = dol - g.Pole->Height;
    }
}

double TStronaWydruku::SzerokoscMm(const QFont &font, const QString &text)
{
    return pikseleNaMm(QFontMetricsF(font, &urzadzeniePomiaru()).horizontalAdvance(text));
}

double TStronaWydruku::WysokoscMm(const QFont &font)
{
    return pikseleNaMm(QFontMetricsF(font, &urzadzeniePomiaru()).height());
}

// A text box prints its text a caption letter's width from its left edge,
// on the line that ends just above its bottom edge.
QRectF TStronaWydruku::RamkaTekstu(PunktPola punkt, double szerokosc, double wysokosc)
{
    const TQRTextBox wzor;
    const double lewy = punkt.x - SzerokoscMm(wzor.CaptionFont, QString(wzor.ZnakOdstepuDol));
    const double dol = punkt.y + WysokoscMm(CzcionkaWzorcowa());
    return QRectF(lewy, dol - wysokosc, szerokosc, wysokosc);
}

// An amount box ends its amount a caption letter's width before its right
// edge, a sixth of a caption line above its bottom edge.
QRectF TStronaWydruku::RamkaKwoty(PunktPola punkt, double szerokosc, double wysokosc)
{
    const TQRTextBox wzor;
    const double prawy = punkt.x + SzerokoscMm(wzor.CaptionFont, QString(wzor.ZnakOdstepuDol));
    const double dol = punkt.y + WysokoscMm(CzcionkaWzorcowa())
                       + WysokoscMm(wzor.CaptionFont) / 6;
    return QRectF(prawy - szerokosc, dol - wysokosc, szerokosc, wysokosc);
}

double TStronaWydruku::LewaGrzebienia(PunktPola punkt, double szerokoscMiejsca)
{
    return punkt.x - (szerokoscMiejsca - SzerokoscMm(CzcionkaWzorcowa(), QStringLiteral("0"))) / 2;
}

TQRFont TStronaWydruku::CzcionkaWzorcowa()
{
    return TQRFont(QStringLiteral("Arial"), 10);
}
