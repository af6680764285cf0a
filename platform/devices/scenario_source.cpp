#include "platform/devices/scenario_source.h"

#include <cstdlib>
#include <string_view>

namespace devices {

std::optional<std::string> FindScenarioText(std::span<const char* const> args) {
    const std::string_view option = kScenarioOption;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!args[i]) continue;
        const std::string_view arg = args[i];
        if (arg == option && i + 1 < args.size() && args[i + 1]) return std::string(args[i + 1]);
        if (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '=')
            return std::string(arg.substr(option.size() + 1));
    }
    if (const char* text = std::getenv(kScenarioVariable)) return std::string(text);
    return std::nullopt;
}

}  // namespace devices
