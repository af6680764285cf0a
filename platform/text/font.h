// A font made from a LOGFONTW, as CreateFontIndirectW makes one: the face is found through
// fontconfig, glyphs come from FreeType. Heights follow the platform's rules (a positive lfHeight
// is the cell height, a negative one the character height), lfWidth scales the glyphs horizontally
// to that average character width, and text sits in its cell on the ascent line. Characters the
// face lacks are taken from the next face that has them.
//
// Glyphs are rendered once and kept, so drawing the same characters again is cheap. A Font may be
// used from several threads; its methods serialise on an internal lock.
#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/text/logfont.h"

namespace gdi {

class FontMatch;

// What GetTextMetricsW reports, in pixels.
struct TextMetrics {
    LONG tmHeight = 0;  // cell height: tmAscent + tmDescent
    LONG tmAscent = 0;  // cell top to baseline
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;  // cell height minus character (em) height
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
};

// Where underline and strike-out lines go: top row of each line counted in rows below the baseline
// (negative: above it), and its thickness in rows.
struct DecorationLines {
    LONG underlineOffset = 0;
    LONG underlineThickness = 0;
    LONG strikeoutOffset = 0;
    LONG strikeoutThickness = 0;
};

enum class GlyphMode {
    Mono,  // hard-edged: every coverage value is 0 or 255
    Gray,  // antialiased coverage 0-255
};

// One rendered character.
struct Glyph {
    LONG advance = 0;  // pen movement in pixels
    LONG left = 0;     // pen to first coverage column
    LONG top = 0;      // baseline up to first coverage row
    LONG width = 0;
    LONG rows = 0;
    std::vector<BYTE> coverage;  // width x rows, top row first
};

class Font {
  public:
    // Null when no usable face exists or the request is beyond the sizes text is drawn at (heights
    // and widths above 4096 pixels).
    static std::unique_ptr<Font> Create(const LOGFONTW& logFont);

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const LOGFONTW& LogFont() const { return logFont_; }
    const TextMetrics& Metrics() const { return metrics_; }
    const DecorationLines& Decorations() const { return lines_; }

    // GetTextExtentPoint32W: the cell size of the first `count` UTF-16 units of `text` (sum of
    // the advances; the cell height). A count <= 0 gives width 0.
    SIZE GetTextExtent(const WCHAR* text, int count) const;

    // Calls visit(const Glyph&, LONG penX) for each character of the text in order, penX being
    // the pen position relative to the start of the text. The glyph is valid only during the call;
    // the font's lock is held, so `visit` must not call back into this font.
    template <class Visit>
    void ForEachGlyph(const WCHAR* text, int count, GlyphMode mode, Visit&& visit) const {
        using V = std::remove_reference_t<Visit>;
        VisitGlyphs(
            text, count, mode,
            [](void* context, const Glyph& glyph, LONG penX) {
                (*static_cast<V*>(context))(glyph, penX);
            },
            const_cast<std::remove_const_t<V>*>(&visit));
    }

    // FreeType state of one font; only Create can make one.
    struct Engine;
    Font(const LOGFONTW& logFont, const TextMetrics& metrics, const DecorationLines& lines,
         std::unique_ptr<Engine> engine);

  private:
    using GlyphVisitor = void (*)(void* context, const Glyph& glyph, LONG penX);
    void VisitGlyphs(const WCHAR* text, int count, GlyphMode mode, GlyphVisitor visit,
                     void* context) const;

    LOGFONTW logFont_;
    TextMetrics metrics_;
    DecorationLines lines_;
    std::unique_ptr<Engine> engine_;  // guarded by its own lock
};

}  // namespace gdi
