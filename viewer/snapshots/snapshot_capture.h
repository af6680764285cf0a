// Reading the picture a preview pane shows and saving it as a JPEG. GUI thread only (the renderer
// is asked through the capture graph, which the GUI thread owns).
#pragma once

#include <memory>

#include "viewer/capture/capture_graph.h"
#include "viewer/snapshots/image_action.h"

// The current picture of the renderer of `channel` (1 to 4): shared with the renderer when it
// offers IVideoFrameSource (top row first, 32-bit), else its GetCurrentImage copy, bottom row
// first as the renderer gave it: 32-bit pixels keep their fourth byte (ignored when written),
// 24-bit pixels are packed.
// E_INVALIDARG for another channel, E_FAIL when the channel has no renderer, the renderer has no
// picture or the picture has another depth; *image is set only on S_OK.
HRESULT ReadSnapshotImage(CaptureGraph* graph, int channel, std::unique_ptr<CImageAction>* image);

// Takes over the packed bitmap `dib` in task memory (a BITMAPINFOHEADER followed directly by the
// pixels) as a picture without copying it. For another depth than 24 or 32 bits, or a negative
// width or height, the block is freed and the result is null.
std::unique_ptr<CImageAction> AdoptPackedBitmap(BYTE* dib);

// The picture of `channel` written to `fileName` as a JPEG, here and now. E_INVALIDARG for a
// channel outside 1 to 4 or no file name; E_FAIL when there is no picture; S_OK otherwise,
// whether or not the file could be written.
HRESULT CaptureSnapshot(CaptureGraph* graph, const char* fileName, int channel);
