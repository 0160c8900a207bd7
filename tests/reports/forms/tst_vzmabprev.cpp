#include "core/settingsfile.h"
#include "overprint/drukdopdf.h"
#include "overprint/fontform.h"
#include "overprint/nadrukzalacznika.h"
#include "overprint/wspolrzedne.h"
#include "reports/forms/vzmab_1_3prev.h"
#include "reports/forms/vzmab_2_3prev.h"
#include "reports/engine/qrcomposite.h"
#include "support/formdata.h"
#include "support/pdfwords.h"
#include "vzm/attachmentmodel.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Words of one page, with their text lines put back together: the words of a
// line that follow one another closely (as within one cell of the form).
struct Strona
{
    QList<PdfWord> slowa;

    // The words whose box starts within tolerance of the point.
    QString od(PunktPola p, double tolerancja = 1.0) const { return wordsAt(slowa, p.x, p.y, tolerancja); }

    // The phrases of a page: words on the same line with less than 2.5 mm
    // between them, each with the box around them; top to bottom, and left
    // to right on a line.
    QList<PdfWord> frazy() const
    {
        QList<PdfWord> posortowane = slowa;
        std::sort(posortowane.begin(), posortowane.end(),
                  [](const PdfWord &a, const PdfWord &b) { return a.mm.left() < b.mm.left(); });
        QList<PdfWord> frazy;
        for (const PdfWord &w : posortowane) {
            const auto dalej = std::find_if(frazy.begin(), frazy.end(), [&](const PdfWord &f) {
                return qAbs(f.mm.top() - w.mm.top()) <= 0.3 && w.mm.left() >= f.mm.right() - 0.1
                       && w.mm.left() - f.mm.right() < 2.5;
            });
            if (dalej == frazy.end()) {
                frazy << w;
                continue;
            }
            dalej->text += u' ' + w.text;
            dalej->mm = dalej->mm.united(w.mm);
        }
        std::stable_sort(frazy.begin(), frazy.end(),
                         [](const PdfWord &a, const PdfWord &b) { return a.mm.top() < b.mm.top() - 0.3; });
        return frazy;
    }

    // The phrases whose middle lies in the area.
    QList<PdfWord> frazyW(const QRectF &obszar) const
    {
        QList<PdfWord> wynik;
        for (const PdfWord &f : frazy())
            if (obszar.contains(f.mm.center()))
                wynik << f;
        return wynik;
    }

    QStringList tekstyW(const QRectF &obszar) const
    {
        QStringList teksty;
        for (const PdfWord &f : frazyW(obszar))
            teksty << f.text;
        return teksty;
    }

    // The phrases of an area one line high, left to right (a line's amounts
    // stand a little higher than its texts).
    QStringList linia(const QRectF &obszar) const
    {
        QList<PdfWord> wLinii = frazyW(obszar);
        std::sort(wLinii.begin(), wLinii.end(), [](const PdfWord &a, const PdfWord &b) { return a.mm.left() < b.mm.left(); });
        QStringList teksty;
        for (const PdfWord &f : wLinii)
            teksty << f.text;
        return teksty;
    }

    // The characters of a comb in the area, read left to right.
    QString grzebien(const QRectF &obszar) const { return linia(obszar).join(QString()).remove(u' '); }

    // The phrase with this text, or an empty one.
    PdfWord fraza(const QString &tekst) const
    {
        for (const PdfWord &f : frazy())
            if (f.text == tekst)
                return f;
        return {};
    }
};

PunktPola punkt(int pole)
{
    return PunktZTabeli(WspVzmab, pole);
}


// The line of data of an attachment's row: where its texts start, from the
// left edge of the form to the right one.
QRectF liniaWiersza(int wiersz)
{
    const PunktPola p = punkt(TVZMab::PierwszaKratka(wiersz));
    return QRectF(p.x - 5, p.y - 1, 285, 5);
}

const QString FakturaNip = u"526-025-02-74"_s;

// The identifiers' places: the pitch of the overprint's boxes.
constexpr double MiejsceIdentyfikatora = 58.0 / 11;

// The fields of an attachment grouped by how they are tied to their points.
struct GrupaPol
{
    QString nazwa;
    int strona;
    QList<int> pola;
    // "left", "right", "amount", or "date": a date of the second page, left
    // aligned, starts where a date of the default font ending at the point starts.
    QString kotwica;
};

QList<GrupaPol> grupyPol()
{
    QList<int> numery[2], daty[2], nipy[2], kwoty[2], pozycje[2];
    for (int k = 1; k <= TVZMab::Wierszy; ++k) {
        const int s = k <= 7 ? 0 : 1;
        const int b = TVZMab::PierwszaKratka(k);
        numery[s] << b;
        daty[s] << b + 1;
        nipy[s] << b + 2;
        kwoty[s] << b + 3 << b + 4 << b + 5;
        pozycje[s] << 176 + k;
    }
    QList<GrupaPol> grupy{{u"identifiers"_s, 1, {1, 6, 2, 10}, u"left"_s},
                          {u"attachment number"_s, 1, {3}, u"left"_s},
                          {u"names and documents"_s, 1, {4, 5, 7, 8, 9, 11}, u"left"_s}};
    for (int s = 0; s < 2; ++s) {
        const QString strona = s == 0 ? u" on page 1"_s : u" on page 2"_s;
        grupy << GrupaPol{u"invoice numbers"_s + strona, s + 1, numery[s], u"left"_s}
              << GrupaPol{u"item numbers"_s + strona, s + 1, pozycje[s], u"left"_s}
              << GrupaPol{u"dates"_s + strona, s + 1, daty[s], s == 0 ? u"right"_s : u"date"_s}
              << GrupaPol{u"sellers' NIP"_s + strona, s + 1, nipy[s], u"left"_s}
              << GrupaPol{u"amounts"_s + strona, s + 1, kwoty[s], u"amount"_s};
    }
    grupy << GrupaPol{u"totals"_s, 2, {174, 175, 176}, u"amount"_s};
    return grupy;
}

// The width of a date in Arial 10.
constexpr double DataMm = 18.0;

// The height of "Suma" in 10 points bold, as pdftotext reads it.
constexpr double SumaMm = 4.0;

} // namespace

class TestVzmabPrev : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TVZMab> zal;
    int podatId = 0;
    int vzmId = 0;
    QTemporaryDir katalog;

    // n invoices in the list: invoice i is "FV/i" of 2 + i January 2010 with
    // the gross amount 30 i + 0,17, VAT 5 i + 0,33 in column 5 and i + 0,55 in
    // column 6 (all different, none of them with thousands), and the item
    // numbers pozycje(i).
    void dodajFaktury(const QString &lista, int n, const std::function<QString(int)> &pozycje)
    {
        auto t = db->dm.transaction();
        for (int i = 1; i <= n; ++i)
            db->addInvoice(vzmId, lista,
                           {{u"NrFakt"_s, u"FV/%1"_s.arg(i)},
                            {u"LpFakt"_s, pozycje(i)},
                            {u"DataWyst"_s, QDate(2010, 1, 1).addDays(i)},
                            {u"NipSprzed"_s, FakturaNip},
                            {u"Brutto"_s, QVariant::fromValue(Money::parse(u"%1,17"_s.arg(30 * i)).value())},
                            {u"VatA"_s, QVariant::fromValue(Money::parse(u"%1,33"_s.arg(5 * i)).value())},
                            {u"VatB"_s, QVariant::fromValue(Money::parse(u"%1,55"_s.arg(i)).value())}});
        t.commit();
    }
    void dodajFaktury(const QString &lista, int n)
    {
        dodajFaktury(lista, n, [](int i) { return u"%1, 5 i 7"_s.arg(i); });
    }

    // Both pages of the loaded attachment as a PDF, read back. With
    // TARLEN_SHOTS naming a directory, the PDF is kept there as well.
    bool drukuj(Strona &pierwsza, Strona &druga, const QString &nazwa)
    {
        TVZMab_1_3Prev strona1(*zal);
        TVZMab_2_3Prev strona2(*zal);
        TQRComposite wydruk;
        wydruk.Add(strona1.Report);
        wydruk.Add(strona2.Report);
        const QString plik = katalog.filePath(nazwa + u".pdf"_s);
        if (!wydruk.ExportPdf(plik))
            return false;
        keepPdf(plik, u"vzmab-"_s + nazwa + u"-%1pt"_s.arg(printSettings().FontSize));
        pierwsza.slowa = pdfWords(plik, 1);
        druga.slowa = pdfWords(plik, 2);
        return !pierwsza.slowa.isEmpty() && !druga.slowa.isEmpty();
    }

    // The fonts embedded in a PDF, as pdffonts lists them.
    QString czcionkiPdf(const QString &nazwa)
    {
        QProcess pdffonts;
        pdffonts.start(u"pdffonts"_s, {katalog.filePath(nazwa + u".pdf"_s)});
        pdffonts.waitForFinished(60000);
        return QString::fromUtf8(pdffonts.readAllStandardOutput());
    }

    // One page drawn on a picture of 100 dpi; the colour at a point in mm.
    static QImage obraz(TQRReport &strona)
    {
        const QSizeF mm = strona.PaperSize();
        QImage image(qRound(mm.width() / 25.4 * 100), qRound(mm.height() / 25.4 * 100), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        strona.Render(painter, TQRPageScale(100, 100));
        return image;
    }
    static QColor kolor(const QImage &image, QPointF mm)
    {
        return image.pixelColor(qRound(mm.x() / 25.4 * 100), qRound(mm.y() / 25.4 * 100));
    }

private slots:
    void initTestCase()
    {
        // As the program does at start: the form's serif font is Liberation Serif here.
        QFont::insertSubstitution(u"MS Serif"_s, u"Liberation Serif"_s);
        QVERIFY(katalog.isValid());
    }

    void init()
    {
        printSettings() = PrintSettings{false, 0, 10, u"Arial"_s};
        db = std::make_unique<TestDatabase>();
        zal = std::make_unique<TVZMab>(db->dm);
        QVariantMap podatnik = pelnyPodatnik();
        podatnik.insert(u"Dokument"_s, u"paszport AB123"_s);
        podatnik.insert(u"MNIP"_s, NipMalzonka);
        podatnik.insert(u"MNazwisko"_s, u"Żółkiewska"_s);
        podatnik.insert(u"MImie"_s, u"Anna"_s);
        podatnik.insert(u"MPesel"_s, PeselMalzonka);
        podatnik.insert(u"MDokument"_s, u"dowód osobisty XYZ"_s);
        podatId = db->addTaxpayer(podatnik);
        vzmId = db->addApplication(podatId, {{u"NrKolej"_s, 1}});
    }
    void cleanup()
    {
        zal.reset();
        db.reset();
        printSettings() = PrintSettings{};
    }

    // Every value of a full attachment lands where the overprint puts it on
    // the official form, within a millimetre, in the default print font:
    // texts by their left top corner, dates and amounts by their right end
    // (amounts a millimetre above their point), combs by their first digit.
    void everyValueAtItsOverprintPoint_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<QList<int>>("pola");
        QTest::addColumn<QString>("kotwica"); // as GrupaPol::kotwica
        for (const GrupaPol &g : grupyPol())
            QTest::newRow(qPrintable(g.nazwa)) << g.strona << g.pola << g.kotwica;
    }
    void everyValueAtItsOverprintPoint()
    {
        QFETCH(int, strona);
        QFETCH(QList<int>, pola);
        QFETCH(QString, kotwica);
        dodajFaktury(u"A"_s, 27);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"full"_s));
        const QStringList bledy = bledyPol(strona == 1 ? s1 : s2, pola, kotwica, 1.0);
        QVERIFY2(bledy.isEmpty(), qPrintable(bledy.join(u'\n')));
    }

    // At every size of the print font the options offer, every data box of
    // both pages prints its value at its point across; a taller line may
    // rise above it.
    void everyValueAtEveryFontSize_data()
    {
        QTest::addColumn<int>("rozmiar");
        for (int rozmiar = TFontForm::NajmniejszyRozmiar; rozmiar <= TFontForm::NajwiekszyRozmiar; ++rozmiar)
            QTest::addRow("%d pt", rozmiar) << rozmiar;
    }
    void everyValueAtEveryFontSize()
    {
        QFETCH(int, rozmiar);
        printSettings().FontSize = rozmiar;
        dodajFaktury(u"A"_s, 27);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"size"_s));
        QStringList bledy;
        for (const GrupaPol &g : grupyPol())
            bledy << bledyPol(g.strona == 1 ? s1 : s2, g.pola, g.kotwica, 3.0);
        QVERIFY2(bledy.isEmpty(), qPrintable(bledy.join(u'\n')));
    }

    // Every character of the identifiers, of the attachment's number and of
    // the sellers' NIPs stands within a millimetre of where the overprint
    // puts it, both printouts read back.
    void combsCharacterByCharacter_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<int>("pole");
        QTest::addColumn<double>("dalej"); // the overprint's PESEL stands this far after the NIP's point
        QTest::addColumn<double>("szerokosc");
        QTest::newRow("taxpayer's NIP") << 1 << 1 << 0.0 << 58.0;
        QTest::newRow("taxpayer's PESEL") << 1 << 1 << 66.0 << 60.0;
        QTest::newRow("spouse's NIP") << 1 << 2 << 0.0 << 58.0;
        QTest::newRow("spouse's PESEL") << 1 << 2 << 66.0 << 60.0;
        QTest::newRow("attachment number") << 1 << 3 << 0.0 << 10.0;
        QTest::newRow("seller's NIP, row 1") << 1 << TVZMab::PierwszaKratka(1) + 2 << 0.0 << 58.0;
        QTest::newRow("seller's NIP, row 8") << 2 << TVZMab::PierwszaKratka(8) + 2 << 0.0 << 58.0;
        QTest::newRow("seller's NIP, row 27") << 2 << TVZMab::PierwszaKratka(27) + 2 << 0.0 << 58.0;
    }
    void combsCharacterByCharacter()
    {
        QFETCH(int, strona);
        QFETCH(int, pole);
        QFETCH(double, dalej);
        QFETCH(double, szerokosc);
        dodajFaktury(u"B"_s, 27);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"combs"_s));
        DrukDoPdf pdf;
        NadrukZalacznika nadruk(pdf.drukarka, db->dm, *zal);
        const QList<PdfWord> nadrukowane = pdf.drukuj(nadruk, strona);

        const PunktPola p{float(punkt(pole).x + dalej), punkt(pole).y};
        const auto wLinii = [&](const QList<PdfWord> &slowa) {
            QList<PdfWord> wynik;
            for (const PdfWord &w : slowa)
                if (qAbs(w.mm.top() - p.y) <= 1 && w.mm.left() >= p.x - 1 && w.mm.right() <= p.x + szerokosc)
                    wynik << w;
            std::sort(wynik.begin(), wynik.end(), [](const PdfWord &a, const PdfWord &b) { return a.mm.left() < b.mm.left(); });
            return wynik;
        };
        const QList<PdfWord> znakiNadruku = wLinii(nadrukowane);
        const QList<PdfWord> znakiWydruku = combCharacters(wLinii((strona == 1 ? s1 : s2).slowa));
        QVERIFY(znakiNadruku.size() >= 2);
        QStringList nadruku, wydruku, odchylenia;
        double najwieksze = 0;
        for (const PdfWord &w : znakiNadruku)
            nadruku << w.text;
        for (const PdfWord &w : znakiWydruku)
            wydruku << w.text;
        QCOMPARE(wydruku, nadruku);
        for (qsizetype i = 0; i < znakiNadruku.size(); ++i) {
            const double o = znakiWydruku[i].mm.left() - znakiNadruku[i].mm.left();
            najwieksze = std::max(najwieksze, qAbs(o));
            odchylenia << u"%1 %2"_s.arg(znakiNadruku[i].text).arg(o, 0, 'f', 2);
        }
        QVERIFY2(najwieksze <= 1.0, qPrintable(odchylenia.join(u", ")));
    }

    // Item numbers that need more than the row's three lines in the small
    // type go smaller, and cut with "…" where even that is not enough: never
    // below their row, never over the next one.
    void longItemNumbersStayInTheirRow_data()
    {
        QTest::addColumn<QString>("pozycje");
        QTest::addColumn<bool>("uciete");
        QStringList liczby;
        for (int i = 1; i <= 35; ++i)
            liczby << QString::number(i);
        QTest::newRow("35 numbers, smaller type") << liczby.join(u", "_s) << false;
        QTest::newRow("150 characters of capitals, cut") << QString(150, u'W') << true;
    }
    void longItemNumbersStayInTheirRow()
    {
        QFETCH(QString, pozycje);
        QFETCH(bool, uciete);
        // Rows 1, 7 and 8: the first under the table's head, the last of a
        // page, the first of the next; the rows under them stay empty.
        const auto dlugie = [](int i) { return i == 1 || i == 7 || i == 8; };
        dodajFaktury(u"C"_s, 9, [&](int i) { return dlugie(i) ? pozycje : QString(); });
        QVERIFY(zal->Wczytaj(podatId, vzmId, 3, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"long items"_s));
        for (int k : {1, 7, 8}) {
            const Strona &s = k <= 7 ? s1 : s2;
            const PunktPola p = punkt(176 + k);
            const PunktPola data = punkt(TVZMab::PierwszaKratka(k) + 1);
            // Column 1a of the row, one row's height (8.5 mm) from above the point.
            const QRectF kolumna(p.x - 1, p.y - 4.5, data.x - 18 - p.x, 8.5);
            QString tekst;
            // Every word in column 1a from the row's top down over the next
            // row (the notes of the form follow the last row of a page).
            const double ponizej = k == 7 ? 0 : 8;
            for (const PdfWord &w : s.slowa) {
                if (w.mm.left() < kolumna.left() || w.mm.left() > kolumna.right() || w.mm.top() < kolumna.top() - 0.2
                    || w.mm.top() > kolumna.bottom() + ponizej)
                    continue;
                QVERIFY2(kolumna.contains(w.mm), qPrintable(u"row %1: %2 at %3-%4"_s.arg(k).arg(w.text)
                                                                 .arg(w.mm.top()).arg(w.mm.bottom())));
                QVERIFY2(w.mm.height() < 2.1, qPrintable(QString::number(w.mm.height()))); // under 6 points
                tekst += w.text;
            }
            const QString bezSpacji = QString(pozycje).remove(u' ');
            if (uciete) {
                QVERIFY2(tekst.endsWith(u'…'), qPrintable(tekst));
                QVERIFY(tekst.size() > 20);
                QVERIFY(bezSpacji.startsWith(tekst.chopped(1)));
            } else {
                QCOMPARE(tekst, bezSpacji);
            }
        }
    }

    // What is wrong with the fields' values on a page, nothing when each is
    // where it belongs: within a millimetre across, `wPionie` down.
    QStringList bledyPol(const Strona &s, const QList<int> &pola, const QString &kotwica, double wPionie)
    {
        QStringList bledy;
        // What each field prints: its first character for the combs, the
        // whole text for the others (amounts read back as their last word,
        // after a thousands separator).
        const QMap<int, QString> naglowek{
            {1, NipPodatnika.left(1)}, {6, PeselPodatnika.left(1)}, {2, NipMalzonka.left(1)},
            {10, PeselMalzonka.left(1)}, {3, u"0"_s}, {4, u"ŻÓŁKIEWSKI"_s}, {5, u"ŁUKASZ"_s},
            {7, u"PASZPORT"_s}, {8, u"ŻÓŁKIEWSKA"_s}, {9, u"ANNA"_s}, {11, u"DOWÓD"_s}};
        for (int pole : pola) {
            const PunktPola p = punkt(pole);
            QString tekst = pole > 176 ? zal->GetLpFakt(pole - 176) : naglowek.value(pole, zal->GetTekst(pole));
            if (pole >= 12 && pole < 174 && (pole - 14) % 6 == 0)
                tekst = FakturaNip.left(1);
            const QString opis = u"field %1 (%2) at %3, %4"_s.arg(pole).arg(tekst).arg(p.x).arg(p.y);
            if (kotwica == u"left"_s) {
                // The first word starting near the point (a comb's digits may read as one word).
                const QString pierwsze = tekst.section(u' ', 0, 0);
                const bool jest = std::any_of(s.slowa.begin(), s.slowa.end(), [&](const PdfWord &w) {
                    return w.text.startsWith(pierwsze) && qAbs(w.mm.left() - p.x) <= 1 && qAbs(w.mm.top() - p.y) <= wPionie;
                });
                if (!jest)
                    bledy << opis + u": found \""_s + s.od(p) + u'"';
                continue;
            }
            tekst = tekst.split(Money::GroupSeparator).last();
            const double y = kotwica == u"amount"_s ? p.y - 1 : p.y;
            const auto krawedz = [&](const PdfWord &w) { return kotwica == u"date"_s ? w.mm.left() + DataMm : w.mm.right(); };
            bool jest = false;
            for (const PdfWord &w : s.slowa)
                jest = jest || (w.text == tekst && qAbs(krawedz(w) - p.x) <= 1 && qAbs(w.mm.top() - y) <= wPionie);
            if (!jest)
                bledy << opis + u": no such word ending there; at "_s + QString::number(findWord(s.slowa, tekst).mm.right())
                             + u", "_s + QString::number(findWord(s.slowa, tekst).mm.top());
        }
        return bledy;
    }

    // Three invoices fill rows 1 to 3; rows 4 to 27 stay empty; the second
    // page has the totals of the three.
    void threeInvoices()
    {
        dodajFaktury(u"A"_s, 3);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"three"_s));
        for (int k = 1; k <= 3; ++k) {
            const QString data = QDate(2010, 1, 1).addDays(k).toString(u"dd-MM-yyyy"_s);
            const QStringList wiersz = s1.linia(liniaWiersza(k));
            QCOMPARE(wiersz.first(), u"FV/%1"_s.arg(k));
            QVERIFY2(wiersz.contains(u"%1, 5 i 7"_s.arg(k)), qPrintable(wiersz.join(u'|')));
            QVERIFY2(wiersz.contains(data), qPrintable(wiersz.join(u'|')));
            QVERIFY2(wiersz.join(u' ').remove(u' ').contains(u"526-025-02-74"_s), qPrintable(wiersz.join(u'|')));
            QCOMPARE(wiersz.mid(wiersz.size() - 3),
                     (QStringList{u"%1,17"_s.arg(30 * k), u"%1,33"_s.arg(5 * k), u"%1,55"_s.arg(k)}));
        }
        for (int k = 4; k <= TVZMab::Wierszy; ++k)
            QVERIFY2((k <= 7 ? s1 : s2).linia(liniaWiersza(k)).isEmpty(),
                     qPrintable(u"row %1: "_s.arg(k) + (k <= 7 ? s1 : s2).linia(liniaWiersza(k)).join(u'|')));
        // 30 + 60 + 90 and 0,17 three times; 5 + 10 + 15 ...; 1 + 2 + 3 ...
        const PunktPola suma = punkt(174);
        QCOMPARE(s2.linia(QRectF(suma.x - 25, suma.y - 2, 95, 5)),
                 (QStringList{u"180,51"_s, u"30,99"_s, u"7,65"_s}));
        QCOMPARE(s1.tekstyW(QRectF(0, 0, 297, 9)), QStringList()); // nothing above the top margin
        for (const Strona *s : {&s1, &s2})
            QVERIFY(!s->fraza(u"POLTAX WYPEŁNIA OSOBA FIZYCZNA (ODPOWIEDNIO MAŁŻONEK)"_s).text.isEmpty());
        QCOMPARE(s2.fraza(u"Suma"_s).text, u"Suma"_s);
        QCOMPARE(s2.linia(QRectF(suma.x - 32, suma.y - 5, 100, 3)), (QStringList{u"172."_s, u"173."_s, u"174."_s}));
    }

    // The identification in capitals (Polish letters too), the identifiers as stored.
    void identification()
    {
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"identification"_s));
        for (const QString &tekst : {u"ŻÓŁKIEWSKI"_s, u"ŁUKASZ"_s, u"PASZPORT AB123"_s, u"ŻÓŁKIEWSKA"_s, u"ANNA"_s,
                                     u"DOWÓD OSOBISTY XYZ"_s})
            QVERIFY2(!s1.fraza(tekst).text.isEmpty(), qPrintable(tekst));
        const struct
        {
            int pole;
            int miejsc;
            QString tekst;
        } identyfikatory[] = {{1, 10, NipPodatnika}, {6, 11, PeselPodatnika}, {2, 10, NipMalzonka}, {10, 11, PeselMalzonka}};
        for (const auto &id : identyfikatory)
            QCOMPARE(s1.grzebien(QRectF(punkt(id.pole).x - 2, punkt(id.pole).y - 1, id.miejsc * MiejsceIdentyfikatora + 2, 5)),
                     id.tekst);
    }

    void listHeadingsAndFooter_data()
    {
        QTest::addColumn<int>("rodzaj");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("wykaz");
        QTest::addColumn<QString>("stawka");
        QTest::addColumn<QString>("wersja");
        QTest::newRow("A") << 1 << u"VZM-1/A"_s
                           << u"WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW ODLICZANYCH W RAMACH ULG MIESZKANIOWYCH,"_s
                           << u"OPODATKOWANYCH PODATKIEM VAT WG STAWKI 22%"_s << u"(4)"_s;
        QTest::newRow("B") << 2 << u"VZM-1/B"_s
                           << u"WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW NIEODLICZANYCH W RAMACH ULG MIESZKANIOWYCH,"_s
                           << u"OPODATKOWANYCH PODATKIEM VAT WG STAWKI 22%"_s << u"(4)"_s;
        QTest::newRow("C") << 3 << u"VZM-1/C"_s
                           << u"WYKAZ FAKTUR I WARTOŚCI PONIESIONYCH WYDATKÓW NIEODLICZANYCH W RAMACH ULG MIESZKANIOWYCH,"_s
                           << u"OPODATKOWANYCH PODATKIEM VAT WG STAWKI 23%"_s << u"(2)"_s;
    }
    void listHeadingsAndFooter()
    {
        QFETCH(int, rodzaj);
        QFETCH(QString, lista);
        QFETCH(QString, wykaz);
        QFETCH(QString, stawka);
        QFETCH(QString, wersja);
        QVERIFY(zal->Wczytaj(podatId, vzmId, rodzaj, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, lista.right(1)));
        QCOMPARE(s1.fraza(lista).text, lista);
        QVERIFY(s1.fraza(lista).mm.top() < s1.fraza(wykaz).mm.top());
        QVERIFY(s1.fraza(wykaz).mm.top() < s1.fraza(stawka).mm.top());
        QVERIFY(s1.fraza(stawka).mm.bottom() < s1.fraza(u"A. DANE IDENTYFIKACYJNE *)"_s).mm.top());
        // The heading lines are centred on each other.
        QVERIFY(qAbs(s1.fraza(wykaz).mm.center().x() - s1.fraza(stawka).mm.center().x()) < 1);
        // The footer: the symbol with its version, the page with the count.
        int numer = 1;
        for (const Strona *s : {&s1, &s2}) {
            const QStringList stopka = s->linia(QRectF(200, 190, 97, 10));
            QCOMPARE(stopka, (QStringList{lista, wersja, QString::number(numer), u"/2"_s}));
            ++numer;
        }
    }

    // Attachment 2 of a list carries invoices 28 and on, and prints 02 as its number.
    void secondAttachment()
    {
        dodajFaktury(u"B"_s, 30);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 2));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"second"_s));
        const PunktPola numer = punkt(3);
        QCOMPARE(s1.grzebien(QRectF(numer.x - 2, numer.y - 1, 12, 5)), u"02"_s);
        QCOMPARE(s1.linia(liniaWiersza(1)).first(), u"FV/28"_s);
        QCOMPARE(s1.linia(liniaWiersza(3)).first(), u"FV/30"_s);
        QVERIFY(s1.linia(liniaWiersza(4)).isEmpty());
        QVERIFY(s2.linia(liniaWiersza(8)).isEmpty());
    }

    // Item numbers that fit print on the row's line in the print font; longer
    // ones go word-wrapped in the small serif font inside the box.
    void itemNumbers_data()
    {
        QTest::addColumn<QString>("pozycje");
        QTest::addColumn<int>("linii");
        QTest::newRow("fit") << u"1, 5, 6 i 7"_s << 1;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("wrapped")
            << u"1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27"_s << 3;
    }
    void itemNumbers()
    {
        QFETCH(QString, pozycje);
        QFETCH(int, linii);
        dodajFaktury(u"C"_s, 8, [&](int) { return pozycje; });
        QVERIFY(zal->Wczytaj(podatId, vzmId, 3, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"items"_s));
        for (int k : {1, 8}) {
            const Strona &s = k == 1 ? s1 : s2;
            const PunktPola p = punkt(176 + k);
            const PunktPola data = punkt(TVZMab::PierwszaKratka(k) + 1);
            // Column 1a: from the item numbers' point to the date's column, within the row.
            const QRectF kolumna(p.x - 1, p.y - 4.5, data.x - 18 - p.x, 8.5);
            const QList<PdfWord> frazy = s.frazyW(kolumna);
            QStringList teksty;
            for (const PdfWord &f : frazy) {
                teksty << f.text;
                QVERIFY2(kolumna.contains(f.mm), qPrintable(f.text));
            }
            QCOMPARE(teksty.size(), linii);
            QCOMPARE(teksty.join(u' '), pozycje);
            if (linii == 0)
                continue;
            const bool zawiniete = linii > 1;
            // The first line starts at the point, or where the overprint starts a wrapped text: 3 mm higher.
            QVERIFY2(qAbs(frazy.first().mm.left() - p.x) <= 1, qPrintable(QString::number(frazy.first().mm.left())));
            QVERIFY2(qAbs(frazy.first().mm.top() - (zawiniete ? p.y - 3 : p.y)) <= 1,
                     qPrintable(QString::number(frazy.first().mm.top())));
            // 10 points are 3.5 mm, 6 points 2.1 mm.
            for (const PdfWord &f : frazy)
                QVERIFY2(zawiniete ? f.mm.height() < 2.6 : f.mm.height() > 3.2, qPrintable(QString::number(f.mm.height())));
        }
        QCOMPARE(czcionkiPdf(u"items"_s).contains(u"Serif"_s), linii > 1);
    }

    // With shading the shaded frames and cells are light grey, the data boxes
    // white; without it the whole page is white.
    void shading_data()
    {
        QTest::addColumn<bool>("cien");
        QTest::addColumn<int>("strona");
        QTest::addColumn<QPointF>("miejsce");
        QTest::addColumn<bool>("cieniowane");
        const struct
        {
            const char *nazwa;
            int strona;
            QPointF mm;
            bool cieniowane;
        } miejsca[] = {
            {"attachment frame", 1, {230, 47.5}, true},
            {"section A band", 1, {280, 51}, true},
            {"cell of the taxpayer", 1, {12, 63}, true},
            {"cell of the spouse", 1, {12, 86}, true},
            {"section B band", 1, {280, 91}, true},
            {"table head", 1, {25, 110}, true},
            {"column numbers", 1, {30, 119.5}, true},
            {"totals frame", 2, {100, 187}, true},
            {"box of the identifiers", 1, {140, 20}, false},
            {"box of the attachment number", 1, {240, 44}, false},
            {"surname box", 1, {120, 61}, false},
            {"invoice row", 1, {250, 128}, false},
            {"invoice row, page 2", 2, {250, 18}, false},
            {"total box", 2, {230, 188}, false},
        };
        for (bool cien : {false, true})
            for (const auto &m : miejsca)
                QTest::addRow("%s, shading %s", m.nazwa, cien ? "on" : "off")
                    << cien << m.strona << m.mm << (cien && m.cieniowane);
    }
    void shading()
    {
        QFETCH(bool, cien);
        QFETCH(int, strona);
        QFETCH(QPointF, miejsce);
        QFETCH(bool, cieniowane);
        printSettings().Cien = cien;
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        TVZMab_1_3Prev strona1(*zal);
        TVZMab_2_3Prev strona2(*zal);
        const QImage image = obraz(strona == 1 ? strona1.Report : strona2.Report);
        QCOMPARE(kolor(image, miejsce), cieniowane ? QColor(235, 235, 235) : QColor(Qt::white));
    }

    // The head of the invoice table: every text exactly, each over the column it heads.
    void tableHead_data()
    {
        QTest::addColumn<int>("kolumna");     // the column's field in row 1, or its first and last
        QTest::addColumn<int>("doKolumny");
        QTest::addColumn<QStringList>("linie");
        QTest::newRow("whole table") << 0 << 6 << QStringList{u"Dane dotyczące faktury VAT, o której mowa w art. 3 ust.4 ustawy"_s};
        QTest::newRow("invoice") << 0 << 1 << QStringList{u"Faktura"_s};
        QTest::newRow("1") << 0 << 0 << QStringList{u"nr faktury"_s, u"1"_s};
        QTest::newRow("1a") << 1 << 1 << QStringList{u"lp. z faktury dot."_s, u"wykazywanego"_s, u"wydatku **)"_s, u"1a"_s};
        QTest::newRow("2") << 2 << 2 << QStringList{u"Data"_s, u"wystawienia"_s, u"(dzień-miesiąc-rok)"_s, u"2"_s};
        QTest::newRow("3") << 3 << 3 << QStringList{u"NIP sprzedawcy"_s, u"3"_s};
        QTest::newRow("4") << 4 << 4 << QStringList{u"Kwota brutto wydatku"_s, u"uprawniającego do"_s, u"zwrotu"_s, u"4"_s};
        QTest::newRow("VAT") << 5 << 6 << QStringList{u"Kwota podatku VAT"_s, u"zawartego w kwocie z kolumny 4,"_s,
                                                       u"dotycząca inwestycji"_s};
        QTest::newRow("5") << 5 << 5 << QStringList{u"wymagającej"_s, u"pozwolenia na"_s, u"budowę"_s, u"5"_s};
        QTest::newRow("6") << 6 << 6 << QStringList{u"niewymagającej"_s, u"pozwolenia na"_s, u"budowę"_s, u"6"_s};
    }
    void tableHead()
    {
        QFETCH(int, kolumna);
        QFETCH(int, doKolumny);
        QFETCH(QStringList, linie);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"head"_s));
        // The columns' spans from the points of row 1: a text starts a gap
        // after its column's left edge, dates and amounts end a gap before
        // the right edge.
        const double krawedzie[] = {punkt(12).x - 2.5, punkt(177).x - 2.5, punkt(13).x - 20.5, punkt(13).x + 1.5,
                                    punkt(15).x - 31,  punkt(15).x + 2.5,  punkt(16).x + 2.5,  punkt(17).x + 2.5};
        const double gora = findWord(s1.slowa, u"DOKUMENTUJĄCYCH"_s).mm.bottom(); // under section B's heading
        const double dol = punkt(12).y - 4;                                      // above row 1's line of data
        const QRectF obszar(QPointF(krawedzie[kolumna], gora), QPointF(krawedzie[doKolumny + 1], dol));
        const QList<PdfWord> frazy = s1.frazyW(obszar);
        double poprzednia = gora;
        for (const QString &linia : linie) {
            const auto f = std::find_if(frazy.begin(), frazy.end(), [&](const PdfWord &w) { return w.text == linia; });
            QVERIFY2(f != frazy.end(), qPrintable(linia));
            QVERIFY2(obszar.contains(f->mm), qPrintable(linia));
            QVERIFY2(f->mm.top() > poprzednia, qPrintable(linia)); // top to bottom
            poprzednia = f->mm.top();
        }
    }

    // A larger print font enlarges every data box's text, the combs' digits
    // included, and none of the fixed texts.
    void printFontSize_data()
    {
        QTest::addColumn<int>("rozmiar");
        for (int rozmiar = TFontForm::NajmniejszyRozmiar; rozmiar <= TFontForm::NajwiekszyRozmiar; ++rozmiar)
            QTest::addRow("%d", rozmiar) << rozmiar;
    }
    void printFontSize()
    {
        QFETCH(int, rozmiar);
        printSettings().FontSize = rozmiar;
        dodajFaktury(u"A"_s, 8);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        Strona s1, s2;
        QVERIFY(drukuj(s1, s2, u"font"_s));
        const double wysokosc = rozmiar * 25.4 / 72; // of the text's line, roughly
        const QList<PdfWord> dane{findWord(s1.slowa, u"FV/1"_s), findWord(s1.slowa, u"ŻÓŁKIEWSKI"_s),
                                  findWord(s1.slowa, u"30,17"_s), findWord(s2.slowa, u"240,17"_s),
                                  findWord(s2.slowa, u"FV/8"_s)};
        for (const PdfWord &w : dane)
            QVERIFY2(w.mm.height() > wysokosc && w.mm.height() < wysokosc * 1.3,
                     qPrintable(w.text + u": "_s + QString::number(w.mm.height())));
        // A date's column holds a date of 10 points: a larger print font
        // leaves the dates at the largest size their column holds.
        const double wysokoscDaty = std::min(rozmiar, 10) * 25.4 / 72;
        for (const PdfWord &w : {findWord(s1.slowa, u"02-01-2010"_s), findWord(s2.slowa, u"09-01-2010"_s)})
            QVERIFY2(w.mm.height() > wysokoscDaty && w.mm.height() < wysokoscDaty * 1.3,
                     qPrintable(w.text + u": "_s + QString::number(w.mm.height())));
        // Dates end at their point on page 1 whatever their size; on page 2
        // they start where a date of the default font starts.
        const PunktPola data1 = punkt(TVZMab::PierwszaKratka(1) + 1);
        const PunktPola data8 = punkt(TVZMab::PierwszaKratka(8) + 1);
        QVERIFY(qAbs(findWord(s1.slowa, u"02-01-2010"_s).mm.right() - data1.x) <= 1);
        QVERIFY(qAbs(findWord(s2.slowa, u"09-01-2010"_s).mm.left() - (data8.x - DataMm)) <= 1);
        // The combs print every character of the NIPs, in the print font.
        for (const Strona *s : {&s1, &s2}) {
            const int k = s == &s1 ? 1 : 8;
            const PunktPola p = punkt(TVZMab::PierwszaKratka(k) + 2);
            const QRectF obszar(p.x - 2, p.y - 3, 62, 9);
            QCOMPARE(s->grzebien(obszar), FakturaNip);
            for (const PdfWord &cyfra : s->frazyW(obszar))
                QVERIFY(cyfra.mm.height() > wysokosc);
        }
        const PunktPola nip = punkt(1);
        QCOMPARE(s1.grzebien(QRectF(nip.x - 2, nip.y - 1.5, 10 * MiejsceIdentyfikatora + 2, 5)), NipPodatnika);
        // Fixed texts keep their size: "Suma" is 10 points.
        QVERIFY2(qAbs(s2.fraza(u"Suma"_s).mm.height() - SumaMm) < 0.1, qPrintable(QString::number(s2.fraza(u"Suma"_s).mm.height())));
    }
};

QTEST_MAIN(TestVzmabPrev)
#include "tst_vzmabprev.moc"
