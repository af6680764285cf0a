// A tiny interface served by the test in-process server and by a built-in test class.
#pragma once

#include "platform/com/unknown.h"

struct ICounter : IUnknown {
    static constexpr IID kIid = {0x1A2B3C4D, 0x0001, 0x4000, {0x80, 1, 2, 3, 4, 5, 6, 7}};
    virtual LONG Increment() = 0;

  protected:
    ~ICounter() = default;
};

// The class served by the test library libtest_inproc_server.so.
inline constexpr CLSID CLSID_TestCounter = {
    0x1A2B3C4D, 0x0002, 0x4000, {0x80, 1, 2, 3, 4, 5, 6, 8}};
