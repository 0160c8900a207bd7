#include "overprint/prn.h"

#include "core/polishtext.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

// Pixels of a length in millimetres: the quotient in single precision,
// a half rounded to the even neighbour.
int mmToPixels(int dpi, float mm)
{
    const float quotient = static_cast<float>(static_cast<long double>(dpi) * mm / 25.4L);
    return static_cast<int>(std::nearbyint(quotient));
}

bool isBreak(QChar c)
{
    return c == u' ' || c == u',' || c == u'-' || c == u'.';
}

} // namespace

int TPrn::MmToX(float mm) const
{
    return mmToPixels(DpiX, mm);
}

int TPrn::MmToY(float mm) const
{
    return mmToPixels(DpiY, mm);
}

QString TPrn::ApplyCase(const QString &text) const
{
    return CaseMode == pcUpper ? polishUpper(text) : text;
}

bool TPrn::TextFits(const QString &text, int width) const
{
    return width >= TextWidth(ApplyCase(text));
}

void TPrn::TextOut(int x, int y, const QString &text)
{
    // Qt places text on its baseline; the forms' points are cell corners.
    m_canvas.drawText(QPoint(x, y + m_canvas.fontMetrics().ascent()), text);
}

int TPrn::TextWidth(const QString &text) const
{
    return m_canvas.fontMetrics().horizontalAdvance(text);
}

int TPrn::TextHeight(const QString &) const
{
    return m_canvas.fontMetrics().height();
}

template <typename Distance>
void TPrn::PrintEach(int x, int y, const QString &text, Distance distance)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        TextOut(x + MmToX(static_cast<float>(distance(i))), y, text.mid(i, 1));
}

void TPrn::PrintText(int x, int y, const QString &text)
{
    TextOut(x, y, ApplyCase(text));
}

void TPrn::PrintRight(int x, int y, const QString &text)
{
    const QString t = ApplyCase(text);
    TextOut(x - TextWidth(t), y, t);
}

void TPrn::PrintMark(int x, int y)
{
    TextOut(x, y, QStringLiteral("X"));
}

void TPrn::PrintTwoDigits(int x, int y, int number)
{
    if (number < 0 || number > 99)
        return;
    PrintEach(x, y, QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')),
              [](qsizetype i) { return i * 5.0; });
}

void TPrn::PrintYear(int x, int y, int number)
{
    const QString text = QString::number(number);
    if (text.size() != 4)
        return;
    PrintEach(x, y, text, [](qsizetype i) { return i * 5.25; });
}

void TPrn::PrintDate(int x, int y, const QDate &date)
{
    if (!date.isValid())
        return;
    static constexpr std::array<int, 8> steps{0, 5, 12, 18, 25, 30, 35, 41};
    PrintEach(x, y, date.toString(QStringLiteral("ddMMyyyy")),
              [](qsizetype i) { return steps[i]; });
}

void TPrn::PrintSpaced(int x, int y, const QString &text)
{
    PrintEach(x, y, ApplyCase(text), [](qsizetype i) { return i * 58.0L / 11.0L; });
}

void TPrn::PrintNip(int x, int y, const QString &text)
{
    PrintEach(x, y, ApplyCase(text), [](qsizetype i) { return i * 5.3; });
}

void TPrn::PrintPesel(int x, int y, const QString &text)
{
    PrintEach(x, y, text.left(PeselSteps.size()), [](qsizetype i) { return PeselSteps[i]; });
}

void TPrn::PrintAccount(int x, int y, const QString &text)
{
    if (text.size() != 26) {
        PrintEach(x, y, text, [](qsizetype i) { return i * 5.25; });
        return;
    }
    // Two digits, then six groups of four.
    PrintEach(x, y, text, [](qsizetype i) {
        const qsizetype group = i < 2 ? 0 : (i - 2) / 4 + 1;
        const qsizetype inGroup = i < 2 ? i : (i - 2) % 4;
        return AccountGroups[group] + inGroup * 5.25;
    });
}

void TPrn::PrintLines(int x, int y, const QStringList &lines)
{
    const int h = TextHeight(QStringLiteral("A"));
    for (qsizetype i = 0; i < lines.size(); ++i)
        TextOut(x, y + static_cast<int>(i) * h, ApplyCase(lines[i]));
}

void TPrn::PrintWrapped(int x, int y, const QString &text, int width)
{
    const QString t = ApplyCase(text);
    if (TextFits(t, width)) {
        TextOut(x, y, t);
        return;
    }
    const QFont remembered = m_canvas.font();
    QFont small = remembered;
    small.setFamily(QStringLiteral("Arial"));
    small.setPointSize(7);
    m_canvas.setFont(small);
    if (TextFits(t, width)) {
        TextOut(x, y, t);
    } else {
        auto [first, rest] = SplitToFit(t, width);
        QString second = rest, third;
        if (!TextFits(rest, width))
            std::tie(second, third) = SplitToFit(rest, width);
        const int h = TextHeight(t);
        TextOut(x, y, first);
        TextOut(x, y + h, second);
        TextOut(x, y + 2 * h, third);
    }
    m_canvas.setFont(remembered);
}

std::pair<QString, QString> TPrn::SplitToFit(const QString &s, int width) const
{
    if (TextFits(s, width))
        return {s, QString()};
    qsizetype fitting = s.size();
    while (fitting > 0 && !TextFits(s.left(fitting), width))
        --fitting;
    qsizetype end = fitting;
    for (qsizetype p = fitting; p >= 1; --p) {
        if (isBreak(s[p - 1])) {
            end = p;
            break;
        }
    }
    QString rest = s.mid(end);
    qsizetype blanks = 0;
    while (blanks < rest.size() && (rest[blanks] == u' ' || rest[blanks].category() == QChar::Other_Control))
        ++blanks;
    return {s.left(end), rest.mid(blanks)};
}
