#include "overprint/wspolrzedne.h"

const std::array<PunktPola, 77> WspVzm1{{
    {23, 17},       // 1 NIP and PESEL of the taxpayer
    {108, 17},      // 2 NIP and PESEL of the spouse
    {0, 0},         // 3
    {0, 0},         // 4
    {188, 68},      // 5 sequential number of the application
    {20, 109},      // 6 tax office
    {140.5f, 118},  // 7 number of the corrected application
    {0, 0},         // 8
    {20, 160},      // 9 surname
    {111, 160},     // 10 first name
    {20, 168.5f},   // 11 identity document
    {20, 177},      // 12 country
    {59, 177},      // 13 voivodeship
    {140, 177},     // 14 county
    {20, 185.5f},   // 15 commune
    {68, 185.5f},   // 16 street
    {161.5f, 185.5f}, // 17 house
    {182, 185.5f},  // 18 flat
    {20, 194},      // 19 locality
    {98.5f, 194},   // 20 postcode
    {128.5f, 194},  // 21 post office
    {20, 211},      // 22 spouse: surname
    {111, 211},     // 23 first name
    {20, 219.5f},   // 24 identity document
    {20, 228},      // 25 country
    {59, 228},      // 26 voivodeship
    {140, 228},     // 27 county
    {20, 236.5f},   // 28 commune
    {68, 236.5f},   // 29 street
    {161.5f, 236.5f}, // 30 house
    {182, 236.5f},  // 31 flat
    {20, 245},      // 32 locality
    {98.5f, 245},   // 33 postcode
    {128.5f, 245},  // 34 post office
    {0, 0},         // 35
    {0, 0},         // 36
    {0, 0},         // 37
    {0, 0},         // 38
    {0, 0},         // 39
    {0, 0},         // 40
    {158, 33},      // 41 year the investment of the first kind began
    {158, 41.5f},   // 42 second kind
    {158, 50},      // 43 third kind
    {153, 83},      // 44 date of the first application
    {197, 101},     // 45 price of 1 m2
    {0, 0},         // 46
    {197, 143},     // 47 five-year limits, first of four
    {197, 151.5f},  // 48
    {197, 160},     // 49
    {197, 168.5f},  // 50
    {197, 232},     // 51 refunds before the limits, first of four
    {197, 240.5f},  // 52
    {197, 253},     // 53
    {197, 265.5f},  // 54
    {198, 30.5f},   // 55 the refund
    {20, 54.5f},    // 56 scope of the renovation
    {0, 0},         // 57
    {0, 0},         // 58
    {100, 253.5f},  // 59
    {194, 253.5f},  // 60
    {194, 262},     // 61
    {69.5f, 270.5f}, // 62 number of attachments A
    {130.5f, 270.5f}, // 63 B
    {194, 270.5f},  // 64 C
    {20, 43.5f},    // 65 additional information
    {65, 119},      // 66 a new application
    {108, 119},     // 67 a correction
    {24, 128},      // 68 position 8, first box
    {85, 128},      // 69 second box
    {148, 128},     // 70 third box
    {26, 213.5f},   // 71 way of paying the refund, first box
    {48, 213.5f},   // 72 second box
    {99, 213.5f},   // 73 third box
    {21, 223.5f},   // 74 whose bank account, first box
    {80, 223.5f},   // 75 second box
    {141, 223.5f},  // 76 third box
    {37, 235.5f},   // 77 bank account
}};

namespace {

// The invoice rows follow one rule: seven rows on page 1, twenty on page 2,
// 8.5 mm apart, each with the number, date, seller's NIP, gross amount and
// the two VAT amounts, and its item numbers in a narrow column of its own.
constexpr std::array<PunktPola, 203> tabelaZalacznika()
{
    std::array<PunktPola, 203> t{};
    t[0] = {21, 16.2f};   // 1 NIP (and PESEL 66 mm to the right) of the taxpayer
    t[1] = {161, 16.2f};  // 2 NIP (and PESEL) of the spouse
    t[2] = {277, 41};     // 3 number of the attachment
    t[3] = {35, 59};      // 4 surname
    t[4] = {164, 59};     // 5 first name
    t[5] = {87, 16.2f};   // 6 PESEL of the taxpayer (printed with field 1)
    t[6] = {35, 67.5f};   // 7 identity document
    t[7] = {35, 76};      // 8 spouse: surname
    t[8] = {164, 76};     // 9 first name
    t[9] = {227, 16.2f};  // 10 PESEL of the spouse (printed with field 2)
    t[10] = {35, 84.5f};  // 11 identity document
    constexpr float strona1[6]{12, 119, 130, 221, 254, 287};
    constexpr float strona2[6]{11, 118, 129, 220, 253, 286};
    for (int k = 1; k <= 27; ++k) {
        const bool pierwsza = k <= 7;
        const float y = pierwsza ? 126 + 8.5f * (k - 1) : 16 + 8.5f * (k - 8);
        for (int kolumna = 0; kolumna < 6; ++kolumna)
            t[11 + 6 * (k - 1) + kolumna] = {pierwsza ? strona1[kolumna] : strona2[kolumna], y};
        t[175 + k] = {pierwsza ? 67.5f : 66.5f, y};
    }
    t[173] = {220, 186};  // 174 total of the gross amounts
    t[174] = {253, 186};  // 175 total of column 5
    t[175] = {286, 186};  // 176 total of column 6
    return t;
}

} // namespace

const std::array<PunktPola, 203> WspVzmab = tabelaZalacznika();
