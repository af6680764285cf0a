// CreateFontIndirectW: fonts by their LOGFONTW, shared across the process. Making the same font
// again (every rendering of a stamp asks for its font afresh) finds the one already resolved, with
// its glyphs already rendered.
#pragma once

#include <memory>

#include "platform/text/font.h"

namespace gdi {

// The font for `logFont`, or null when none can be made. Safe to call from any thread. Characters
// after the face name's terminator do not take part in telling requests apart.
std::shared_ptr<const Font> CreateFontIndirectW(const LOGFONTW& logFont);

}  // namespace gdi
