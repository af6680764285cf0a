// Feeds arbitrary settings hives (the user's HKEY_CURRENT_USER file, which anything may have
// written) to the viewer's settings reads: LoadGrabberSettings, the four channel titles and the
// schedule dates. Texts that are not a hive are left to hive_fuzz. The strings land in buffers of
// exactly their size, so a read or write past one is caught. Oracle: every text comes back
// terminated inside its buffer, a stored text that fits comes back as stored and one that does not
// comes back empty, and every number lies in its documented range.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_temp_folder.h"
#include "platform/registry/hive_file.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/grabber_settings.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

// The registry folder of this process, made once and named in $QUADREL_REGISTRY_DIR.
const std::string& Folder() {
    static const FuzzTempFolder folder("settings_fuzz");
    static const bool named = ::setenv("QUADREL_REGISTRY_DIR", folder.Path().c_str(), 1) == 0;
    FUZZ_CHECK(named);
    return folder.Path();
}

std::size_t Terminated(const WCHAR* text, std::size_t units) {
    for (std::size_t i = 0; i < units; ++i)
        if (text[i] == 0) return i;
    FUZZ_CHECK(false && "no terminator inside the buffer");
    return units;
}

// The stored REG_SZ text of `name` under the settings key, if any.
const registry::Value* Stored(const registry::Hive& hive, std::u16string_view name) {
    const registry::Key* key = hive.Find(u"Software\\Corvane\\Grabber");
    if (key == nullptr) return nullptr;
    const registry::Value* value = key->FindValue(name);
    return value != nullptr && value->type == REG_SZ ? value : nullptr;
}

// A text read into `units` units: as stored when it fits with its terminator, else empty.
void CheckText(const registry::Hive& hive, std::u16string_view name, const WCHAR* text,
               std::size_t units) {
    const std::size_t length = Terminated(text, units);
    const registry::Value* value = Stored(hive, name);
    if (value == nullptr || value->data.size() % 2 != 0 || value->data.size() / 2 + 1 > units) {
        FUZZ_CHECK(length == 0);
        return;
    }
    const std::u16string_view stored(reinterpret_cast<const char16_t*>(value->data.data()),
                                     value->data.size() / 2);
    FUZZ_CHECK(std::u16string_view(text, length) == stored.substr(0, stored.find(u'\0')));
}

bool Flag(std::int32_t value) {
    return value == 0 || value == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    registry::Hive hive;
    std::string error;
    if (!registry::Parse(text, &hive, &error)) return 0;

    const std::string path = Folder() + "/HKEY_CURRENT_USER.reg";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        FUZZ_CHECK(file.good());
    }

    SettingsKeyHolder* holder = OpenSettingsKey();
    FUZZ_CHECK(holder != nullptr);
    auto settings = std::make_unique<GrabberSettings>();
    *settings = GrabberSettings{};
    FUZZ_CHECK(LoadGrabberSettings(settings.get(), holder) == 1);
    // What the reads saw: the file as the settings key's opening left it (a missing key is
    // created with the first-run values).
    registry::Hive stored;
    {
        std::ifstream file(path, std::ios::binary);
        const std::string now((std::istreambuf_iterator<char>(file)), {});
        FUZZ_CHECK(registry::Parse(now, &stored, &error));
    }
    hive = std::move(stored);
    using namespace setting;
    CheckText(hive, kSmtpServer, settings->smtpServer, 256);
    CheckText(hive, kMailFromAddr, settings->mailFromAddr, 256);
    CheckText(hive, kMailFromName, settings->mailFromName, 256);
    CheckText(hive, kMailDst, settings->mailDst, 256);
    CheckText(hive, kMailTitle, settings->mailTitle, 256);
    CheckText(hive, kMailSrc, settings->mailSrc, 256);
    CheckText(hive, kMailPassword, settings->mailPassword, 256);
    FUZZ_CHECK(Flag(settings->smtpAuth) && Flag(settings->mailOnSignalLoss) &&
               Flag(settings->soundOnSignalLoss) && Flag(settings->autoLockEnabled) &&
               Flag(settings->automaticChannelControl) && Flag(settings->firstRun));
    for (const std::int32_t enabled : settings->channelEnabled) FUZZ_CHECK(Flag(enabled));
    FUZZ_CHECK(settings->autoLockSeconds == 900 ||
               (settings->autoLockSeconds % 60 == 0 && settings->autoLockSeconds >= 60 &&
                settings->autoLockSeconds <= 3600));
    FUZZ_CHECK(settings->smtpPort >= 0 && settings->smtpPort <= 65535);
    FUZZ_CHECK(settings->smtpSecurity >= 0 && settings->smtpSecurity <= 2);

    for (int channel = 0; channel < 4; ++channel) {
        std::vector<WCHAR> title(kChannelTitleReadUnits);
        FUZZ_CHECK(ReadChannelTitle(holder, channel, title.data(), title.size()));
        const std::size_t length = Terminated(title.data(), title.size());
        FUZZ_CHECK(length > 0 || Stored(hive, kChannelName[channel]) != nullptr);
    }
    CloseSettingsKey();
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder());
    return 0;
}
