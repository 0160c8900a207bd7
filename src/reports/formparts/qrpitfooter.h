#pragma once

#include "reports/formparts/qrcustompit.h"

#include <QString>

// The tax forms whose footer the program can print, numbered from 0.
enum TFormularz {
    fmPit4, fmPit4R, fmPit5, fmPit5L, fmPit5A, fmPit5X, fmPit13, fmPit28, fmPit36, fmPit36L,
    fmPit37, fmPit38, fmPit39, fmPitB, fmPitD, fmPit2K, fmPitM, fmPitO, fmPit28A, fmPit28B,
    fmNip1, fmNip2, fmNip3, fmNip1A, fmNip2A, fmNipB, fmNipC, fmNipD, fmVat7, fmVatR,
    fmVatRUE, fmVatUE, fmVatUEA, fmVatUEB, fmVatUEC, fmIft1, fmCit2, fmSSER, fmVZM1, fmVZM1A,
    fmVZM1B, fmVZM1C, fmPitAZ, fmAZO, fmCit8, fmCit8O, fmUpl1, fmVat12, fmVat7K,
};

// The footer of a form's page: a frame divided at two thirds, the form's
// symbol in bold with its version in small type on the left ("VZM-1 (5)"),
// the page number in bold with the page count in small type on the right
// ("2 /4"). The form sets the symbol and the page count; for some forms the
// count depends on the version as well.
class TQRPitFooter : public TQRCustomPit
{
public:
    TQRPitFooter();

    TFormularz Formularz() const { return m_formularz; }
    // Takes the form's symbol and page count (the count for the current
    // version) and lowers a page number above the new count.
    void setFormularz(TFormularz formularz);

    const QString &Version() const { return m_version; }
    // Recounts the pages of the few forms whose count depends on the version;
    // the page number stays as it is.
    void setVersion(const QString &version);

    int PageNo() const { return m_pageNo; }
    void setPageNo(int pageNo); // from 1; lower values are ignored

    const QString &Symbol() const { return m_symbol; }
    int PageCount() const { return m_pageCount; }

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    TFormularz m_formularz = fmPit28;
    QString m_version = QStringLiteral("9");
    int m_pageNo = 1;
    QString m_symbol = QStringLiteral("PIT-28");
    int m_pageCount = 4;
};
