#include "viewer/widgets/region_data.h"

#include <QRect>
#include <algorithm>

namespace {
constexpr RECT kEmptyBound{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
}  // namespace

CRegionData::CRegionData()
    : header_{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 0, 0, kEmptyBound}, rects_(kInitialCapacity) {}

void CRegionData::Append(const RECT& rect) {
    if (header_.nCount >= rects_.size()) {
        rects_.resize(rects_.size() + kGrowth);
        ++growths_;
    }
    rects_[header_.nCount++] = rect;
    RECT& bound = header_.rcBound;
    bound.left = std::min(bound.left, rect.left);
    bound.top = std::min(bound.top, rect.top);
    bound.right = std::max(bound.right, rect.right);
    bound.bottom = std::max(bound.bottom, rect.bottom);
}

void CRegionData::Reset() {
    header_.nCount = 0;
    header_.rcBound = kEmptyBound;
}

namespace {

// Whether the bands [a, a + n) and [b, b + n) hold the same horizontal spans.
bool SameSpans(const std::vector<QRect>& rects, std::size_t a, std::size_t b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (rects[a + i].left() != rects[b + i].left() ||
            rects[a + i].right() != rects[b + i].right()) {
            return false;
        }
    }
    return true;
}

}  // namespace

QRegion CRegionData::ToRegion() const {
    // The runs arrive row by row, left to right. A row whose runs repeat those of the row just
    // above is folded into it, so the region comes out in the canonical banded form (the form
    // region operations produce, which equality compares).
    std::vector<QRect> rects;
    rects.reserve(header_.nCount);
    std::size_t previousBand = 0;  // first rectangle of the band before the current one
    std::size_t currentBand = 0;   // first rectangle of the current band
    const auto closeBand = [&] {
        const std::size_t previousCount = currentBand - previousBand;
        const std::size_t currentCount = rects.size() - currentBand;
        if (currentCount > 0 && previousCount == currentCount &&
            rects[previousBand].bottom() + 1 == rects[currentBand].top() &&
            SameSpans(rects, previousBand, currentBand, currentCount)) {
            const int bottom = rects[currentBand].bottom();
            for (std::size_t i = previousBand; i < currentBand; ++i) rects[i].setBottom(bottom);
            rects.resize(currentBand);
        } else {
            previousBand = currentBand;
        }
        currentBand = rects.size();
    };
    for (DWORD i = 0; i < header_.nCount; ++i) {
        const RECT& r = rects_[i];
        if (rects.size() > currentBand && rects[currentBand].top() != r.top) closeBand();
        rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    closeBand();
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}
