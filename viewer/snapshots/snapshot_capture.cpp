#include "viewer/snapshots/snapshot_capture.h"

#include <cstring>

#include "platform/base/bitmap.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/ivideo_frame_source.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/renderers/video_frame.h"

std::unique_ptr<CImageAction> AdoptPackedBitmap(BYTE* dib) {
    if (!dib) return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    if (header.biWidth < 0 || header.biHeight < 0 ||
        (header.biBitCount != 32 && header.biBitCount != 24)) {
        // Other depths hold fewer bytes than a 24-bit picture of their size would read.
        CoTaskMemFree(dib);
        return nullptr;
    }
    return std::make_unique<CImageAction>(
        dib, sizeof header, static_cast<std::uint32_t>(header.biWidth),
        static_cast<std::uint32_t>(header.biHeight), header.biBitCount / 8);
}

HRESULT ReadSnapshotImage(CaptureGraph* graph, int channel, std::unique_ptr<CImageAction>* image) {
    if (!graph || !image || channel < 1 || channel > 4) return E_INVALIDARG;
    const ComPtr<IBaseFilter>& renderer = graph->renderers[channel - 1];
    if (!renderer) return E_FAIL;
    // Our renderer shares its picture; the copy through GetCurrentImage is for any other.
    ComPtr<IVideoFrameSource> source;
    std::shared_ptr<const VideoFrame> frame;
    if (SUCCEEDED(renderer.As(&source)) && SUCCEEDED(source->GetCurrentFrame(&frame)) && frame &&
        frame->width > 0 && frame->height > 0) {
        *image = std::make_unique<CImageAction>(std::move(frame));
        return S_OK;
    }
    ComPtr<IVMRWindowlessControl9> control;
    if (FAILED(renderer.As(&control))) return E_FAIL;
    BYTE* dib = nullptr;
    if (FAILED(control->GetCurrentImage(&dib)) || !dib) return E_FAIL;
    std::unique_ptr<CImageAction> picture = AdoptPackedBitmap(dib);
    if (!picture) return E_FAIL;
    *image = std::move(picture);
    return S_OK;
}

HRESULT CaptureSnapshot(CaptureGraph* graph, const char* fileName, int channel) {
    if (channel < 1 || channel > 4 || !fileName || !*fileName) return E_INVALIDARG;
    std::unique_ptr<CImageAction> image;
    if (FAILED(ReadSnapshotImage(graph, channel, &image))) return E_FAIL;
    image->WriteSnapshot(fileName);  // a failed write loses this picture only
    return S_OK;
}
