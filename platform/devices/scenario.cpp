#include "platform/devices/scenario.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/base/printable_text.h"

namespace devices {
namespace {

using std::chrono::nanoseconds;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Outside text in a message: short and printable, however long the scenario.
std::string Quoted(std::string_view s) {
    return text::QuotedPrintable(s);
}

// Splits at runs of blanks.
std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        std::size_t start = i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// "5s", "2.5s", "1500ms", "5": a time from start, at most a day, to the millisecond.
std::optional<nanoseconds> ParseTime(std::string_view word) {
    std::int64_t whole = 0;
    std::int64_t fraction = 0;  // nanoseconds of the fractional part
    std::size_t i = 0;
    std::size_t digits = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i, ++digits) {
        whole = whole * 10 + (word[i] - '0');
        if (whole > 86'400'000) return std::nullopt;
    }
    if (i < word.size() && word[i] == '.') {
        ++i;
        std::int64_t scale = 100'000'000;
        std::size_t fractionDigits = 0;
        for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i) {
            fraction += (word[i] - '0') * scale;
            scale /= 10;
            ++fractionDigits;
        }
        if (fractionDigits == 0) return std::nullopt;
        digits += fractionDigits;
    }
    if (digits == 0) return std::nullopt;
    const std::string_view unit = word.substr(i);
    if (unit.empty() || unit == "s") {
        if (whole > 86'400) return std::nullopt;
        return nanoseconds(whole * 1'000'000'000 + fraction);
    }
    if (unit == "ms") return nanoseconds(whole * 1'000'000 + fraction / 1000);
    return std::nullopt;
}

// "1,2,4": a set of inputs 1 to 4. On failure *bad is the offending element.
std::optional<std::uint8_t> ParseInputs(std::string_view list, std::string_view* bad) {
    std::uint8_t mask = 0;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view element = Trim(list.substr(0, comma));
        if (element.size() != 1 || element[0] < '1' || element[0] > '4') {
            *bad = element;
            return std::nullopt;
        }
        mask |= static_cast<std::uint8_t>(1u << (element[0] - '1'));
        if (comma == std::string_view::npos) return mask;
        list.remove_prefix(comma + 1);
    }
}

bool IsEventWord(std::string_view word) {
    return word == "unplug" || word == "plug" || word == "remove" || word == "arrive";
}

class Parser {
  public:
    explicit Parser(std::string* error) : error_(error) {}

    bool Item(std::string_view item, Scenario* out) {
        if (item.starts_with("signal")) return Signal(item, out);
        if (item == "absent") {
            out->attachedAtStart = false;
            return true;
        }
        return Event(item, out);
    }

  private:
    bool Fail(std::string message) {
        *error_ = std::move(message);
        return false;
    }

    bool Signal(std::string_view item, Scenario* out) {
        std::string_view rest = Trim(item.substr(6));
        if (!rest.starts_with("=")) return Fail("expected \"signal=\" in " + Quoted(item));
        if (signalSeen_) return Fail("\"signal=\" given twice in " + Quoted(item));
        signalSeen_ = true;
        rest = Trim(rest.substr(1));
        if (rest == "none") {
            out->initialSignal = 0;
            return true;
        }
        if (rest.empty()) return Fail("missing inputs in " + Quoted(item));
        std::string_view bad;
        const auto mask = ParseInputs(rest, &bad);
        if (!mask) return Fail("bad input " + Quoted(bad) + " in " + Quoted(item));
        out->initialSignal = *mask;
        return true;
    }

    bool Event(std::string_view item, Scenario* out) {
        const std::vector<std::string_view> words = Words(item);
        const auto time = ParseTime(words[0]);
        if (!time) {
            // A word that is not a time where a time should be: name the likelier mistake.
            if (IsEventWord(words[0])) return Fail("missing time in " + Quoted(item));
            if (!std::isdigit(static_cast<unsigned char>(words[0][0])))
                return Fail("unknown item " + Quoted(words[0]) + " in " + Quoted(item));
            return Fail("bad time " + Quoted(words[0]) + " in " + Quoted(item));
        }
        if (words.size() < 2) return Fail("missing event in " + Quoted(item));
        ScenarioEvent event;
        event.time = *time;
        const std::string_view verb = words[1];
        if (verb == "unplug" || verb == "plug") {
            event.kind = verb == "plug" ? ScenarioEvent::Kind::Plug : ScenarioEvent::Kind::Unplug;
            // The inputs may be written with blanks after the commas: "unplug 1, 3".
            std::string list;
            for (std::size_t i = 2; i < words.size(); ++i) list += words[i];
            if (list.empty()) return Fail("missing inputs in " + Quoted(item));
            std::string_view bad;
            const auto mask = ParseInputs(list, &bad);
            if (!mask) return Fail("bad input " + Quoted(bad) + " in " + Quoted(item));
            event.inputs = *mask;
        } else if (verb == "remove" || verb == "arrive") {
            event.kind =
                verb == "remove" ? ScenarioEvent::Kind::Remove : ScenarioEvent::Kind::Arrive;
            if (words.size() > 2) return Fail(Quoted(verb) + " takes no inputs in " + Quoted(item));
        } else {
            return Fail("unknown event " + Quoted(verb) + " in " + Quoted(item));
        }
        out->events.push_back(event);
        return true;
    }

    std::string* error_;  // where a failure's message goes; not owned
    bool signalSeen_ = false;
};

}  // namespace

bool ParseScenario(std::string_view text, Scenario* scenario, std::string* error) {
    Scenario parsed;
    Parser parser(error);
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(";\n");
        const std::string_view item = Trim(text.substr(0, end));
        if (!item.empty() && !parser.Item(item, &parsed)) return false;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    std::stable_sort(
        parsed.events.begin(), parsed.events.end(),
        [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.time < b.time; });
    *scenario = std::move(parsed);
    return true;
}

}  // namespace devices
