#include "platform/text/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/text/code_points.h"
#include "platform/text/font_match.h"

namespace gdi {
namespace {

constexpr LONG kMaxPixels = 4096;      // largest character height or width a font is made for
constexpr LONG kDefaultEmHeight = 12;  // character height when lfHeight is 0
constexpr std::size_t kMaxCachedGlyphs = 4096;  // per mode; the cache starts over beyond it
constexpr FT_Fixed kObliqueShear = 0x0366A;     // about 12 degrees, for synthesised italics

// Weights of the lowercase letters and the space in the classic definition of the average
// character width (they add up to 1000).
constexpr struct {
    char32_t ch;
    int weight;
} kAverageWidthWeights[] = {
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20},  {'g', 14},
    {'h', 42}, {'i', 63}, {'j', 3},  {'k', 6},  {'l', 35},  {'m', 20},  {'n', 56},
    {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49}, {'s', 56},  {'t', 71},  {'u', 31},
    {'v', 10}, {'w', 18}, {'x', 3},  {'y', 18}, {'z', 2},   {' ', 166},
};

LONG RoundToLong(double v) {
    return static_cast<LONG>(std::lround(v));
}

// Average character width in font units: the weighted lowercase average when the face has all
// those letters, else the face's own figure. Newer faces store the plain average over all their
// glyphs there, which would make lfWidth depend on how many symbols a face carries; the weighted
// average keeps metric-compatible faces at the same width.
double AverageWidthUnits(FT_Face face, const TT_OS2* os2) {
    long sum = 0;
    bool complete = true;
    for (const auto& w : kAverageWidthWeights) {
        const FT_UInt index = FT_Get_Char_Index(face, w.ch);
        if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) != 0) {
            complete = false;
            break;
        }
        sum += w.weight * face->glyph->advance.x;
    }
    if (complete && sum > 0) return sum / 1000.0;
    if (os2 != nullptr && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
    return face->max_advance_width / 2.0;
}

}  // namespace

struct Font::Engine {
    std::mutex lock;
    std::unique_ptr<FontMatch> match;
    FT_Library library = nullptr;
    // One slot per fontconfig candidate, opened the first time a character needs it.
    struct Face {
        FT_Face face = nullptr;
        bool opened = false;
    };
    std::vector<Face> faces;
    FT_F26Dot6 xSize = 0;  // horizontal and vertical pixels per em, 26.6
    FT_F26Dot6 ySize = 0;
    bool wantBold = false;
    bool wantItalic = false;
    std::unordered_map<char32_t, Glyph> cache[2];  // by GlyphMode

    ~Engine() {
        for (Face& f : faces) {
            if (f.face != nullptr) FT_Done_Face(f.face);
        }
        if (library != nullptr) FT_Done_FreeType(library);
    }

    FT_Face Open(int i) {
        Face& slot = faces[static_cast<std::size_t>(i)];
        if (!slot.opened) {
            slot.opened = true;
            const std::string file = match->File(i);
            FT_Face face = nullptr;
            if (!file.empty() &&
                FT_New_Face(library, file.c_str(), match->FaceIndex(i), &face) == 0) {
                if (FT_IS_SCALABLE(face) && FT_Set_Char_Size(face, xSize, ySize, 72, 72) == 0) {
                    slot.face = face;
                } else {
                    FT_Done_Face(face);
                }
            }
        }
        return slot.face;
    }

    // The candidate that draws `ch`: the first one that covers it, else the primary face (which
    // then shows its missing-character glyph).
    int FaceFor(char32_t ch) {
        const int n = static_cast<int>(faces.size());
        for (int i = 0; i < n; ++i) {
            if (match->Covers(i, ch) && Open(i) != nullptr) return i;
        }
        return 0;
    }

    const Glyph& GetGlyph(char32_t ch, GlyphMode mode) {
        auto& table = cache[static_cast<int>(mode)];
        if (auto it = table.find(ch); it != table.end()) return it->second;
        if (table.size() >= kMaxCachedGlyphs) table.clear();
        return table.emplace(ch, Render(ch, mode)).first->second;
    }

    Glyph Render(char32_t ch, GlyphMode mode) {
        Glyph glyph;
        const int i = FaceFor(ch);
        FT_Face face = Open(i);
        if (face == nullptr) return glyph;
        // Both modes use the outline hinted for monochrome output, so a text measures the same
        // whichever way it is drawn.
        if (FT_Load_Glyph(face, FT_Get_Char_Index(face, ch),
                          FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) {
            return glyph;
        }
        FT_GlyphSlot slot = face->glyph;
        FT_Pos advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (wantBold && !match->IsBold(i)) {
                // Widen the strokes by about a twenty-fourth of the em, at least one pixel.
                const FT_Pos strength = std::max<FT_Pos>(64, ((xSize / 24) + 32) & ~63);
                FT_Outline_EmboldenXY(&slot->outline, strength, 0);
                advance += strength;
            }
            if (wantItalic && !match->IsItalic(i)) {
                FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
            const FT_Render_Mode renderMode =
                mode == GlyphMode::Mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
            if (FT_Render_Glyph(slot, renderMode) == 0) CopyBitmap(slot, &glyph);
        }
        glyph.advance = static_cast<LONG>((advance + 32) >> 6);
        return glyph;
    }

    static void CopyBitmap(FT_GlyphSlot slot, Glyph* glyph) {
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph->left = slot->bitmap_left;
        glyph->top = slot->bitmap_top;
        glyph->width = static_cast<LONG>(bitmap.width);
        glyph->rows = static_cast<LONG>(bitmap.rows);
        glyph->coverage.assign(static_cast<std::size_t>(glyph->width) * glyph->rows, 0);
        const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
        const int pitch = std::abs(bitmap.pitch);
        for (LONG r = 0; r < glyph->rows; ++r) {
            // A negative pitch stores the bottom row first.
            const LONG stored = bitmap.pitch >= 0 ? r : glyph->rows - 1 - r;
            const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(stored) * pitch;
            BYTE* dst = glyph->coverage.data() + static_cast<std::size_t>(r) * glyph->width;
            for (LONG c = 0; c < glyph->width; ++c) {
                if (mono) {
                    dst[c] = (src[c >> 3] & (0x80 >> (c & 7))) != 0 ? 255 : 0;
                } else {
                    dst[c] = src[c];
                }
            }
        }
    }
};

std::unique_ptr<Font> Font::Create(const LOGFONTW& logFont) {
    auto engine = std::make_unique<Engine>();
    engine->match = FontMatch::Resolve(logFont);
    if (!engine->match) return nullptr;
    if (FT_Init_FreeType(&engine->library) != 0) {
        engine->library = nullptr;
        return nullptr;
    }
    engine->faces.resize(static_cast<std::size_t>(engine->match->Count()));

    // The primary face decides the metrics; open it unscaled first.
    FT_Face face = nullptr;
    const std::string file = engine->match->File(0);
    if (file.empty() ||
        FT_New_Face(engine->library, file.c_str(), engine->match->FaceIndex(0), &face) != 0) {
        return nullptr;
    }
    struct FaceCloser {
        FT_Face face;
        ~FaceCloser() { FT_Done_Face(face); }
    } closer{face};
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    const double upem = face->units_per_EM;
    double ascentUnits = face->ascender;
    double descentUnits = -face->descender;
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    const double cellUnits = ascentUnits + descentUnits;
    if (cellUnits <= 0) return nullptr;

    const long long height = logFont.lfHeight;
    const long long width = std::llabs(static_cast<long long>(logFont.lfWidth));
    if (std::llabs(height) > kMaxPixels || width > kMaxPixels) return nullptr;

    TextMetrics m;
    LONG emHeight = 0;
    if (height > 0) {
        // Cell height: the em is what is left of it after the face's ascent and descent.
        m.tmHeight = static_cast<LONG>(height);
        emHeight = std::max<LONG>(1, RoundToLong(height * upem / cellUnits));
        m.tmAscent = RoundToLong(height * ascentUnits / cellUnits);
        m.tmDescent = m.tmHeight - m.tmAscent;
    } else {
        emHeight = height < 0 ? static_cast<LONG>(-height) : kDefaultEmHeight;
        m.tmAscent = RoundToLong(ascentUnits * emHeight / upem);
        m.tmDescent = RoundToLong(descentUnits * emHeight / upem);
        m.tmHeight = m.tmAscent + m.tmDescent;
    }
    m.tmInternalLeading = std::max<LONG>(0, m.tmHeight - emHeight);
    if (const auto* hhea =
            static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
        const double lineUnits = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
        m.tmExternalLeading =
            std::max<LONG>(0, RoundToLong((lineUnits - cellUnits) * emHeight / upem));
    }

    const double averageUnits = AverageWidthUnits(face, os2);
    LONG emWidth = emHeight;
    if (width > 0) {
        emWidth = std::max<LONG>(1, RoundToLong(width * upem / averageUnits));
        if (emWidth > 4 * kMaxPixels) return nullptr;
        m.tmAveCharWidth = static_cast<LONG>(width);
    } else {
        m.tmAveCharWidth = RoundToLong(averageUnits * emWidth / upem);
    }
    m.tmMaxCharWidth = RoundToLong(face->max_advance_width * emWidth / upem);
    m.tmWeight = logFont.lfWeight <= 0 ? FW_NORMAL : logFont.lfWeight;
    m.tmItalic = logFont.lfItalic != 0 ? 1 : 0;
    m.tmUnderlined = logFont.lfUnderline != 0 ? 1 : 0;
    m.tmStruckOut = logFont.lfStrikeOut != 0 ? 1 : 0;

    DecorationLines lines;
    const double yScale = emHeight / upem;
    const double underlinePos = post != nullptr ? post->underlinePosition : -upem / 10;
    const double underlineThick = post != nullptr ? post->underlineThickness : upem / 20;
    lines.underlineOffset = RoundToLong(-underlinePos * yScale);
    lines.underlineThickness = std::max<LONG>(1, RoundToLong(underlineThick * yScale));
    const double strikePos = os2 != nullptr ? os2->yStrikeoutPosition : upem / 4;
    const double strikeThick = os2 != nullptr ? os2->yStrikeoutSize : upem / 20;
    lines.strikeoutThickness = std::max<LONG>(1, RoundToLong(strikeThick * yScale));
    lines.strikeoutOffset = -RoundToLong(strikePos * yScale);
    // Keep both lines inside the cell.
    lines.underlineOffset = std::min(lines.underlineOffset, m.tmDescent - lines.underlineThickness);

    engine->xSize = static_cast<FT_F26Dot6>(emWidth) * 64;
    engine->ySize = static_cast<FT_F26Dot6>(emHeight) * 64;
    engine->wantBold = logFont.lfWeight >= FW_SEMIBOLD;
    engine->wantItalic = logFont.lfItalic != 0;
    if (engine->Open(0) == nullptr) return nullptr;
    return std::make_unique<Font>(logFont, m, lines, std::move(engine));
}

Font::Font(const LOGFONTW& logFont, const TextMetrics& metrics, const DecorationLines& lines,
           std::unique_ptr<Engine> engine)
    : logFont_(logFont), metrics_(metrics), lines_(lines), engine_(std::move(engine)) {}

Font::~Font() = default;

SIZE Font::GetTextExtent(const WCHAR* text, int count) const {
    long long width = 0;
    ForEachGlyph(text, count, GlyphMode::Mono,
                 [&width](const Glyph& glyph, LONG) { width += glyph.advance; });
    return SIZE{static_cast<LONG>(std::min<long long>(width, std::numeric_limits<LONG>::max())),
                metrics_.tmHeight};
}

void Font::VisitGlyphs(const WCHAR* text, int count, GlyphMode mode, GlyphVisitor visit,
                       void* context) const {
    if (text == nullptr || count <= 0) return;
    std::lock_guard<std::mutex> hold(engine_->lock);
    long long pen = 0;
    int i = 0;
    while (i < count) {
        const Glyph& glyph = engine_->GetGlyph(NextCodePoint(text, count, &i), mode);
        // Beyond this the text is wider than any bitmap it could be drawn into.
        if (pen > std::numeric_limits<LONG>::max() - kMaxPixels * 8) break;
        visit(context, glyph, static_cast<LONG>(pen));
        pen += glyph.advance;
    }
}

}  // namespace gdi
