#include "platform/devices/grabber_media_types.h"

#include <cstring>

#include "platform/devices/audio_tone.h"

namespace devices {

CMediaType AnalogMediaType(const GUID& majorType) {
    CMediaType type(majorType);
    type.SetFormatType(&FORMAT_None);
    return type;
}

CMediaType UyvyMediaType(const VideoFormat& format) {
    CMediaType type(MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_UYVY);
    type.SetFormatType(&FORMAT_VideoInfo);
    type.SetTemporalCompression(false);
    type.SetSampleSize(static_cast<ULONG>(format.FrameBytes()));
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info) return type;
    VIDEOINFOHEADER header{};
    header.rcSource = {0, 0, format.width, format.height};
    header.rcTarget = header.rcSource;
    header.AvgTimePerFrame = format.AverageTimePerFrame();
    header.dwBitRate = static_cast<DWORD>(format.FrameBytes() * 8 * format.framesPerSecond);
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = format.width;
    header.bmiHeader.biHeight = format.height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 16;
    header.bmiHeader.biCompression = kFourCcUyvy;
    header.bmiHeader.biSizeImage = static_cast<DWORD>(format.FrameBytes());
    std::memcpy(info, &header, sizeof header);
    return type;
}

std::optional<VideoFormat> VideoFormatOfType(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_UYVY ||
        type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
        type.cbFormat < sizeof(VIDEOINFOHEADER))
        return std::nullopt;
    VIDEOINFOHEADER info;
    std::memcpy(&info, type.pbFormat, sizeof info);
    const BITMAPINFOHEADER& bmi = info.bmiHeader;
    for (LONG standard : {AnalogVideo_PAL_D, AnalogVideo_NTSC_M}) {
        const VideoFormat format = *FormatOfStandard(standard);
        if (bmi.biWidth == format.width && bmi.biHeight == format.height &&
            bmi.biCompression == kFourCcUyvy && bmi.biBitCount == 16 &&
            (info.AvgTimePerFrame == 0 || info.AvgTimePerFrame == format.AverageTimePerFrame()))
            return format;
    }
    return std::nullopt;
}

CMediaType PcmMediaType() {
    CMediaType type(MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(AudioTone::kBlockAlign);
    auto* block = type.AllocFormatBuffer(sizeof(WAVEFORMATEX));
    if (!block) return type;
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = AudioTone::kChannels;
    wave.nSamplesPerSec = AudioTone::kSampleRate;
    wave.nBlockAlign = AudioTone::kBlockAlign;
    wave.nAvgBytesPerSec = AudioTone::kSampleRate * AudioTone::kBlockAlign;
    wave.wBitsPerSample = AudioTone::kBitsPerSample;
    wave.cbSize = 0;
    std::memcpy(block, &wave, sizeof wave);
    return type;
}

}  // namespace devices
