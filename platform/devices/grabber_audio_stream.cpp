#include "platform/devices/grabber_audio_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/devices/grabber_media_types.h"
#include "platform/media/interfaces/imem_allocator.h"
#include "platform/media/interfaces/media_errors.h"

namespace devices {
namespace {

constexpr int kAudioBuffers = 8;

// The sample frame at device time `t`: whole frames since device time 0.
std::uint64_t FrameAt(std::chrono::nanoseconds t) {
    return static_cast<std::uint64_t>(t.count()) * (AudioTone::kSampleRate / 1000) / 1'000'000;
}

}  // namespace

CGrabberAudioStream::CGrabberAudioStream(CSource* filter, LPCWSTR name, const DeviceClock* clock)
    : CGrabberStream("grabber audio stream", filter, name, clock) {}

HRESULT CGrabberAudioStream::CheckMediaType(const CMediaType* type) {
    if (!type) return E_POINTER;
    return *type == PcmMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CGrabberAudioStream::GetMediaType(int position, CMediaType* type) {
    if (!type) return E_POINTER;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = PcmMediaType();
    return S_OK;
}

HRESULT CGrabberAudioStream::DecideBufferSize(IMemAllocator* allocator,
                                              ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    constexpr auto kPieceBytes = static_cast<LONG>(kMaxFramesPerPiece * AudioTone::kBlockAlign);
    request->cBuffers = std::max<LONG>(request->cBuffers, kAudioBuffers);
    request->cbBuffer = std::max(request->cbBuffer, kPieceBytes);
    request->cbAlign = std::max<LONG>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer >= kPieceBytes ? S_OK : E_FAIL;
}

HRESULT CGrabberAudioStream::FillData(const FrameTick& tick, std::uint64_t, IMediaSample* sample) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return E_POINTER;
    const std::uint64_t first = FrameAt(tick.time);
    const std::size_t frames = std::min<std::size_t>(
        static_cast<std::size_t>(FrameAt(tick.time + tick.Duration()) - first), kMaxFramesPerPiece);
    const auto bytes = static_cast<LONG>(frames * AudioTone::kBlockAlign);
    if (sample->GetSize() < bytes) return VFW_E_BUFFER_OVERFLOW;
    const std::span<std::int16_t> piece(piece_.data(), frames * AudioTone::kChannels);
    if (tick.sound) {
        // The device's own sound: what it captured, padded with silence when it is short.
        const std::size_t have = std::min(piece.size(), tick.sound->samples.size());
        std::copy_n(tick.sound->samples.begin(), have, piece.begin());
        std::fill(piece.begin() + static_cast<std::ptrdiff_t>(have), piece.end(), std::int16_t{0});
    } else if (tick.silent) {
        std::fill(piece.begin(), piece.end(), std::int16_t{0});
    } else {
        tone_.Fill(first, piece);
    }
    std::memcpy(data, piece.data(), piece.size_bytes());
    return sample->SetActualDataLength(bytes);
}

}  // namespace devices
