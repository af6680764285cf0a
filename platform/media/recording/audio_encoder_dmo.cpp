#include "platform/media/recording/audio_encoder_dmo.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/recording/libav_error.h"

namespace {

const WAVEFORMATEX* WaveFormat(const CMediaType& type) {
    if (type.formattype != FORMAT_WaveFormatEx || type.cbFormat < sizeof(WAVEFORMATEX) - 2 ||
        !type.pbFormat)
        return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
}

constexpr REFERENCE_TIME kResyncTolerance = 40 * MILLISECONDS;

}  // namespace

void CAudioEncoderDmo::FrameDeleter::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}

CUnknown* CAudioEncoderDmo::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* object = new (std::nothrow) CAudioEncoderDmo(outer);
    if (!object && hr) *hr = E_OUTOFMEMORY;
    return object;
}

CAudioEncoderDmo::CAudioEncoderDmo(IUnknown* outer) : CEncoderDmo(outer) {}

CAudioEncoderDmo::~CAudioEncoderDmo() = default;

HRESULT CAudioEncoderDmo::AcceptInput(const CMediaType& type) {
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM)
        return DMO_E_TYPE_NOT_ACCEPTED;
    const WAVEFORMATEX* wave = WaveFormat(type);
    if (!wave || wave->wFormatTag != WAVE_FORMAT_PCM || wave->wBitsPerSample != 16 ||
        wave->nChannels < 1 || wave->nChannels > 2 || wave->nSamplesPerSec < 1000 ||
        wave->nSamplesPerSec > 192000 || wave->nBlockAlign != wave->nChannels * 2)
        return DMO_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CAudioEncoderDmo::MakeOutputType(const CMediaType& input, CMediaType* output) {
    const WAVEFORMATEX* in = WaveFormat(input);
    if (!in) return DMO_E_TYPE_NOT_SET;
    CMediaType type(MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(in->nBlockAlign);
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!wave) return E_OUTOFMEMORY;
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = in->nChannels;
    wave->nSamplesPerSec = in->nSamplesPerSec;
    wave->wBitsPerSample = 16;
    wave->nBlockAlign = in->nBlockAlign;
    wave->nAvgBytesPerSec = in->nSamplesPerSec * in->nBlockAlign;
    wave->cbSize = 0;
    *output = std::move(type);
    return S_OK;
}

DWORD CAudioEncoderDmo::OutputBufferSize() {
    const WAVEFORMATEX* in = WaveFormat(m_inputType);
    if (!in) return 0;
    return static_cast<DWORD>(kMaxFrameSamples * in->nBlockAlign + AV_INPUT_BUFFER_MIN_SIZE);
}

HRESULT CAudioEncoderDmo::OpenCodec() {
    const WAVEFORMATEX* in = WaveFormat(m_inputType);
    if (!in) return DMO_E_TYPE_NOT_SET;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!codec) return REGDB_E_CLASSNOTREG;
    m_codec.reset(avcodec_alloc_context3(codec));
    if (!m_codec) return E_OUTOFMEMORY;
    AVCodecContext& c = *m_codec;
    c.sample_fmt = AV_SAMPLE_FMT_S16;
    c.sample_rate = static_cast<int>(in->nSamplesPerSec);
    av_channel_layout_default(&c.ch_layout, in->nChannels);
    c.time_base = AVRational{1, c.sample_rate};
    int error = avcodec_open2(m_codec.get(), codec, nullptr);
    if (error < 0) return HresultFromAvError(error);
    m_blockAlign = in->nBlockAlign;

    m_frame.reset(av_frame_alloc());
    if (!m_frame) return E_OUTOFMEMORY;
    m_frame->format = AV_SAMPLE_FMT_S16;
    m_frame->sample_rate = c.sample_rate;
    m_frame->nb_samples = kMaxFrameSamples;
    error = av_channel_layout_copy(&m_frame->ch_layout, &c.ch_layout);
    if (error >= 0) error = av_frame_get_buffer(m_frame.get(), 0);
    return error < 0 ? HresultFromAvError(error) : S_OK;
}

void CAudioEncoderDmo::CloseCodec() {
    m_frame.reset();
}

void CAudioEncoderDmo::ResetTiming() {
    m_haveTimeline = false;
    m_nextPts = 0;
}

HRESULT CAudioEncoderDmo::SendInput(const BYTE* data, DWORD length, bool hasTime,
                                    REFERENCE_TIME timestamp) {
    const int samples = static_cast<int>(length / static_cast<DWORD>(m_blockAlign));
    if (samples == 0) return S_FALSE;
    if (samples > kMaxFrameSamples) return E_INVALIDARG;  // the host's buffers are smaller
    if (hasTime) {
        const REFERENCE_TIME expected = av_rescale(m_nextPts, UNITS, m_codec->sample_rate);
        if (!m_haveTimeline || timestamp - expected > kResyncTolerance ||
            expected - timestamp > kResyncTolerance)
            m_nextPts =
                av_rescale(std::max<REFERENCE_TIME>(timestamp, 0), m_codec->sample_rate, UNITS);
        m_haveTimeline = true;
    }
    // Full size first: a new buffer (when the codec still holds the old one) gets full size.
    m_frame->nb_samples = kMaxFrameSamples;
    int error = av_frame_make_writable(m_frame.get());
    if (error < 0) return HresultFromAvError(error);
    m_frame->nb_samples = samples;
    std::memcpy(m_frame->data[0], data, static_cast<std::size_t>(samples) * m_blockAlign);
    m_frame->pts = m_nextPts;
    m_nextPts += samples;
    error = avcodec_send_frame(m_codec.get(), m_frame.get());
    return error < 0 ? HresultFromAvError(error) : S_OK;
}
