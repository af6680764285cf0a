#include "platform/registry/hive.h"

#include "platform/base/utf16.h"

namespace registry {
namespace {

std::u16string Fold(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return out;
}

}  // namespace

Value* Key::FindValue(std::u16string_view name) {
    for (Value& v : values)
        if (utf16::EqualsIgnoreAsciiCase(v.name, name)) return &v;
    return nullptr;
}

const Value* Key::FindValue(std::u16string_view name) const {
    return const_cast<Key*>(this)->FindValue(name);
}

void Key::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    if (Value* v = FindValue(name)) {
        v->type = type;
        v->data = std::move(data);
        return;
    }
    values.push_back(Value{std::u16string(name), type, std::move(data)});
}

bool Key::RemoveValue(std::u16string_view name) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (utf16::EqualsIgnoreAsciiCase(it->name, name)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

std::u16string NormalisePath(std::u16string_view path) {
    std::u16string out;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end > start) {
            if (!out.empty()) out.push_back(u'\\');
            out.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return out;
}

std::u16string JoinPath(std::u16string_view parent, std::u16string_view child) {
    std::u16string joined(parent);
    joined.push_back(u'\\');
    joined.append(child);
    return NormalisePath(joined);
}

Key* Hive::Find(std::u16string_view path) {
    const std::u16string norm = NormalisePath(path);
    auto it = keys_.find(Fold(norm));
    if (it != keys_.end()) return &it->second;
    if (norm.empty()) return &keys_.emplace(std::u16string(), Key{}).first->second;
    return nullptr;
}

const Key* Hive::Find(std::u16string_view path) const {
    return const_cast<Hive*>(this)->Find(path);
}

Key& Hive::Create(std::u16string_view path, bool* created) {
    const std::u16string norm = NormalisePath(path);
    if (created) *created = false;
    Key* key = Find(u"");
    std::size_t pos = 0;
    while (pos < norm.size()) {
        std::size_t end = norm.find(u'\\', pos);
        if (end == std::u16string::npos) end = norm.size();
        const std::u16string prefix = norm.substr(0, end);
        auto [it, inserted] = keys_.try_emplace(Fold(prefix), Key{prefix, {}});
        if (inserted && end == norm.size() && created) *created = true;
        key = &it->second;
        pos = end + 1;
    }
    return *key;
}

bool Hive::RemoveTree(std::u16string_view path) {
    const std::u16string folded = Fold(NormalisePath(path));
    if (folded.empty()) {
        const bool had = !keys_.empty();
        keys_.clear();
        return had;
    }
    auto it = keys_.find(folded);
    if (it == keys_.end()) return false;
    keys_.erase(it);
    const std::u16string prefix = folded + u"\\";
    it = keys_.lower_bound(prefix);
    while (it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0)
        it = keys_.erase(it);
    return true;
}

std::vector<std::u16string> Hive::SubKeyNames(std::u16string_view path) const {
    const std::u16string folded = Fold(NormalisePath(path));
    const std::u16string prefix = folded.empty() ? folded : folded + u"\\";
    std::vector<std::u16string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0) break;
        if (it->first.size() == prefix.size()) continue;  // the root itself
        const std::u16string_view rest = std::u16string_view(it->first).substr(prefix.size());
        if (rest.find(u'\\') != std::u16string_view::npos) continue;
        names.push_back(it->second.path.substr(it->second.path.size() - rest.size()));
    }
    return names;
}

}  // namespace registry
