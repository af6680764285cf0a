// Media types of the simulated grabber's pins: analogue video and audio between the crossbar
// and the grabber, UYVY video with a VIDEOINFOHEADER and 16-bit PCM on the grabber's outputs.
#pragma once

#include <optional>

#include "platform/devices/analog_video_standard.h"
#include "platform/media/base/cmedia_type.h"

namespace devices {

// The major types of the crossbar's decoder outputs.
inline constexpr GUID MEDIATYPE_AnalogVideo = {
    0x0482DDE1, 0x7817, 0x11CF, {0x8A, 0x03, 0x00, 0xAA, 0x00, 0x6E, 0xCB, 0x65}};
inline constexpr GUID MEDIATYPE_AnalogAudio = {
    0x0482DEE1, 0x7817, 0x11CF, {0x8A, 0x03, 0x00, 0xAA, 0x00, 0x6E, 0xCB, 0x65}};

inline constexpr DWORD kFourCcUyvy = 0x59565955;  // "UYVY"

// An analogue link of `majorType`: no subtype, no format block.
CMediaType AnalogMediaType(const GUID& majorType);

// Video, UYVY, FORMAT_VideoInfo for `format`: full source and target rectangles, the frame
// duration and bit rate, and a 16-bit "UYVY" bitmap header with the image size.
CMediaType UyvyMediaType(const VideoFormat& format);

// The picture of a UYVY video type the grabber can send (720 x 576 at 25, 720 x 480 at 30);
// nothing for any other type.
std::optional<VideoFormat> VideoFormatOfType(const AM_MEDIA_TYPE& type);

// Audio, PCM, FORMAT_WaveFormatEx: the AudioTone's 48 kHz, stereo, 16 bits.
CMediaType PcmMediaType();

}  // namespace devices
