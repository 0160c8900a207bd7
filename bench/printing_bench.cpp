#include "printing_bench.h"

#include "generator.h"
#include "timing.h"

#include "core/common.h"
#include "core/settingsfile.h"
#include "data/tdm.h"
#include "overprint/drukarka.h"
#include "overprint/nadrukwniosku.h"
#include "overprint/nadrukzalacznika.h"
#include "overprint/wspolrzedne.h"
#include "reports/forms/wydruk.h"
#include "reports/engine/qrpreview.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

constexpr int Invoices = 513;
constexpr int Attachments = 19;
constexpr int Dpi = 600;

int pixels(float mm)
{
    return qRound(mm * Dpi / 25.4);
}

// The plainest way to put texts at points: one PDF writer per page, each
// text drawn where its field's point is (with the cell's top at the point),
// character by character where the overprint lays characters into boxes.
class BarePages
{
public:
    explicit BarePages(const QString &directory) : m_directory(directory) {}

    void page(QPageLayout::Orientation orientation, const std::function<void()> &draw)
    {
        QPdfWriter writer(QStringLiteral("%1/bare-%2.pdf").arg(m_directory).arg(++m_pages));
        writer.setResolution(Dpi);
        writer.setPageOrientation(orientation);
        writer.setPageMargins({});
        QPainter painter(&writer);
        painter.setFont(QFont(QStringLiteral("Arial"), 10));
        m_painter = &painter;
        m_ascent = painter.fontMetrics().ascent();
        draw();
        m_painter = nullptr;
    }
    void text(PunktPola p, const QString &text, float pitchMm = 0)
    {
        if (pitchMm == 0) {
            m_painter->drawText(pixels(p.x), pixels(p.y) + m_ascent, text);
            return;
        }
        for (qsizetype i = 0; i < text.size(); ++i)
            m_painter->drawText(pixels(p.x + i * pitchMm), pixels(p.y) + m_ascent, text.mid(i, 1));
    }

private:
    QString m_directory;
    int m_pages = 0;
    QPainter *m_painter = nullptr;
    int m_ascent = 0;
};

void drawApplicationBare(BarePages &bare, TVzm_3 &vzm)
{
    bare.page(QPageLayout::Portrait, [&] {
        bare.text(WspVzm1[0], TylkoCyfry(vzm.NIP()), 5.27f);
        bare.text({WspVzm1[0].x, WspVzm1[0].y + 8}, vzm.Pesel(), 5.27f);
        const QString *texts[] = {&vzm.Nazwisko, &vzm.Imie, &vzm.Dokument, &vzm.Kraj, &vzm.Wojew,
                                  &vzm.Powiat, &vzm.Gmina, &vzm.Ulica, &vzm.Posesja, &vzm.Lokal,
                                  &vzm.Miasto, &vzm.KodPoczt, &vzm.Poczta};
        int field = 9;
        for (const QString *t : texts)
            bare.text(WspVzm1[field++ - 1], t->toUpper());
        bare.text(WspVzm1[5], vzm.Urzad.toUpper());
    });
    bare.page(QPageLayout::Portrait, [&] {
        for (int field = 45; field <= 54; ++field)
            if (field != 46)
                bare.text(WspVzm1[field - 1], Kwota2(vzm.GetPole(field)));
    });
    bare.page(QPageLayout::Portrait, [&] {
        bare.text(WspVzm1[54], Kwota0(vzm.GetPole(55)));
        bare.text(WspVzm1[76], vzm.Konto(), 5.25f);
        for (int field = 59; field <= 64; ++field)
            bare.text(WspVzm1[field - 1], Kwota0(vzm.GetPole(field)));
    });
    bare.page(QPageLayout::Portrait, [&] {});
}

void drawAttachmentBare(BarePages &bare, const TVZMab &zal)
{
    const auto rows = [&](int from, int to) {
        for (int k = from; k <= to; ++k) {
            const int first = TVZMab::PierwszaKratka(k);
            for (int box = first; box < first + 6; ++box)
                bare.text(WspVzmab[box - 1], zal.GetTekst(box), box == first + 2 ? 5.3f : 0);
            bare.text(WspVzmab[176 + k - 1], zal.GetLpFakt(k));
        }
    };
    bare.page(QPageLayout::Landscape, [&] {
        bare.text(WspVzmab[0], TylkoCyfry(zal.NIP()), 5.27f);
        bare.text(WspVzmab[3], zal.Nazwisko().toUpper());
        bare.text(WspVzmab[4], zal.Imie().toUpper());
        rows(1, 7);
    });
    bare.page(QPageLayout::Landscape, [&] {
        rows(8, TVZMab::Wierszy);
        for (int box = TVZMab::SumaBrutto; box <= TVZMab::SumaVatB; ++box)
            bare.text(WspVzmab[box - 1], zal.GetTekst(box));
    });
}

// Invoices `from` to `to` - 1 of list A of the application.
void addInvoices(TDM &dm, int vzmId, int from, int to)
{
    for (int i = from; i < to; ++i) {
        dm.Faktury.append();
        dm.Faktury.field(QStringLiteral("VzmId")).setInteger(vzmId);
        dm.Faktury.field(QStringLiteral("Oznacz")).setString(QStringLiteral("A"));
        dm.Faktury.field(QStringLiteral("NrFakt")).setString(QStringLiteral("FV/%1/2010").arg(i + 1));
        dm.Faktury.field(QStringLiteral("LpFakt")).setString(QStringLiteral("1, 2, 3"));
        dm.Faktury.field(QStringLiteral("DataWyst")).setDate(QDate(2010, 3, 1).addDays(i % 300));
        dm.Faktury.field(QStringLiteral("NipSprzed")).setString(QStringLiteral("526-025-02-74"));
        dm.Faktury.field(QStringLiteral("Brutto")).setMoney(Money::fromUnits(1000 + i));
        dm.Faktury.field(QStringLiteral("VatA")).setMoney(Money::fromUnits(180 + i % 50));
        dm.Faktury.post();
    }
}

// A new application of the taxpayer with `invoices` invoices in list A.
int newApplication(TDM &dm, int podatId, int invoices)
{
    dm.VzmyTbl.append();
    dm.VzmyTbl.field(QStringLiteral("PodatId")).setInteger(podatId);
    dm.VzmyTbl.field(QStringLiteral("NrKolej")).setInteger(99);
    dm.VzmyTbl.post();
    const int vzmId = dm.VzmyTbl.field(QStringLiteral("VzmId")).asInteger();
    addInvoices(dm, vzmId, 0, invoices);
    return vzmId;
}

// The overprint into PDF files, beside the bare pass.
void benchOverprint(Report &report, TDM &dm, TVzm_3 &vzm, const std::vector<std::unique_ptr<TVZMab>> &zalaczniki,
                    const QString &directory)
{
    Drukarka drukarka;
    drukarka.printer().setResolution(Dpi);
    drukarka.printer().setFullPage(true);
    NadrukWniosku wniosek(drukarka, dm, vzm);
    const double ours = medianMicros(5, [&] {
        drukarka.DrukujDoPliku(directory + QStringLiteral("/nadruk.pdf"));
        for (int strona = 1; strona <= 4; ++strona)
            wniosek.Drukuj(strona);
        for (auto &zal : zalaczniki) {
            NadrukZalacznika nadruk(drukarka, dm, *zal);
            nadruk.Drukuj(1);
            nadruk.Drukuj(2);
        }
    });
    const double bare = medianMicros(5, [&] {
        BarePages pages(directory);
        drawApplicationBare(pages, vzm);
        for (auto &zal : zalaczniki)
            drawAttachmentBare(pages, *zal);
    });
    report.add(QStringLiteral("Nadruk: wniosek i 19 załączników (513 faktur)"), ours, bare);
}

// The complete forms of the application and its attachments in one PDF,
// beside the same drawing replayed from a recording onto a PDF writer.
void benchCompleteForms(Report &report, TVzm_3 &vzm, const std::vector<std::unique_ptr<TVZMab>> &zalaczniki,
                        const QString &directory)
{
    const WydrukWniosku wniosek(vzm);
    std::vector<std::unique_ptr<WydrukZalacznika>> wydrukiZalacznikow;
    TQRComposite wszystko;
    for (TQRReport *page : wniosek.Raport().Pages())
        wszystko.Add(*page);
    for (auto &zal : zalaczniki) {
        wydrukiZalacznikow.push_back(std::make_unique<WydrukZalacznika>(*zal));
        for (TQRReport *page : wydrukiZalacznikow.back()->Raport().Pages())
            wszystko.Add(*page);
    }
    const QString file = directory + QStringLiteral("/formularze.pdf");
    const double ours = medianMicros(5, [&] { wszystko.ExportPdf(file); });

    // What the engine draws on each page, recorded once at the writer's resolution.
    const TQRPageScale scale(Dpi, Dpi);
    std::vector<QPicture> recorded(wszystko.Pages().size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        QPainter painter(&recorded[i]);
        wszystko.Pages()[i]->Render(painter, scale);
    }
    const double bare = medianMicros(5, [&] {
        QPdfWriter writer(directory + QStringLiteral("/bare-formularze.pdf"));
        writer.setResolution(Dpi);
        writer.setPageMargins({});
        QPainter painter;
        for (std::size_t i = 0; i < recorded.size(); ++i) {
            writer.setPageOrientation(wszystko.Pages()[i]->Orientation);
            if (i == 0)
                painter.begin(&writer);
            else
                writer.newPage();
            painter.drawPicture(0, 0, recorded[i]);
        }
    });
    report.add(QStringLiteral("Wydruk pełny: wniosek i 19 załączników do PDF"), ours, bare);
}

// From opening the preview until it shows the first page of the application.
double previewMicros(TVzm_3 &vzm)
{
    return medianMicros(5, [&] {
        const WydrukWniosku wydruk(vzm);
        TQRPreview preview(wydruk.Raport(), wydruk.NazwaPliku(), [](const QString &) {});
        preview.Dialog().show();
        auto *widget = preview.Dialog().findChild<QPrintPreviewWidget *>();
        while (widget->pageCount() == 0)
            QApplication::processEvents();
        preview.Dialog().hide();
    });
}

} // namespace

void benchPrinting(Report &report, TDM &dm, int podatId, int vzmId)
{
    auto transaction = dm.transaction(); // never committed: the register stays as it was
    TVzm_3 vzm(dm);
    // An application of one attachment first, for the preview.
    const int maly = newApplication(dm, podatId, 27);
    vzm.Wczytaj(podatId, maly);
    const double previewSmall = previewMicros(vzm);

    addInvoices(dm, vzmId, GeneratedRegister::BusyApplicationInvoices, Invoices);
    printSettings().FontName = QStringLiteral("Arial");
    printSettings().FontSize = 10;
    vzm.Wczytaj(podatId, vzmId);
    std::vector<std::unique_ptr<TVZMab>> zalaczniki;
    for (int nr = 1; nr <= Attachments; ++nr) {
        zalaczniki.push_back(std::make_unique<TVZMab>(dm));
        zalaczniki.back()->Wczytaj(podatId, vzmId, 1, nr);
    }
    QTemporaryDir directory;
    benchOverprint(report, dm, vzm, zalaczniki, directory.path());
    benchCompleteForms(report, vzm, zalaczniki, directory.path());
    report.add(QStringLiteral("Podgląd wniosku: 19 załączników / 1 załącznik"), previewMicros(vzm), previewSmall);
}
