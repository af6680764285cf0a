#include "viewer/widgets/bitmap_to_region.h"

#include "viewer/widgets/region_data.h"

namespace {

constexpr DWORD kBatchSize = 2000;

bool IsKey(QRgb pixel, QRgb key) {
    return qRed(pixel) == qRed(key) && qGreen(pixel) == qGreen(key) && qBlue(pixel) == qBlue(key);
}

}  // namespace

std::optional<QRegion> BitmapToRegion(const QImage& bitmap, QRgb key, RegionBuildStats* stats) {
    if (bitmap.isNull()) return std::nullopt;
    // 32 bits per pixel (blue, green, red, unused), as the scan reads them.
    const QImage pixels =
        bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32
            ? bitmap
            : bitmap.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width();
    const int height = pixels.height();

    CRegionData buffer;
    std::optional<QRegion> result;
    int batches = 0;
    const auto flush = [&] {
        const QRegion batch = buffer.ToRegion();
        ++batches;
        result = result ? result->united(batch) : batch;
        buffer.Reset();
    };

    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int x0 = x;
            while (x < width && !IsKey(row[x], key)) ++x;
            if (x > x0) {
                buffer.Append(RECT{x0, y, x, y + 1});
                if (buffer.Header().nCount == kBatchSize) flush();
            }
            ++x;  // past the transparent pixel that ended the run
        }
    }
    flush();

    if (stats) *stats = {batches, buffer.Capacity(), buffer.Growths()};
    return result;
}
