#include "reports/formparts/qrtexts.h"

#include <QPalette>

namespace {

bool IsBreak(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// Without its leading blanks and control characters.
QString WithoutLeadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].unicode() <= 0x20)
        ++i;
    return text.mid(i);
}

// A tag is "<", a sign, a letter and ">"; the letters are b, u, i and s.
bool IsTag(const QString &text, qsizetype at)
{
    return at + 3 < text.size() && text[at] == QLatin1Char('<')
           && (text[at + 1] == QLatin1Char('+') || text[at + 1] == QLatin1Char('-'))
           && QStringLiteral("buis").contains(text[at + 2]) && text[at + 3] == QLatin1Char('>');
}

} // namespace

TQRWrapper::TQRWrapper()
{
    Width = 50;
    Height = 9;
}

QStringList TQRWrapper::Wrap(const QString &text, double width, const std::function<double(const QString &)> &measure)
{
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        if (measure(rest) <= width) {
            lines << rest;
            break;
        }
        qsizetype fits = rest.size() - 1;
        while (fits > 0 && measure(rest.left(fits)) > width)
            --fits;
        if (fits == 0) {
            lines << rest;
            break;
        }
        qsizetype end = fits;
        for (qsizetype i = fits - 1; i >= 0; --i) {
            if (IsBreak(rest[i])) {
                end = i + 1;
                break;
            }
        }
        lines << rest.left(end);
        rest = WithoutLeadingBlanks(rest.mid(end));
    }
    return lines;
}

void TQRWrapper::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    TQRCanvas &canvas = PageCanvas();
    m_lines = Wrap(Caption, WidthToPage(Width), [&canvas](const QString &text) { return canvas.TextWidth(text); });

    // The outline in the brush's colour: a background without a border.
    QPen hidden = Pen;
    hidden.setColor(Brush.color());
    canvas.SetPen(hidden);
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    const int lineHeight = canvas.TextHeight();
    for (int i = 0; i < m_lines.size(); ++i)
        canvas.TextOut(frame.Left, frame.Top + i * lineHeight, m_lines[i]);
}

TQRSmartLabel::TQRSmartLabel() : Color(QPalette().color(QPalette::Base)) {}

int TQRSmartLabel::SmallSize(int size)
{
    if (size == 9 || size == 10)
        return 6;
    if (size == 11)
        return 7;
    if (size >= 12)
        return size - 5;
    return size - 2;
}

void TQRSmartLabel::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetBrush(QBrush(Color));
    canvas.FillRect(frame.Left, frame.Top, frame.Right, frame.Bottom);

    TQRFont font = Font;
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int size = Font.pointSize();
    bool small = false;
    int x = frame.Left;
    for (qsizetype i = 0; i < Caption.size(); ++i) {
        if (IsTag(Caption, i)) {
            const bool on = Caption[i + 1] == QLatin1Char('+');
            switch (Caption[i + 2].unicode()) {
            case 'b': font.setBold(on); break;
            case 'u': font.setUnderline(on); break;
            case 'i': font.setItalic(on); break;
            case 's': small = on; break;
            }
            i += 3;
            continue;
        }
        font.setPointSize(small ? SmallSize(size) : size);
        canvas.SetFont(font);
        const QString character(Caption[i]);
        canvas.TextOut(x, frame.Top, character);
        x += canvas.TextWidth(character);
    }
}
