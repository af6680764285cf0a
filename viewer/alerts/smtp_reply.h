// Gathering one SMTP reply from the pieces in which it arrives, and reading its code.
#pragma once

#include <cstddef>
#include <span>

// Collects one reply into a caller's buffer. A reply is complete with its final line, the first
// line whose fourth character is not '-' ("250 ok", "250", also a line too short to carry a code);
// the lines before it ("250-…") are continuation lines. The reply may arrive in any number of
// pieces and may be longer than the buffer: when the buffer fills, completed continuation lines
// are dropped (every line of a reply carries the same code) and of a single over-long line only
// its first four characters and its end are kept.
class SmtpReplyReader {
  public:
    // `buffer` is not owned and must outlive the reader; it needs room for at least eight bytes.
    // Its last byte is kept for the terminating NUL.
    explicit SmtpReplyReader(std::span<char> buffer);

    // Where the next received bytes go; never empty.
    std::span<char> FreeSpace() const;
    // Accounts for `size` bytes just written into FreeSpace(). Returns true when they complete the
    // reply; the buffer then holds it NUL-terminated, ending with its final line (bytes after that
    // line are not part of this reply and are dropped).
    bool Append(std::size_t size);
    // Bytes held, excluding the NUL.
    std::size_t Length() const { return length_; }

  private:
    bool IsFinalLine(std::size_t lineEnd) const;

    std::span<char> buffer_;
    std::size_t length_ = 0;     // bytes held
    std::size_t lineStart_ = 0;  // first byte of the line being gathered
    std::size_t scanned_ = 0;    // bytes already searched for a line end
};

// The code of a NUL-terminated reply: its first three characters read as decimal digits, or -1
// when they are not three digits.
int SmtpReplyCode(const char* reply);
