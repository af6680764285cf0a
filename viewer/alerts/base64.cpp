#include "viewer/alerts/base64.h"

namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string Base64Encode(const char* text, std::size_t length) {
    std::string out;
    if (!text) return out;
    out.reserve((length + 2) / 3 * 4);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        const unsigned group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out += kBase64Alphabet[(group >> 18) & 0x3F];
        out += kBase64Alphabet[(group >> 12) & 0x3F];
        out += kBase64Alphabet[(group >> 6) & 0x3F];
        out += kBase64Alphabet[group & 0x3F];
    }
    const std::size_t rest = length - i;
    if (rest > 0) {
        unsigned group = bytes[i] << 16;
        if (rest == 2) group |= bytes[i + 1] << 8;
        out += kBase64Alphabet[(group >> 18) & 0x3F];
        out += kBase64Alphabet[(group >> 12) & 0x3F];
        out += rest == 2 ? kBase64Alphabet[(group >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}
