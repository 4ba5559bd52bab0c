#include "OutcomePalette.h"

#include "Appearance.h"

#include <array>

namespace barlink::ui {

namespace {

struct Pair
{
    QRgb text;
    QRgb background;
};

constexpr QRgb White = 0xffffff;
constexpr QRgb Black = 0x000000;

// In the order of OutcomeLook. The tile is light text on a deep colour (black on orange, which
// is too light for white); the rows keep a pale colour under dark text, which in high contrast
// is black so that the colour of the row is all the colour there is.
constexpr std::array<Pair, std::size_t(OutcomeLook::Count)> Usual{{
    {White, 0x546e7a},
    {White, 0x2e7d32},
    {Black, 0xf57c00},
    {White, 0x1565c0},
    {White, 0xc62828},
    {White, 0x6a1b9a},
    {White, 0xb71c1c},
    {Black, 0xffcc80},
    {0x7f0000, 0xffcdd2},
    {0x7f0000, 0xef9a9a},
    {Black, 0xfff9c4},
}};

constexpr std::array<Pair, std::size_t(OutcomeLook::Count)> HighContrast{{
    {White, 0x37474f},
    {White, 0x1b5e20},
    {Black, 0xffa726},
    {White, 0x0d47a1},
    {White, 0xa00000},
    {White, 0x6a1b9a},
    {White, 0xa00000},
    {Black, 0xffcc80},
    {Black, 0xffcdd2},
    {Black, 0xef9a9a},
    {Black, 0xfff9c4},
}};

} // namespace

OutcomeColours outcomeColours(OutcomeLook look, bool highContrast)
{
    const Pair &pair = (highContrast ? HighContrast : Usual).at(std::size_t(look));
    return {QColor(pair.text), QColor(pair.background)};
}

OutcomeColours outcomeColours(OutcomeLook look)
{
    return outcomeColours(look, highContrast());
}

} // namespace barlink::ui
