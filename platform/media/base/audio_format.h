// Which PCM streams the audio renderer takes, and which of them it can play.
#pragma once

#include "platform/media/interfaces/media_type.h"

namespace media {

// Audio, PCM, FORMAT_WaveFormatEx with a WAVEFORMATEX of 1 to 8 channels, a non-zero rate,
// 8, 16, 24 or 32 bits and a block size of channels × bits / 8.
bool IsAcceptedPcm(const AM_MEDIA_TYPE& type);

// An accepted stream the renderer plays: 16-bit, mono or stereo. Other accepted streams are
// consumed silently.
bool IsPlayablePcm(const AM_MEDIA_TYPE& type);

// The WAVEFORMATEX of an accepted type.
const WAVEFORMATEX& WaveFormatOf(const AM_MEDIA_TYPE& type);

}  // namespace media
