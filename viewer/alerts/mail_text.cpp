#include "viewer/alerts/mail_text.h"

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::string SingleLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (IsLineBreak(text[i])) {
            out += ' ';
            while (i < text.size() && IsLineBreak(text[i])) ++i;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string EncodeDataBody(std::string_view body) {
    std::string out;
    out.reserve(body.size() + body.size() / 16 + 2);
    bool atLineStart = true;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r' || c == '\n') {
            // CR LF, a lone CR and a lone LF each end one line.
            if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
            out += "\r\n";
            atLineStart = true;
            continue;
        }
        if (atLineStart && c == '.') out += '.';
        out += c;
        atLineStart = false;
    }
    return out;
}
