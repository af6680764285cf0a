#include "platform/media/recording/encoder_dmo.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/recording/libav_error.h"

void CEncoderDmo::CodecDeleter::operator()(AVCodecContext* codec) const {
    avcodec_free_context(&codec);
}

void CEncoderDmo::PacketDeleter::operator()(AVPacket* packet) const {
    av_packet_free(&packet);
}

CEncoderDmo::CEncoderDmo(IUnknown* outer) : CUnknown(outer) {}

CEncoderDmo::~CEncoderDmo() = default;

HRESULT CEncoderDmo::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IMediaObject) return GetInterface(static_cast<IMediaObject*>(this), ppv);
    if (riid == IID_IEncoderQuality) return GetInterface(static_cast<IEncoderQuality*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CEncoderDmo::GetStreamCount(DWORD* inputs, DWORD* outputs) {
    if (!inputs || !outputs) return E_POINTER;
    *inputs = 1;
    *outputs = 1;
    return S_OK;
}

HRESULT CEncoderDmo::GetInputStreamInfo(DWORD index, DWORD* flags) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!flags) return E_POINTER;
    *flags = 0;
    return S_OK;
}

HRESULT CEncoderDmo::GetOutputStreamInfo(DWORD index, DWORD* flags) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!flags) return E_POINTER;
    *flags = 0;
    return S_OK;
}

HRESULT CEncoderDmo::GetInputType(DWORD index, DWORD, DMO_MEDIA_TYPE*) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    return DMO_E_NO_MORE_ITEMS;
}

HRESULT CEncoderDmo::GetOutputType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(m_lock);
    if (!m_inputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    if (typeIndex > 0) return DMO_E_NO_MORE_ITEMS;
    if (!type) return S_OK;
    CMediaType output;
    HRESULT hr = MakeOutputType(m_inputType, &output);
    if (FAILED(hr)) return hr;
    return CopyMediaType(type, &output);
}

HRESULT CEncoderDmo::SetInputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(m_lock);
    if (flags & DMO_SET_TYPEF_CLEAR) {
        if (m_codec) return DMO_E_NOTACCEPTING;
        m_inputType = CMediaType();
        m_outputType = CMediaType();
        return S_OK;
    }
    if (!type) return E_POINTER;
    const CMediaType candidate(*type);
    if (FAILED(AcceptInput(candidate))) return DMO_E_TYPE_NOT_ACCEPTED;
    if (flags & DMO_SET_TYPEF_TEST_ONLY) return S_OK;
    if (m_codec) return DMO_E_NOTACCEPTING;
    m_inputType = candidate;
    m_outputType = CMediaType();
    return S_OK;
}

HRESULT CEncoderDmo::SetOutputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(m_lock);
    if (flags & DMO_SET_TYPEF_CLEAR) {
        if (m_codec) return DMO_E_NOTACCEPTING;
        m_outputType = CMediaType();
        return S_OK;
    }
    if (!type) return E_POINTER;
    if (!m_inputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    CMediaType ours;
    if (FAILED(MakeOutputType(m_inputType, &ours))) return DMO_E_TYPE_NOT_ACCEPTED;
    const CMediaType candidate(*type);
    if (candidate.majortype != ours.majortype || candidate.subtype != ours.subtype ||
        candidate.formattype != ours.formattype || candidate.cbFormat != ours.cbFormat ||
        (ours.cbFormat && std::memcmp(candidate.pbFormat, ours.pbFormat, ours.cbFormat) != 0))
        return DMO_E_TYPE_NOT_ACCEPTED;
    if (flags & DMO_SET_TYPEF_TEST_ONLY) return S_OK;
    if (m_codec) return DMO_E_NOTACCEPTING;
    m_outputType = candidate;
    return S_OK;
}

HRESULT CEncoderDmo::GetInputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!type) return E_POINTER;
    std::lock_guard lock(m_lock);
    if (!m_inputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    return CopyMediaType(type, &m_inputType);
}

HRESULT CEncoderDmo::GetOutputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!type) return E_POINTER;
    std::lock_guard lock(m_lock);
    if (!m_outputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    return CopyMediaType(type, &m_outputType);
}

HRESULT CEncoderDmo::GetInputSizeInfo(DWORD index, DWORD* size, DWORD* maxLookahead,
                                      DWORD* alignment) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!size || !maxLookahead || !alignment) return E_POINTER;
    std::lock_guard lock(m_lock);
    if (!m_inputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    *size = m_inputType.GetSampleSize();
    *maxLookahead = 0;
    *alignment = 1;
    return S_OK;
}

HRESULT CEncoderDmo::GetOutputSizeInfo(DWORD index, DWORD* size, DWORD* alignment) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!size || !alignment) return E_POINTER;
    std::lock_guard lock(m_lock);
    if (!m_outputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    *size = OutputBufferSize();
    *alignment = 1;
    return S_OK;
}

HRESULT CEncoderDmo::GetInputMaxLatency(DWORD, REFERENCE_TIME*) {
    return E_NOTIMPL;
}

HRESULT CEncoderDmo::SetInputMaxLatency(DWORD, REFERENCE_TIME) {
    return E_NOTIMPL;
}

HRESULT CEncoderDmo::Flush() {
    std::lock_guard lock(m_lock);
    if (m_packet) av_packet_unref(m_packet.get());
    m_packetPending = false;
    if (m_codec) {
        // Packets already encoded are dropped. The encoders keep no frames inside (no
        // B-frames, PCM), so the codec stays open and the next input simply starts afresh;
        // draining it would end its stream for good.
        while (avcodec_receive_packet(m_codec.get(), m_packet.get()) >= 0)
            av_packet_unref(m_packet.get());
    }
    ResetTiming();
    return S_OK;
}

HRESULT CEncoderDmo::Discontinuity(DWORD index) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    // The encoders keep no frames between inputs (no B-frames, PCM), so nothing is pending.
    return S_OK;
}

HRESULT CEncoderDmo::AllocateStreamingResources() {
    std::lock_guard lock(m_lock);
    if (!m_inputType.IsValid() || !m_outputType.IsValid()) return DMO_E_TYPE_NOT_SET;
    if (m_codec) return S_OK;
    if (!m_packet) {
        m_packet.reset(av_packet_alloc());
        if (!m_packet) return E_OUTOFMEMORY;
    }
    const HRESULT hr = OpenCodec();
    if (FAILED(hr)) {
        CloseCodec();
        m_codec.reset();
        return hr;
    }
    ResetTiming();
    return S_OK;
}

HRESULT CEncoderDmo::FreeStreamingResources() {
    std::lock_guard lock(m_lock);
    if (m_packet) av_packet_unref(m_packet.get());
    m_packetPending = false;
    CloseCodec();
    m_codec.reset();
    return S_OK;
}

HRESULT CEncoderDmo::GetInputStatus(DWORD index, DWORD* flags) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!flags) return E_POINTER;
    std::lock_guard lock(m_lock);
    *flags = m_packetPending ? 0 : DMO_INPUT_STATUSF_ACCEPT_DATA;
    return S_OK;
}

HRESULT CEncoderDmo::ProcessInput(DWORD index, IMediaBuffer* buffer, DWORD flags,
                                  REFERENCE_TIME timestamp, REFERENCE_TIME) {
    if (index != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!buffer) return E_POINTER;
    std::lock_guard lock(m_lock);
    if (!m_codec) return DMO_E_TYPE_NOT_SET;
    if (m_packetPending) return DMO_E_NOTACCEPTING;
    BYTE* data = nullptr;
    DWORD length = 0;
    HRESULT hr = buffer->GetBufferAndLength(&data, &length);
    if (FAILED(hr)) return hr;
    if (!data || length == 0) return S_FALSE;
    return SendInput(data, length, (flags & DMO_INPUT_DATA_BUFFERF_TIME) != 0, timestamp);
}

bool CEncoderDmo::FetchPacket(HRESULT* hr) {
    const int error = avcodec_receive_packet(m_codec.get(), m_packet.get());
    if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return false;
    if (error < 0) {
        *hr = HresultFromAvError(error);
        return false;
    }
    m_packetPending = true;
    return true;
}

HRESULT CEncoderDmo::ProcessOutput(DWORD, DWORD count, DMO_OUTPUT_DATA_BUFFER* buffers,
                                   DWORD* status) {
    if (count != 1 || !buffers || !status) return E_INVALIDARG;
    std::lock_guard lock(m_lock);
    *status = 0;
    DMO_OUTPUT_DATA_BUFFER& out = buffers[0];
    out.dwStatus = 0;
    if (!m_codec) return DMO_E_TYPE_NOT_SET;
    HRESULT hr = S_OK;
    if (!m_packetPending && !FetchPacket(&hr)) return FAILED(hr) ? hr : S_FALSE;
    if (!out.pBuffer) return E_POINTER;
    BYTE* data = nullptr;
    DWORD maxLength = 0;
    hr = out.pBuffer->GetBufferAndLength(&data, nullptr);
    if (SUCCEEDED(hr)) hr = out.pBuffer->GetMaxLength(&maxLength);
    if (FAILED(hr)) return hr;
    const AVPacket& packet = *m_packet;
    if (static_cast<DWORD>(packet.size) > maxLength) return E_OUTOFMEMORY;
    std::memcpy(data, packet.data, static_cast<std::size_t>(packet.size));
    out.pBuffer->SetLength(static_cast<DWORD>(packet.size));
    const AVRational units{1, static_cast<int>(UNITS)};
    if (packet.pts != AV_NOPTS_VALUE) {
        out.rtTimestamp = av_rescale_q(packet.pts, m_codec->time_base, units);
        out.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_TIME;
        if (packet.duration > 0) {
            out.rtTimelength = av_rescale_q(packet.duration, m_codec->time_base, units);
            out.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH;
        }
    }
    if (packet.flags & AV_PKT_FLAG_KEY) out.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_SYNCPOINT;
    av_packet_unref(m_packet.get());
    m_packetPending = false;
    if (FetchPacket(&hr)) out.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
    return S_OK;
}

HRESULT CEncoderDmo::Lock(LONG lock) {
    if (lock)
        m_lock.lock();
    else
        m_lock.unlock();
    return S_OK;
}

HRESULT CEncoderDmo::put_Quality(LONG quality) {
    if (quality < 0 || quality > 2) return E_INVALIDARG;
    std::lock_guard lock(m_lock);
    m_quality = quality;
    return S_OK;
}

HRESULT CEncoderDmo::get_Quality(LONG* quality) {
    if (!quality) return E_POINTER;
    std::lock_guard lock(m_lock);
    *quality = m_quality;
    return S_OK;
}
