#include "viewer/alerts/smtp_reply.h"

#include <algorithm>
#include <cstring>

namespace {

// Of an over-long single line, this much is kept: the code and the character after it.
constexpr std::size_t kKeptLineHead = 4;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

SmtpReplyReader::SmtpReplyReader(std::span<char> buffer) : buffer_(buffer) {
    if (!buffer_.empty()) buffer_[0] = '\0';
}

std::span<char> SmtpReplyReader::FreeSpace() const {
    return buffer_.subspan(length_, buffer_.size() - 1 - length_);
}

bool SmtpReplyReader::IsFinalLine(std::size_t lineEnd) const {
    // A continuation line has '-' right after its three-character code.
    const std::size_t separator = lineStart_ + 3;
    return separator >= lineEnd || buffer_[separator] != '-';
}

bool SmtpReplyReader::Append(std::size_t size) {
    length_ += std::min(size, buffer_.size() - 1 - length_);
    buffer_[length_] = '\0';
    for (; scanned_ < length_; ++scanned_) {
        if (buffer_[scanned_] != '\n') continue;
        if (IsFinalLine(scanned_)) {
            length_ = scanned_ + 1;
            buffer_[length_] = '\0';
            scanned_ = length_;
            return true;
        }
        lineStart_ = scanned_ + 1;
    }
    if (length_ == buffer_.size() - 1) {
        if (lineStart_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + lineStart_, length_ - lineStart_);
            length_ -= lineStart_;
            lineStart_ = 0;
        } else {
            length_ = kKeptLineHead;
        }
        scanned_ = length_;
        buffer_[length_] = '\0';
    }
    return false;
}

int SmtpReplyCode(const char* reply) {
    if (!reply) return -1;
    for (int i = 0; i < 3; ++i) {
        if (!IsDigit(reply[i])) return -1;  // also stops at the NUL of a short reply
    }
    return (reply[0] - '0') * 100 + (reply[1] - '0') * 10 + (reply[2] - '0');
}
