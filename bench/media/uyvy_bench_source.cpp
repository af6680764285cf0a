#include "bench/media/uyvy_bench_source.h"

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/media_guids.h"

namespace bench_media {
namespace {

constexpr CLSID kBenchSource = {0xB0B0B0B0, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x10}};

}  // namespace

CMediaType UyvyType() {
    CMediaType mt(MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_UYVY);
    mt.SetFormatType(&FORMAT_VideoInfo);
    mt.SetSampleSize(kFrameBytes);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    vih->AvgTimePerFrame = UNITS / kFps;
    vih->bmiHeader = {sizeof(BITMAPINFOHEADER),        kWidth, kHeight, 1, 16, 0x59565955,
                      static_cast<DWORD>(kFrameBytes), 0,      0,       0, 0};
    return mt;
}

UyvyBenchSource::Pin::Pin(UyvyBenchSource* filter, const char16_t* name)
    : CBaseOutputPin("bench pin", filter, &filter->lock_, nullptr, name) {}

HRESULT UyvyBenchSource::Pin::CheckMediaType(const CMediaType* type) {
    return *type == UyvyType() ? S_OK : S_FALSE;
}

HRESULT UyvyBenchSource::Pin::GetMediaType(int position, CMediaType* type) {
    if (position != 0) return VFW_S_NO_MORE_ITEMS;
    return type->Set(UyvyType());
}

HRESULT UyvyBenchSource::Pin::DecideBufferSize(IMemAllocator* allocator,
                                               ALLOCATOR_PROPERTIES* request) {
    ALLOCATOR_PROPERTIES wanted = *request, actual{};
    wanted.cBuffers = 3;
    wanted.cbBuffer = kFrameBytes;
    return allocator->SetProperties(&wanted, &actual);
}

UyvyBenchSource::UyvyBenchSource(const char16_t* pinName)
    : CBaseFilter("bench source", nullptr, &lock_, kBenchSource) {
    pin_ = std::make_unique<Pin>(this, pinName);
}

}  // namespace bench_media
