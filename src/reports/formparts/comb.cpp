#include "reports/formparts/comb.h"

std::vector<TCombGroup> EvenComb(const TQRPageFrame &frame, int places)
{
    return {{frame.Left, places, frame.Width() / places}};
}

int CentredInPlace(int xa, int xb, int w)
{
    return std::max(0, xa + (xb - xa - w) / 2);
}

void DrawComb(TQRCanvas &canvas, const TQRPageFrame &frame, const std::vector<TCombGroup> &groups)
{
    const int tick = frame.Height() / 3;
    for (const TCombGroup &group : groups) {
        canvas.Line(group.Start, frame.Bottom, group.Start + group.Places * group.PlaceWidth, frame.Bottom);
        for (int i = 0; i <= group.Places; ++i) {
            const int x = group.Start + i * group.PlaceWidth;
            canvas.Line(x, frame.Bottom, x, frame.Bottom - tick);
        }
    }
}

bool CombHoldsText(TQRCanvas &canvas, const TQRPageFrame &frame)
{
    return frame.Height() >= canvas.TextHeight();
}

void PrintComb(TQRCanvas &canvas, const TQRPageFrame &frame, const std::vector<TCombGroup> &groups,
               const QString &text)
{
    DrawComb(canvas, frame, groups);
    if (text.isEmpty() || groups.empty() || !CombHoldsText(canvas, frame))
        return;

    auto group = groups.begin();
    int place = 0;
    for (const QChar character : text) {
        if (place == group->Places && std::next(group) != groups.end()) {
            ++group;
            place = 0;
        }
        const int xa = group->Start + place * group->PlaceWidth;
        const QString glyph(character);
        canvas.TextOut(CentredInPlace(xa, xa + group->PlaceWidth, canvas.TextWidth(glyph)), frame.Top, glyph);
        ++place;
    }
}
