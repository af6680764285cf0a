#include "viewer/capture/bda_device.h"

#include <algorithm>
#include <cstring>

CBDADevice::CBDADevice(IBaseFilter* deviceControl)
    : filter_(ComPtr<IBaseFilter>::Retain(deviceControl)) {}

CBDADevice::~CBDADevice() = default;

void CBDADevice::Send(BYTE command, BYTE parameter, BYTE count, std::span<const BYTE> data,
                      BYTE* answer) {
    if (!propertySet_) return;
    BYTE block[kCommandBlockBytes] = {};
    block[0] = 0x01;  // 0x7001, little-endian
    block[1] = 0x70;
    block[2] = command;
    block[3] = parameter;
    block[6] = count;
    if (!data.empty())
        std::memcpy(block + 7, data.data(),
                    std::min<std::size_t>(data.size(), kCommandBlockBytes - 7));
    propertySet_->Set(kGrabberPropertySet, kCommandProperty, block, kCommandBlockBytes, block,
                      kCommandBlockBytes);
    if (!answer) return;
    DWORD returned = 0;
    propertySet_->Get(kGrabberPropertySet, kCommandProperty, block, kCommandBlockBytes, block,
                      kCommandBlockBytes, &returned);
    std::memcpy(answer, block + 7, kCommandBlockBytes - 7);
}

void CBDADevice::StartSearch() {
    Send(1, 0, 0, {}, nullptr);
}

void CBDADevice::SetRecordChannel(int channel) {
    if (channel >= 1 && channel <= 4) Send(2, static_cast<BYTE>(channel), 0, {}, nullptr);
}

void CBDADevice::DeviceCommand3() {
    Send(3, 0, 0, {}, nullptr);
}

void CBDADevice::StartCycling() {
    Send(4, 0, 0, {}, nullptr);
}

void CBDADevice::SelectDisplayChannel(int channel) {
    if (channel >= 1 && channel <= 4) Send(5, static_cast<BYTE>(channel), 0, {}, nullptr);
}

std::uint32_t CBDADevice::GetSignalMask() {
    if (!propertySet_) return 0;
    BYTE answer[kCommandBlockBytes] = {};
    Send(6, 0, 0, {}, answer);
    std::uint32_t mask = 0;
    for (int n = 0; n < 4; ++n)
        if (answer[n] != 0) mask |= 1u << n;
    return mask;
}

bool CBDADevice::IsCycling() {
    if (!propertySet_) return false;
    BYTE answer[kCommandBlockBytes] = {};
    Send(7, 0, 0, {}, answer);
    return answer[0] == 1;
}

void CBDADevice::SetCycleTiming(int span, bool fast) {
    // The count says one byte; the fast flag travels in the byte after it all the same.
    const BYTE data[2] = {static_cast<BYTE>(span), static_cast<BYTE>(fast ? 1 : 0)};
    Send(8, 0, 1, data, nullptr);
}

void CBDADevice::SetValidChannels(int c1, int c2, int c3, int c4) {
    const BYTE data[4] = {static_cast<BYTE>(c1 ? 1 : 0), static_cast<BYTE>(c2 ? 1 : 0),
                          static_cast<BYTE>(c3 ? 1 : 0), static_cast<BYTE>(c4 ? 1 : 0)};
    Send(9, 0, 4, data, nullptr);
}

void CBDADevice::StopSearch() {
    Send(10, 0, 0, {}, nullptr);
}

void CBDADevice::SetRecordQuality(int quality) {
    Send(12, static_cast<BYTE>(quality), 0, {}, nullptr);
}

int CBDADevice::GetSearchState() {
    if (!propertySet_) return -1;
    BYTE state = 0;
    DWORD returned = 0;
    propertySet_->Get(kGrabberPropertySet, kSearchStateProperty, &state, 1, &state, 1, &returned);
    return state;
}
