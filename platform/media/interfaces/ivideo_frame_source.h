// IVideoFrameSource: our own interface of the video mixing renderer, for readers in the same
// process that only read its picture (the snapshots): the latest picture shared instead of
// copied. It is the picture GetCurrentImage copies out, top row first, 4 bytes a pixel (blue,
// green, red, 0xFF); the renderer never changes a picture once it has handed it out, so the
// reader may keep it on any thread for as long as it likes.
#pragma once

#include <memory>

#include "platform/com/unknown.h"

struct VideoFrame;

struct IVideoFrameSource : IUnknown {
    static constexpr IID kIid = {
        0x3C8E1A52, 0x7D4B, 0x4E0F, {0x9A, 0x61, 0x2B, 0x5D, 0x83, 0x17, 0xC4, 0xE9}};

    // The latest picture. E_POINTER for a null `frame`; VFW_E_WRONG_STATE outside windowless
    // mode; E_FAIL when no frame has arrived since the input connected (as GetCurrentImage).
    virtual HRESULT GetCurrentFrame(std::shared_ptr<const VideoFrame>* frame) = 0;
};

inline constexpr IID IID_IVideoFrameSource = IVideoFrameSource::kIid;
