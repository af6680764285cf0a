#include "viewer/snapshots/jpeg_writer.h"

#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

// The error manager of one write: libjpeg's standard one with a fatal exit that jumps back into
// Encode, and silent warnings (the program keeps no log).
struct ErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf back;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->back, 1);
}

void Silent(j_common_ptr /*info*/) {}

// What Encode writes: rows of `components` bytes a pixel in `space`, row m of the picture (top
// row first) at first + m × step bytes.
struct RowSource {
    const BYTE* first;
    std::ptrdiff_t step;
    int components;
    J_COLOR_SPACE space;
};

// Everything Encode must release whichever way it leaves; kept out of the frame that calls
// setjmp so that nothing it changes after setjmp needs to be volatile.
struct WriteState {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    const char* fileName = nullptr;
    std::FILE* file = nullptr;
    bool created = false;  // the compression object exists
};

int Encode(const char* fileName, const RowSource& source, UINT width, UINT height, int quality) {
    WriteState state;
    state.fileName = fileName;
    state.info.err = jpeg_std_error(&state.errors.standard);
    state.errors.standard.error_exit = JumpBack;
    state.errors.standard.output_message = Silent;
    if (setjmp(state.errors.back)) {
        if (state.created) jpeg_destroy_compress(&state.info);
        if (state.file) {
            std::fclose(state.file);
            ::unlink(state.fileName);
        }
        return 0;
    }
    jpeg_create_compress(&state.info);
    state.created = true;
    state.file = std::fopen(fileName, "wb");
    if (!state.file) {
        jpeg_destroy_compress(&state.info);
        return 0;
    }
    jpeg_stdio_dest(&state.info, state.file);
    state.info.image_width = width;
    state.info.image_height = height;
    state.info.input_components = source.components;
    state.info.in_color_space = source.space;
    jpeg_set_defaults(&state.info);
    jpeg_set_quality(&state.info, quality, TRUE);
    jpeg_start_compress(&state.info, TRUE);
    // Rows handed over a block at a time (libjpeg only reads them; its API is not
    // const-correct).
    constexpr JDIMENSION kBlockRows = 16;
    JSAMPROW rows[kBlockRows];
    while (state.info.next_scanline < state.info.image_height) {
        const JDIMENSION first = state.info.next_scanline;
        const JDIMENSION count = std::min(kBlockRows, state.info.image_height - first);
        for (JDIMENSION k = 0; k < count; ++k)
            rows[k] = const_cast<JSAMPROW>(source.first +
                                           source.step * static_cast<std::ptrdiff_t>(first + k));
        jpeg_write_scanlines(&state.info, rows, count);
    }
    jpeg_finish_compress(&state.info);
    const bool closed = std::fclose(state.file) == 0;
    state.file = nullptr;
    jpeg_destroy_compress(&state.info);
    if (!closed) ::unlink(fileName);
    return closed ? 1 : 0;
}

}  // namespace

int WriteJpeg(const char* fileName, const BYTE* pixels, UINT width, UINT height, bool colour,
              int quality) {
    if (!fileName || !pixels || width == 0 || height == 0) return 0;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 3;
    if (colour) return Encode(fileName, {pixels, rowBytes, 3, JCS_RGB}, width, height, quality);
    std::vector<BYTE> grey(static_cast<std::size_t>(width) * height);
    for (std::size_t k = 0; k < grey.size(); ++k) {
        const BYTE* p = pixels + k * 3;
        grey[k] = static_cast<BYTE>(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]);
    }
    return Encode(fileName, {grey.data(), static_cast<std::ptrdiff_t>(width), 1, JCS_GRAYSCALE},
                  width, height, quality);
}

int WriteJpegBottomUpBgr(const char* fileName, const BYTE* pixels, UINT width, UINT height,
                         int bytesPerPixel, int quality) {
    if (!fileName || !pixels || width == 0 || height == 0) return 0;
    if (bytesPerPixel != 3 && bytesPerPixel != 4) return 0;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * bytesPerPixel;
    const BYTE* top = pixels + rowBytes * (static_cast<std::ptrdiff_t>(height) - 1);
    const J_COLOR_SPACE space = bytesPerPixel == 3 ? JCS_EXT_BGR : JCS_EXT_BGRX;
    return Encode(fileName, {top, -rowBytes, bytesPerPixel, space}, width, height, quality);
}

int WriteJpegTopDownBgrx(const char* fileName, const BYTE* pixels, UINT width, UINT height,
                         int quality) {
    if (!fileName || !pixels || width == 0 || height == 0) return 0;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(width) * 4;
    return Encode(fileName, {pixels, rowBytes, 4, JCS_EXT_BGRX}, width, height, quality);
}
