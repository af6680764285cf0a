#include "platform/text/font_cache.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <mutex>
#include <utility>

namespace gdi {
namespace {

constexpr std::size_t kCachedFonts = 16;

// A request with everything after the face name's terminator cleared, so that it can be compared
// byte for byte.
LOGFONTW Normalised(const LOGFONTW& logFont) {
    LOGFONTW key{};
    std::memcpy(&key, &logFont, sizeof key);
    bool ended = false;
    for (WCHAR& ch : key.lfFaceName) {
        if (ended) ch = 0;
        if (ch == 0) ended = true;
    }
    key.lfFaceName[LF_FACESIZE - 1] = 0;
    return key;
}

// The process's fonts, most recently asked for first.
class FontCache {
  public:
    static FontCache& Instance() {
        static FontCache cache;
        return cache;
    }

    std::shared_ptr<const Font> Get(const LOGFONTW& logFont) {
        const LOGFONTW key = Normalised(logFont);
        {
            std::lock_guard<std::mutex> hold(lock_);
            for (auto it = fonts_.begin(); it != fonts_.end(); ++it) {
                if (std::memcmp(&it->first, &key, sizeof key) == 0) {
                    fonts_.splice(fonts_.begin(), fonts_, it);
                    return fonts_.front().second;
                }
            }
        }
        // Resolving takes a while; do it without holding the lock.
        std::shared_ptr<const Font> font = Font::Create(key);
        if (!font) return nullptr;
        std::lock_guard<std::mutex> hold(lock_);
        for (const auto& [other, made] : fonts_) {
            if (std::memcmp(&other, &key, sizeof key) == 0) return made;  // another thread won
        }
        fonts_.emplace_front(key, font);
        if (fonts_.size() > kCachedFonts) fonts_.pop_back();
        return font;
    }

  private:
    std::mutex lock_;
    std::list<std::pair<LOGFONTW, std::shared_ptr<const Font>>> fonts_;
};

}  // namespace

std::shared_ptr<const Font> CreateFontIndirectW(const LOGFONTW& logFont) {
    return FontCache::Instance().Get(logFont);
}

}  // namespace gdi
