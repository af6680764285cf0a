// AM_MEDIA_TYPE, the description of a stream, with its video and audio format blocks and the
// helpers that copy and free the format block (task memory, CoTaskMemAlloc/CoTaskMemFree).
#pragma once

#include "platform/base/bitmap.h"
#include "platform/com/unknown.h"
#include "platform/media/interfaces/media_guids.h"

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;  // counted reference or null
    ULONG cbFormat;
    BYTE* pbFormat;  // task memory of cbFormat bytes, or null
};

// Format block of FORMAT_VideoInfo.
struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88);

inline constexpr WORD WAVE_FORMAT_PCM = 1;

// Format block of FORMAT_WaveFormatEx (18 bytes, packed as published).
#pragma pack(push, 2)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

// Frees the format block and releases pUnk; the structure itself stays (fields zeroed).
void FreeMediaType(AM_MEDIA_TYPE& mt);

// Deep copy of `source` into `target` (whose previous content is not freed). E_OUTOFMEMORY
// leaves `target` without a format block.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);

// A deep copy in task memory, or null when memory runs out; free it with DeleteMediaType.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);

// Frees the format block and the structure allocated by CreateMediaType (null is allowed).
void DeleteMediaType(AM_MEDIA_TYPE* mt);
