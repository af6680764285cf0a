// Font requests for the text tests.
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/text/logfont.h"

inline LOGFONTW MakeLogFont(std::u16string_view face, LONG height, LONG width = 0,
                            LONG weight = FW_NORMAL, BYTE quality = PROOF_QUALITY) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    font.lfQuality = quality;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::copy(face.begin(), face.end(), font.lfFaceName);
    return font;
}

// The overlay's font: "Arial", cell height 24, average width 15.
inline LOGFONTW Arial24() {
    return MakeLogFont(u"Arial", 24, 15);
}
