// The JPEG writer: baseline JFIF files through libjpeg's compression API, with libjpeg's defaults
// and a forced-baseline quality. libjpeg's fatal errors unwind to the writer, which cleans up and
// fails; nothing of libjpeg ends the program. Safe on any thread (no shared state).
#pragma once

#include "platform/base/win_types.h"

// Writes `pixels` (packed rows of red, green, blue triplets, top row first, width × 3 bytes a
// row) to `fileName` as a JPEG of `quality`; with `colour` false as one grey component
// (0.299 R + 0.587 G + 0.114 B, truncated). 1 on success; 0 for null pixels or name, a zero
// width or height (no file is made), a file that cannot be opened, or any libjpeg error (the
// half-written file is removed).
int WriteJpeg(const char* fileName, const BYTE* pixels, UINT width, UINT height, bool colour,
              int quality);

// The same file from a picture stored the other way round: packed rows of blue, green, red,
// bottom row first, `bytesPerPixel` 3, or 4 with the fourth byte ignored. libjpeg reads the rows
// in reverse order and the bytes in that order, so the picture needs neither a reversed copy nor
// a byte swap and is never changed. 0 also for another `bytesPerPixel`.
int WriteJpegBottomUpBgr(const char* fileName, const BYTE* pixels, UINT width, UINT height,
                         int bytesPerPixel, int quality);

// The same file from packed rows of blue, green, red and an ignored fourth byte, top row first
// (the renderer's own pictures).
int WriteJpegTopDownBgrx(const char* fileName, const BYTE* pixels, UINT width, UINT height,
                         int quality);
