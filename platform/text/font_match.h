// The font files that can draw a LOGFONTW, best first, as fontconfig sorts them: the first is the
// face the request names (or its metric-compatible substitute); the others cover characters the
// first one lacks (Chinese text falls back to a CJK face).
#pragma once

#include <memory>
#include <string>

#include "platform/text/logfont.h"

namespace gdi {

class FontMatch {
  public:
    // Null when fontconfig knows no scalable font at all.
    static std::unique_ptr<FontMatch> Resolve(const LOGFONTW& font);

    ~FontMatch();
    FontMatch(const FontMatch&) = delete;
    FontMatch& operator=(const FontMatch&) = delete;

    int Count() const;
    // Path and face index of candidate `i` (0 <= i < Count()).
    std::string File(int i) const;
    int FaceIndex(int i) const;
    // Whether candidate `i` has a glyph for `codePoint`.
    bool Covers(int i, char32_t codePoint) const;
    // Whether candidate `i` is itself bold (weight >= semibold) or slanted; when the request asks
    // for more, the renderer synthesises it.
    bool IsBold(int i) const;
    bool IsItalic(int i) const;

    // The fontconfig result, owned. Only Resolve can name its type.
    struct Sorted;
    explicit FontMatch(std::unique_ptr<Sorted> sorted);

  private:
    std::unique_ptr<Sorted> sorted_;
};

}  // namespace gdi
