#pragma once

#include "reports/engine/qrprintable.h"

#include <QString>

#include <vector>

// A run of equal places on a comb: a base line under them and a tick at
// every boundary, the outer two included.
struct TCombGroup
{
    int Start;      // pixels
    int Places;
    int PlaceWidth; // pixels
};

// n equal places across the frame (the width divided with the remainder
// dropped, so the comb may end short of the right edge).
std::vector<TCombGroup> EvenComb(const TQRPageFrame &frame, int places);

// Draws the comb along the bottom of the frame with ticks a third of its
// height.
void DrawComb(TQRCanvas &canvas, const TQRPageFrame &frame, const std::vector<TCombGroup> &groups);

// Whether a line of the canvas font fits the frame's height: a comb prints
// its characters only then.
bool CombHoldsText(TQRCanvas &canvas, const TQRPageFrame &frame);

// Draws the comb, and the text's characters, one centred in each place from
// the top of the frame, when a line of text fits the frame's height.
// Characters beyond the last place go on in places of the last group's width.
void PrintComb(TQRCanvas &canvas, const TQRPageFrame &frame, const std::vector<TCombGroup> &groups,
               const QString &text);

// The x of a character of width w centred in the place from xa to xb.
int CentredInPlace(int xa, int xb, int w);
