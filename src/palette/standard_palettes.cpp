#include "palette/standard_palettes.h"

namespace quib {

std::vector<PaletteEntry> StandardPalette16() {
    static constexpr uint8_t kColours[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    std::vector<PaletteEntry> out;
    out.reserve(16);
    for (const auto& c : kColours)
        out.push_back({c[0], c[1], c[2], 255});
    return out;
}

std::vector<PaletteEntry> WebSafePalette216() {
    std::vector<PaletteEntry> out;
    out.reserve(216);
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r)
                out.push_back({uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b), 255});
    return out;
}

}  // namespace quib
