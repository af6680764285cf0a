#include "tests/viewer/snapshots/jpeg_file.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

namespace snapshot_test {
namespace {

struct Errors {
    jpeg_error_mgr standard;
    std::jmp_buf back;
};

[[noreturn]] void Fail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Errors*>(info->err)->back, 1);
}

struct DecodeState {
    jpeg_decompress_struct info{};
    Errors errors{};
    std::FILE* file = nullptr;
};

}  // namespace

DecodedJpeg DecodeJpeg(const std::string& path) {
    DecodedJpeg result;
    DecodeState state;
    state.file = std::fopen(path.c_str(), "rb");
    if (!state.file) return result;
    state.info.err = jpeg_std_error(&state.errors.standard);
    state.errors.standard.error_exit = Fail;
    if (setjmp(state.errors.back)) {
        jpeg_destroy_decompress(&state.info);
        std::fclose(state.file);
        return DecodedJpeg{};
    }
    jpeg_create_decompress(&state.info);
    jpeg_stdio_src(&state.info, state.file);
    jpeg_read_header(&state.info, TRUE);
    jpeg_start_decompress(&state.info);
    result.width = static_cast<int>(state.info.output_width);
    result.height = static_cast<int>(state.info.output_height);
    result.components = state.info.output_components;
    const std::size_t row = static_cast<std::size_t>(result.width) * result.components;
    result.pixels.resize(row * result.height);
    while (state.info.output_scanline < state.info.output_height) {
        JSAMPROW line = result.pixels.data() + row * state.info.output_scanline;
        jpeg_read_scanlines(&state.info, &line, 1);
    }
    jpeg_finish_decompress(&state.info);
    jpeg_destroy_decompress(&state.info);
    std::fclose(state.file);
    result.ok = true;
    return result;
}

double Psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 0.0;
    double sum = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const double d = static_cast<double>(a[k]) - b[k];
        sum += d * d;
    }
    if (sum == 0.0) return std::numeric_limits<double>::infinity();
    const double mse = sum / static_cast<double>(a.size());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

std::vector<std::uint8_t> TopDownRgbOf32BitDib(const std::uint8_t* pixels, int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = pixels + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* target = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[4 * x + 2];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x];
        }
    }
    return rgb;
}

}  // namespace snapshot_test
