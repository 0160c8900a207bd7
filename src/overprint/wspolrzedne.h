#pragma once

#include <array>
#include <span>

// A field's point on a pre-printed form: millimetres from the left and the
// top edge of the sheet, where the top-left corner of its data goes.
struct PunktPola
{
    float x = 0;
    float y = 0;
};

// The points of the application's 77 fields (entry n - 1 for field n) on the
// portrait form. Fields without a point (0, 0) are never printed.
extern const std::array<PunktPola, 77> WspVzm1;

// The points of an attachment's 203 fields (entry n - 1 for field n) on the
// landscape form: 1 to 11 the identification, then six fields for each of
// the 27 invoice rows, the three totals, and the item numbers of each row.
extern const std::array<PunktPola, 203> WspVzmab;

// The point of field n of a table; (0, 0) for a number outside it.
inline PunktPola PunktZTabeli(std::span<const PunktPola> tabela, int pole)
{
    return pole >= 1 && pole <= static_cast<int>(tabela.size()) ? tabela[pole - 1] : PunktPola{};
}
