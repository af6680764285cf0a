// Feeds sequences of property calls to the device's private property set, carried out on the
// simulated grabber's hardware model, with the device running forward between calls. Each call's
// property data and instance data are buffers of exactly the sizes the input gives, so a read or
// write past either is caught. Oracle: the hardware state stays in its ranges (inputs 0..4, 0 only
// while cycling, quality 0..2, masks of four inputs), a Get changes nothing of the buffer but the
// answer bytes and reports 40 bytes, and a failed call changes nothing.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/devices/command_block.h"
#include "platform/devices/grabber_simulation.h"
#include "platform/devices/property_handler.h"

namespace {

using devices::GrabberSimulation;

class IgnoreObserver final : public devices::SimulationObserver {
  public:
    void OnFrameTick(const devices::FrameTick&) override {}
    void OnAttachedChanged(bool, std::chrono::nanoseconds) override {}
};

void CheckState(const GrabberSimulation& device) {
    // Input 0: cycling found no valid input at the last tick.
    FUZZ_CHECK(device.CurrentInput() >= 0 && device.CurrentInput() <= 4);
    FUZZ_CHECK(device.CurrentInput() != 0 || device.IsCycling());
    FUZZ_CHECK(device.RecordInput() >= 0 && device.RecordInput() <= 4);
    FUZZ_CHECK(device.RecordQuality() >= 0 && device.RecordQuality() <= 2);
    FUZZ_CHECK((device.ValidInputs() & ~0x0F) == 0);
    FUZZ_CHECK((device.SignalMask() & ~0x0F) == 0);
    FUZZ_CHECK(static_cast<int>(device.GetSearchState()) <= 3);
}

// A buffer of `size` bytes from the input, the rest of it a recognisable filler.
std::vector<std::uint8_t> TakeBuffer(FuzzInput& in, std::size_t size) {
    std::vector<std::uint8_t> buffer(size, 0xA5);
    const auto bytes = in.TakeBytes(size);
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    GrabberSimulation device(devices::Scenario{});
    IgnoreObserver observer;
    for (int step = 0; step < 64 && in.Remaining() > 0; ++step) {
        const auto op = in.Take<std::uint8_t>();
        const auto dataBytes = static_cast<std::size_t>(in.Take<std::uint8_t>() % 48);
        const auto instanceBytes = static_cast<std::size_t>(in.Take<std::uint8_t>() % 48);
        std::vector<std::uint8_t> instance = TakeBuffer(in, instanceBytes);
        std::vector<std::uint8_t> buffer = TakeBuffer(in, dataBytes);
        // Every other byte picks the standard request shape: a block at offset 0 with its magic.
        if ((op & 0x10) != 0 && buffer.size() >= 2) {
            buffer[0] = 0x01;
            buffer[1] = 0x70;
        }
        const DWORD id = (op & 0x20) != 0 ? static_cast<DWORD>(in.Take<std::uint8_t>())
                                          : ((op & 0x40) != 0 ? devices::kSearchStateProperty
                                                              : devices::kCommandProperty);
        const void* instancePtr = instance.empty() ? nullptr : instance.data();
        void* dataPtr = buffer.empty() ? nullptr : buffer.data();
        switch (op & 3) {
            case 0: {
                const HRESULT hr =
                    devices::SetDeviceProperty(device, devices::kGrabberPropertySet, id,
                                               instancePtr, static_cast<DWORD>(instance.size()),
                                               dataPtr, static_cast<DWORD>(buffer.size()));
                FUZZ_CHECK(hr == S_OK || FAILED(hr));
                break;
            }
            case 1: {
                const std::vector<std::uint8_t> before = buffer;
                DWORD returned = 0xFFFFFFFF;
                const HRESULT hr = devices::GetDeviceProperty(
                    device, devices::kGrabberPropertySet, id, instancePtr,
                    static_cast<DWORD>(instance.size()), dataPtr, static_cast<DWORD>(buffer.size()),
                    &returned);
                if (FAILED(hr)) {
                    FUZZ_CHECK(buffer == before && returned == 0xFFFFFFFF);
                    break;
                }
                const std::size_t answerEnd = id == devices::kSearchStateProperty ? 1 : 11;
                const std::size_t answerStart = id == devices::kSearchStateProperty ? 0 : 7;
                for (std::size_t i = 0; i < buffer.size(); ++i)
                    if (i < answerStart || i >= answerEnd) FUZZ_CHECK(buffer[i] == before[i]);
                FUZZ_CHECK(returned == (id == devices::kSearchStateProperty ? 1u : 40u));
                break;
            }
            default: {
                // Up to about 3 s of device time: frame ticks, turns and the end of a search.
                const auto ms = in.Take<std::uint16_t>() % 3000;
                device.AdvanceTo(device.Now() + std::chrono::milliseconds(ms), observer);
                break;
            }
        }
        CheckState(device);
    }
    return 0;
}
