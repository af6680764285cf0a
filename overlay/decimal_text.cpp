#include "overlay/decimal_text.h"

#include <array>
#include <charconv>
#include <climits>
#include <string>

namespace {

// The text from its first non-blank character, in ASCII (other characters end any number).
std::string NumberText(const QString& text) {
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    bool leading = true;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (leading && (unit == u' ' || (unit >= u'\t' && unit <= u'\r'))) continue;
        leading = false;
        if (unit >= 0x80) break;
        ascii.push_back(static_cast<char>(unit));
    }
    return ascii;
}

}  // namespace

int DecimalInt(const QString& text) {
    const std::string s = NumberText(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturated either way
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double DecimalDouble(const QString& text) {
    std::string s = NumberText(text);
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    double value = 0.0;
    const auto result =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    return result.ec == std::errc() ? value : 0.0;
}

QString FixedTwoDecimals(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 2);
    if (result.ec != std::errc()) return QStringLiteral("0.00");
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(result.ptr - buffer.data()));
}
