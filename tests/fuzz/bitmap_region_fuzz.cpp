// Feeds bitmaps of random size, pixel format and content to BitmapToRegion with a random key.
// Oracle: a pixel lies in the region exactly when its colour (alpha aside) differs from the key,
// and the region was built in as many batches as 2000-rectangle runs need, plus the last one.
#include <QImage>
#include <QRegion>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "viewer/widgets/bitmap_to_region.h"

namespace {

constexpr std::array kFormats = {
    QImage::Format_RGB32,    QImage::Format_ARGB32, QImage::Format_RGB888,
    QImage::Format_Indexed8, QImage::Format_Mono,   QImage::Format_RGB16,
};

bool IsKey(QRgb pixel, QRgb key) {
    return (pixel & 0xFFFFFF) == (key & 0xFFFFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto format = kFormats[in.Take<std::uint8_t>() % kFormats.size()];
    const int width = static_cast<int>(in.TakeInRange(0, 96));
    const int height = static_cast<int>(in.TakeInRange(0, 96));
    // Keys the program uses, or any colour.
    const auto keyChoice = in.Take<std::uint8_t>();
    const QRgb key = keyChoice % 3 == 0   ? kDialogShapeKey
                     : keyChoice % 3 == 1 ? kButtonShapeKey
                                          : in.Take<QRgb>();

    QImage bitmap(width, height, format);
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono) {
        QList<QRgb> colours;
        const int count = format == QImage::Format_Mono ? 2 : 256;
        for (int i = 0; i < count; ++i) colours.push_back(i % 4 == 0 ? key : in.Take<QRgb>());
        bitmap.setColorTable(colours);
    }
    // Rows from the input; when it runs out, the rest is zero. A null bitmap has no rows.
    for (int y = 0; y < bitmap.height(); ++y) {
        const auto bytes = in.TakeBytes(static_cast<std::size_t>(bitmap.bytesPerLine()));
        std::memset(bitmap.scanLine(y), 0, static_cast<std::size_t>(bitmap.bytesPerLine()));
        if (!bytes.empty()) std::memcpy(bitmap.scanLine(y), bytes.data(), bytes.size());
    }

    RegionBuildStats stats;
    const std::optional<QRegion> region = BitmapToRegion(bitmap, key, &stats);
    FUZZ_CHECK(region.has_value() == !bitmap.isNull());
    if (!region) return 0;

    int runs = 0;
    for (int y = 0; y < height; ++y) {
        bool inRun = false;
        for (int x = 0; x < width; ++x) {
            const bool opaque = !IsKey(bitmap.pixel(x, y), key);
            FUZZ_CHECK(region->contains(QPoint(x, y)) == opaque);
            if (opaque && !inRun) ++runs;
            inRun = opaque;
        }
    }
    FUZZ_CHECK(!region->intersects(QRect(-1, -1, 1, height + 2)));
    FUZZ_CHECK(!region->intersects(QRect(width, -1, 1, height + 2)));
    FUZZ_CHECK(stats.batches == runs / 2000 + 1);
    return 0;
}
