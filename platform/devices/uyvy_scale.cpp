#include "platform/devices/uyvy_scale.h"

#include <cstring>

namespace devices {

void ScaleUyvy(const FramePicture& from, const VideoFormat& to, std::span<std::uint8_t> out) {
    const std::size_t outBytes = to.FrameBytes();
    if (out.size() < outBytes) return;
    const int fromWidth = from.format.width & ~1;
    const int fromHeight = from.format.height;
    const bool usable = fromWidth > 0 && fromHeight > 0 &&
                        from.bytes.size() >= static_cast<std::size_t>(from.format.width) *
                                                 static_cast<std::size_t>(fromHeight) * 2;
    if (!usable) {
        for (std::size_t i = 0; i < outBytes; i += 2) {
            out[i] = 128;
            out[i + 1] = 16;
        }
        return;
    }
    const std::size_t fromStride = static_cast<std::size_t>(from.format.width) * 2;
    const std::size_t toStride = static_cast<std::size_t>(to.width) * 2;
    if (from.format.width == to.width && fromHeight == to.height) {
        std::memcpy(out.data(), from.bytes.data(), outBytes);
        return;
    }
    const int fromPairs = fromWidth / 2;
    const int toPairs = to.width / 2;
    for (int y = 0; y < to.height; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * fromHeight / to.height);
        const std::uint8_t* row = from.bytes.data() + static_cast<std::size_t>(sy) * fromStride;
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(y) * toStride;
        for (int p = 0; p < toPairs; ++p) {
            const int sp = static_cast<int>(static_cast<long long>(p) * fromPairs / toPairs);
            std::memcpy(dst + p * 4, row + sp * 4, 4);
        }
    }
}

}  // namespace devices
