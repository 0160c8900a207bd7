#pragma once

#include "reports/forms/vzm1_1prev.h"
#include "reports/forms/vzm1_2prev.h"
#include "reports/forms/vzm1_3prev.h"
#include "reports/forms/vzm1_4prev.h"
#include "reports/forms/vzmab_1_3prev.h"
#include "reports/forms/vzmab_2_3prev.h"
#include "reports/forms/rozliczenieprev.h"
#include "reports/engine/qrcomposite.h"

#include <memory>

class QWidget;
class TDM;
enum class ZrodloRozliczenia;

// The complete printed application: its four pages joined in order, with
// the duplex setting of the print settings. The pages read the application
// model every time they are drawn.
class WydrukWniosku
{
public:
    explicit WydrukWniosku(TVzm_3 &vzm);
    const TQRComposite &Raport() const { return m_raport; }
    // The suggested name of its PDF file: the form and the taxpayer.
    QString NazwaPliku() const;

private:
    TVzm_3 &m_vzm;
    TVzm1_1Prev m_strona1;
    TVzm1_2Prev m_strona2;
    TVzm1_3Prev m_strona3;
    TVzm1_4Prev m_strona4;
    TQRComposite m_raport;
};

// The complete printed attachment: its two pages.
class WydrukZalacznika
{
public:
    explicit WydrukZalacznika(TVZMab &zalacznik);
    const TQRComposite &Raport() const { return m_raport; }
    QString NazwaPliku() const;

private:
    TVZMab &m_zal;
    TVZMab_1_3Prev m_strona1;
    TVZMab_2_3Prev m_strona2;
    TQRComposite m_raport;
};

// The printed explanation of the refund of the application in the model:
// as many pages as its lines take (one or two at the print font's sizes).
class WydrukRozliczenia
{
public:
    WydrukRozliczenia(TDM &dm, TVzm_3 &vzm, ZrodloRozliczenia zrodlo);
    const TQRComposite &Raport() const { return m_raport; }
    QString NazwaPliku() const;
    int LiczbaStron() const { return int(m_strony.size()); }

private:
    TVzm_3 &m_vzm;
    std::vector<std::unique_ptr<TRozliczeniePrev>> m_strony;
    TQRComposite m_raport;
};

// Shows a printout in the preview, from which the user prints it or saves
// it as a PDF file; a file that cannot be written is told through the data
// module's message boxes.
void PokazPodglad(const TQRComposite &raport, const QString &nazwaPliku, TDM &dm, QWidget *parent);
