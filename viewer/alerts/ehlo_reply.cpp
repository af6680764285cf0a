#include "viewer/alerts/ehlo_reply.h"

#include <cctype>
#include <string_view>

namespace {

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Splits `text` at spaces and '=' and calls `word` for every non-empty piece.
template <typename Word>
void ForEachWord(std::string_view text, Word word) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ' ' || text[i] == '=' || text[i] == '\t') {
            if (i > start) word(text.substr(start, i - start));
            start = i + 1;
        }
    }
}

void ReadLine(std::string_view line, EhloExtensions* found) {
    if (line.size() <= 4) return;  // "250" or "250 " carries no keyword
    const std::string_view rest = line.substr(4);
    bool first = true;
    bool auth = false;
    ForEachWord(rest, [&](std::string_view word) {
        if (first) {
            first = false;
            if (SameWord(word, "STARTTLS")) found->startTls = true;
            auth = SameWord(word, "AUTH");
            if (auth) found->authListed = true;
            return;
        }
        if (!auth) return;
        if (SameWord(word, "LOGIN")) found->login = true;
        if (SameWord(word, "PLAIN")) found->plain = true;
    });
}

}  // namespace

EhloExtensions ParseEhloReply(const char* reply) {
    EhloExtensions found;
    if (!reply) return found;
    std::string_view text(reply);
    bool greetingLine = true;  // the first line names the server, it lists nothing
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!greetingLine) ReadLine(line, &found);
        greetingLine = false;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return found;
}
