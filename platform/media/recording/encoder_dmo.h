// CEncoderDmo: the part the two encoder media objects share: one input and one output stream,
// type negotiation, the codec's lifetime and the output side of IMediaObject (packets of a
// libavcodec encoder copied into the caller's buffers with their times and key-frame flag).
//
// Threads: the host calls types and resources from its application thread and ProcessInput,
// ProcessOutput and Discontinuity from its streaming thread; Flush may come from any thread.
// Every call runs under m_lock.
//
// Derived classes provide, all called with m_lock held:
//   AcceptInput     Required. S_OK when the input type is one the encoder takes.
//   MakeOutputType  Required. The one output type that goes with the accepted input type.
//   OutputBufferSize Required. Bytes of the largest packet.
//   OpenCodec       Required. Opens m_codec (and any conversion state) for the set types.
//   CloseCodec      Optional. Frees the derived class's state; m_codec is freed by the base.
//   SendInput       Required. Hands one input buffer to the codec (avcodec_send_frame).
//   ResetTiming     Optional. Forgets timestamps kept between inputs (after Flush).
#pragma once

#include <memory>
#include <mutex>

#include "platform/com/object_base.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/interfaces/iencoder_quality.h"
#include "platform/media/interfaces/imedia_object.h"

struct AVCodecContext;
struct AVPacket;

class CEncoderDmo : public CUnknown, public IMediaObject, public IEncoderQuality {
  public:
    DECLARE_IUNKNOWN
    // Answers IMediaObject and IEncoderQuality.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMediaObject
    HRESULT GetStreamCount(DWORD* inputs, DWORD* outputs) override;
    HRESULT GetInputStreamInfo(DWORD index, DWORD* flags) override;
    HRESULT GetOutputStreamInfo(DWORD index, DWORD* flags) override;
    // No preferred input types (the input side takes what AcceptInput accepts).
    HRESULT GetInputType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type) override;
    // One output type once the input type is set; DMO_E_TYPE_NOT_SET before.
    HRESULT GetOutputType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type) override;
    HRESULT SetInputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) override;
    HRESULT SetOutputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) override;
    HRESULT GetInputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) override;
    HRESULT GetOutputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) override;
    HRESULT GetInputSizeInfo(DWORD index, DWORD* size, DWORD* maxLookahead,
                             DWORD* alignment) override;
    HRESULT GetOutputSizeInfo(DWORD index, DWORD* size, DWORD* alignment) override;
    HRESULT GetInputMaxLatency(DWORD index, REFERENCE_TIME* latency) override;
    HRESULT SetInputMaxLatency(DWORD index, REFERENCE_TIME latency) override;
    HRESULT Flush() override;
    HRESULT Discontinuity(DWORD index) override;
    HRESULT AllocateStreamingResources() override;
    HRESULT FreeStreamingResources() override;
    HRESULT GetInputStatus(DWORD index, DWORD* flags) override;
    HRESULT ProcessInput(DWORD index, IMediaBuffer* buffer, DWORD flags, REFERENCE_TIME timestamp,
                         REFERENCE_TIME timelength) override;
    HRESULT ProcessOutput(DWORD flags, DWORD count, DMO_OUTPUT_DATA_BUFFER* buffers,
                          DWORD* status) override;
    HRESULT Lock(LONG lock) override;

    // IEncoderQuality
    HRESULT put_Quality(LONG quality) override;
    HRESULT get_Quality(LONG* quality) override;

  protected:
    explicit CEncoderDmo(IUnknown* outer);
    ~CEncoderDmo() override;

    virtual HRESULT AcceptInput(const CMediaType& type) = 0;
    virtual HRESULT MakeOutputType(const CMediaType& input, CMediaType* output) = 0;
    virtual DWORD OutputBufferSize() = 0;
    virtual HRESULT OpenCodec() = 0;
    virtual void CloseCodec() {}
    // `hasTime` says whether `timestamp` (100 ns units, stream time) is valid.
    virtual HRESULT SendInput(const BYTE* data, DWORD length, bool hasTime,
                              REFERENCE_TIME timestamp) = 0;
    virtual void ResetTiming() {}

    struct CodecDeleter {
        void operator()(AVCodecContext* codec) const;
    };
    struct PacketDeleter {
        void operator()(AVPacket* packet) const;
    };

    // Guarded by m_lock.
    std::recursive_mutex m_lock;  // recursive: Flush and FreeStreamingResources share steps
    CMediaType m_inputType;       // major type GUID_NULL while unset
    CMediaType m_outputType;
    LONG m_quality = 0;
    std::unique_ptr<AVCodecContext, CodecDeleter> m_codec;  // open between Allocate and Free
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;      // reused for every packet
    bool m_packetPending = false;  // m_packet holds a packet not yet handed out

  private:
    // m_lock held: takes the codec's next packet into m_packet; false when none is ready.
    bool FetchPacket(HRESULT* hr);
};
