#include "viewer/settings/narrow_to_oem.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/base/utf16.h"

namespace {

// Converts all of `text` into `charset`, replacing what it cannot hold with '?'.
bool Convert(std::u16string_view text, const char* charset, std::string* out) {
    iconv_t cd = ::iconv_open(charset, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    char* in = input.data();
    std::size_t inLeft = input.size();
    out->clear();
    char chunk[256];
    bool ok = true;
    while (inLeft > 0) {
        char* dst = chunk;
        std::size_t dstLeft = sizeof chunk;
        const std::size_t rc = ::iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out->append(chunk, sizeof chunk - dstLeft);
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (errno == EILSEQ || errno == EINVAL) {
            // One UTF-16 unit (or a surrogate pair) the target cannot hold: put '?' for it.
            out->push_back('?');
            const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                        (static_cast<unsigned char>(in[1]) << 8));
            const std::size_t skip = unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4 ? 4 : 2;
            in += skip;
            inLeft -= std::min(skip, inLeft);
            continue;
        }
        ok = false;
        break;
    }
    ::iconv_close(cd);
    return ok;
}

}  // namespace

int NarrowToCharset(LPCWSTR text, char* out, const char* charset) {
    if (!text || !out) return 0;
    std::string converted;
    if (!Convert(std::u16string_view(text, utf16::Length(text)), charset, &converted)) return 0;
    if (converted.size() + 1 > kNarrowBufferBytes) return 0;
    std::memcpy(out, converted.data(), converted.size());
    out[converted.size()] = '\0';
    return 1;
}

int NarrowToOem(LPCWSTR text, char* out) {
    return NarrowToCharset(text, out, ::nl_langinfo(CODESET));
}
