#include "platform/text/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "platform/base/utf16.h"

namespace gdi {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The generic family that stands behind the face name, from the family nibble of
// lfPitchAndFamily (a fixed pitch without a family asks for a monospaced face).
const char* GenericFamily(BYTE pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
        case FF_ROMAN:
            return "serif";
        case FF_SWISS:
            return "sans-serif";
        case FF_MODERN:
            return "monospace";
        case FF_SCRIPT:
            return "cursive";
        case FF_DECORATIVE:
            return "fantasy";
        default:
            return (pitchAndFamily & 0x03) == FIXED_PITCH ? "monospace" : "sans-serif";
    }
}

// The language a character set asks for, so that an East Asian request prefers a face that
// writes that language.
const char* LanguageOf(BYTE charSet) {
    switch (charSet) {
        case SHIFTJIS_CHARSET:
            return "ja";
        case HANGUL_CHARSET:
            return "ko";
        case GB2312_CHARSET:
            return "zh-cn";
        case CHINESEBIG5_CHARSET:
            return "zh-tw";
        default:
            return nullptr;
    }
}

std::string FaceNameUtf8(const LOGFONTW& font) {
    std::size_t n = 0;
    while (n < LF_FACESIZE && font.lfFaceName[n] != 0) ++n;
    return utf16::ToUtf8(std::u16string_view(font.lfFaceName, n));
}

const FcChar8* AsFc(const char* s) {
    return reinterpret_cast<const FcChar8*>(s);
}

}  // namespace

struct FontMatch::Sorted {
    FcFontSet* set = nullptr;
    ~Sorted() {
        if (set != nullptr) FcFontSetDestroy(set);
    }
};

std::unique_ptr<FontMatch> FontMatch::Resolve(const LOGFONTW& font) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    const std::string face = FaceNameUtf8(font);
    if (!face.empty()) FcPatternAddString(pattern.get(), FC_FAMILY, AsFc(face.c_str()));
    FcPatternAddString(pattern.get(), FC_FAMILY, AsFc(GenericFamily(font.lfPitchAndFamily)));
    const LONG weight = font.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(font.lfWeight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT,
                        font.lfItalic != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (const char* lang = LanguageOf(font.lfCharSet)) {
        FcPatternAddString(pattern.get(), FC_LANG, AsFc(lang));
    }
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return nullptr;
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    auto sorted = std::make_unique<Sorted>();
    sorted->set = FcFontSort(nullptr, pattern.get(), FcTrue, nullptr, &result);
    if (sorted->set == nullptr || sorted->set->nfont == 0) return nullptr;
    return std::make_unique<FontMatch>(std::move(sorted));
}

FontMatch::FontMatch(std::unique_ptr<Sorted> sorted) : sorted_(std::move(sorted)) {}
FontMatch::~FontMatch() = default;

int FontMatch::Count() const {
    return sorted_->set->nfont;
}

std::string FontMatch::File(int i) const {
    FcChar8* file = nullptr;
    if (FcPatternGetString(sorted_->set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(file);
}

int FontMatch::FaceIndex(int i) const {
    int index = 0;
    FcPatternGetInteger(sorted_->set->fonts[i], FC_INDEX, 0, &index);
    return index;
}

bool FontMatch::Covers(int i, char32_t codePoint) const {
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(sorted_->set->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch) {
        return false;
    }
    return FcCharSetHasChar(chars, codePoint) != FcFalse;
}

bool FontMatch::IsBold(int i) const {
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(sorted_->set->fonts[i], FC_WEIGHT, 0, &weight);
    return weight >= FC_WEIGHT_DEMIBOLD;
}

bool FontMatch::IsItalic(int i) const {
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(sorted_->set->fonts[i], FC_SLANT, 0, &slant);
    return slant != FC_SLANT_ROMAN;
}

}  // namespace gdi
