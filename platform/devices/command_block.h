// The grabber's private property set and its 40-byte command block.
//
// Property 2 carries a command block, passed as both instance data and property data; property
// 4 carries the one-byte search state. Command block, little-endian, every byte not listed zero:
//
//   offset 0  2 bytes  0x7001
//   offset 2  1 byte   command code
//   offset 3  1 byte   parameter: input 1..4 or quality 0..2, else 0
//   offset 6  1 byte   number of data bytes that follow (0, 1 or 4)
//   offset 7  33 bytes data; "get" commands answer here
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "platform/com/guid.h"

namespace devices {

// {5BCB5996-6C01-4638-9131-5397CFBF4EF3}
inline constexpr GUID kGrabberPropertySet = {
    0x5BCB5996, 0x6C01, 0x4638, {0x91, 0x31, 0x53, 0x97, 0xCF, 0xBF, 0x4E, 0xF3}};

inline constexpr DWORD kCommandProperty = 2;
inline constexpr DWORD kSearchStateProperty = 4;

inline constexpr std::size_t kCommandBlockBytes = 40;
inline constexpr std::uint16_t kCommandMagic = 0x7001;
inline constexpr std::size_t kOffsetCode = 2;
inline constexpr std::size_t kOffsetParameter = 3;
inline constexpr std::size_t kOffsetCount = 6;
inline constexpr std::size_t kOffsetData = 7;
inline constexpr std::size_t kMaxDataBytes = kCommandBlockBytes - kOffsetData;

// Command codes.
enum CommandCode : std::uint8_t {
    kCmdStartSearch = 1,
    kCmdSetRecordChannel = 2,  // parameter: input 1..4; turns the capture stream on
    kCmdEndRecordStream = 3,   // the capture stream carries nothing until the next command 2
    kCmdStartCycling = 4,
    kCmdSelectDisplayChannel = 5,  // parameter: input 1..4; leaves cycling
    kCmdGetSignalMask = 6,         // Set, then Get: data[0..3] non-zero = signal on input 1..4
    kCmdIsCycling = 7,             // Set, then Get: data[0] = 1 while cycling
    kCmdSetCycleTiming = 8,        // data[0] = turn span in seconds, data[1] = fast-turn flag
    kCmdSetValidChannels = 9,      // count 4; data[0..3] = input 1..4 takes part in cycling
    kCmdStopSearch = 10,
    kCmdSetRecordQuality = 12,  // parameter: quality 0..2
};

using CommandBlock = std::array<std::uint8_t, kCommandBlockBytes>;

// A block for `code` with its parameter and data bytes (at most kMaxDataBytes, counted at offset
// 6); every other byte zero.
CommandBlock MakeCommandBlock(std::uint8_t code, std::uint8_t parameter = 0,
                              std::initializer_list<std::uint8_t> data = {});

// Same, with an explicit count byte that need not match the data given (the cycle timing
// command goes out with count 1 and two data bytes).
CommandBlock MakeCommandBlock(std::uint8_t code, std::uint8_t parameter, std::uint8_t count,
                              std::initializer_list<std::uint8_t> data);

}  // namespace devices
