#include "platform/media/base/audio_format.h"

namespace media {

bool IsAcceptedPcm(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM) return false;
    if (type.formattype != FORMAT_WaveFormatEx || !type.pbFormat ||
        type.cbFormat < sizeof(WAVEFORMATEX))
        return false;
    const WAVEFORMATEX& wf = WaveFormatOf(type);
    const WORD bits = wf.wBitsPerSample;
    const WORD channels = wf.nChannels;
    if (channels < 1 || channels > 8 || wf.nSamplesPerSec == 0) return false;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    return wf.nBlockAlign == channels * bits / 8;
}

bool IsPlayablePcm(const AM_MEDIA_TYPE& type) {
    if (!IsAcceptedPcm(type)) return false;
    const WAVEFORMATEX& wf = WaveFormatOf(type);
    return wf.wBitsPerSample == 16 && wf.nChannels <= 2;
}

const WAVEFORMATEX& WaveFormatOf(const AM_MEDIA_TYPE& type) {
    return *reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
}

}  // namespace media
