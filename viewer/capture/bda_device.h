// The grabber's control filter and its private property set: signal search, input selection,
// the hardware's round-robin over the inputs, recording input and quality, signal state.
// User-interface thread only; one command block at a time.
#pragma once

#include <cstdint>
#include <span>

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/iks_property_set.h"

// {5BCB5996-6C01-4638-9131-5397CFBF4EF3}
inline constexpr GUID kGrabberPropertySet = {
    0x5BCB5996, 0x6C01, 0x4638, {0x91, 0x31, 0x53, 0x97, 0xCF, 0xBF, 0x4E, 0xF3}};
inline constexpr DWORD kCommandProperty = 2;
inline constexpr DWORD kSearchStateProperty = 4;
inline constexpr std::size_t kCommandBlockBytes = 40;

class CBDADevice {
  public:
    // Takes its own reference to the control filter.
    explicit CBDADevice(IBaseFilter* deviceControl);
    virtual ~CBDADevice();
    CBDADevice(const CBDADevice&) = delete;
    CBDADevice& operator=(const CBDADevice&) = delete;

    // The property-set interface, queried by the graph after construction and released by it
    // before the wrapper is destroyed. Null makes every command a no-op.
    ComPtr<IKsPropertySet>& PropertySet() { return propertySet_; }

    void StartSearch();                        // command 1
    void SetRecordChannel(int channel);        // command 2; channels outside 1..4 send nothing
    void DeviceCommand3();                     // command 3
    void StartCycling();                       // command 4
    void SelectDisplayChannel(int channel);    // command 5; channels outside 1..4 send nothing
    std::uint32_t GetSignalMask();             // command 6: bit n-1 set when channel n has signal
    bool IsCycling();                          // command 7: only the answer byte 1 counts
    void SetCycleTiming(int span, bool fast);  // command 8
    void SetValidChannels(int c1, int c2, int c3, int c4);  // command 9
    void StopSearch();                                      // command 10
    void SetRecordQuality(int quality);                     // command 12
    // Property 4: 0..3 (3 = the search has finished); -1 without the property-set interface.
    int GetSearchState();

  private:
    // Sends a command block; with `answer`, reads the same property back into the block.
    void Send(BYTE command, BYTE parameter, BYTE count, std::span<const BYTE> data, BYTE* answer);

    ComPtr<IBaseFilter> filter_;
    ComPtr<IKsPropertySet> propertySet_;
};
