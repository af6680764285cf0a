// Feeds arbitrary EHLO replies to ParseEhloReply. Oracle: a mechanism counts only when an AUTH
// line was seen, letter case never matters, the greeting line offers nothing, and a line added
// after the last line break can only add to what the reply offers.
#include <cctype>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "viewer/alerts/ehlo_reply.h"

namespace {

bool Same(const EhloExtensions& a, const EhloExtensions& b) {
    return a.startTls == b.startTls && a.authListed == b.authListed && a.login == b.login &&
           a.plain == b.plain;
}

bool Within(const EhloExtensions& a, const EhloExtensions& b) {
    return (!a.startTls || b.startTls) && (!a.authListed || b.authListed) &&
           (!a.login || b.login) && (!a.plain || b.plain);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string reply(reinterpret_cast<const char*>(data), size);
    reply = reply.substr(0, reply.find('\0'));
    const EhloExtensions found = ParseEhloReply(reply.c_str());
    FUZZ_CHECK(found.authListed || (!found.login && !found.plain));

    std::string lower = reply;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    FUZZ_CHECK(Same(ParseEhloReply(lower.c_str()), found));

    if (reply.find('\n') == std::string::npos) FUZZ_CHECK(Same(found, EhloExtensions{}));
    if (reply.ends_with('\n')) {
        const std::string longer = reply + "250 AUTH x\r\n";
        FUZZ_CHECK(Within(found, ParseEhloReply(longer.c_str())));
    }
    FUZZ_CHECK(Same(ParseEhloReply(nullptr), EhloExtensions{}));
    return 0;
}
