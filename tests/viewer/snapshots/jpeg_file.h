// Decoding JPEG files back with libjpeg for the tests, and comparing pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace snapshot_test {

struct DecodedJpeg {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;                // 3 colour, 1 grey
    std::vector<std::uint8_t> pixels;  // rows top first, red, green, blue (or grey)
};

DecodedJpeg DecodeJpeg(const std::string& path);

// Peak signal-to-noise ratio in dB of two pictures of equal size given as interleaved 8-bit
// samples; infinity when they are equal.
double Psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

// A packed 32-bit bottom-up blue-green-red-x picture as top-down red-green-blue rows.
std::vector<std::uint8_t> TopDownRgbOf32BitDib(const std::uint8_t* pixels, int width, int height);

}  // namespace snapshot_test
