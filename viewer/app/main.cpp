// quadrel: opens the settings (the first run writes the defaults) and tells where they are kept.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "platform/registry/hive_file.h"
#include "viewer/settings/settings_key.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: quadrel\nOpens the viewer's settings and prints where they are kept.\n");
        return 0;
    }
    if (!OpenSettingsKey()) {
        std::fprintf(stderr, "quadrel: the settings cannot be opened or created in %s\n",
                     registry::HiveDirectory().c_str());
        return 1;
    }
    std::printf("Settings: %s/HKEY_CURRENT_USER.reg, key HKCU\\Software\\Corvane\\Grabber\n",
                registry::HiveDirectory().c_str());
    CloseSettingsKey();
    return 0;
}
