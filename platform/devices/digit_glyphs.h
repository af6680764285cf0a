// Digits 0 to 9 as 5 x 7 cell bitmaps, for numbers drawn into the simulated cameras' pictures.
#pragma once

#include <array>
#include <cstdint>

namespace devices {

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 7;

// Row r of digit d: bit (4 - c) set when column c is lit.
inline constexpr std::array<std::array<std::uint8_t, kGlyphRows>, 10> kDigitGlyphs = {{
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},  // 0
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // 1
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},  // 2
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},  // 3
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},  // 4
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},  // 5
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},  // 6
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},  // 7
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},  // 8
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},  // 9
}};

constexpr bool GlyphCellLit(int digit, int row, int column) {
    return (kDigitGlyphs[digit][row] >> (kGlyphColumns - 1 - column)) & 1;
}

}  // namespace devices
