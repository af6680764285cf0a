#include "platform/devices/command_block.h"

#include <algorithm>

namespace devices {

CommandBlock MakeCommandBlock(std::uint8_t code, std::uint8_t parameter,
                              std::initializer_list<std::uint8_t> data) {
    return MakeCommandBlock(code, parameter,
                            static_cast<std::uint8_t>(std::min(data.size(), kMaxDataBytes)), data);
}

CommandBlock MakeCommandBlock(std::uint8_t code, std::uint8_t parameter, std::uint8_t count,
                              std::initializer_list<std::uint8_t> data) {
    CommandBlock block{};
    block[0] = static_cast<std::uint8_t>(kCommandMagic & 0xFF);
    block[1] = static_cast<std::uint8_t>(kCommandMagic >> 8);
    block[kOffsetCode] = code;
    block[kOffsetParameter] = parameter;
    block[kOffsetCount] = count;
    std::copy_n(data.begin(), std::min(data.size(), kMaxDataBytes), block.begin() + kOffsetData);
    return block;
}

}  // namespace devices
