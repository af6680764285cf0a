#include "platform/devices/grabber_video_stream.h"

#include <algorithm>

#include "platform/devices/grabber_device.h"
#include "platform/devices/grabber_media_types.h"
#include "platform/devices/uyvy_scale.h"
#include "platform/media/interfaces/imem_allocator.h"
#include "platform/media/interfaces/media_errors.h"

namespace devices {
namespace {

constexpr int kVideoBuffers = 4;

}  // namespace

CGrabberVideoStream::CGrabberVideoStream(CSource* filter, LPCWSTR name, Kind kind, int input,
                                         GrabberDevice* device)
    : CGrabberStream("grabber video stream", filter, name, &device->Clock()),
      kind_(kind),
      input_(input),
      device_(device) {}

HRESULT CGrabberVideoStream::CheckMediaType(const CMediaType* type) {
    if (!type) return E_POINTER;
    return VideoFormatOfType(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CGrabberVideoStream::GetMediaType(int position, CMediaType* type) {
    if (!type) return E_POINTER;
    if (position < 0) return E_INVALIDARG;
    if (position > 1) return VFW_S_NO_MORE_ITEMS;
    const VideoFormat current = device_->Status().format;
    const VideoFormat pal = *FormatOfStandard(AnalogVideo_PAL_D);
    const VideoFormat ntsc = *FormatOfStandard(AnalogVideo_NTSC_M);
    const VideoFormat other = current == pal ? ntsc : pal;
    *type = UyvyMediaType(position == 0 ? current : other);
    return S_OK;
}

HRESULT CGrabberVideoStream::DecideBufferSize(IMemAllocator* allocator,
                                              ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    const auto largest = static_cast<LONG>(FormatOfStandard(AnalogVideo_PAL_D)->FrameBytes());
    request->cBuffers = std::max<LONG>(request->cBuffers, kVideoBuffers);
    request->cbBuffer = std::max(request->cbBuffer, largest);
    request->cbAlign = std::max<LONG>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) return hr;
    return actual.cbBuffer >= largest && actual.cBuffers >= 1 ? S_OK : E_FAIL;
}

HRESULT CGrabberVideoStream::Active() {
    connected_ = VideoFormatOfType(CurrentMediaType()).value_or(VideoFormat{});
    return CGrabberStream::Active();
}

bool CGrabberVideoStream::Wants(const FrameTick& tick) const {
    if (kind_ == Kind::Capture) return tick.HasCaptureFrame();
    return tick.HasPreviewFrame() && tick.input == input_;
}

HRESULT CGrabberVideoStream::FillData(const FrameTick& tick, std::uint64_t, IMediaSample* sample) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return E_POINTER;
    // The picture keeps the size the pin was connected with; the rate follows the device.
    const VideoFormat& picture = connected_.width > 0 ? connected_ : tick.format;
    const LONG size = sample->GetSize();
    const auto bytes = static_cast<LONG>(picture.FrameBytes());
    if (size < bytes) return VFW_E_BUFFER_OVERFLOW;
    const std::span<std::uint8_t> out(data, static_cast<std::size_t>(size));
    if (tick.picture)
        ScaleUyvy(*tick.picture, picture, out);
    else
        scenes_[tick.input - 1].Render(tick.frame, picture, out);
    return sample->SetActualDataLength(bytes);
}

}  // namespace devices
