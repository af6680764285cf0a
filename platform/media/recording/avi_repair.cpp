#include "platform/media/recording/avi_repair.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

#include "platform/base/folders.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/recording/libav_error.h"

namespace recording {
namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct OutputCloser {
    void operator()(AVFormatContext* context) const {
        if (context->pb) avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// Flushes `path` (and, when `directory`, the folder entry) to the disk; false on failure.
bool SyncPath(const std::string& path, bool directory) {
    const int fd =
        ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Copies the packets of `input` into the new file at `copyPath`.
HRESULT CopyPackets(AVFormatContext* input, const std::string& copyPath,
                    const std::atomic<bool>* cancel, AviRepairResult* result) {
    AVFormatContext* raw = nullptr;
    int error = avformat_alloc_output_context2(&raw, nullptr, "avi", copyPath.c_str());
    if (error < 0) return HresultFromAvError(error);
    std::unique_ptr<AVFormatContext, OutputCloser> output(raw);

    // Input stream index -> output stream index (-1: not copied).
    std::vector<int> map(input->nb_streams, -1);
    int video = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* in = input->streams[i];
        const AVMediaType kind = in->codecpar->codec_type;
        if (kind != AVMEDIA_TYPE_VIDEO && kind != AVMEDIA_TYPE_AUDIO) continue;
        AVStream* out = avformat_new_stream(output.get(), nullptr);
        if (!out) return E_OUTOFMEMORY;
        error = avcodec_parameters_copy(out->codecpar, in->codecpar);
        if (error < 0) return HresultFromAvError(error);
        out->codecpar->codec_tag = in->codecpar->codec_tag;
        out->time_base = in->time_base;
        out->avg_frame_rate = in->avg_frame_rate;
        out->r_frame_rate = in->r_frame_rate;
        map[i] = out->index;
        if (kind == AVMEDIA_TYPE_VIDEO && video < 0) video = out->index;
    }
    if (output->nb_streams == 0) return VFW_E_INVALID_FILE_FORMAT;

    error = avio_open(&output->pb, copyPath.c_str(), AVIO_FLAG_WRITE);
    if (error < 0) return HresultFromAvError(error);
    error = avformat_write_header(output.get(), nullptr);
    if (error < 0) return HresultFromAvError(error);

    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) return E_OUTOFMEMORY;
    // Output stream index -> decoding time of the packet last written there.
    std::vector<int64_t> lastDts(output->nb_streams, AV_NOPTS_VALUE);
    long long frames = 0;
    int64_t lastVideoEnd = 0;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return E_ABORT;
        error = av_read_frame(input, packet.get());
        // The end of the file, or the cut through the last chunk.
        if (error < 0) break;
        const int from = packet->stream_index;
        const int to = from >= 0 && from < static_cast<int>(map.size()) ? map[from] : -1;
        // A chunk that the cut ended is incomplete: leave it out.
        if (to < 0 || (packet->flags & AV_PKT_FLAG_CORRUPT) || packet->size <= 0) {
            av_packet_unref(packet.get());
            continue;
        }
        const AVStream* out = output->streams[to];
        av_packet_rescale_ts(packet.get(), input->streams[from]->time_base, out->time_base);
        packet->stream_index = to;
        packet->pos = -1;
        // The muxer refuses a decoding time that does not come after the stream's previous one,
        // which a damaged header's rates can produce once the times are rescaled (two audio
        // chunks on one tick). The packet goes right after the previous one instead, so that
        // one bad rate does not cost the whole repair.
        int64_t& last = lastDts[static_cast<std::size_t>(to)];
        if (packet->dts != AV_NOPTS_VALUE && last != AV_NOPTS_VALUE && packet->dts <= last) {
            packet->dts = last + 1;
            if (packet->pts != AV_NOPTS_VALUE && packet->pts < packet->dts)
                packet->pts = packet->dts;
        }
        if (packet->dts != AV_NOPTS_VALUE) last = packet->dts;
        if (to == video) {
            ++frames;
            const int64_t start = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (start != AV_NOPTS_VALUE)
                lastVideoEnd = start + (packet->duration > 0 ? packet->duration : 1);
        }
        error = av_write_frame(output.get(), packet.get());
        av_packet_unref(packet.get());
        if (error < 0) return HresultFromAvError(error);
    }
    error = av_write_trailer(output.get());
    if (error < 0) return HresultFromAvError(error);
    avio_flush(output->pb);
    if (output->pb->error < 0) return HresultFromAvError(output->pb->error);
    error = avio_closep(&output->pb);
    if (error < 0) return HresultFromAvError(error);
    result->videoFrames = frames;
    result->seconds =
        video >= 0 ? static_cast<double>(lastVideoEnd) * av_q2d(output->streams[video]->time_base)
                   : 0;
    return S_OK;
}

}  // namespace

HRESULT RepairAviFile(const std::string& path, const std::atomic<bool>* cancel,
                      AviRepairResult* result) {
    if (!result) return E_POINTER;
    *result = AviRepairResult{};
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return HresultFromErrno(errno);
        ::close(fd);
    }
    AVFormatContext* raw = nullptr;
    const AVInputFormat* avi = av_find_input_format("avi");
    if (avformat_open_input(&raw, path.c_str(), avi, nullptr) < 0) return VFW_E_INVALID_FILE_FORMAT;
    std::unique_ptr<AVFormatContext, InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return VFW_E_INVALID_FILE_FORMAT;

    const std::string copyPath = path + ".repair";
    HRESULT hr = CopyPackets(input.get(), copyPath, cancel, result);
    input.reset();
    if (SUCCEEDED(hr) && !SyncPath(copyPath, false)) hr = HresultFromErrno(errno);
    if (SUCCEEDED(hr) && std::rename(copyPath.c_str(), path.c_str()) != 0)
        hr = HresultFromErrno(errno);
    if (FAILED(hr)) {
        std::remove(copyPath.c_str());
        *result = AviRepairResult{};
        return hr;
    }
    SyncPath(folders::FolderOf(path), true);
    return S_OK;
}

}  // namespace recording
