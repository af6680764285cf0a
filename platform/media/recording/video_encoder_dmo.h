// CVideoEncoderDmo: the video encoder media object (CLSID_VideoEncoderDmo, category
// DMOCATEGORY_VIDEO_ENCODER). Takes UYVY frames (720 x 576 or 720 x 480, any size with even
// dimensions) with a VIDEOINFOHEADER and gives MPEG-4 Part 2 video ("FMP4"), which plays and
// seeks in AVI in every common player.
//
// Settings: no B-frames (output order is input order, no delay), a key frame every second
// (group of pictures = the frame rate), a constant quantiser chosen by IEncoderQuality:
//   quality 0 "high"   quantiser 3  (about 4-6 Mbit/s on camera pictures at 720 x 576, 25/s)
//   quality 1 "medium" quantiser 6
//   quality 2 "low"    quantiser 12
// Timestamps: each frame's number is its sample start time divided by the frame duration
// (rounded), kept increasing; a gap in the numbers is a dropped frame and keeps later frames in
// step with the audio. Output samples carry the frame's start time and duration.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/media/recording/encoder_dmo.h"

struct AVFrame;
struct SwsContext;

class CVideoEncoderDmo final : public CEncoderDmo {
  public:
    // Class-table creation function (aggregatable).
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    // The quantiser of quality 0, 1, 2 (anything else counts as 0).
    static int QuantiserOf(LONG quality);

  private:
    explicit CVideoEncoderDmo(IUnknown* outer);
    ~CVideoEncoderDmo() override;

    HRESULT AcceptInput(const CMediaType& type) override;
    HRESULT MakeOutputType(const CMediaType& input, CMediaType* output) override;
    DWORD OutputBufferSize() override;
    HRESULT OpenCodec() override;
    void CloseCodec() override;
    HRESULT SendInput(const BYTE* data, DWORD length, bool hasTime,
                      REFERENCE_TIME timestamp) override;
    void ResetTiming() override;

    struct FrameDeleter {
        void operator()(AVFrame* frame) const;
    };
    struct ScalerDeleter {
        void operator()(SwsContext* scaler) const;
    };

    // Guarded by m_lock (the base's); set up in OpenCodec, freed in CloseCodec.
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;  // the 4:2:0 picture, reused
    std::unique_ptr<SwsContext, ScalerDeleter> m_scaler;
    int m_width = 0;
    int m_height = 0;
    REFERENCE_TIME m_frameDuration = 0;
    int64_t m_nextPts = 0;  // the smallest number the next frame may have
};
