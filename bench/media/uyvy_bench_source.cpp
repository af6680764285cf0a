#include "bench/media/uyvy_bench_source.h"

#include <random>

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/media_guids.h"

namespace bench_media {

std::vector<BYTE> CameraFrame() {
    std::vector<BYTE> frame(kFrameBytes);
    std::mt19937 random(42);
    for (LONG y = 0; y < kHeight; ++y)
        for (LONG x = 0; x < kWidth; x += 2) {
            BYTE* p = &frame[(y * kWidth + x) * 2];
            p[0] = static_cast<BYTE>(96 + (x * 64) / kWidth);
            p[1] = static_cast<BYTE>(16 + (y * 200) / kHeight + random() % 16);
            p[2] = static_cast<BYTE>(160 - (y * 64) / kHeight);
            p[3] = static_cast<BYTE>(16 + (x * 200) / kWidth + random() % 16);
        }
    return frame;
}
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
