#include "viewer/snapshots/snapshot_capture.h"

#include <cstring>

#include "platform/base/bitmap.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"

namespace {

// Frees a picture of the renderer when it goes out of scope.
struct TaskMemory {
    BYTE* block = nullptr;
    ~TaskMemory() { CoTaskMemFree(block); }
};

}  // namespace

std::unique_ptr<CImageAction> ImageFromPackedBitmap(const BYTE* dib) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    if (header.biWidth < 0 || header.biHeight < 0) return nullptr;
    // The renderer's pictures are 32-bit; 24-bit rows are taken as they are. Other depths hold
    // fewer bytes than the copy would read and are refused.
    if (header.biBitCount != 32 && header.biBitCount != 24) return nullptr;
    const auto width = static_cast<std::uint32_t>(header.biWidth);
    const auto height = static_cast<std::uint32_t>(header.biHeight);
    auto picture = std::make_unique<CImageAction>(width, height);
    const BYTE* source = dib + sizeof header;
    BYTE* target = picture->Pixels();
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (header.biBitCount == 32) {
        // Rows of 4 × width bytes become rows of 3 × width: the fourth byte of each pixel goes.
        for (std::size_t k = 0; k < pixels; ++k) {
            target[3 * k] = source[4 * k];
            target[3 * k + 1] = source[4 * k + 1];
            target[3 * k + 2] = source[4 * k + 2];
        }
    } else {
        std::memcpy(target, source, pixels * 3);
    }
    return picture;
}

HRESULT ReadSnapshotImage(CaptureGraph* graph, int channel, std::unique_ptr<CImageAction>* image) {
    if (!graph || !image || channel < 1 || channel > 4) return E_INVALIDARG;
    const ComPtr<IBaseFilter>& renderer = graph->renderers[channel - 1];
    if (!renderer) return E_FAIL;
    ComPtr<IVMRWindowlessControl9> control;
    if (FAILED(renderer.As(&control))) return E_FAIL;
    TaskMemory dib;
    if (FAILED(control->GetCurrentImage(&dib.block)) || !dib.block) return E_FAIL;

    std::unique_ptr<CImageAction> picture = ImageFromPackedBitmap(dib.block);
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
