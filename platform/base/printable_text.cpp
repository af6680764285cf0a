#include "platform/base/printable_text.h"

namespace text {

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range the second byte must be in
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string Printable(std::string_view text, std::size_t maxChars) {
    std::string shown;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++chars) {
        if (chars == maxChars) return shown + "...";
        const std::size_t length = Utf8CharLength(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        // C1 controls (U+0080 to U+009F) are C2 80 to C2 9F.
        const bool control =
            lead < 0x20 || lead == 0x7F ||
            (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0);
        if (length == 0) {
            shown += '?';
            ++i;
            continue;
        }
        if (control)
            shown += '?';
        else
            shown.append(text.substr(i, length));
        i += length;
    }
    return shown;
}

std::string QuotedPrintable(std::string_view text, std::size_t maxChars) {
    return "\"" + Printable(text, maxChars) + "\"";
}

}  // namespace text
