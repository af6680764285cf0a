// Frames and controllers for the overlay tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "overlay/overlay_controller.h"
#include "tests/overlay/reference_blend.h"

// A frame's bytes in a heap block of exactly the frame's size (the address sanitizer catches any
// write past it), filled with a fixed pseudo-random pattern.
inline std::vector<BYTE> PatternFrame(std::size_t bytes, std::uint32_t seed = 12345) {
    std::vector<BYTE> frame(bytes);
    for (BYTE& b : frame) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<BYTE>(seed >> 16);
    }
    return frame;
}

inline StampClock FixedClock(StampTime t) {
    return [t] { return t; };
}

inline constexpr StampTime kSampleTime{2011, 6, 13, 9, 5, 7};

// A controller streaming frames of `format` at width x height (bits per pixel to match).
inline std::unique_ptr<COverlayController> StreamingController(int format, LONG width, LONG height,
                                                               StampTime time = kSampleTime) {
    auto controller = std::make_unique<COverlayController>();
    controller->SetPixelFormat(format);
    controller->SetFrameGeometry(width, height, static_cast<WORD>(BytesPerPixel(format) * 8), 0);
    controller->SetStampClock(FixedClock(time));
    controller->StartStreaming();
    return controller;
}

inline FrameLayout LayoutOf(const COverlayController& controller, bool bottomUp = false) {
    return FrameLayout{controller.GetPixelFormat(), controller.GetFrameWidth(),
                       controller.GetFrameHeight(), controller.GetFrameStride(), bottomUp};
}

// `text` rendered by a controller of its own, as a text bitmap.
inline TextBitmap RenderedText(const std::u16string& text) {
    COverlayController renderer;
    SIZE size{};
    std::unique_ptr<BYTE[]> bits;
    int capacity = 0;
    int stride = 0;
    TextBitmap bitmap;
    if (renderer.RenderText(text.c_str(), &size, &bits, &capacity, &stride) == 0) return bitmap;
    bitmap.cx = size.cx;
    bitmap.cy = size.cy;
    bitmap.stride = stride;
    if (bits)
        bitmap.bits.assign(bits.get(), bits.get() + static_cast<std::size_t>(stride) * size.cy);
    return bitmap;
}
