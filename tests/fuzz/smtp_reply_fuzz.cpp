// Feeds a server's bytes to the SMTP reply reader in pieces of random sizes (never more than the
// free space it offers), with a buffer of random size from the smallest allowed. Oracle, from the
// stream itself: the reader completes exactly with the piece that carries the end of the first
// final line, never before; the reply it then holds is NUL-terminated, ends with that line's
// line break, and keeps of the line either all of it or its first four characters and its end.
// The code read from any text agrees with its first three characters.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "viewer/alerts/smtp_reply.h"

namespace {

// End (one past the '\n') of the first final line of `stream`, or npos.
std::size_t FinalLineEnd(std::string_view stream, std::size_t* lineStart) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        if (stream[i] != '\n') continue;
        if (start + 3 >= i || stream[start + 3] != '-') {
            *lineStart = start;
            return i + 1;
        }
        start = i + 1;
    }
    return std::string_view::npos;
}

void CheckCode(std::string_view text) {
    std::vector<char> s(text.begin(), text.end());
    s.push_back('\0');
    int expected = 0;
    for (int i = 0; i < 3; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            expected = -1;
            break;
        }
        expected = expected * 10 + (s[i] - '0');
    }
    FUZZ_CHECK(SmtpReplyCode(s.data()) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto bufferSize = static_cast<std::size_t>(in.TakeInRange(8, 80));
    std::vector<std::uint8_t> pieces;  // piece sizes, 1..16
    for (int i = 0; i < 8; ++i)
        pieces.push_back(static_cast<std::uint8_t>(in.Take<std::uint8_t>() % 16 + 1));
    const auto rest = in.Rest();
    const std::string_view stream(reinterpret_cast<const char*>(rest.data()), rest.size());
    CheckCode(stream);
    FUZZ_CHECK(SmtpReplyCode(nullptr) == -1);

    std::size_t finalStart = 0;
    const std::size_t finalEnd = FinalLineEnd(stream, &finalStart);

    std::vector<char> buffer(bufferSize);
    SmtpReplyReader reader(buffer);
    std::size_t sent = 0;
    for (std::size_t piece = 0; sent < stream.size(); ++piece) {
        const std::span<char> space = reader.FreeSpace();
        FUZZ_CHECK(!space.empty() && space.data() >= buffer.data() &&
                   space.data() + space.size() <= buffer.data() + buffer.size() - 1);
        const std::size_t n = std::min({space.size(), stream.size() - sent,
                                        static_cast<std::size_t>(pieces[piece % pieces.size()])});
        std::memcpy(space.data(), stream.data() + sent, n);
        sent += n;
        const bool complete = reader.Append(n);
        FUZZ_CHECK(reader.Length() < buffer.size() && buffer[reader.Length()] == '\0');
        FUZZ_CHECK(complete == (finalEnd != std::string_view::npos && sent >= finalEnd));
        if (!complete) continue;

        // The reply ends with the final line, whole or as its head and its end.
        const std::string_view reply(buffer.data(), reader.Length());
        const std::string_view line = stream.substr(finalStart, finalEnd - finalStart);
        FUZZ_CHECK(!reply.empty() && reply.back() == '\n');
        const std::size_t lastBreak = reply.find_last_of('\n', reply.size() - 2);
        const std::string_view kept = reply.size() < 2 || lastBreak == std::string_view::npos
                                          ? reply
                                          : reply.substr(lastBreak + 1);
        // A kept line may itself contain no earlier break; compare its tail with the line's.
        FUZZ_CHECK(kept.size() <= line.size());
        if (kept.size() < line.size()) {
            FUZZ_CHECK(kept.size() >= 5 && kept.substr(0, 4) == line.substr(0, 4));
            FUZZ_CHECK(line.ends_with(kept.substr(4)));
        } else {
            FUZZ_CHECK(kept == line);
        }
        break;
    }
    return 0;
}
