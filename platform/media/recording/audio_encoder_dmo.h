// CAudioEncoderDmo: the audio encoder media object (CLSID_AudioEncoderDmo, category
// DMOCATEGORY_AUDIO_ENCODER). Takes 16-bit PCM (mono or stereo, any rate) and gives 16-bit
// PCM through libavcodec's PCM encoder: uncompressed audio in AVI plays and seeks in every
// player, has no encoder delay or frame padding, and so stays exactly in step with the video;
// at the grabber's rates it costs a few percent of the video's size. The quality setting does
// not change the audio.
//
// Timestamps: the first input's start time opens the timeline; later inputs follow on sample by
// sample, unless an input's own time is more than 40 ms away from that (a gap or a drop), which
// restarts the timeline there.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/media/recording/encoder_dmo.h"

struct AVFrame;

class CAudioEncoderDmo final : public CEncoderDmo {
  public:
    // Class-table creation function (aggregatable).
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

  private:
    explicit CAudioEncoderDmo(IUnknown* outer);
    ~CAudioEncoderDmo() override;

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

    // Samples per codec frame at most; a longer input goes in several frames.
    static constexpr int kMaxFrameSamples = 8192;

    // Guarded by m_lock (the base's); set up in OpenCodec, freed in CloseCodec.
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;  // reused for every input
    int m_blockAlign = 0;
    bool m_haveTimeline = false;
    int64_t m_nextPts = 0;  // in samples
};
