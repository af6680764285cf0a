// COverlayController: the overlay's drawing. It keeps the title and its one-bit text bitmap,
// formats the local date and time for every frame, and merges both texts into the frame through the
// pixel class of the frame's format: the title at the title position, the time stamp flush against
// the frame's bottom-right corner.
//
// Text bitmaps have one bit per pixel, rows of ((cx + 31) >> 3) & ~3 bytes stored bottom-up
// (buffer row r holds text row cy - 1 - r); pixel x is bit (0x80 >> (x & 7)) of byte x >> 3, and 0
// marks a text pixel.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>

#include "overlay/base_pixel.h"
#include "overlay/stamp_clock.h"
#include "platform/media/interfaces/media_type.h"
#include "platform/text/logfont.h"

class COverlayController {
  public:
    // Characters of the time-stamp buffer, terminator included.
    static constexpr std::size_t kStampChars = 260;

    COverlayController();
    virtual ~COverlayController();
    COverlayController(const COverlayController&) = delete;
    COverlayController& operator=(const COverlayController&) = delete;

    // Copies at most byteCount / 2 - 1 characters of `text` (fewer when a NUL comes first; a null
    // text or a byteCount below 2 gives an empty title) and renders the title bitmap. Non-zero when
    // it rendered; after a failure the title is not drawn until a later call renders it. Called
    // only while no frame is being drawn.
    virtual int SetTitle(const WCHAR* text, unsigned byteCount);
    // Ready to draw when a pixel class exists; returns the new ready flag.
    virtual int StartStreaming();
    // Not ready any more; returns 1.
    virtual int StopStreaming();
    // Asked between measuring and drawing a text; 0 abandons the rendering. Returns 1.
    virtual int CanRenderText();
    // Recomputes the title's first and last frame from its times and the frame rate. Any
    // thread; takes m_csRate.
    virtual void UpdateTitleFrames();
    // Creates the pixel class for the current pixel format code (none for an unknown code).
    virtual void CreatePixel();
    // Clears escapement and orientation of the stored font; returns 0.
    virtual int ResetFontAngles();
    // Formats the current local time and renders it when it differs from the text of the bitmap
    // already held. Returns the rendering result (1 when nothing needed rendering).
    virtual int UpdateTimeStamp();
    // Result of a frame whose time stamp was drawn; 1.
    virtual int OnOverlayDrawn();
    // Merges a text bitmap of `size` into the frame with its top-left corner at `position`, by
    // cover or reverse; text pixels outside the frame are not drawn and nothing is written outside
    // the frame's FrameBytes(). 0 when nothing of it can be in the frame, else 1. `text` is unused.
    virtual int BlendText(BYTE* frame, const WCHAR* text, const SIZE* size, const BYTE* bits,
                          int stride, const POINT* position);

    // 2 x the title's characters; copies the title and its terminator into `buffer` when given.
    int GetTitle(WCHAR* buffer) const;
    void GetMergeMode(int* byCover) const { *byCover = m_bByCover; }
    // 1: By Cover (text pixels take the text colour), 0: By Reverse (text pixels are inverted).
    // Call while stopped.
    void SetMergeMode(int byCover) { m_bByCover = byCover != 0 ? 1 : 0; }
    void GetTitlePosition(POINT* position) const { *position = m_ptTitle; }
    void GetTitleFont(LOGFONTW* font) const { *font = m_lfTitle; }
    void GetTitleDuration(double* start, double* end) const {
        *start = m_dTitleStart;
        *end = m_dTitleEnd;
    }
    // Any thread: the frame rate and the title's first and last frame, which follow it.
    int GetTitleStartFrame() const;
    int GetTitleEndFrame() const;
    double GetFrameRate() const;

    // Any thread (the filter sets the rate of its first sample on the streaming thread).
    void SetFrameRate(double framesPerSecond);

    // Takes the frame geometry from the input's format block: width, height, bit count and frame
    // duration (a null block changes nothing).
    void SetVideoInfo(const VIDEOINFOHEADER* vih);
    // The same from the four values. A positive height means an RGB frame stores its bottom row
    // first. Rows are (width x bitCount / 8) rounded up to 4 bytes for whole-byte pixels, else
    // `width` bytes. A geometry whose frame would not fit in memory counts as an empty frame.
    void SetFrameGeometry(LONG width, LONG height, WORD bitCount, REFERENCE_TIME avgTimePerFrame);
    LONG GetFrameWidth() const { return m_nWidth; }
    LONG GetFrameHeight() const { return m_nHeight; }
    LONG GetFrameStride() const { return m_nStride; }
    // Bytes of a whole frame: stride x height.
    std::size_t FrameBytes() const;

    // Replaces the pixel class when `code` differs from the current one.
    void SetPixelFormat(int code);
    int GetPixelFormat() const { return m_nPixelFormat; }
    const CBasePixel* GetPixel() const { return m_pPixel.get(); }
    void DeletePixel();

    // Draws the title and the time stamp into one frame of FrameBytes() bytes; the result of
    // OnOverlayDrawn when the stamp was drawn, else 0. Nothing is drawn when not ready or when the
    // time stamp cannot be rendered.
    int DrawOverlay(BYTE* frame);
    // The same for a buffer of `frameBytes`; a buffer smaller than the frame is left untouched.
    int DrawOverlay(BYTE* frame, std::size_t frameBytes);

    // Renders `text` into a text bitmap: the text's cell size into *size, its row size into
    // *stride, its bits into *bits, which is reallocated only when it has fewer than stride x cy
    // bytes (*capacity says how many it has; it never shrinks). 1 on success; on failure 0 with
    // *size and *stride zero, so no caller pairs a new size with an older buffer.
    int RenderText(const WCHAR* text, SIZE* size, std::unique_ptr<BYTE[]>* bits, int* capacity,
                   int* stride);

    // The time-stamp text of the last frame, and where its bitmap went.
    const WCHAR* GetStampText() const { return m_pszStamp.data(); }
    SIZE GetStampSize() const { return m_sizeStamp; }
    POINT GetStampPosition() const { return m_ptStamp; }
    SIZE GetTitleSize() const { return m_sizeTitle; }

    // Replaces the local clock the stamp reads (tests step time with it). Call while stopped.
    void SetStampClock(StampClock clock) { m_clock = std::move(clock); }

  private:
    // Format and merge settings; changed on the application's thread while stopped.
    std::unique_ptr<CBasePixel> m_pPixel;
    BOOL m_bReady = 0;
    BOOL m_bByCover = 1;
    double m_dTitleStart = 0.0;
    double m_dTitleEnd = -1.0;

    // Guarded by m_csRate: the rate comes from the format (application thread, stopped) or
    // from the first sample's times (streaming thread) and may be read meanwhile.
    mutable std::mutex m_csRate;
    double m_dFrameRate = 25.0;
    int m_nTitleStartFrame = 0;
    int m_nTitleEndFrame = -1;

    // Title: written by SetTitle while stopped, read by the streaming thread.
    std::u16string m_pszTitle;
    std::unique_ptr<BYTE[]> m_pTitleBits;
    int m_cbTitleBits = 0;
    SIZE m_sizeTitle{0, 0};
    int m_nTitleStride = 0;
    POINT m_ptTitle{0, 0};
    LOGFONTW m_lfTitle{};
    BYTE m_rgbText[3] = {0, 128, 0};

    // Time stamp: streaming thread while the filter is active; read elsewhere only while it is
    // stopped (Stop takes the receive lock after the last sample). m_szStampShown is the text
    // m_pStampBits holds (valid while m_bStampShown is set).
    std::array<WCHAR, kStampChars> m_pszStamp{};
    std::unique_ptr<BYTE[]> m_pStampBits;
    int m_cbStampBits = 0;
    std::array<WCHAR, kStampChars> m_szStampShown{};
    BOOL m_bStampShown = 0;
    SIZE m_sizeStamp{0, 0};
    int m_nStampStride = 0;
    POINT m_ptStamp{0, 0};

    // Frame geometry; changed on the application's thread while stopped.
    int m_nPixelFormat = 0;
    LONG m_nWidth = 0;
    LONG m_nHeight = 0;
    LONG m_nStride = 0;
    WORD m_wBitCount = 0;
    BOOL m_bPositiveHeight = 0;
    // Replaced while stopped; called on the streaming thread.
    StampClock m_clock = LocalStampTime;
};
