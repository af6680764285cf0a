#include "platform/media/recording/avi_mux.h"

#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
}

#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/libav_error.h"

namespace {

constexpr int kIoBufferBytes = 64 * 1024;
constexpr REFERENCE_TIME kCommitPeriod = UNITS;  // one second of recorded time
constexpr AVRational kUnits{1, static_cast<int>(UNITS)};

}  // namespace

void CAviMux::ContextDeleter::operator()(AVFormatContext* context) const {
    avformat_free_context(context);
}

void CAviMux::IoDeleter::operator()(AVIOContext* io) const {
    if (io) av_freep(&io->buffer);  // the context may have replaced the buffer given to it
    avio_context_free(&io);
}

void CAviMux::PacketDeleter::operator()(AVPacket* packet) const {
    av_packet_free(&packet);
}

CUnknown* CAviMux::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* mux = new (std::nothrow) CAviMux(outer);
    if (!mux && hr) *hr = E_OUTOFMEMORY;
    return mux;
}

CAviMux::CAviMux(IUnknown* outer) : CBaseFilter("AVI Mux", outer, &m_lock, CLSID_AviDest) {
    m_inputs[0] = std::make_unique<CAviMuxInputPin>(this, &m_lock, 0, u"Input 01");
    m_inputs[1] = std::make_unique<CAviMuxInputPin>(this, &m_lock, 1, u"Input 02");
    m_output = std::make_unique<CAviMuxOutputPin>(this, &m_lock);
}

CAviMux::~CAviMux() {
    std::lock_guard mux(m_muxLock);
    FinishLocked();
}

HRESULT CAviMux::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IConfigInterleaving)
        return GetInterface(static_cast<IConfigInterleaving*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CAviMux::GetPin(int n) {
    if (n >= 0 && n < kInputs) return m_inputs[n].get();
    return n == kInputs ? m_output.get() : nullptr;
}

HRESULT CAviMux::Pause() {
    CAutoLock lock(&m_lock);
    if (IsStopped()) {
        std::lock_guard mux(m_muxLock);
        const HRESULT hr = OpenLocked();
        if (FAILED(hr)) {
            FinishLocked();
            m_error = hr;
            return hr;
        }
    }
    const HRESULT hr = CBaseFilter::Pause();
    if (FAILED(hr)) {
        std::lock_guard mux(m_muxLock);
        FinishLocked();
    }
    return hr;
}

HRESULT CAviMux::Stop() {
    CAutoLock lock(&m_lock);
    // Inputs inactive first: a sample arriving later is refused before it reaches the muxer.
    const HRESULT hr = CBaseFilter::Stop();
    std::lock_guard mux(m_muxLock);
    FinishLocked();
    return hr;
}

HRESULT CAviMux::put_Mode(InterleavingMode mode) {
    if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED) return E_INVALIDARG;
    CAutoLock lock(&m_lock);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_mode = mode;
    return S_OK;
}

HRESULT CAviMux::get_Mode(InterleavingMode* mode) {
    if (!mode) return E_POINTER;
    CAutoLock lock(&m_lock);
    *mode = m_mode;
    return S_OK;
}

HRESULT CAviMux::put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll) {
    CAutoLock lock(&m_lock);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    if ((interleave && *interleave <= 0) || (preroll && *preroll < 0)) return E_INVALIDARG;
    if (interleave) m_interleave = *interleave;
    if (preroll) m_preroll = *preroll;
    return S_OK;
}

HRESULT CAviMux::get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) {
    if (!interleave || !preroll) return E_POINTER;
    CAutoLock lock(&m_lock);
    *interleave = m_interleave;
    *preroll = m_preroll;
    return S_OK;
}

HRESULT CAviMux::GetError() {
    std::lock_guard mux(m_muxLock);
    return m_error;
}

HRESULT CAviMux::OpenLocked() {
    m_error = S_OK;
    m_position = 0;
    m_size = 0;
    for (REFERENCE_TIME& time : m_lastCommit) time = 0;
    m_stream = m_output->Stream();
    if (!m_output->IsConnected() || !m_stream) return VFW_E_NOT_CONNECTED;
    if (!m_packet) {
        m_packet.reset(av_packet_alloc());
        if (!m_packet) return E_OUTOFMEMORY;
    }
    AVFormatContext* context = nullptr;
    int error = avformat_alloc_output_context2(&context, nullptr, "avi", nullptr);
    if (error < 0) return HresultFromAvError(error);
    m_context.reset(context);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (!buffer) return E_OUTOFMEMORY;
    m_io.reset(avio_alloc_context(buffer, kIoBufferBytes, 1, this, nullptr, &CAviMux::WritePacket,
                                  &CAviMux::Seek));
    if (!m_io) {
        av_free(buffer);
        return E_OUTOFMEMORY;
    }
    m_context->pb = m_io.get();
    m_context->flags |= AVFMT_FLAG_CUSTOM_IO;
    m_interleaved = m_mode != INTERLEAVE_CAPTURE;
    m_context->max_interleave_delta = av_rescale_q(m_interleave, kUnits, AV_TIME_BASE_Q);

    int streams = 0;
    for (int i = 0; i < kInputs; ++i) {
        m_streamOf[i] = -1;
        if (!m_inputs[i]->IsConnected()) continue;
        const HRESULT hr = AddStreamLocked(m_inputs[i]->CurrentMediaType());
        if (FAILED(hr)) return hr;
        m_streamOf[i] = streams++;
    }
    if (streams == 0) return VFW_E_NOT_CONNECTED;
    error = avformat_write_header(m_context.get(), nullptr);
    if (error < 0) return FAILED(m_error) ? m_error : HresultFromAvError(error);
    avio_flush(m_io.get());
    if (FAILED(m_error)) return m_error;
    return m_stream->Commit();
}

HRESULT CAviMux::AddStreamLocked(const CMediaType& type) {
    AVStream* stream = avformat_new_stream(m_context.get(), nullptr);
    if (!stream) return E_OUTOFMEMORY;
    AVCodecParameters& par = *stream->codecpar;
    if (type.majortype == MEDIATYPE_Video) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        par.codec_type = AVMEDIA_TYPE_VIDEO;
        par.codec_id = AV_CODEC_ID_MPEG4;
        par.codec_tag = info->bmiHeader.biCompression;
        par.width = info->bmiHeader.biWidth;
        par.height = std::abs(info->bmiHeader.biHeight);
        par.format = AV_PIX_FMT_YUV420P;
        const AVRational frame =
            av_d2q(static_cast<double>(info->AvgTimePerFrame) / static_cast<double>(UNITS), 65535);
        stream->time_base = frame;
        stream->avg_frame_rate = av_inv_q(frame);
        stream->r_frame_rate = stream->avg_frame_rate;
    } else {
        const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
        par.codec_type = AVMEDIA_TYPE_AUDIO;
        par.codec_id = AV_CODEC_ID_PCM_S16LE;
        par.sample_rate = static_cast<int>(wave->nSamplesPerSec);
        av_channel_layout_default(&par.ch_layout, wave->nChannels);
        par.bits_per_coded_sample = 16;
        par.block_align = wave->nBlockAlign;
        par.bit_rate = static_cast<int64_t>(wave->nAvgBytesPerSec) * 8;
        stream->time_base = AVRational{1, par.sample_rate};
    }
    return S_OK;
}

HRESULT CAviMux::WriteSample(int index, IMediaSample* sample) {
    std::lock_guard mux(m_muxLock);
    if (FAILED(m_error)) return m_error;
    if (!m_context || index < 0 || index >= kInputs || m_streamOf[index] < 0)
        return VFW_E_WRONG_STATE;
    BYTE* data = nullptr;
    HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr)) return hr;
    const LONG length = sample->GetActualDataLength();
    if (length <= 0) return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    if (FAILED(sample->GetTime(&start, &stop))) return VFW_E_SAMPLE_TIME_NOT_SET;

    const int streamIndex = m_streamOf[index];
    const AVStream* stream = m_context->streams[streamIndex];
    AVPacket& packet = *m_packet;
    packet.data = data;
    packet.size = length;
    packet.stream_index = streamIndex;
    packet.pts = av_rescale_q_rnd(start, kUnits, stream->time_base, AV_ROUND_NEAR_INF);
    packet.dts = packet.pts;
    packet.duration = stop > start ? av_rescale_q(stop - start, kUnits, stream->time_base) : 0;
    packet.flags = sample->IsSyncPoint() == S_OK ? AV_PKT_FLAG_KEY : 0;
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) packet.flags |= AV_PKT_FLAG_KEY;
    // Capture mode writes the caller's bytes directly; interleaving copies them to hold them.
    const int error = m_interleaved ? av_interleaved_write_frame(m_context.get(), &packet)
                                    : av_write_frame(m_context.get(), &packet);
    packet.data = nullptr;
    packet.size = 0;
    if (error < 0) return FailLocked(FAILED(m_error) ? m_error : HresultFromAvError(error));
    if (FAILED(m_error)) return m_error;

    if (start - m_lastCommit[index] >= kCommitPeriod) {
        avio_flush(m_io.get());
        if (FAILED(m_error)) return m_error;
        hr = m_stream->Commit();
        if (FAILED(hr)) return FailLocked(hr);
        m_lastCommit[index] = start;
    }
    return S_OK;
}

void CAviMux::FinishLocked() {
    if (m_context) {
        // The trailer writes the index and seeks back to fix the header sizes; after a write
        // error it fails at once, and the file keeps what was committed.
        if (SUCCEEDED(m_error)) {
            const int error = av_write_trailer(m_context.get());
            if (error < 0 && SUCCEEDED(m_error)) m_error = HresultFromAvError(error);
        }
        if (m_io) avio_flush(m_io.get());
    }
    if (m_stream) {
        const HRESULT hr = m_stream->Close();
        if (FAILED(hr) && SUCCEEDED(m_error)) m_error = hr;
    }
    m_stream = nullptr;
    m_context.reset();
    m_io.reset();
    for (int& stream : m_streamOf) stream = -1;
}

HRESULT CAviMux::FailLocked(HRESULT error) {
    if (SUCCEEDED(m_error)) m_error = error;
    return m_error;
}

int CAviMux::WritePacket(void* opaque, uint8_t* data, int size) {
    auto* self = static_cast<CAviMux*>(opaque);
    if (FAILED(self->m_error)) return AVERROR(EIO);
    const HRESULT hr = self->m_stream->WriteAt(self->m_position, data, size);
    if (FAILED(hr)) {
        self->FailLocked(hr);
        return AVERROR(EIO);
    }
    self->m_position += size;
    if (self->m_position > self->m_size) self->m_size = self->m_position;
    return size;
}

int64_t CAviMux::Seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<CAviMux*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return self->m_size;
        case SEEK_SET:
            self->m_position = offset;
            break;
        case SEEK_CUR:
            self->m_position += offset;
            break;
        case SEEK_END:
            self->m_position = self->m_size + offset;
            break;
        default:
            return AVERROR(EINVAL);
    }
    return self->m_position;
}
