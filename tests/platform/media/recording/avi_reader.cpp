#include "tests/platform/media/recording/avi_reader.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace recording_test {

FileInfo ReadAvi(const std::string& path, int keepLuma) {
    FileInfo info;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return info;
    if (avformat_find_stream_info(format, nullptr) < 0) {
        avformat_close_input(&format);
        return info;
    }
    info.opened = true;
    int videoIndex = -1;
    std::vector<long long> lastEnd(format->nb_streams, 0);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        StreamInfo s;
        s.video = stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        s.codec = avcodec_get_name(stream->codecpar->codec_id);
        s.width = stream->codecpar->width;
        s.height = stream->codecpar->height;
        s.frameRate = av_q2d(stream->avg_frame_rate);
        s.frames = stream->nb_frames;
        s.sampleRate = stream->codecpar->sample_rate;
        s.channels = stream->codecpar->ch_layout.nb_channels;
        info.streams.push_back(s);
        if (s.video && videoIndex < 0) {
            videoIndex = static_cast<int>(i);
            info.videoIndexEntries = avformat_index_get_entries_count(stream);
        }
    }
    AVCodecContext* decoder = nullptr;
    if (videoIndex >= 0) {
        const AVCodecParameters* par = format->streams[videoIndex]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, par);
        avcodec_open2(decoder, codec, nullptr);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto take = [&] {
        while (avcodec_receive_frame(decoder, frame) >= 0) {
            ++info.decodedPictures;
            if (static_cast<int>(info.luma.size()) < keepLuma) {
                std::vector<unsigned char> plane(static_cast<std::size_t>(frame->width) *
                                                 frame->height);
                for (int y = 0; y < frame->height; ++y)
                    std::memcpy(
                        &plane[static_cast<std::size_t>(y) * frame->width],
                        frame->data[0] + static_cast<std::ptrdiff_t>(y) * frame->linesize[0],
                        static_cast<std::size_t>(frame->width));
                info.luma.push_back(std::move(plane));
            }
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        const unsigned index = static_cast<unsigned>(packet->stream_index);
        if (packet->pts != AV_NOPTS_VALUE)
            lastEnd[index] =
                std::max(lastEnd[index], static_cast<long long>(packet->pts + packet->duration));
        if (static_cast<int>(index) == videoIndex) {
            ++info.videoPackets;
            if (avcodec_send_packet(decoder, packet) >= 0) take();
        }
        av_packet_unref(packet);
    }
    if (decoder) {
        avcodec_send_packet(decoder, nullptr);
        take();
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        // The end of the last packet, in the stream's time base (samples for PCM audio).
        info.streams[i].duration =
            static_cast<double>(lastEnd[i]) * av_q2d(format->streams[i]->time_base);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return info;
}

double SeekVideo(const std::string& path, double seconds) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1;
    double landed = -1;
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) {
        const AVRational base = format->streams[video]->time_base;
        const int64_t target = static_cast<int64_t>(seconds / av_q2d(base));
        AVPacket* packet = av_packet_alloc();
        if (av_seek_frame(format, video, target, AVSEEK_FLAG_BACKWARD) >= 0) {
            while (av_read_frame(format, packet) >= 0) {
                const bool found = packet->stream_index == video;
                if (found) landed = static_cast<double>(packet->pts) * av_q2d(base);
                av_packet_unref(packet);
                if (found) break;
            }
        }
        av_packet_free(&packet);
    }
    avformat_close_input(&format);
    return landed;
}

}  // namespace recording_test
