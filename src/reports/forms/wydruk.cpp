#include "reports/forms/wydruk.h"

#include "core/settingsfile.h"
#include "data/tdm.h"
#include "reports/engine/qrpreview.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"
#include "vzm/rozliczenie.h"

#include <QDir>
#include <QRegularExpression>

namespace {

// A file name from the form and the person, without characters that file
// systems refuse.
QString nazwaPliku(const QString &formularz, const QString &nazwisko, const QString &imie)
{
    static const QRegularExpression zabronione(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    QString nazwa = QStringLiteral("%1 %2 %3").arg(formularz, nazwisko, imie).simplified();
    nazwa.replace(zabronione, QStringLiteral("_"));
    return nazwa + QStringLiteral(".pdf");
}

} // namespace

WydrukWniosku::WydrukWniosku(TVzm_3 &vzm)
    : m_vzm(vzm), m_strona1(vzm), m_strona2(vzm), m_strona3(vzm), m_strona4(vzm)
{
    for (TStronaWydruku *strona : std::initializer_list<TStronaWydruku *>{&m_strona1, &m_strona2, &m_strona3, &m_strona4})
        m_raport.Add(strona->Report);
    m_raport.Duplex = printSettings().Duplex;
    m_raport.Title = QStringLiteral("VZM-1");
}

QString WydrukWniosku::NazwaPliku() const
{
    return nazwaPliku(QStringLiteral("VZM-1"), m_vzm.Nazwisko, m_vzm.Imie);
}

WydrukZalacznika::WydrukZalacznika(TVZMab &zalacznik)
    : m_zal(zalacznik), m_strona1(zalacznik), m_strona2(zalacznik)
{
    m_raport.Add(m_strona1.Report);
    m_raport.Add(m_strona2.Report);
    m_raport.Duplex = printSettings().Duplex;
    m_raport.Title = zalacznik.Symbol();
}

QString WydrukZalacznika::NazwaPliku() const
{
    return nazwaPliku(QStringLiteral("%1 nr %2").arg(m_zal.Symbol()).arg(m_zal.NrZal()),
                      m_zal.Nazwisko(), m_zal.Imie());
}

WydrukRozliczenia::WydrukRozliczenia(TDM &dm, TVzm_3 &vzm, ZrodloRozliczenia zrodlo) : m_vzm(vzm)
{
    const TRozliczenieZwrotu rozliczenie(dm, vzm, zrodlo);
    int wiersz = 0;
    do {
        m_strony.push_back(std::make_unique<TRozliczeniePrev>(rozliczenie, wiersz, int(m_strony.size()) + 1));
        wiersz = m_strony.back()->DoWiersza();
    } while (wiersz < rozliczenie.Wiersze().size());
    for (const auto &strona : m_strony) {
        strona->UstawLiczbeStron(LiczbaStron());
        m_raport.Add(strona->Report);
    }
    m_raport.Duplex = printSettings().Duplex;
    m_raport.Title = QStringLiteral("Rozliczenie zwrotu");
}

QString WydrukRozliczenia::NazwaPliku() const
{
    return nazwaPliku(QStringLiteral("Rozliczenie zwrotu"), m_vzm.Nazwisko, m_vzm.Imie);
}

void PokazPodglad(const TQRComposite &raport, const QString &nazwaPliku, TDM &dm, QWidget *parent)
{
    TQRPreview podglad(raport, QDir(pdfFolder()).filePath(nazwaPliku), [&dm](const QString &komunikat) { dm.Uwaga(komunikat); }, parent);
    podglad.Exec();
}
