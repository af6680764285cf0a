// Feeds the overlay's text merge with random frame geometry (width, height of either sign, the
// bit count of the format or any other), every pixel format code, text bitmaps of random size,
// row size and content, and positions partly or wholly outside the frame; some inputs also draw
// a whole overlay with a random, possibly long title (set under a count that may claim
// more than the text's buffer) and a fixed clock. Frames and bitmaps are
// buffers of exactly their size, so a read or write past either is caught. Oracle: merging by
// reverse twice restores the frame, merging by cover twice equals merging once, and a text that
// cannot touch the frame leaves it alone.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "overlay/overlay_controller.h"
#include "overlay/pixel_format.h"

namespace {

WORD FormatBits(int code) {
    switch (code) {
        case kPixelFormatRGB8:
            return 8;
        case kPixelFormatRGB24:
            return 24;
        case kPixelFormatRGB32:
            return 32;
        default:
            return 16;
    }
}

StampTime FixedTime() {
    return StampTime{2026, 12, 8, 10, 20, 30};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto flags = in.Take<std::uint8_t>();
    const int code = in.Take<std::uint8_t>() % 8;  // 7: no such format
    const auto width = static_cast<LONG>(in.TakeInRange(-8, 1024));
    const auto height = static_cast<LONG>(in.TakeInRange(-300, 300));
    const WORD bitCount = (flags & 1) != 0 ? in.Take<WORD>() % 64 : FormatBits(code);

    COverlayController controller;
    controller.SetStampClock(FixedTime);
    controller.SetFrameGeometry(width, height, bitCount, 400000);
    controller.SetPixelFormat(code);
    controller.SetMergeMode((flags & 2) != 0 ? 1 : 0);
    std::vector<BYTE> frame(std::max<std::size_t>(controller.FrameBytes(), 1));
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<BYTE>(i * 7 + 3);
    const std::vector<BYTE> original = frame;

    // A text bitmap and where it goes.
    SIZE textSize{static_cast<LONG>(in.TakeInRange(-4, 600)),
                  static_cast<LONG>(in.TakeInRange(-4, 120))};
    const int rowBytes = textSize.cx > 0 ? static_cast<int>(((textSize.cx + 31) >> 3) & ~3) : 0;
    const int stride = (flags & 4) != 0 ? static_cast<int>(in.TakeInRange(-4, 96)) : rowBytes;
    POINT position;
    if ((flags & 8) != 0) {
        position = POINT{in.Take<LONG>(), in.Take<LONG>()};
    } else {
        position = POINT{static_cast<LONG>(in.TakeInRange(-700, 1100)),
                         static_cast<LONG>(in.TakeInRange(-200, 400))};
    }
    const long long bitsSize = textSize.cy > 0 && stride > 0 ? 1ll * stride * textSize.cy : 1;
    std::vector<BYTE> bits(static_cast<std::size_t>(bitsSize), 0xFF);
    const auto pattern = in.TakeBytes(bits.size());
    std::copy(pattern.begin(), pattern.end(), bits.begin());

    const int drawn =
        controller.BlendText(frame.data(), nullptr, &textSize, bits.data(), stride, &position);
    if (drawn == 0) FUZZ_CHECK(frame == original);
    if (code != kPixelFormatNone && code != 7) {
        const std::vector<BYTE> once = frame;
        controller.BlendText(frame.data(), nullptr, &textSize, bits.data(), stride, &position);
        FUZZ_CHECK((flags & 2) != 0 ? frame == once : frame == original);
    }

    // A whole overlay: the title at its position and the time stamp in the corner.
    if ((flags & 0x30) == 0x30) {
        const auto titleBytes = in.TakeBytes(2 * static_cast<std::size_t>(in.TakeInRange(0, 300)));
        std::u16string title(titleBytes.size() / 2, u'\0');
        if (!title.empty()) std::memcpy(title.data(), titleBytes.data(), title.size() * 2);
        for (char16_t& c : title) c = static_cast<char16_t>(c % 0x3000);  // common scripts
        // The title in a buffer of exactly its size, its terminator included, under a count
        // that may claim more: the copy stops at the terminator.
        std::vector<WCHAR> buffer(title.begin(), title.end());
        buffer.push_back(0);
        const unsigned claimed =
            static_cast<unsigned>(buffer.size() * 2 * static_cast<std::size_t>(flags >> 6 | 1));
        controller.SetTitle(buffer.data(), claimed);
        const std::size_t kept = title.find(u'\0');
        const std::size_t length = kept == std::u16string::npos ? title.size() : kept;
        FUZZ_CHECK(controller.GetTitle(nullptr) == static_cast<int>(2 * length));
        std::vector<WCHAR> back(length + 1);
        controller.GetTitle(back.data());
        FUZZ_CHECK(std::equal(back.begin(), back.end() - 1, title.begin()) && back.back() == 0);
        controller.StartStreaming();
        controller.DrawOverlay(frame.data(), controller.FrameBytes());
        controller.StopStreaming();
    }
    return 0;
}
