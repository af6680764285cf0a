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

QRegion CRegionData::ToRegion() const {
    std::vector<QRect> rects;
    rects.reserve(header_.nCount);
    for (DWORD i = 0; i < header_.nCount; ++i) {
        const RECT& r = rects_[i];
        rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    QRegion region;
    // Runs of one row, left to right, rows top to bottom: already the banded order setRects wants.
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}
