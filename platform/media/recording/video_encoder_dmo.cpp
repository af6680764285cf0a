#include "platform/media/recording/video_encoder_dmo.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/libav_error.h"

namespace {

constexpr DWORD kFourccFmp4 = 0x34504D46;  // "FMP4"

const VIDEOINFOHEADER* VideoInfo(const CMediaType& type) {
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER) ||
        !type.pbFormat)
        return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

// The codec's time base for frames of `duration` (100 ns units): 1/25 for PAL, 1001/30000 for
// NTSC; the denominator fits MPEG-4's 16-bit time resolution.
AVRational TimeBaseOf(REFERENCE_TIME duration) {
    return av_d2q(static_cast<double>(duration) / static_cast<double>(UNITS), 65535);
}

}  // namespace

void CVideoEncoderDmo::FrameDeleter::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}

void CVideoEncoderDmo::ScalerDeleter::operator()(SwsContext* scaler) const {
    sws_freeContext(scaler);
}

CUnknown* CVideoEncoderDmo::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* object = new (std::nothrow) CVideoEncoderDmo(outer);
    if (!object && hr) *hr = E_OUTOFMEMORY;
    return object;
}

int CVideoEncoderDmo::QuantiserOf(LONG quality) {
    switch (quality) {
        case 1:
            return 6;
        case 2:
            return 12;
        default:
            return 3;
    }
}

CVideoEncoderDmo::CVideoEncoderDmo(IUnknown* outer) : CEncoderDmo(outer) {}

CVideoEncoderDmo::~CVideoEncoderDmo() = default;

HRESULT CVideoEncoderDmo::AcceptInput(const CMediaType& type) {
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_UYVY)
        return DMO_E_TYPE_NOT_ACCEPTED;
    const VIDEOINFOHEADER* info = VideoInfo(type);
    if (!info) return DMO_E_TYPE_NOT_ACCEPTED;
    const LONG width = info->bmiHeader.biWidth;
    const LONG height = std::abs(info->bmiHeader.biHeight);
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || width > 4096 || height > 4096 ||
        info->bmiHeader.biBitCount != 16 || info->AvgTimePerFrame <= 0)
        return DMO_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CVideoEncoderDmo::MakeOutputType(const CMediaType& input, CMediaType* output) {
    const VIDEOINFOHEADER* in = VideoInfo(input);
    if (!in) return DMO_E_TYPE_NOT_SET;
    CMediaType type(MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_FMP4);
    type.SetFormatType(&FORMAT_VideoInfo);
    type.SetTemporalCompression(true);
    type.SetVariableSize();
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info) return E_OUTOFMEMORY;
    info->AvgTimePerFrame = in->AvgTimePerFrame;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = in->bmiHeader.biWidth;
    info->bmiHeader.biHeight = std::abs(in->bmiHeader.biHeight);
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 12;
    info->bmiHeader.biCompression = kFourccFmp4;
    info->bmiHeader.biSizeImage =
        static_cast<DWORD>(info->bmiHeader.biWidth * info->bmiHeader.biHeight * 3 / 2);
    *output = std::move(type);
    return S_OK;
}

DWORD CVideoEncoderDmo::OutputBufferSize() {
    const VIDEOINFOHEADER* in = VideoInfo(m_inputType);
    if (!in) return 0;
    // An intra frame at the finest quantiser stays well below the raw 4:2:2 size.
    return static_cast<DWORD>(in->bmiHeader.biWidth * std::abs(in->bmiHeader.biHeight) * 2 +
                              AV_INPUT_BUFFER_MIN_SIZE);
}

HRESULT CVideoEncoderDmo::OpenCodec() {
    const VIDEOINFOHEADER* in = VideoInfo(m_inputType);
    if (!in) return DMO_E_TYPE_NOT_SET;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) return REGDB_E_CLASSNOTREG;
    m_codec.reset(avcodec_alloc_context3(codec));
    if (!m_codec) return E_OUTOFMEMORY;
    m_width = in->bmiHeader.biWidth;
    m_height = std::abs(in->bmiHeader.biHeight);
    m_frameDuration = in->AvgTimePerFrame;
    AVCodecContext& c = *m_codec;
    c.width = m_width;
    c.height = m_height;
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    c.time_base = TimeBaseOf(m_frameDuration);
    c.framerate = av_inv_q(c.time_base);
    c.gop_size = std::max(1, static_cast<int>(std::lround(av_q2d(c.framerate))));
    c.max_b_frames = 0;
    c.codec_tag = kFourccFmp4;
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = FF_QP2LAMBDA * QuantiserOf(m_quality);
    c.thread_count = 1;  // the streaming thread does the work; no codec threads
    int error = avcodec_open2(m_codec.get(), codec, nullptr);
    if (error < 0) return HresultFromAvError(error);

    m_frame.reset(av_frame_alloc());
    if (!m_frame) return E_OUTOFMEMORY;
    m_frame->format = AV_PIX_FMT_YUV420P;
    m_frame->width = m_width;
    m_frame->height = m_height;
    error = av_frame_get_buffer(m_frame.get(), 0);
    if (error < 0) return HresultFromAvError(error);
    m_scaler.reset(sws_getContext(m_width, m_height, AV_PIX_FMT_UYVY422, m_width, m_height,
                                  AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!m_scaler) return E_OUTOFMEMORY;
    return S_OK;
}

void CVideoEncoderDmo::CloseCodec() {
    m_scaler.reset();
    m_frame.reset();
}

void CVideoEncoderDmo::ResetTiming() {
    m_nextPts = 0;
}

HRESULT CVideoEncoderDmo::SendInput(const BYTE* data, DWORD length, bool hasTime,
                                    REFERENCE_TIME timestamp) {
    const DWORD stride = static_cast<DWORD>(m_width) * 2;
    if (length < stride * static_cast<DWORD>(m_height)) return E_INVALIDARG;
    // The encoder may still hold the previous picture: a new buffer only then.
    int error = av_frame_make_writable(m_frame.get());
    if (error < 0) return HresultFromAvError(error);
    const uint8_t* source[1] = {data};
    const int sourceStride[1] = {static_cast<int>(stride)};
    sws_scale(m_scaler.get(), source, sourceStride, 0, m_height, m_frame->data, m_frame->linesize);

    int64_t pts = m_nextPts;
    if (hasTime && timestamp >= 0)
        pts = std::max<int64_t>(m_nextPts,
                                av_rescale_q_rnd(timestamp, AVRational{1, static_cast<int>(UNITS)},
                                                 m_codec->time_base, AV_ROUND_NEAR_INF));
    m_frame->pts = pts;
    m_frame->quality = m_codec->global_quality;
    m_frame->pict_type = AV_PICTURE_TYPE_NONE;
    m_nextPts = pts + 1;
    error = avcodec_send_frame(m_codec.get(), m_frame.get());
    return error < 0 ? HresultFromAvError(error) : S_OK;
}
