#include "overprint/ramkastrony.h"

#include "core/settingsfile.h"
#include "data/tdm.h"

#include <QFont>
#include <QPen>

RamkaStrony::RamkaStrony(Drukarka &drukarka, TDM &dm, const FormularzNadruku &formularz,
                         const QString &tytul, int strona)
    : m_formularz(formularz), m_dokument(drukarka, tytul, formularz.orientacja), m_prn(m_dokument.Plotno()),
      m_korekty(dm.Korekty(formularz.formularzKorekt))
{
    m_prn.SetDpiX(m_dokument.DpiX());
    m_prn.SetDpiY(m_dokument.DpiY());
    const PrintSettings &ustawienia = printSettings();
    QFont czcionka(ustawienia.FontName);
    if (ustawienia.FontSize > 0)
        czcionka.setPointSize(ustawienia.FontSize);
    m_dokument.Plotno().setFont(czcionka);
    m_prn.UpperOn();
    const QPoint przesuniecie = m_dokument.Przesuniecie();
    m_poczatek = {m_prn.MmToX(dm.MarginesLewy(formularz.formularzMarginesow, strona)) - przesuniecie.x(),
                  m_prn.MmToY(dm.MarginesGorny(formularz.formularzMarginesow, strona)) - przesuniecie.y()};
}

QPoint RamkaStrony::Punkt(int pole, float extraXMm, float extraYMm)
{
    const PunktPola punkt = PunktZTabeli(m_formularz.tabela, pole);
    const QPoint korekta = m_korekty.value(pole);
    const float x = punkt.x + static_cast<float>(korekta.x()) + extraXMm;
    const float y = punkt.y + static_cast<float>(korekta.y()) + extraYMm;
    return QPoint(m_prn.MmToX(x), m_prn.MmToY(y)) + m_poczatek;
}

QPoint RamkaStrony::PunktNaArkuszu(int pole)
{
    QPoint punkt = Punkt(pole);
    punkt.setY(std::max(punkt.y(), 0));
    return punkt;
}

void RamkaStrony::Krzyzyk(int pole, float extraYMm)
{
    const QPoint p = Punkt(pole, 0, extraYMm);
    const int ramie = m_prn.MmToX(1.5f);
    QPainter &plotno = m_dokument.Plotno();
    plotno.setPen(QPen(Qt::black, m_prn.MmToX(0.2f)));
    plotno.drawLine(p.x() - ramie, p.y(), p.x() + ramie, p.y());
    plotno.drawLine(p.x(), p.y() - ramie, p.x(), p.y() + ramie);
    m_prn.PrintText(p.x() + m_prn.MmToX(1), p.y() + m_prn.MmToY(0.5f), QString::number(pole));
}
