#include "reports/formparts/qrpitfooter.h"

#include <QStringList>

#include <array>

namespace {

// A page count and the versions of the form that have another count.
struct PageCountRule
{
    int Pages;
    QStringList OtherVersions;
    int OtherPages;

    int For(const QString &version) const { return OtherVersions.contains(version) ? OtherPages : Pages; }
};

struct FormInfo
{
    const char *Symbol;
    PageCountRule Count;
};

// By TFormularz: the symbol and the page count set with the form.
const std::array<FormInfo, fmVat7K + 1> &Forms()
{
    static const std::array<FormInfo, fmVat7K + 1> forms{{
        {"PIT-4", {2, {}, 0}},
        {"PIT-4R", {4, {}, 0}},
        {"PIT-5", {4, {}, 0}},
        {"PIT-5L", {3, {}, 0}},
        {"PIT-5/A", {2, {}, 0}},
        {"PIT-5/X", {1, {}, 0}},
        {"PIT-13", {2, {}, 0}},
        {"PIT-28", {4, {}, 0}},
        {"PIT-36", {4, {"12", "14", "16"}, 6}},
        {"PIT-36L", {4, {"4", "5", "6"}, 3}},
        {"PIT-37", {3, {}, 0}},
        {"PIT-38", {2, {}, 0}},
        {"PIT-39", {2, {}, 0}},
        {"PIT/B", {2, {}, 0}},
        {"PIT/D", {4, {"19", "20"}, 2}},
        {"PIT-2K", {1, {}, 0}},
        {"PIT/M", {1, {}, 0}},
        {"PIT/O", {2, {}, 0}},
        {"PIT-28/A", {1, {}, 0}},
        {"PIT-28/B", {2, {}, 0}},
        {"NIP-1", {4, {}, 0}},
        {"NIP-2", {4, {}, 0}},
        {"NIP-3", {2, {}, 0}},
        {"NIP-1/A", {2, {}, 0}},
        {"NIP-2/A", {2, {}, 0}},
        {"NIP-B", {2, {}, 0}},
        {"NIP-C", {2, {}, 0}},
        {"NIP-D", {2, {}, 0}},
        {"VAT-7", {2, {"11"}, 3}},
        {"VAT-R", {2, {}, 0}},
        {"VAT-R/UE", {1, {}, 0}},
        {"VAT-UE", {2, {}, 0}},
        {"VAT-UE/A", {2, {}, 0}},
        {"VAT-UE/B", {2, {}, 0}},
        {"VAT-UE/C", {2, {}, 0}},
        {"IFT-1/IFT-1R", {2, {}, 0}},
        {"CIT-2", {2, {}, 0}},
        {"SSE-R", {4, {}, 0}},
        {"VZM-1", {3, {"4", "5"}, 4}},
        {"VZM-1/A", {2, {}, 0}},
        {"VZM-1/B", {2, {}, 0}},
        {"VZM-1/C", {2, {}, 0}},
        {"PIT-AZ", {4, {}, 0}},
        {"AZ-O", {1, {}, 0}},
        {"CIT-8", {4, {}, 0}},
        {"CIT-8/O", {3, {}, 0}},
        {"UPL-1", {2, {}, 0}},
        {"VAT-12", {1, {}, 0}},
        {"VAT-7K", {2, {}, 0}},
    }};
    return forms;
}

// The forms whose page count a change of version recounts. Their rules are
// not always those applied with the form: PIT/D counts 2 pages for version
// "21" only when the version changes.
const PageCountRule *VersionRule(TFormularz formularz)
{
    static const PageCountRule pit36{4, {"12", "14", "16"}, 6};
    static const PageCountRule pit36L{4, {"4", "5", "6"}, 3};
    static const PageCountRule pitD{4, {"19", "20", "21"}, 2};
    static const PageCountRule vat7{2, {"11"}, 3};
    static const PageCountRule vzm1{3, {"4", "5"}, 4};
    switch (formularz) {
    case fmPit36: return &pit36;
    case fmPit36L: return &pit36L;
    case fmPitD: return &pitD;
    case fmVat7: return &vat7;
    case fmVZM1: return &vzm1;
    default: return nullptr;
    }
}

} // namespace

TQRPitFooter::TQRPitFooter()
{
    Width = 38;
    Height = 6;
}

void TQRPitFooter::setFormularz(TFormularz formularz)
{
    if (formularz == m_formularz || formularz < fmPit4 || formularz > fmVat7K)
        return;
    m_formularz = formularz;
    const FormInfo &form = Forms()[formularz];
    m_symbol = QString::fromLatin1(form.Symbol);
    m_pageCount = form.Count.For(m_version);
    m_pageNo = std::min(m_pageNo, m_pageCount);
}

void TQRPitFooter::setVersion(const QString &version)
{
    if (version == m_version)
        return;
    m_version = version;
    if (const PageCountRule *rule = VersionRule(m_formularz))
        m_pageCount = rule->For(version);
}

void TQRPitFooter::setPageNo(int pageNo)
{
    if (pageNo >= 1)
        m_pageNo = pageNo;
}

void TQRPitFooter::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetBrush(Brush);
    canvas.SetPen(Pen);
    canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    const int w = frame.Width();
    const int split = w * 2 / 3;
    canvas.Line(frame.Left + split, frame.Top, frame.Left + split, frame.Bottom);

    TQRFont bold = Font;
    bold.setBold(true);
    canvas.SetFont(bold);
    const QString page = QString::number(m_pageNo);
    const int boldHeight = canvas.TextHeight();
    const int symbolX = frame.Left + (split - canvas.TextWidth(m_symbol + QStringLiteral("XX"))) / 2;
    const int y = frame.Top + (frame.Height() - boldHeight) / 2;
    canvas.TextOut(symbolX, y, m_symbol);
    const int pageX = frame.Left + split + (w - split - canvas.TextWidth(page + QLatin1Char(' '))) / 2;
    canvas.TextOut(pageX, y, page);
    const int symbolWidth = canvas.TextWidth(m_symbol + QLatin1Char(' '));
    const int pageWidth = canvas.TextWidth(page + QLatin1Char(' '));

    // Small type ending on the same bottom edge as the bold line.
    TQRFont small = Font;
    small.setBold(false);
    small.setItalic(false);
    small.setUnderline(false);
    small.setStrikeOut(false);
    small.setPointSize(bold.pointSize() / 2 + 1);
    canvas.SetFont(small);
    const int smallY = y + boldHeight - canvas.TextHeight();
    canvas.TextOut(symbolX + symbolWidth, smallY, QLatin1Char('(') + m_version + QLatin1Char(')'));
    canvas.TextOut(pageX + pageWidth, smallY, QLatin1Char('/') + QString::number(m_pageCount));
}
