#include "platform/registry/hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

#include <dirent.h>

#include "platform/base/folders.h"
#include "platform/base/printable_text.h"
#include "platform/base/utf16.h"
#include "platform/registry/hive_status.h"
#include "platform/registry/memory_hives.h"
#include "platform/registry/registry.h"

namespace registry {
namespace {

// --- text form ------------------------------------------------------------------------------

int HexDigit(char h) {
    if (h >= '0' && h <= '9') return h - '0';
    if (h >= 'a' && h <= 'f') return h - 'a' + 10;
    if (h >= 'A' && h <= 'F') return h - 'A' + 10;
    return -1;
}

void AppendQuoted(std::string* out, std::u16string_view text) {
    out->push_back('"');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool pairOk =
            high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pairOk) {
            out->append(utf16::ToUtf8(text.substr(i, 2)));
            ++i;
        } else if (c == u'\\') {
            out->append("\\\\");
        } else if (c == u'"') {
            out->append("\\\"");
        } else if (c == u'\n') {
            out->append("\\n");
        } else if (c == u'\r') {
            out->append("\\r");
        } else if (c == u'\t') {
            out->append("\\t");
        } else if (c == 0) {
            out->append("\\0");
        } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out->append(buf);
        } else {
            out->append(utf16::ToUtf8(text.substr(i, 1)));
        }
    }
    out->push_back('"');
}

// Reads a quoted string starting at text[*pos] == '"'; advances past the closing quote.
bool ReadQuoted(std::string_view text, std::size_t* pos, std::u16string* out) {
    if (*pos >= text.size() || text[*pos] != '"') return false;
    std::size_t i = *pos + 1;
    std::string plain;  // UTF-8 run not yet converted
    out->clear();
    auto flush = [&] {
        out->append(utf16::FromUtf8(plain));
        plain.clear();
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            flush();
            *pos = i + 1;
            return true;
        }
        if (c != '\\') {
            plain.push_back(c);
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) return false;
        const char e = text[i + 1];
        i += 2;
        char16_t unit;
        switch (e) {
            case '\\':
                unit = u'\\';
                break;
            case '"':
                unit = u'"';
                break;
            case 'n':
                unit = u'\n';
                break;
            case 'r':
                unit = u'\r';
                break;
            case 't':
                unit = u'\t';
                break;
            case '0':
                unit = 0;
                break;
            case 'u': {
                if (i + 4 > text.size()) return false;
                unsigned v = 0;
                for (int k = 0; k < 4; ++k) {
                    const int h = HexDigit(text[i + k]);
                    if (h < 0) return false;
                    v = (v << 4) | static_cast<unsigned>(h);
                }
                i += 4;
                unit = static_cast<char16_t>(v);
                break;
            }
            default:
                return false;
        }
        flush();
        out->push_back(unit);
    }
    return false;
}

std::u16string UnitsOf(const std::vector<BYTE>& data) {
    std::u16string units(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

std::vector<BYTE> BytesOf(std::u16string_view units) {
    std::vector<BYTE> data(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        data[2 * i] = static_cast<BYTE>(units[i] & 0xFF);
        data[2 * i + 1] = static_cast<BYTE>(units[i] >> 8);
    }
    return data;
}

void AppendValue(std::string* out, const Value& v) {
    if (v.name.empty())
        out->push_back('@');
    else
        AppendQuoted(out, v.name);
    out->push_back('=');
    if (v.type == REG_SZ && v.data.size() % 2 == 0) {
        out->append("sz:");
        AppendQuoted(out, UnitsOf(v.data));
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        const DWORD d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                        (static_cast<DWORD>(v.data[3]) << 24);
        out->append("dword:" + std::to_string(d));
    } else {
        out->append("hex(" + std::to_string(v.type) + "):\"");
        static const char kHex[] = "0123456789abcdef";
        for (BYTE b : v.data) {
            out->push_back(kHex[b >> 4]);
            out->push_back(kHex[b & 15]);
        }
        out->push_back('"');
    }
    out->push_back('\n');
}

bool ParseValueLine(std::string_view line, Value* v) {
    std::size_t pos = 0;
    if (line.empty()) return false;
    if (line[0] == '@') {
        v->name.clear();
        pos = 1;
    } else if (!ReadQuoted(line, &pos, &v->name)) {
        return false;
    }
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
    const std::string_view rest = line.substr(pos);
    if (rest.starts_with("sz:")) {
        std::size_t p = 3;
        std::u16string text;
        if (!ReadQuoted(rest, &p, &text) || p != rest.size()) return false;
        v->type = REG_SZ;
        v->data = BytesOf(text);
        return true;
    }
    if (rest.starts_with("dword:")) {
        const std::string digits(rest.substr(6));
        if (digits.empty() || digits.size() > 10 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const unsigned long long d = std::strtoull(digits.c_str(), nullptr, 10);
        if (d > 0xFFFFFFFFull) return false;
        v->type = REG_DWORD;
        v->data = {static_cast<BYTE>(d), static_cast<BYTE>(d >> 8), static_cast<BYTE>(d >> 16),
                   static_cast<BYTE>(d >> 24)};
        return true;
    }
    if (rest.starts_with("hex(")) {
        const std::size_t close = rest.find("):\"");
        if (close == std::string_view::npos || rest.back() != '"') return false;
        const std::string digits(rest.substr(4, close - 4));
        if (digits.empty() || digits.size() > 10 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const unsigned long long t = std::strtoull(digits.c_str(), nullptr, 10);
        if (t > 0xFFFFFFFFull) return false;
        const std::string_view hex = rest.substr(close + 3, rest.size() - close - 4);
        if (hex.size() % 2 != 0) return false;
        v->type = static_cast<DWORD>(t);
        v->data.clear();
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            const int hi = HexDigit(hex[i]);
            const int lo = HexDigit(hex[i + 1]);
            if (hi < 0 || lo < 0) return false;
            v->data.push_back(static_cast<BYTE>(hi * 16 + lo));
        }
        return true;
    }
    return false;
}

std::string ErrnoText() {
    return std::strerror(errno);
}

// At most this many characters of a bad line are shown in the damage message.
constexpr std::size_t kShownLineChars = 80;
// At most this many characters of a file name are shown.
constexpr std::size_t kShownPathChars = 400;

std::string Shown(const std::string& path) {
    return text::Printable(path, kShownPathChars);
}

}  // namespace

std::string Serialise(const Hive& hive, const std::string& title) {
    std::string out = "; Quadrel registry hive " + title + "\n";
    for (const auto& [folded, key] : hive.Keys()) {
        if (key.path.empty() && key.values.empty()) continue;
        out += "\n[" + utf16::ToUtf8(key.path) + "]\n";
        for (const Value& v : key.values) AppendValue(&out, v);
    }
    return out;
}

bool Parse(std::string_view text, Hive* hive, std::string* error, std::size_t* badLines) {
    Key* current = nullptr;
    bool underBadKey = false;  // the last key line was bad: its values have nowhere to go
    std::size_t bad = 0;
    std::size_t lineNo = 0;
    std::size_t start = 0;
    const auto badLine = [&](std::string_view line, const char* what) {
        if (bad++ == 0)
            *error = "line " + std::to_string(lineNo) + ": " + what + ": " +
                     text::Printable(line, kShownLineChars);
    };
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!text::IsValidUtf8(line)) {
            // Converting it would replace its bytes: the line is dropped, and the file is kept.
            badLine(line, "not UTF-8");
            if (!line.empty() && line[0] == '[') {
                current = nullptr;
                underBadKey = true;
            }
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                badLine(line, "a key line must end with ']'");
                current = nullptr;
                underBadKey = true;
                continue;
            }
            current = &hive->Create(utf16::FromUtf8(line.substr(1, line.size() - 2)));
            underBadKey = false;
            continue;
        }
        Value v;
        if (!current) {
            badLine(line, underBadKey ? "a value under a bad key line" : "a value before any key");
            continue;
        }
        if (!ParseValueLine(line, &v)) {
            badLine(line, "not a key or value");
            continue;
        }
        current->SetValue(v.name, v.type, std::move(v.data));
    }
    if (badLines) *badLines = bad;
    return bad == 0;
}

std::string HiveDirectory() {
    if (const char* dir = std::getenv("QUADREL_REGISTRY_DIR"); dir && *dir) return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/quadrel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/quadrel";
}

std::string HivePath(const std::string& title) {
    return HiveDirectory() + "/" + title + ".reg";
}

// --- the file -------------------------------------------------------------------------------

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

namespace {

// Set once by a test before any registry call; read by every write.
WriteStepHook g_writeStepHook = nullptr;

void Reached(WriteStep step) {
    if (g_writeStepHook) g_writeStepHook(step);
}

}  // namespace

void SetWriteStepHookForTests(WriteStepHook hook) {
    g_writeStepHook = hook;
}

HiveFile::HiveFile(std::string path, std::string title)
    : path_(std::move(path)), title_(std::move(title)) {}

LONG HiveFile::Transact(const std::function<LONG(Hive& hive, bool* changed)>& fn) {
    LONG result = ERROR_SUCCESS;
    if (TransactInMemory(path_, title_, false, fn, &result)) return result;
    // A hive that cannot be read goes on in memory when its program asked for that.
    const auto unreadable = [&](LONG error) {
        return TransactInMemory(path_, title_, true, fn, &result) ? result : error;
    };
    const std::string folder = folders::FolderOf(path_);
    if (!folders::MakePrivateFolders(folder)) {
        const std::string reason = ErrnoText();
        std::fprintf(stderr, "quadrel: cannot create the registry folder %s: %s\n",
                     Shown(folder).c_str(), reason.c_str());
        NoteHiveRead(path_, false, "cannot create the folder " + Shown(folder) + ": " + reason);
        return unreadable(ERROR_CANTWRITE);
    }
    const std::string lockPath = path_ + ".lock";
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0) {
        const std::string reason = ErrnoText();
        std::fprintf(stderr, "quadrel: cannot open the registry lock %s: %s\n",
                     Shown(lockPath).c_str(), reason.c_str());
        NoteHiveRead(path_, false, "cannot open the lock " + Shown(lockPath) + ": " + reason);
        return unreadable(ERROR_CANTREAD);
    }
    while (::flock(lock.Get(), LOCK_EX) != 0)
        if (errno != EINTR) return ERROR_CANTREAD;

    RemoveStaleTemporaryFiles();
    Hive hive;
    bool writable = true;
    if (const LONG loaded = Load(&hive, &writable); loaded != ERROR_SUCCESS)
        return unreadable(loaded);
    bool changed = false;
    result = fn(hive, &changed);
    if (result != ERROR_SUCCESS || !changed) return result;
    // A damaged file that could not be kept aside is never written over.
    if (!writable) return ERROR_CANTWRITE;
    return Save(hive);
}

void HiveFile::RemoveStaleTemporaryFiles() {
    const std::string folder = folders::FolderOf(path_);
    const std::string prefix = path_.substr(path_.find_last_of('/') + 1) + ".tmp-";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() > prefix.size() && name.starts_with(prefix))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
}

LONG HiveFile::Load(Hive* hive, bool* writable) {
    const auto unreadable = [this] {
        const std::string reason = ErrnoText();
        std::fprintf(stderr, "quadrel: cannot read the registry file %s: %s\n",
                     Shown(path_).c_str(), reason.c_str());
        NoteHiveRead(path_, false, reason);
        return ERROR_CANTREAD;
    };
    FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno != ENOENT) return unreadable();
        NoteHiveRead(path_, true, {});
        return ERROR_SUCCESS;
    }
    std::string text;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return unreadable();
        }
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    NoteHiveRead(path_, true, {});
    std::string error;
    std::size_t badLines = 0;
    if (!Parse(text, hive, &error, &badLines)) *writable = KeepDamagedAside(*hive, error, badLines);
    return ERROR_SUCCESS;
}

bool HiveFile::KeepDamagedAside(const Hive& recovered, const std::string& error,
                                std::size_t badLines) {
    // The damaged file is kept for inspection under a name that says when it was put aside.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path_ + ".damaged-" + stamp;
    for (int n = 2; ::access(aside.c_str(), F_OK) == 0; ++n)
        aside = path_ + ".damaged-" + stamp + "-" + std::to_string(n);
    // A second name first, so that the hive's own name always holds a whole file: the damaged
    // one until the recovered one replaces it. A folder that cannot hold hard links gets the
    // file renamed instead.
    bool kept = false;
    std::string reason;
    if (::link(path_.c_str(), aside.c_str()) == 0) {
        kept = Save(recovered) == ERROR_SUCCESS;
        // Not replaced: the damaged file stays where it is, whole, and the next call tries again.
        if (!kept) ::unlink(aside.c_str());
        reason = "the recovered lines could not be written";
    } else if (::rename(path_.c_str(), aside.c_str()) == 0) {
        kept = true;
        Save(recovered);
    } else {
        reason = ErrnoText();
    }
    NoteHiveDamage(path_, kept ? aside : std::string(), error, badLines);
    const std::string lines =
        badLines == 1 ? "1 bad line" : std::to_string(badLines) + " bad lines";
    if (kept) {
        std::fprintf(stderr,
                     "quadrel: the registry file %s is damaged (%s; %s); it was kept as %s, and "
                     "the lines that could be read are kept\n",
                     Shown(path_).c_str(), error.c_str(), lines.c_str(), Shown(aside).c_str());
    } else {
        std::fprintf(stderr,
                     "quadrel: the registry file %s is damaged (%s; %s) and could not be kept "
                     "aside: %s\n",
                     Shown(path_).c_str(), error.c_str(), lines.c_str(), reason.c_str());
    }
    return kept;
}

LONG HiveFile::Save(const Hive& hive) {
    const std::string text = Serialise(hive, title_);
    const std::string temp = path_ + ".tmp-" + std::to_string(::getpid());
    FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    bool ok = fd.Get() >= 0 && ::fchmod(fd.Get(), 0600) == 0;
    if (ok) Reached(WriteStep::kTemporaryCreated);
    ok = ok && WriteAll(fd.Get(), text);
    if (ok) Reached(WriteStep::kTemporaryWritten);
    ok = ok && ::fsync(fd.Get()) == 0;
    const int closeResult = fd.Get() >= 0 ? ::close(fd.Release()) : -1;
    ok = ok && closeResult == 0;
    if (ok) Reached(WriteStep::kTemporarySynced);
    ok = ok && ::rename(temp.c_str(), path_.c_str()) == 0;
    if (ok) Reached(WriteStep::kRenamed);
    if (!ok) {
        std::fprintf(stderr, "quadrel: cannot write the registry file %s: %s\n",
                     Shown(path_).c_str(), ErrnoText().c_str());
        ::unlink(temp.c_str());
        return ERROR_CANTWRITE;
    }
    FileDescriptor dir(
        ::open(folders::FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
    return ERROR_SUCCESS;
}

}  // namespace registry
