// Feeds arbitrary text to the hive parser. Oracle: whatever it accepts serialises to text that it
// accepts again as the same hive (keys, value names, types and data), and that text is a fixed
// point of the parse-serialise round trip.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/hive_file.h"

namespace {

// The hive's root always exists: an entry for it without values ("[]" in the text) is not
// written out, and is the same hive as none.
std::size_t KeyCount(const registry::Hive& hive) {
    const registry::Key* root = hive.Find(u"");
    return hive.Keys().size() - (root != nullptr && root->values.empty() ? 1 : 0);
}

bool SameHive(const registry::Hive& a, const registry::Hive& b) {
    if (KeyCount(a) != KeyCount(b)) return false;
    for (const auto& [folded, key] : a.Keys()) {
        if (key.path.empty() && key.values.empty()) continue;
        const registry::Key* other = b.Find(key.path);
        if (other == nullptr || other->path != key.path) return false;
        if (other->values.size() != key.values.size()) return false;
        for (std::size_t i = 0; i < key.values.size(); ++i) {
            const registry::Value& v = key.values[i];
            const registry::Value& w = other->values[i];
            if (v.name != w.name || v.type != w.type || v.data != w.data) return false;
        }
    }
    return true;
}

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s\n--- serialised:\n%s\n", what, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    registry::Hive hive;
    std::string error;
    if (!registry::Parse(text, &hive, &error)) return 0;

    const std::string once = registry::Serialise(hive, "fuzz");
    registry::Hive again;
    if (!registry::Parse(once, &again, &error))
        Fail(("serialised hive rejected: " + error).c_str(), once);
    if (!SameHive(hive, again)) Fail("serialised hive parses to another hive", once);
    if (registry::Serialise(again, "fuzz") != once) Fail("serialising is not stable", once);
    return 0;
}
