#include "tools/quadrel_reg/registry_tool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string_view>

#include "platform/base/printable_text.h"
#include "platform/base/utf16.h"
#include "platform/com/server_registration_call.h"
#include "platform/registry/hive_file.h"
#include "platform/registry/registry.h"

namespace {

constexpr const char* kUsage =
    "usage: quadrel-reg query KEY\n"
    "       quadrel-reg set KEY NAME (--sz TEXT | --dword N)\n"
    "       quadrel-reg delete KEY [NAME]\n"
    "       quadrel-reg register [--unregister] LIBRARY\n"
    "       quadrel-reg --version\n"
    "KEY starts with HKCU\\ (HKEY_CURRENT_USER) or HKCR\\ (HKEY_CLASSES_ROOT), for example\n"
    "HKCU\\Software\\Corvane\\Grabber. NAME \"\" or @ is the key's default value.\n"
    "The hives are kept in ";

// At most this many characters of an argument are quoted in a message.
constexpr std::size_t kQuotedChars = 60;

// `text` as it may appear in a message: short and printable.
std::string Printable(std::string_view text) {
    return text::Printable(text, kQuotedChars);
}

// Stored text as `query` prints it: control characters as the escapes of the hive file (\n, \r,
// \t, \0, \uXXXX), so that a value can neither move the cursor nor send the terminal a command.
std::string Shown(std::u16string_view text) {
    std::u16string shown;
    for (char16_t c : text) {
        if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F)) {
            shown.push_back(c);
            continue;
        }
        const char* named = c == u'\n'   ? "\\n"
                            : c == u'\r' ? "\\r"
                            : c == u'\t' ? "\\t"
                            : c == 0     ? "\\0"
                                         : nullptr;
        char buf[8];
        if (!named) {
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            named = buf;
        }
        for (const char* p = named; *p; ++p) shown.push_back(static_cast<char16_t>(*p));
    }
    return utf16::ToUtf8(shown);
}

// What was wrong, then the usage; status 2.
int UsageError(std::ostream& err, const std::string& what) {
    err << "quadrel-reg: " << what << "\n" << kUsage << registry::HiveDirectory() << "\n";
    return 2;
}

struct KeyName {
    HKEY root;
    std::u16string path;
};

bool ParseKey(const std::string& text, KeyName* key) {
    const std::size_t slash = text.find('\\');
    const std::string root = text.substr(0, slash);
    const std::string rest = slash == std::string::npos ? "" : text.substr(slash + 1);
    if (root == "HKCU" || root == "HKEY_CURRENT_USER") {
        key->root = HKEY_CURRENT_USER;
    } else if (root == "HKCR" || root == "HKEY_CLASSES_ROOT") {
        key->root = HKEY_CLASSES_ROOT;
    } else {
        return false;
    }
    key->path = utf16::FromUtf8(rest);
    return true;
}

std::u16string ValueName(const std::string& name) {
    return name == "@" ? std::u16string() : utf16::FromUtf8(name);
}

std::string Describe(LONG rc) {
    switch (rc) {
        case ERROR_FILE_NOT_FOUND:
            return "not found";
        case ERROR_ACCESS_DENIED:
            return "access denied";
        case ERROR_BADDB:
            return "the registry file is damaged (see above)";
        case ERROR_CANTREAD:
            return "the registry file cannot be read";
        case ERROR_CANTWRITE:
            return "the registry file cannot be written";
        case ERROR_INVALID_PARAMETER:
            return "invalid name or value";
        default:
            return "error " + std::to_string(rc);
    }
}

// Runs `enumerate` (a RegEnum…W call with the name buffer and its size in units) with `buffer`,
// growing the buffer while the call answers ERROR_MORE_DATA; *chars is the name's length after.
template <typename Enumerate>
LONG EnumName(std::u16string& buffer, DWORD* chars, Enumerate enumerate) {
    for (;;) {
        *chars = static_cast<DWORD>(buffer.size());
        const LONG rc = enumerate(buffer.data(), chars);
        if (rc != ERROR_MORE_DATA || *chars <= buffer.size()) return rc;
        buffer.resize(*chars);
    }
}

class KeyHandle {
  public:
    KeyHandle() = default;
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

int Query(const std::string& keyText, std::ostream& out, std::ostream& err) {
    KeyName name;
    if (!ParseKey(keyText, &name)) {
        err << "quadrel-reg: unknown hive in " << Printable(keyText) << "\n";
        return 2;
    }
    KeyHandle key;
    if (const LONG rc = RegOpenKeyExW(name.root, name.path.c_str(), 0, KEY_READ, key.Out());
        rc != ERROR_SUCCESS) {
        err << "quadrel-reg: " << Printable(keyText) << ": " << Describe(rc) << "\n";
        return 1;
    }
    out << keyText << "\n";
    // Names are read into buffers that grow to what the registry asks for, so that a name
    // longer than the limits (written into the file by an editor) is listed like any other.
    std::u16string valueName(kMaxValueNameChars + 1, u'\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = 0;
        DWORD type = 0;
        DWORD size = 0;
        LONG rc = EnumName(valueName, &nameChars, [&](LPWSTR name, LPDWORD chars) {
            return RegEnumValueW(key.Get(), index, name, chars, nullptr, &type, nullptr, &size);
        });
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) {
            err << "quadrel-reg: " << Printable(keyText) << ": " << Describe(rc) << "\n";
            return 1;
        }
        std::vector<BYTE> data(size + 2, 0);
        DWORD dataSize = size;
        rc = EnumName(valueName, &nameChars, [&](LPWSTR name, LPDWORD chars) {
            return RegEnumValueW(key.Get(), index, name, chars, nullptr, &type, data.data(),
                                 &dataSize);
        });
        if (rc != ERROR_SUCCESS) {
            err << "quadrel-reg: " << Printable(keyText) << ": " << Describe(rc) << "\n";
            return 1;
        }
        const std::string shownName =
            nameChars == 0 ? "(Default)" : Shown(std::u16string_view(valueName.data(), nameChars));
        out << "    " << shownName << "    ";
        if (type == REG_SZ) {
            std::u16string text(dataSize / 2, u'\0');
            std::memcpy(text.data(), data.data(), text.size() * 2);
            while (!text.empty() && text.back() == 0) text.pop_back();
            out << "REG_SZ    " << Shown(text) << "\n";
        } else if (type == REG_DWORD && dataSize == 4) {
            DWORD v = 0;
            std::memcpy(&v, data.data(), 4);
            out << "REG_DWORD    " << v << "\n";
        } else {
            out << "REG_BINARY(" << type << ")    " << dataSize << " bytes\n";
        }
    }
    std::u16string subName(kMaxKeyNameChars + 1, u'\0');
    for (DWORD index = 0;; ++index) {
        DWORD chars = 0;
        const LONG rc = EnumName(subName, &chars, [&](LPWSTR name, LPDWORD nameChars) {
            return RegEnumKeyExW(key.Get(), index, name, nameChars, nullptr, nullptr, nullptr,
                                 nullptr);
        });
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) {
            err << "quadrel-reg: " << Printable(keyText) << ": " << Describe(rc) << "\n";
            return 1;
        }
        out << keyText << (keyText.back() == '\\' ? "" : "\\")
            << Shown(std::u16string_view(subName.data(), chars)) << "\n";
    }
    return 0;
}

// The first part of `path` longer than the registry lets a key name be, or empty.
std::u16string_view TooLongKeyName(std::u16string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        if (end - start > kMaxKeyNameChars) return path.substr(start, end - start);
        start = end + 1;
    }
    return {};
}

int Set(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() != 5 || (args[3] != "--sz" && args[3] != "--dword"))
        return UsageError(err, "set takes KEY NAME and --sz TEXT or --dword N");
    KeyName name;
    if (!ParseKey(args[1], &name)) {
        err << "quadrel-reg: unknown hive in " << Printable(args[1]) << "\n";
        return 2;
    }
    const std::u16string valueName = ValueName(args[2]);
    const std::u16string keyPath = registry::NormalisePath(name.path);
    if (const std::u16string_view part = TooLongKeyName(keyPath); !part.empty()) {
        err << "quadrel-reg: a key name has at most " << kMaxKeyNameChars
            << " characters; this one has " << part.size() << ": " << Printable(utf16::ToUtf8(part))
            << "\n";
        return 2;
    }
    if (valueName.size() > kMaxValueNameChars) {
        err << "quadrel-reg: a value name has at most " << kMaxValueNameChars
            << " characters; this one has " << valueName.size() << ": " << Printable(args[2])
            << "\n";
        return 2;
    }
    std::vector<BYTE> data;
    DWORD type;
    if (args[3] == "--sz") {
        const std::u16string text = utf16::FromUtf8(args[4]);
        data.resize(text.size() * 2);
        std::memcpy(data.data(), text.data(), data.size());
        type = REG_SZ;
    } else {
        // Decimal, or hexadecimal after "0x" (a leading 0 is not octal).
        const std::string& number = args[4];
        const bool hex = number.starts_with("0x") || number.starts_with("0X");
        const std::string digits = number.substr(hex ? 2 : 0);
        const bool wellFormed = !digits.empty() && digits.size() <= 10 &&
                                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                             : "0123456789") == std::string::npos;
        const unsigned long long v =
            wellFormed ? std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10) : 0;
        if (!wellFormed || v > 0xFFFFFFFFull) {
            err << "quadrel-reg: not a number from 0 to 4294967295: " << Printable(number) << "\n";
            return 2;
        }
        const auto d = static_cast<DWORD>(v);
        data.resize(4);
        std::memcpy(data.data(), &d, 4);
        type = REG_DWORD;
    }
    KeyHandle key;
    LONG rc = RegCreateKeyExW(name.root, name.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(key.Get(), valueName.c_str(), 0, type, data.data(),
                            static_cast<DWORD>(data.size()));
    if (rc != ERROR_SUCCESS) {
        err << "quadrel-reg: " << Printable(args[1]) << ": " << Describe(rc) << "\n";
        return 1;
    }
    return 0;
}

int Delete(const std::vector<std::string>& args, std::ostream& err) {
    KeyName name;
    if (!ParseKey(args[1], &name)) {
        err << "quadrel-reg: unknown hive in " << Printable(args[1]) << "\n";
        return 2;
    }
    LONG rc;
    if (args.size() == 3) {
        KeyHandle key;
        rc = RegOpenKeyExW(name.root, name.path.c_str(), 0, KEY_ALL_ACCESS, key.Out());
        if (rc == ERROR_SUCCESS) rc = RegDeleteValueW(key.Get(), ValueName(args[2]).c_str());
    } else {
        if (registry::NormalisePath(name.path).empty()) {
            err << "quadrel-reg: a whole hive is not deleted\n";
            return 2;
        }
        rc = RegDeleteTreeW(name.root, name.path.c_str());
    }
    if (rc != ERROR_SUCCESS) {
        err << "quadrel-reg: " << Printable(args[1])
            << (args.size() == 3 ? " " + Printable(args[2]) : "") << ": " << Describe(rc) << "\n";
        return 1;
    }
    return 0;
}

int Register(const std::vector<std::string>& args, std::ostream& err) {
    const bool unregister = args.size() >= 2 && args[1] == "--unregister";
    if (args.size() == (unregister ? 2u : 1u)) return UsageError(err, "the library is missing");
    if (args.size() != (unregister ? 3u : 2u)) return UsageError(err, "register takes one LIBRARY");
    std::string error;
    if (FAILED(CallServerRegistration(args.back(), unregister, &error))) {
        err << "quadrel-reg: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunRegistryTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(err, "a command is missing");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << kUsage << registry::HiveDirectory() << "\n";
        return 0;
    }
    if (command == "--version") {
        out << "quadrel-reg " << QUADREL_VERSION << "\n";
        return 0;
    }
    if (command == "query")
        return args.size() == 2 ? Query(args[1], out, err) : UsageError(err, "query takes one KEY");
    if (command == "set") return Set(args, err);
    if (command == "delete")
        return args.size() == 2 || args.size() == 3
                   ? Delete(args, err)
                   : UsageError(err, "delete takes KEY and, for one value, its NAME");
    if (command == "register") return Register(args, err);
    return UsageError(err, "unknown command \"" + Printable(command) + "\"");
}
